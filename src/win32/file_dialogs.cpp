#include "win32/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "win32/wide_text.h"

namespace calveth {
namespace {

// The viewer stays on top of every window that is not top-most itself. The file dialog is
// raised into the top-most band as it opens, so the viewer never hides it.
UINT_PTR CALLBACK keepAboveViewer(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    // With a hook the explorer-style dialog is the parent of the hook's child dialog.
    const HWND window = GetParent(dialog) != nullptr ? GetParent(dialog) : dialog;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  return 0;
}

}  // namespace

std::wstring commonDialogFilter(std::string_view filter) {
  std::wstring result = wideFromUtf8(filter);
  for (wchar_t& c : result) {
    c = c == L'|' ? L'\0' : c;
  }
  // The list ends with two NULs, whether or not the text ended with "||".
  if (result.size() < 2 || result[result.size() - 1] != L'\0' ||
      result[result.size() - 2] != L'\0') {
    result.push_back(L'\0');
    result.push_back(L'\0');
  }
  return result;
}

std::wstring folderOf(const std::wstring& path) {
  const std::size_t split = path.find_last_of(L"\\/");
  return split == std::wstring::npos ? std::wstring() : path.substr(0, split + 1);
}

std::optional<std::string> FileDialogs::run(const FileChoice& choice, bool save) {
  const std::wstring filter = commonDialogFilter(choice.filter);
  const std::wstring extension = wideFromUtf8(choice.defaultExtension);
  std::vector<wchar_t> name(32768, L'\0');
  const std::wstring initial = wideFromUtf8(choice.initialName);
  initial.copy(name.data(), std::min(initial.size(), name.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = lastFolder_.empty() ? nullptr : lastFolder_.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.lpfnHook = keepAboveViewer;
  // No read-only box; no entry in the recent documents; the process's current folder
  // stays where it was.
  dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                 OFN_DONTADDTORECENT | OFN_PATHMUSTEXIST |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  // A failure of the dialog itself counts as a cancel.
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)) || name[0] == L'\0') {
    return std::nullopt;
  }
  const std::wstring chosen(name.data());
  lastFolder_ = folderOf(chosen);
  return utf8FromWide(chosen);
}

std::optional<std::string> FileDialogs::chooseOpenFile(const FileChoice& choice) {
  return run(choice, false);
}

std::optional<std::string> FileDialogs::chooseSaveFile(const FileChoice& choice) {
  return run(choice, true);
}

bool FileDialogs::askYesNo(std::string_view question) {
  // Top-most as well, so that the viewer does not cover it.
  return MessageBoxW(owner_, wideFromUtf8(question).c_str(), L"",
                     MB_YESNO | MB_ICONINFORMATION | MB_TOPMOST) == IDYES;
}

}  // namespace calveth
