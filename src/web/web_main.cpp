// The page's module: one dialog session, driven by the page's script.
//
// The script calls these functions for what the user does; the session answers through the
// PageWidgets. Everything the user opens lives in the module's in-memory file system and
// never leaves the page.
#include <emscripten/emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <memory>
#include <string>
#include <utility>

#include "app/dialog_session.h"
#include "app/dialog_template.h"
#include "app/dialog_units.h"
#include "ports/tone_port.h"
#include "store/mesh_store.h"
#include "viewer/viewer_window_size.h"
#include "web/page_text_painter.h"
#include "web/page_widgets.h"

namespace calveth {
namespace {

// Everything one run of the dialog holds; "e&Xit" ends it and a fresh one starts.
struct Run {
  MeshStore store;
  PageWidgets widgets;
  PageTextPainter text;
  DialogSession session{store, widgets, text, PixelLayout::RgbaBytes};
};

std::unique_ptr<Run> run;

// A fresh dialog, as at program start: an empty status line, no warnings, an empty bar.
void startRun() {
  run.reset();
  run = std::make_unique<Run>();
  run->widgets.showStatus("");
  run->widgets.showWarnings({});
  run->widgets.showProgress(0, 1, 0);
  run->session.start();
}

// The end asked for within a click or a key comes once that has been handled.
int answered(bool taken) {
  if (run->widgets.endRequested()) {
    startRun();
  }
  return taken ? 1 : 0;
}

DialogKey dialogKeyOf(std::string_view key, std::string_view code, char& letter) {
  // The letter comes from the key's place ("KeyO"), which Alt leaves as it is on every layout.
  if (code.size() == 4 && code.starts_with("Key")) {
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(code[3])));
    return DialogKey::Letter;
  }
  constexpr std::pair<std::string_view, DialogKey> kKeys[] = {
      {"Enter", DialogKey::Enter},    {"Escape", DialogKey::Escape},    {"F3", DialogKey::F3},
      {"ArrowLeft", DialogKey::Left}, {"ArrowRight", DialogKey::Right}, {"Home", DialogKey::Home},
  };
  for (const auto& [name, dialogKey] : kKeys) {
    if (key == name) {
      return dialogKey;
    }
  }
  return DialogKey::Other;
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char letter : text) {
    if (letter == '"' || letter == '\\') {
      out += '\\';
    }
    out += letter;
  }
  return out + "\"";
}

std::string_view kindName(ControlKind kind) {
  constexpr std::string_view kNames[] = {"PushButton", "CheckBox", "PushCheckBox", "StatusEdit",
                                         "GroupBox",   "Slider",   "ProgressBar",  "Picture"};
  return kNames[static_cast<int>(kind)];
}

std::string rectJson(const PixelRect& rect) {
  return "\"x\":" + std::to_string(rect.x) + ",\"y\":" + std::to_string(rect.y) +
         ",\"w\":" + std::to_string(rect.width) + ",\"h\":" + std::to_string(rect.height);
}

}  // namespace
}  // namespace calveth

using calveth::run;

