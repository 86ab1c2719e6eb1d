#include "support/run_program.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"
#include "support/windows_process.h"

namespace calveth::testing {
namespace {

#ifndef _WIN32
std::string quoted(const std::string& argument) {
  std::string text = "'";
  for (char c : argument) {
    text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return text + "'";
}
#endif

}  // namespace

std::string ProgramResult::lastOutLine() const {
  std::string text = out;
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
  }
  const std::size_t start = text.rfind('\n');
  return start == std::string::npos ? text : text.substr(start + 1);
}

#ifdef _WIN32
// No shell between: the program starts with its arguments quoted for the C runtime, its
// output in files. (The valgrind wrapper of make memcheck has no counterpart here.)
ProgramResult runCliProgram(const std::vector<std::string>& arguments) {
  TempDir dir;
  ProgramResult result;
  StartedProcess started =
      startWindowsProcess(CALVETH_CLI_PATH, arguments, dir.file("stdout"), dir.file("stderr"));
  if (started.process == nullptr) {
    return result;
  }
  const unsigned long code = waitForWindowsProcess(started);
  if (isCrashExitCode(code)) {
    result.signalled = true;
  } else {
    result.exitCode = static_cast<int>(code);
  }
  result.out = readFile(dir.file("stdout"));
  result.err = readFile(dir.file("stderr"));
  return result;
}
#else
ProgramResult runCliProgram(const std::vector<std::string>& arguments) {
  TempDir dir;
  // make memcheck runs the program under valgrind: CALVETH_CLI_WRAPPER holds that command
  // line, already quoted for the shell.
  const char* wrapper = std::getenv("CALVETH_CLI_WRAPPER");
  std::string command = wrapper != nullptr && *wrapper != '\0' ? std::string(wrapper) + " " : "";
  command += quoted(CALVETH_CLI_PATH);
  for (const std::string& argument : arguments) {
    command += " " + quoted(argument);
  }
  command += " 2>" + quoted(dir.file("stderr")) + " </dev/null";
  ProgramResult result;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return result;
  }
  char chunk[4096];
  std::size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
    result.out.append(chunk, count);
  }
  const int status = pclose(pipe);
  // The shell reports a child killed by signal N as exit status 128 + N.
  if (WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) > 128)) {
    result.signalled = true;
  } else if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.err = readFile(dir.file("stderr"));
  return result;
}

#endif

}  // namespace calveth::testing
