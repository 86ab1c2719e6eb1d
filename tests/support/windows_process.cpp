#ifdef _WIN32

#include "support/windows_process.h"

#include <windows.h>

#include <cstdio>

#include "windows/wide_text.h"

namespace calveth::testing {
namespace {

HANDLE inheritableFile(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const std::wstring name = path.empty() ? L"NUL" : wideFromUtf8(path);
  return CreateFileW(name.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A path beginning with '/' is one of the build's own (CMake writes the build folder's
// path); under Wine the Linux root is the drive Z:.
std::string windowsPath(const std::string& path) {
  return !path.empty() && path.front() == '/' ? "Z:" + path : path;
}

}  // namespace

std::wstring quotedWindowsArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring text = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless a quote follows them.
    text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    text += c;
  }
  text.append(2 * backslashes, L'\\');
  return text + L"\"";
}

std::wstring windowsCommandLine(const std::string& program,
                                const std::vector<std::string>& arguments) {
  std::wstring line = quotedWindowsArgument(wideFromUtf8(windowsPath(program)));
  for (const std::string& argument : arguments) {
    line += L" " + quotedWindowsArgument(wideFromUtf8(argument));
  }
  return line;
}

StartedProcess startWindowsProcess(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   const std::string& outFile, const std::string& errFile) {
  StartedProcess started;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inheritableFile("", false);
  startup.hStdOutput = inheritableFile(outFile, true);
  startup.hStdError = inheritableFile(errFile, true);
  std::wstring commandLine = windowsCommandLine(program, arguments);
  const std::wstring application = wideFromUtf8(windowsPath(program));
  // The program gets no console: its output goes to the files, and under Wine a console
  // program started with a hidden console gets a conhost.exe that outlives it when it is
  // killed early, holding the test run's pipes. A start that fails (seen once under Wine in a
  // whole run; its cause was not found) is tried twice more and reported.
  for (int attempt = 0; attempt < 3 && started.process == nullptr; ++attempt) {
    if (attempt > 0) {
      Sleep(200);
    }
    PROCESS_INFORMATION info{};
    if (CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       DETACHED_PROCESS, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      started.process = info.hProcess;
    } else {
      std::fprintf(stderr, "starting %s failed: system error %lu\n", program.c_str(),
                   GetLastError());
    }
  }
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
    }
  }
  return started;
}

unsigned long waitForWindowsProcess(StartedProcess& started) {
  DWORD code = 0xFFFFFFFFul;
  if (started.process != nullptr) {
    WaitForSingleObject(started.process, INFINITE);
    GetExitCodeProcess(started.process, &code);
    CloseHandle(started.process);
    started.process = nullptr;
  }
  return code;
}

void killWindowsProcess(const StartedProcess& started) {
  if (started.process != nullptr) {
    TerminateProcess(started.process, 1);
  }
}

}  // namespace calveth::testing

#endif
