// Crash-safe saving, tried the hard way: calveth-cli saves a 40000-vertex MT with the copy
// pass over an existing file and is killed (SIGKILL) at random moments spread over the run.
// After every kill the target must hold the previous file or the whole new one, byte for
// byte; a killed run may leave its temporary file beside the target, under the writer's
// recognisable name, but nothing else. The seed is printed; CALVETH_KILL_SEED repeats a run.
// On Windows the program is ended by TerminateProcess, which lets it run nothing more.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "meshgen/body_part.h"
#include "support/temp_dir.h"
#include "support/windows_process.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace calveth {
namespace {

using testing::readFile;
using testing::TempDir;

#ifdef _WIN32
using Started = testing::StartedProcess;

Started startProgram(const std::vector<std::string>& arguments) {
  return testing::startWindowsProcess(CALVETH_CLI_PATH, arguments, "", "");
}
bool didStart(const Started& program) { return program.process != nullptr; }
// True when the program ended by itself with exit status 0.
bool endedWell(Started& program) { return testing::waitForWindowsProcess(program) == 0; }
void killAndWait(Started& program) {
  testing::killWindowsProcess(program);
  testing::waitForWindowsProcess(program);
}
#else
using Started = pid_t;

// Starts calveth-cli with its output thrown away; returns its process id.
pid_t startProgram(const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {CALVETH_CLI_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

int waitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

bool didStart(pid_t pid) { return pid > 0; }
bool endedWell(pid_t pid) {
  const int status = waitFor(pid);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
void killAndWait(pid_t pid) {
  kill(pid, SIGKILL);
  waitFor(pid);
}
#endif

// The writer's temporary name beside new.obj: ".new.obj.calveth-" and six letters or digits.
bool isTemporaryName(const std::string& name) {
  const std::string prefix = ".new.obj.calveth-";
  return name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
         std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

// The same limb as base and MT, the MT's left side raised; both with uvs and faces.
void writeInputs(const TempDir& dir) {
  meshgen::Mesh mesh = meshgen::limbMesh(200, 200);
  ASSERT_EQ(mesh.vertices.size(), 40000u);
  dir.write("base.obj", meshgen::toObj(mesh, {}));
  for (auto& vertex : mesh.vertices) {
    vertex[1] += vertex[0] > 0.0 ? 0.01 : 0.0;
  }
  dir.write("mt.obj", meshgen::toObj(mesh, {}));
}

TEST(KilledSave, LeavesThePreviousFileOrTheWholeNewOne) {
  TempDir dir;
  writeInputs(dir);
  const std::string target = dir.file("new.obj");
  const std::vector<std::string> arguments = {
      "mirror-l2r", "--base", dir.file("base.obj"), "--mt", dir.file("mt.obj"),
      "-o",         target,   "--with-faces"};

  // One uninterrupted run gives the new file and the length of a run.
  const auto started = std::chrono::steady_clock::now();
  Started reference = startProgram(arguments);
  ASSERT_TRUE(didStart(reference));
  ASSERT_TRUE(endedWell(reference));
  const auto runLength = std::chrono::steady_clock::now() - started;
  const std::string whole = readFile(target);
  ASSERT_TRUE(whole.ends_with("\n#\n"));
  const std::string previous = "# the previous MT\nv 1 2 3\n";

  std::random_device entropy;
  const char* given = std::getenv("CALVETH_KILL_SEED");
  const unsigned seed = given != nullptr ? static_cast<unsigned>(std::stoul(given)) : entropy();
  std::cout << "kill test seed: " << seed << " (CALVETH_KILL_SEED repeats it)\n";
  std::mt19937 random(seed);
  const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(runLength * 1.2);
  std::uniform_int_distribution<long> delay(0, longest.count());

  int keptPrevious = 0;
  int keptNew = 0;
  int leftTemporary = 0;
  for (int attempt = 0; attempt < 60; ++attempt) {
    SCOPED_TRACE(::testing::Message() << "attempt " << attempt << ", seed " << seed);
    dir.write("new.obj", previous);
    Started program = startProgram(arguments);
    ASSERT_TRUE(didStart(program));
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    killAndWait(program);

    const std::string now = readFile(target);
    EXPECT_TRUE(now == previous || now == whole) << now.size() << " bytes";
    keptPrevious += now == previous ? 1 : 0;
    keptNew += now == whole ? 1 : 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file(""))) {
      const std::string name = entry.path().filename().string();
      if (name == "base.obj" || name == "mt.obj" || name == "new.obj") {
        continue;
      }
      EXPECT_TRUE(isTemporaryName(name)) << name;
      std::filesystem::remove(entry.path());
      ++leftTemporary;
    }
  }
  std::cout << "after 60 kills: previous file " << keptPrevious << ", new file " << keptNew
            << ", temporary files left " << leftTemporary << "\n";
}

}  // namespace
}  // namespace calveth
