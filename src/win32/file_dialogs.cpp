#include "win32/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "windows/wide_text.h"

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

// The first window activated while the hook is set is the message box: it goes above every
// top-most window.
LRESULT CALLBACK raiseOnActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    SetWindowPos(reinterpret_cast<HWND>(wParam), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
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

std::wstring startingFolder(const std::string& folder) {
  if (!folder.empty()) {
    return wideFromUtf8(folder);
  }
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring current(length, L'\0');
  const DWORD written = GetCurrentDirectoryW(length, current.data());
  current.resize(written < length ? written : 0);
  return current;
}

std::optional<std::string> FileDialogs::run(const FileChoice& choice, const std::string& folder,
                                            bool save) {
  const std::wstring filter = commonDialogFilter(choice.filter);
  const std::wstring extension = wideFromUtf8(choice.defaultExtension);
  std::vector<wchar_t> name(32768, L'\0');
  const std::wstring initial = wideFromUtf8(choice.initialName);
  const std::wstring start = startingFolder(folder);
  initial.copy(name.data(), std::min(initial.size(), name.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
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
  return utf8FromWide(name.data());
}

std::optional<std::string> FileDialogs::chooseOpenFile(const FileChoice& choice,
                                                       const std::string& folder) {
  return run(choice, folder, false);
}

std::optional<std::string> FileDialogs::chooseSaveFile(const FileChoice& choice,
                                                       const std::string& folder) {
  return run(choice, folder, true);
}

int FileDialogs::boxAboveViewer(std::string_view text, std::string_view title, UINT type) {
  // MB_TOPMOST alone is not enough: Wine ignores it for the box. The hook raises the box into
  // the top-most band as it is activated, above the viewer, which is top-most as well.
  const HHOOK hook = SetWindowsHookExW(WH_CBT, raiseOnActivation, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(owner_, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(),
                                 type | MB_TOPMOST);
  if (hook != nullptr) {
    UnhookWindowsHookEx(hook);
  }
  return answer;
}

bool FileDialogs::askYesNo(std::string_view question) {
  return boxAboveViewer(question, "", MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void FileDialogs::tell(std::string_view text, std::string_view title) {
  boxAboveViewer(text, title, MB_OK | MB_ICONWARNING);
}

}  // namespace calveth