extern "C" {

// A fresh run: every control in its state at program start.
EMSCRIPTEN_KEEPALIVE void calveth_start() { calveth::startRun(); }

// A click on a control; 1 when it acted. The page lets no other click through until the
// returned promise settles (a suspended command cannot take a second one).
EMSCRIPTEN_KEEPALIVE int calveth_press(int control) {
  return calveth::answered(run->session.press(static_cast<calveth::ControlId>(control)));
}

// A key pressed in the dialog or, with `inViewer`, in the viewer panel: `key` and `code` are
// the browser's names (KeyboardEvent.key and .code). 1 when the session took it and the
// browser must not act on it as well.
EMSCRIPTEN_KEEPALIVE int calveth_key(const char* key, int inViewer, const char* code, int alt) {
  char letter = 0;
  const calveth::DialogKey dialogKey = calveth::dialogKeyOf(key, code, letter);
  const auto source = inViewer != 0 ? calveth::KeySource::Viewer : calveth::KeySource::Dialog;
  return calveth::answered(run->session.keyDown(dialogKey, source, letter, alt != 0) ==
                           calveth::KeyAnswer::Taken);
}

// The panel's close box closed the viewer, its outer top-left corner at (x, y).
EMSCRIPTEN_KEEPALIVE void calveth_viewer_closed(int x, int y) { run->session.viewerClosed({x, y}); }

// The viewer's menu as JSON, [{"entry", "caption", "enabled"}, ...] in its order, and an
// entry of it chosen; a horizontal drag in the viewer by `pixels`.
EMSCRIPTEN_KEEPALIVE const char* calveth_viewer_menu() {
  static std::string json;
  json = "[";
  for (const calveth::ViewerMenuItem& item : run->session.viewerMenu()) {
    json += (json.size() > 1 ? ",{" : "{") + std::string("\"entry\":") +
            std::to_string(static_cast<int>(item.entry)) + ",\"caption\":\"" +
            std::string(item.caption) + "\",\"enabled\":" + (item.enabled ? "true}" : "false}");
  }
  json += "]";
  return json.c_str();
}
EMSCRIPTEN_KEEPALIVE void calveth_viewer_choose(int entry) {
  run->session.chooseFromViewerMenu(static_cast<calveth::ViewerMenuEntry>(entry));
}
EMSCRIPTEN_KEEPALIVE void calveth_viewer_drag(int pixels) { run->session.viewerDragged(pixels); }

// A file dropped on the page: the base, or the MT once a base is open, as if chosen for the
// control's file dialog (the page hands it to the next file choice). 1 when it was taken.
EMSCRIPTEN_KEEPALIVE int calveth_drop() {
  const bool baseOpen = run->store.baseVertexCount > 0;
  return calveth::answered(
      run->session.press(baseOpen ? calveth::ControlId::OpenMt : calveth::ControlId::OpenBase));
}

// The dialog's layout as JSON, in pixels for the dialog font whose 52 letters "A".."Z",
// "a".."z" are `alphabetWidth` wide and whose lines are `lineHeight` high: the caption, the
// client size, the viewer picture's size, the refused-key tone, the save folder, and
// {"id", "kind", "caption" (with its & mnemonic), "x", "y", "w", "h", "visible", "enabled",
// "tabStop", "defaultFrame"} for every control in tab order.
EMSCRIPTEN_KEEPALIVE const char* calveth_layout(int alphabetWidth, int lineHeight) {
  using namespace calveth;
  static std::string json;
  const DialogBaseUnits units{averageCharWidth(alphabetWidth), lineHeight};
  const PixelRect client = toPixels({0, 0, kDialogWidthUnits, kDialogHeightUnits}, units);
  const auto flag = [](bool on) { return on ? std::string("true") : std::string("false"); };
  json = "{\"caption\":" + quoted(kDialogCaption) + ",\"width\":" + std::to_string(client.width) +
         ",\"height\":" + std::to_string(client.height) +
         ",\"viewerWidth\":" + std::to_string(kViewerClientWidth) +
         ",\"viewerHeight\":" + std::to_string(kViewerClientHeight) +
         ",\"saveFolder\":" + quoted(kSaveFolder) + ",\"controls\":[";
  bool first = true;
  for (const ControlTemplate& entry : kDialogTemplate) {
    json += std::string(first ? "" : ",") + "{\"id\":" + std::to_string(entry.id) +
            ",\"kind\":" + quoted(kindName(entry.kind)) + ",\"caption\":" + quoted(entry.caption) +
            "," + rectJson(toPixels(entry.rect, units)) + ",\"visible\":" + flag(entry.visible) +
            ",\"enabled\":" + flag(entry.enabled) + ",\"tabStop\":" + flag(entry.tabStop) +
            ",\"defaultFrame\":" + flag(entry.defaultFrame) + "}";
    first = false;
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
