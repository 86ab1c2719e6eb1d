// How long calveth.exe takes to answer again after a file was chosen in "Open Base": waits
// for the file dialog ("Open") to close, then for the status line to show the command's
// result and for the dialog to take a message again (a command runs inside its click, so the
// dialog answers only once it is done). Prints "watching" once it has found both windows,
// then the milliseconds; the desktop run reports them, no test asserts on them.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "app/calveth_version.h"

int wmain() {
  const ULONGLONG giveUp = GetTickCount64() + 60000;
  HWND dialog = nullptr;
  while ((dialog = FindWindowW(
              nullptr, L"CALVETH II                       ver. " CALVETH_VERSION)) == nullptr ||
         FindWindowW(nullptr, L"Open") == nullptr) {
    if (GetTickCount64() > giveUp) {
      std::puts("no file dialog");
      return 1;
    }
    Sleep(1);
  }
  // The desktop run waits for this line before it lets the file dialog close.
  std::puts("watching");
  std::fflush(stdout);
  while (FindWindowW(nullptr, L"Open") != nullptr) {
    if (GetTickCount64() > giveUp) {
      return 1;
    }
    Sleep(0);
  }
  LARGE_INTEGER frequency{};
  LARGE_INTEGER start{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const HWND status = GetDlgItem(dialog, 1001);
  wchar_t text[256] = {};
  for (;;) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    SendMessageTimeoutW(status, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000,
                        &ignored);
    if (std::wcsncmp(text, L"OK", 2) == 0 || std::wcsncmp(text, L"ERR", 3) == 0 ||
        std::wcsncmp(text, L"NG", 2) == 0 || std::wcsncmp(text, L"CRITICAL", 8) == 0) {
      break;
    }
    if (GetTickCount64() > giveUp) {
      return 1;
    }
  }
  LARGE_INTEGER end{};
  QueryPerformanceCounter(&end);
  std::printf("%.1f ms: %ls\n",
              1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                  static_cast<double>(frequency.QuadPart),
              text);
  return 0;
}
