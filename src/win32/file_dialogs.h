// The common file dialogs and the question box of the desktop program, owned by the main
// dialog. No recent-file list is added to, and every dialog is given the folder it starts in
// (the session's, else the working folder), so that the system's memory of the last run's
// folder never decides it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ports/host.h"

namespace calveth {

// "Name(*.obj)|*.obj||" as the common dialogs take it: "Name(*.obj)\0*.obj\0\0".
std::wstring commonDialogFilter(std::string_view filter);

// The folder a file dialog starts in: `folder` (UTF-8), or the working folder when it is
// empty.
std::wstring startingFolder(const std::string& folder);

class FileDialogs {
 public:
  explicit FileDialogs(HWND owner) : owner_(owner) {}

  std::optional<std::string> chooseOpenFile(const FileChoice& choice, const std::string& folder);
  // Asks before an existing file is replaced; a name typed without extension gets the default.
  std::optional<std::string> chooseSaveFile(const FileChoice& choice, const std::string& folder);
  // Yes and No, the information icon, an empty title; raised above every top-most window
  // (the viewer) as it opens. True for Yes.
  bool askYesNo(std::string_view question);
  // A message box with the warning icon, above the viewer as the question is.
  void tell(std::string_view text, std::string_view title);

 private:
  std::optional<std::string> run(const FileChoice& choice, const std::string& folder, bool save);
  int boxAboveViewer(std::string_view text, std::string_view title, UINT type);

  HWND owner_;
};

}  // namespace calveth
