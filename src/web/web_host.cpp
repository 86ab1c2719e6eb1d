#include "web/web_host.h"

#include <emscripten/emscripten.h>

#include <cstdlib>

#include "app/dialog_template.h"

// The page's side of each call. Texts cross as UTF-8 bytes with their length, since a status
// text may hold any byte of a file name.
EM_JS(void, calveth_page_status, (const char* text, int length),
      { Module.page.setStatus(UTF8ToString(text, length)); });
EM_JS(void, calveth_page_enabled, (int control, int enabled),
      { Module.page.setEnabled(control, enabled != 0); });
EM_JS(void, calveth_page_checked, (int control, int checked),
      { Module.page.setChecked(control, checked != 0); });
EM_JS(void, calveth_page_progress_range, (int low, int high),
      { Module.page.setProgressRange(low, high); });
EM_JS(void, calveth_page_progress, (int position), { Module.page.setProgress(position); });
EM_JS(void, calveth_page_warn, (const char* text, int length),
      { Module.page.warn(UTF8ToString(text, length)); });
// The path of the chosen file once the page has put it into the module's file system, or 0
// when the choice was cancelled; the caller frees it.
EM_ASYNC_JS(char*, calveth_page_choose_open, (int control), {
  const path = await Module.page.chooseOpenFile(control);
  return path ? allocateUTF8(path) : 0;
});
EM_ASYNC_JS(int, calveth_page_ask, (const char* question, int length),
            { return (await Module.page.askYesNo(UTF8ToString(question, length))) ? 1 : 0; });

namespace calveth {

void WebHost::setStatusText(std::string_view text) {
  calveth_page_status(text.data(), static_cast<int>(text.size()));
}

void WebHost::setEnabled(ControlId control, bool enabled) {
  calveth_page_enabled(idOf(control), enabled ? 1 : 0);
}

void WebHost::setChecked(ControlId control, bool checked) {
  calveth_page_checked(idOf(control), checked ? 1 : 0);
}

void WebHost::setProgressRange(int low, int high) { calveth_page_progress_range(low, high); }

void WebHost::setProgressPosition(int position) { calveth_page_progress(position); }

// A page shows its changes only once the script gives the browser back its turn; a command
// runs to its end (or to its question) within one turn, so there is nothing to paint early.
void WebHost::repaintNow() {}

std::optional<std::string> WebHost::chooseOpenFile(const FileChoice&) {
  char* path = calveth_page_choose_open(idOf(running_));
  if (path == nullptr) {
    return std::nullopt;
  }
  std::string chosen(path);
  std::free(path);
  return chosen;
}

// A page has no folders: the file is written under the proposed name into the module's
// working folder, and the page offers it as a download once the command has finished. The
// name also goes into the file's header, where the desktop writes the full path.
std::optional<std::string> WebHost::chooseSaveFile(const FileChoice& choice) {
  return std::string(choice.initialName);
}

bool WebHost::askYesNo(std::string_view question) {
  return calveth_page_ask(question.data(), static_cast<int>(question.size())) != 0;
}

void WebHost::warn(std::string_view text) {
  calveth_page_warn(text.data(), static_cast<int>(text.size()));
}

}  // namespace calveth
