#include "web/page_widgets.h"

#include <emscripten/emscripten.h>

#include <cctype>
#include <cstdlib>

// The page's side of each call. Texts cross as UTF-8 bytes with their length, since a status
// text may hold any byte of a file name.
EM_JS(void, calveth_page_status, (const char* text, int length),
      { Module.page.setStatus(UTF8ToString(text, length)); });
EM_JS(void, calveth_page_warnings, (const char* text, int length),
      { Module.page.setWarnings(UTF8ToString(text, length)); });
EM_JS(void, calveth_page_enabled, (int control, int enabled),
      { Module.page.setEnabled(control, enabled != 0); });
EM_JS(void, calveth_page_checked, (int control, int checked),
      { Module.page.setChecked(control, checked != 0); });
EM_JS(void, calveth_page_progress, (int maximum, int value),
      { Module.page.setProgress(maximum, value); });
EM_JS(void, calveth_page_viewer_shown, (int x, int y, int placed),
      { Module.page.showViewer(x, y, placed != 0); });
EM_JS(int, calveth_page_viewer_x, (), { return Module.page.viewerLeft(); });
EM_JS(int, calveth_page_viewer_y, (), { return Module.page.viewerTop(); });
EM_JS(void, calveth_page_viewer_hidden, (), { Module.page.hideViewer(); });
EM_JS(void, calveth_page_picture, (const void* pixels, int width, int height),
      { Module.page.showPicture(pixels, width, height); });
EM_JS(void, calveth_page_viewer_title, (const char* text, int length),
      { Module.page.setViewerTitle(UTF8ToString(text, length)); });
EM_JS(void, calveth_page_tone, (int hz, int ms), { Module.page.tone(hz, ms); });
EM_JS(void, calveth_page_end, (), { Module.page.endSession(); });
// The path of the chosen file once the page has put it into `folder` of the module's file
// system, or 0 when the choice was cancelled; the caller frees it.
EM_ASYNC_JS(char*, calveth_page_choose_open, (const char* folder, const char* accept), {
  const path = await Module.page.chooseOpenFile(UTF8ToString(folder), UTF8ToString(accept));
  return path ? allocateUTF8(path) : 0;
});
EM_ASYNC_JS(int, calveth_page_ask, (const char* question, int length),
            { return (await Module.page.askYesNo(UTF8ToString(question, length))) ? 1 : 0; });

namespace calveth {
namespace {

// The folder of the module's file system that holds the file last chosen for `choice`: one
// per kind of choice, told by its filter ("Base Body Parts(*.obj)|..."), so that a new base
// leaves the MT that "&Save MT" copies faces from.
std::string openFolderOf(const FileChoice& choice) {
  std::string folder = "/open/";
  for (const char letter : choice.filter.substr(0, choice.filter.find('('))) {
    folder += std::isalnum(static_cast<unsigned char>(letter)) ? letter : '_';
  }
  return folder;
}

}  // namespace

void PageWidgets::showStatus(std::string_view text) {
  calveth_page_status(text.data(), static_cast<int>(text.size()));
}

void PageWidgets::showWarnings(const std::vector<std::string>& warnings) {
  std::string lines;
  for (const std::string& warning : warnings) {
    lines += (lines.empty() ? "" : "\n") + warning;
  }
  calveth_page_warnings(lines.data(), static_cast<int>(lines.size()));
}

void PageWidgets::setEnabled(ControlId control, bool enabled) {
  calveth_page_enabled(static_cast<int>(control), enabled ? 1 : 0);
}

void PageWidgets::setChecked(ControlId control, bool checked) {
  calveth_page_checked(static_cast<int>(control), checked ? 1 : 0);
}

void PageWidgets::showProgress(int low, int high, int position) {
  calveth_page_progress(high - low, position - low);
}

// A page shows its changes only once the script gives the browser back its turn; a command
// runs to its end (or to its question) within one turn, so there is nothing to paint early.
void PageWidgets::repaintNow() {}

// A page has no folders of the user's: the file goes into a folder of the module's own.
std::optional<std::string> PageWidgets::chooseOpenFile(const FileChoice& choice,
                                                       const std::string&) {
  const std::string accept = "." + std::string(choice.defaultExtension);
  char* path = calveth_page_choose_open(openFolderOf(choice).c_str(), accept.c_str());
  if (path == nullptr) {
    return std::nullopt;
  }
  std::string chosen(path);
  std::free(path);
  return chosen;
}

// The file is written under the proposed name into the save folder (the working folder), and
// the page offers it as a download once the command has finished. The name also goes into
// the file's header, where the desktop writes the full path.
std::optional<std::string> PageWidgets::chooseSaveFile(const FileChoice& choice,
                                                       const std::string&) {
  return std::string(choice.initialName);
}

bool PageWidgets::askYesNo(std::string_view question) {
  return calveth_page_ask(question.data(), static_cast<int>(question.size())) != 0;
}

// The first opening keeps the page's own place beside the dialog, as a window system picks
// a new window's place; later ones come back where the user left the panel.
bool PageWidgets::showViewer(ViewerPlace place) {
  calveth_page_viewer_shown(place.x, place.y, shownBefore_ ? 1 : 0);
  shownBefore_ = true;
  return true;
}

ViewerPlace PageWidgets::hideViewer() {
  const ViewerPlace place{calveth_page_viewer_x(), calveth_page_viewer_y()};
  calveth_page_viewer_hidden();
  return place;
}

void PageWidgets::showPicture(const ViewerPicture& picture) {
  calveth_page_picture(picture.pixels, picture.width, picture.height);
}

void PageWidgets::setViewerTitle(std::string_view title) {
  calveth_page_viewer_title(title.data(), static_cast<int>(title.size()));
}

void PageWidgets::playTone(int frequencyHz, int durationMs) {
  calveth_page_tone(frequencyHz, durationMs);
}

void PageWidgets::endProgram() {
  endRequested_ = true;
  calveth_page_end();
}

}  // namespace calveth
