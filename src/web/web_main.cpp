// The page's module: one session of the dialog, driven by the page's script.
//
// The script calls these functions; the commands answer through the WebHost and paint the
// viewer into a pixel buffer that the script puts on its canvas. Everything the user opens
// lives in the module's in-memory file system and never leaves the page.
#include <emscripten/emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/command_router.h"
#include "app/dialog_template.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"
#include "viewer/pixel_canvas.h"
#include "viewer/viewer_window_size.h"
#include "viewer/wire_viewer.h"
#include "web/page_text_painter.h"
#include "web/web_host.h"

EM_JS(void, calveth_page_viewer_painted, (void* pixels, int width, int height),
      { Module.page.viewerPainted(pixels, width, height); });

namespace calveth {
namespace {

// The folder the saved files are written to, and the page reads them back from.
constexpr const char* kSaveFolder = "/save";

// The commands' viewer: the wire-frame viewer, whose new picture the open panel then shows.
class ShowingViewer final : public ViewerPort {
 public:
  ShowingViewer(WireViewer& viewer, std::vector<std::uint32_t>& pixels)
      : viewer_(viewer), pixels_(pixels) {}
  void refresh(const ViewerInput& input) override {
    viewer_.refresh(input);
    if (viewer_.isOpen()) {
      calveth_page_viewer_painted(pixels_.data(), kViewerClientWidth, kViewerClientHeight);
    }
  }

 private:
  WireViewer& viewer_;
  std::vector<std::uint32_t>& pixels_;
};

// Everything one session holds; "e&Xit" ends it and the page starts a fresh one.
struct Session {
  std::unique_ptr<MeshStore> store = std::make_unique<MeshStore>();
  WebHost host;
  PageTextPainter text;
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(
      static_cast<std::size_t>(kViewerClientWidth) * kViewerClientHeight);
  PixelCanvas canvas{
      PixelRaster(pixels.data(), kViewerClientWidth, kViewerClientHeight, kViewerClientWidth),
      PixelLayout::RgbaBytes, kViewerDpi, text};
  WireViewer viewer{*store};
  ShowingViewer showing{viewer, pixels};
  CommandRouter router{*store, host, showing};
};

std::unique_ptr<Session> session;

}  // namespace
}  // namespace calveth

using calveth::session;

extern "C" {

// A fresh session: every control in its state at program start.
EMSCRIPTEN_KEEPALIVE void calveth_start() {
  session.reset();
  session = std::make_unique<calveth::Session>();
  session->router.start();
}

// A click on a control of the router; 1 when its command ran. The page lets no other click
// through until the returned promise settles (a suspended command cannot take a second one).
EMSCRIPTEN_KEEPALIVE int calveth_press(int control) {
  const auto id = static_cast<calveth::ControlId>(control);
  session->host.setRunningControl(id);
  return session->router.press(id) ? 1 : 0;
}

// Opens the viewer on the pixel buffer (painting the last projection) or closes it.
EMSCRIPTEN_KEEPALIVE void calveth_show_viewer(int shown) {
  if (shown == 0) {
    session->viewer.close();
    return;
  }
  session->viewer.open(session->canvas);
  calveth_page_viewer_painted(session->pixels.data(), calveth::kViewerClientWidth,
                              calveth::kViewerClientHeight);
}

// 1 while a base is open: a file dropped on the page is then taken for the MT.
EMSCRIPTEN_KEEPALIVE int calveth_base_open() { return session->store->baseVertexCount > 0 ? 1 : 0; }

// The dialog's layout as JSON, so that the page lays out exactly the desktop's controls:
// [{"id", "caption" (with its & mnemonic), "kind", "x", "y", "w", "h" in dialog units,
// "visible", "enabled", "defaultFrame"}, ...] in tab order, then the caption and size.
EMSCRIPTEN_KEEPALIVE const char* calveth_dialog_template() {
  static std::string json;
  if (!json.empty()) {
    return json.c_str();
  }
  // The captions hold no quotes or backslashes, so they go in as they are.
  const auto text = [](std::string_view value) { return "\"" + std::string(value) + "\""; };
  json = "{\"caption\":" + text(calveth::kDialogCaption) +
         ",\"width\":" + std::to_string(calveth::kDialogWidthUnits) +
         ",\"height\":" + std::to_string(calveth::kDialogHeightUnits) + ",\"controls\":[";
  bool first = true;
  for (const calveth::ControlTemplate& entry : calveth::kDialogTemplate) {
    json += first ? "{" : ",{";
    first = false;
    json += "\"id\":" + std::to_string(entry.id) + ",\"caption\":" + text(entry.caption) +
            ",\"kind\":" + std::to_string(static_cast<int>(entry.kind)) +
            ",\"x\":" + std::to_string(entry.rect.x) + ",\"y\":" + std::to_string(entry.rect.y) +
            ",\"w\":" + std::to_string(entry.rect.width) +
            ",\"h\":" + std::to_string(entry.rect.height) +
            ",\"visible\":" + (entry.visible ? "true" : "false") +
            ",\"enabled\":" + (entry.enabled ? "true" : "false") +
            ",\"defaultFrame\":" + (entry.defaultFrame ? "true" : "false") + "}";
  }
  json += "]}";
  return json.c_str();
}

}  // extern "C"

int main() {
  // The module's file system starts with a umask that would give saved files no
  // permissions at all, so that the page could not read them back.
  umask(022);
  mkdir(calveth::kSaveFolder, 0755);
  chdir(calveth::kSaveFolder);
  return 0;
}
