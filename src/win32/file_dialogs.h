// The common file dialogs and the question box of the desktop program, owned by the main
// dialog. No recent-file list is added to, and the dialogs start in the folder last chosen
// in this run (nothing is kept between runs).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ports/host.h"

namespace calveth {

// "Name(*.obj)|*.obj||" as the common dialogs take it: "Name(*.obj)\0*.obj\0\0".
std::wstring commonDialogFilter(std::string_view filter);

// The folder part of a chosen path, with its final separator ("" for a bare name).
std::wstring folderOf(const std::wstring& path);

class FileDialogs {
 public:
  explicit FileDialogs(HWND owner) : owner_(owner) {}

  std::optional<std::string> chooseOpenFile(const FileChoice& choice);
  // Asks before an existing file is replaced; a name typed without extension gets the default.
  std::optional<std::string> chooseSaveFile(const FileChoice& choice);
  // Yes and No, the information icon, an empty title; true for Yes.
  bool askYesNo(std::string_view question);

 private:
  std::optional<std::string> run(const FileChoice& choice, bool save);

  HWND owner_;
  std::wstring lastFolder_;
};

}  // namespace calveth
