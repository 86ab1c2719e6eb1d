#include "win32/dialog_host.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "app/dialog_template.h"
#include "win32/wide_text.h"

namespace calveth {

void Win32DialogHost::setStatusText(std::string_view text) {
  SetWindowTextW(control(ControlId::StatusLine), wideFromUtf8(text).c_str());
}

void Win32DialogHost::setEnabled(ControlId id, bool enabled) {
  EnableWindow(control(id), enabled ? TRUE : FALSE);
}

void Win32DialogHost::setChecked(ControlId id, bool checked) {
  SendMessageW(control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32DialogHost::setProgressRange(int low, int high) {
  SendMessageW(control(ControlId::Progress), PBM_SETRANGE32, std::clamp(low, 0, kProgressMaximum),
               std::clamp(high, 0, kProgressMaximum));
}

// A duplicate point counts two hits, so the analysis can report more hits than vertices; the
// position is held to the bar's range, and the bar shows full.
void Win32DialogHost::setProgressPosition(int position) {
  const HWND bar = control(ControlId::Progress);
  const int low = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
  const int high = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
  SendMessageW(bar, PBM_SETPOS, std::clamp(position, low, std::max(low, high)), 0);
}

// The dialog and its controls (the status line above all) painted now, before the long
// computation that follows keeps the message loop from doing it.
void Win32DialogHost::repaintNow() {
  RedrawWindow(dialog_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::optional<std::string> Win32DialogHost::chooseOpenFile(const FileChoice& choice) {
  return files_.chooseOpenFile(choice);
}

std::optional<std::string> Win32DialogHost::chooseSaveFile(const FileChoice& choice) {
  return files_.chooseSaveFile(choice);
}

bool Win32DialogHost::askYesNo(std::string_view question) { return files_.askYesNo(question); }

// Remarks about skipped input lines have no place in the one-line status; they go to the
// error stream, which a user who started the program from a console sees.
void Win32DialogHost::warn(std::string_view text) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace calveth
