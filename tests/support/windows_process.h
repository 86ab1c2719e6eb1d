// Starting, stopping and waiting for a program on Windows, for the tests that run
// calveth-cli as a separate process there (the POSIX branches use popen and posix_spawn).
#pragma once

#ifdef _WIN32

#include <string>
#include <vector>

namespace calveth::testing {

// One argument quoted so that the C runtime's splitting (and CommandLineToArgvW) gives it
// back unchanged: quotes around it when it is empty or holds a blank, tab or quote; a quote
// and the backslashes before it, or before the closing quote, escaped with backslashes.
std::wstring quotedWindowsArgument(const std::wstring& argument);

// The program's path and arguments (UTF-8) as one UTF-16 command line.
std::wstring windowsCommandLine(const std::string& program,
                                const std::vector<std::string>& arguments);

struct StartedProcess {
  void* process = nullptr;  // the process handle, nullptr when it did not start
};

// Starts `program` with the arguments and no console; standard input is the null device,
// standard output and error go to the files named (UTF-8), or to the null device where a name
// is empty. A start that fails is reported on standard error.
StartedProcess startWindowsProcess(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   const std::string& outFile, const std::string& errFile);
// Waits for the process to end, closes its handle and returns its exit code.
unsigned long waitForWindowsProcess(StartedProcess& started);
// Ends the process at once, as SIGKILL does elsewhere: it runs nothing more of its own.
void killWindowsProcess(const StartedProcess& started);

// Exit codes from 0xC0000000 up are the system's reports of a crash (an access violation,
// an abort), never an exit status of the program's own.
inline bool isCrashExitCode(unsigned long code) { return code >= 0xC0000000ul; }

}  // namespace calveth::testing

#endif
