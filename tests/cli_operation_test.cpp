// The generating commands on the command line, run as the real program: printed texts, exit
// status and the files written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace calveth {
namespace {

using testing::readFile;
using testing::runCliProgram;
using testing::TempDir;

const std::string kCube =
    "v 1 1 1\nv -1 1 1\nv 1 -1 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -1\nv -1 -1 -1\n"
    "f 1 2 4 3\nf 5 6 8 7\nf 1 2 6 5\nf 3 4 8 7\nf 1 3 7 5\nf 2 4 8 6\n";
const std::string kSmile =
    "v 1.5 1 1\nv -1 1 1\nv 1 -1.25 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -0.5\nv -1 -1 -1\n";
const std::string kMirrored =
    "v 1.500000 1.000000 1.000000\nv -1.500000 1.000000 1.000000\n"
    "v 1.000000 -1.250000 1.000000\nv -1.000000 -1.250000 1.000000\n"
    "v 1.000000 1.000000 -1.000000\nv -1.000000 1.000000 -1.000000\n"
    "v 1.000000 -1.000000 -0.500000\nv -1.000000 -1.000000 -0.500000\n# vertex num is 8\n";
constexpr const char* kCubeOpened = "OK: Perfect symmetry V=8 F=6\nOK: Choose Function (v=8/8)\n";

std::string header(const std::string& title, const std::string& path) {
  return "# Convert by TOLV\n# Original name: " + title + "\n# Convert  name: " + path + "\n";
}

// A folder holding the input files of the runs below.
struct Inputs {
  TempDir dir;
  Inputs() {
    dir.write("cube.obj", kCube);
    dir.write("smile.obj", kSmile);
    dir.write("frown.obj", kSmile);
    dir.write("smile_faces.obj", kSmile + "vt 0 0\nf 1 2 4 3\n");
    dir.write("seven.obj", "v 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\n");
    dir.write("hands.obj", "#HALF\nv 1 0 0\nv 2 0 0\nv -1 0 0\nv -2 0 0\n");
    dir.write("hand.obj", "v 1.5 0 0\nv 2 0.5 0\n");
    dir.write("lonely.obj", "v 1 0 0\nv 2 0 0\nv 3 0 0\n");
    dir.write("three.obj", "v 1 0 0\nv 2 0 0\nv 3 0.5 0\n");
    std::filesystem::create_directory(dir.file("out"));
  }
  std::string in(const std::string& name) const { return dir.file(name); }
  std::string out(const std::string& name) const { return dir.file("out/" + name); }
};

TEST(CliOperation, MirrorsTheCubeIntoTheGivenFile) {
  Inputs files;
  const auto result = runCliProgram({"mirror-l2r", "--base", files.in("cube.obj"), "--mt",
                                     files.in("smile.obj"), "-o", files.out("new.obj")});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out,
            std::string(kCubeOpened) + "OK: Left Seed,Right Generate.\nOK:New MT save\n");
  EXPECT_EQ(readFile(files.out("new.obj")), header("smile", files.out("new.obj")) + kMirrored);
}

// The header names the file as a save dialog would: absolute and without "." or "..".
TEST(CliOperation, OutputPathIsWrittenAbsoluteAndNormal) {
  Inputs files;
  std::filesystem::create_directory(files.out("sub"));
  const auto relativeOut =
      std::filesystem::relative(files.out(""), std::filesystem::current_path());
  // On Windows the temporary folder may lie on another drive than the current folder, and
  // there is no relative path to it; the absolute one then carries the "." and "..".
  const std::string given =
      (relativeOut.empty() ? files.out("") : relativeOut.string()) + "/./sub/../new.obj";
  const auto result = runCliProgram(
      {"mirror-l2r", "--base", files.in("cube.obj"), "--mt", files.in("smile.obj"), "-o", given});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(readFile(files.out("new.obj")), header("smile", files.out("new.obj")) + kMirrored);
}

struct RunCase {
  const char* name;
  std::vector<std::string> arguments;  // "@name" is an input file, "%name" one in out/
  int exitCode;
  std::string out;
  std::vector<std::string> written;  // the names in out/ afterwards
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class CliRuns : public ::testing::TestWithParam<RunCase> {};

TEST_P(CliRuns, PrintEveryStatusAndSaveWhatTheyShould) {
  const RunCase& c = GetParam();
  Inputs files;
  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments) {
    arguments.push_back(argument.starts_with("@")   ? files.in(argument.substr(1))
                        : argument.starts_with("%") ? files.out(argument.substr(1))
                                                    : argument);
  }
  const auto result = runCliProgram(arguments);
  ASSERT_FALSE(result.signalled);
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.out, c.out);
  std::vector<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(files.out(""))) {
    written.push_back(entry.path().filename().string());
  }
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, CliRuns,
    ::testing::Values(
        RunCase{"into_folder_under_the_proposed_name",
                {"reset-r", "--base", "@cube.obj", "--mt", "@smile.obj", "--out-dir", "%"},
                0,
                std::string(kCubeOpened) + "OK: Right Reset.\nOK:New MT save\n",
                {"smileResR.obj"}},
        // no face lines to copy: the refusal is printed, the file holds the vertices only
        RunCase{
            "with_faces_but_none_there",
            {"melt", "--base", "@cube.obj", "--mt", "@smile.obj", "--out-dir", "%", "--with-faces"},
            1,
            std::string(kCubeOpened) +
                "OK: Melt.\nNO! Your MT is not included Face.\nOK:New MT save\n",
            {"smileMelt.obj"}},
        RunCase{"with_faces",
                {"minus", "--with-faces", "--base", "@cube.obj", "--mt", "@smile_faces.obj", "-o",
                 "%minus.obj"},
                0,
                std::string(kCubeOpened) + "OK: Minus Delta.\nOK:New OBJ save\n",
                {"minus.obj"}},
        RunCase{"half_mt_cannot_be_mirrored",
                {"mirror-l2r", "--base", "@hands.obj", "--mt", "@hand.obj", "--out-dir", "%"},
                1,
                "OK: Perfect symmetry V=4 F=0\nOK: CHOOSE SWAP ONLY\nERR: Function is not "
                "available\n",
                {}},
        RunCase{"half_mt_swapped",
                {"swap", "--base", "@hands.obj", "--mt", "@hand.obj", "--out-dir", "%"},
                0,
                "OK: Perfect symmetry V=4 F=0\nOK: CHOOSE SWAP ONLY\nOK: Swap Generate.\nOK:New "
                "MT save\n",
                {"handSwap.obj"}},
        RunCase{"mt_refused",
                {"plus", "--base", "@cube.obj", "--mt", "@seven.obj", "-o", "%x.obj"},
                1,
                "OK: Perfect symmetry V=8 F=6\nERR: MT v line unmatch 8 7\n",
                {}},
        // an error ends the work on that MT only
        RunCase{"batch_goes_on_after_a_missing_mt",
                {"mirror-l2r", "--base", "@cube.obj", "--out-dir", "%", "@smile.obj",
                 "@missing.obj", "@frown.obj"},
                1,
                std::string(kCubeOpened) +
                    "OK: Left Seed,Right Generate.\nOK:New MT save\nERR: Obj file not open!\n"
                    "OK: Choose Function (v=8/8)\nOK: Left Seed,Right Generate.\nOK:New MT save\n",
                {"frownMirR.obj", "smileMirR.obj"}},
        // "NG:" is printed and the work goes on, but the exit status tells
        RunCase{"unusable_mirror_goes_on",
                {"mirror-r2l", "--base", "@lonely.obj", "--mt", "@three.obj", "--out-dir", "%"},
                1,
                "NG: Mirror V.C.M can't build up.\nOK: Choose Function (v=3/3)\n"
                "OK: Right Seed,Left Generate.\nOK:New MT save\n",
                {"threeMirL.obj"}},
        // a folder that is not there is made (OutFolder below looks at it)
        RunCase{"save_into_missing_folder",
                {"reset-l", "--base", "@cube.obj", "--mt", "@smile.obj", "--out-dir", "%none"},
                0,
                std::string(kCubeOpened) + "OK: Left Reset.\nOK:New MT save\n",
                {"none"}},
        // a file in the way of the folder: the save fails as an open for writing would
        RunCase{"save_into_a_file",
                {"reset-l", "--base", "@cube.obj", "--mt", "@smile.obj", "--out-dir", "@cube.obj"},
                1,
                std::string(kCubeOpened) + "OK: Left Reset.\nERR:New MT file open err\n",
                {}},
        // but an error opening the base ends everything
        RunCase{"base_missing_ends_everything",
                {"swap", "--base", "@nothing.obj", "--out-dir", "%", "@smile.obj", "@frown.obj"},
                1,
                "ERR: Obj file not open\n",
                {}}),
    [](const auto& info) { return std::string(info.param.name); });

// What the error stream says of the --out-dir folder, and what is on the disk afterwards.
struct OutFolderCase {
  const char* name;
  std::vector<std::string> arguments;  // "@name" is an input file, "%name" one in out/
  std::string folder;                  // the folder given, as "%name" or "@name"
  std::string errLine;                 // the line naming it ("" for none), before the path
  std::vector<std::string> saved;      // the names in the folder afterwards, if it is one
};

void PrintTo(const OutFolderCase& c, std::ostream* os) { *os << c.name; }

class OutFolder : public ::testing::TestWithParam<OutFolderCase> {};

TEST_P(OutFolder, IsMadeOrNamedInTheError) {
  const OutFolderCase& c = GetParam();
  Inputs files;
  files.dir.write("out/taken", "a file\n");
  const auto place = [&](const std::string& word) {
    return word.starts_with("@")   ? files.in(word.substr(1))
           : word.starts_with("%") ? files.out(word.substr(1))
                                   : word;
  };
  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments) {
    arguments.push_back(place(argument));
  }
  const std::string folder = place(c.folder);
  arguments.push_back("--out-dir");
  arguments.push_back(folder);
  const auto result = runCliProgram(arguments);
  ASSERT_FALSE(result.signalled);
  if (c.errLine.empty()) {
    EXPECT_EQ(result.err.find("folder"), std::string::npos) << result.err;
  } else {
    EXPECT_NE(result.err.find(c.errLine + folder), std::string::npos) << result.err;
  }
  std::vector<std::string> saved;
  if (std::filesystem::is_directory(folder)) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      saved.push_back(entry.path().filename().string());
    }
  }
  std::sort(saved.begin(), saved.end());
  EXPECT_EQ(saved, c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OutFolder,
    ::testing::Values(OutFolderCase{"there_already",
                                    {"swap", "--base", "@cube.obj", "@smile.obj"},
                                    "%",
                                    "",
                                    {"smileSwap.obj", "taken"}},
                      OutFolderCase{"made",
                                    {"swap", "--base", "@cube.obj", "@smile.obj"},
                                    "%new",
                                    "created folder ",
                                    {"smileSwap.obj"}},
                      OutFolderCase{"made_with_the_folders_above",
                                    {"swap", "--base", "@cube.obj", "@smile.obj", "@frown.obj"},
                                    "%a/b/c",
                                    "created folder ",
                                    {"frownSwap.obj", "smileSwap.obj"}},
                      OutFolderCase{"a_file_in_the_way",
                                    {"swap", "--base", "@cube.obj", "@smile.obj"},
                                    "%taken",
                                    "error: cannot create the folder ",
                                    {}},
                      OutFolderCase{"below_a_file",
                                    {"swap", "--base", "@cube.obj", "@smile.obj"},
                                    "%taken/sub",
                                    "error: cannot create the folder ",
                                    {}},
                      // nothing to save: no folder is made
                      OutFolderCase{"not_made_when_the_base_fails",
                                    {"swap", "--base", "@nothing.obj", "@smile.obj"},
                                    "%never",
                                    "",
                                    {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A read-only file in the folder is refused, not replaced: the batch goes on.
TEST(CliOperation, ReadOnlyOutputIsRefusedAndKept) {
#ifdef _WIN32
  GTEST_SKIP() << "the read-only mark is a row of the Windows file-layer test";
#else
  Inputs files;
  const std::string kept = files.dir.write("out/smileSwap.obj", "previous\n");
  std::filesystem::permissions(kept, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  const auto result = runCliProgram({"swap", "--base", files.in("cube.obj"), "--out-dir",
                                     files.out(""), files.in("smile.obj"), files.in("frown.obj")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, std::string(kCubeOpened) +
                            "OK: Swap Generate.\nERR:New MT file open err\n"
                            "OK: Choose Function (v=8/8)\nOK: Swap Generate.\nOK:New MT save\n");
  EXPECT_EQ(readFile(kept), "previous\n");
  EXPECT_TRUE(std::filesystem::exists(files.out("frownSwap.obj")));
#endif
}

TEST(CliOperation, CopiesTheFaceLinesWhenAsked) {
  Inputs files;
  runCliProgram({"minus", "--base", files.in("cube.obj"), "--mt", files.in("smile_faces.obj"),
                 "--with-faces", "-o", files.out("minus.obj")});
  const std::string minus = files.out("minus.obj");
  EXPECT_EQ(readFile(minus), header("smile_faces", minus) +
                                 "v -0.500000 0.000000 0.000000\nv 0.000000 0.000000 0.000000\n"
                                 "v 0.000000 0.250000 0.000000\nv 0.000000 0.000000 0.000000\n"
                                 "v 0.000000 0.000000 0.000000\nv 0.000000 0.000000 0.000000\n"
                                 "v 0.000000 0.000000 -0.500000\nv 0.000000 0.000000 0.000000\n"
                                 "# vertex num is 8\nvt 0 0\nf 1 2 4 3\n#\n");
}

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* errHas;
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class CliOperationUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliOperationUsage, IsAUsageError) {
  const auto result = runCliProgram(GetParam().arguments);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(GetParam().errHas), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliOperationUsage,
    ::testing::Values(
        UsageCase{"no_base", {"swap", "--mt", "a.obj", "-o", "b.obj"}, "swap needs --base BASE"},
        UsageCase{"no_mt", {"swap", "--base", "a.obj", "-o", "b.obj"}, "needs an MT file"},
        UsageCase{"no_output", {"swap", "--base", "a.obj", "--mt", "m.obj"}, "-o OUT or --out-dir"},
        UsageCase{"both_outputs",
                  {"swap", "--base", "a.obj", "--mt", "m.obj", "-o", "b.obj", "--out-dir", "d"},
                  "-o OUT or --out-dir"},
        UsageCase{"one_file_for_two_mts",
                  {"melt", "--base", "a.obj", "--mt", "m.obj", "n.obj", "-o", "b.obj"},
                  "several MT files need --out-dir"},
        UsageCase{"unknown_option",
                  {"minus", "--base", "a.obj", "--mt", "m.obj", "-o", "b.obj", "--fast"},
                  "unexpected argument: --fast"},
        UsageCase{"value_missing", {"plus", "--base", "a.obj", "--mt"}, "--mt needs a value"},
        UsageCase{"bad_auto",
                  {"reset-l", "--base", "a.obj", "--mt", "m.obj", "-o", "b", "--auto", "y"},
                  "--auto takes yes or no"}),
    [](const auto& info) { return std::string(info.param.name); });

// On a terminal a batch names each MT as it starts.
TEST(CliOperation, BatchShowsItsProgressOnATerminal) {
  Inputs files;
  std::ostringstream out;
  std::ostringstream err;
  const int exitCode = runCli({"swap", "--base", files.in("cube.obj"), "--out-dir", files.out(""),
                               files.in("smile.obj"), files.in("frown.obj")},
                              out, err, true);
  EXPECT_EQ(exitCode, 0);
  EXPECT_NE(err.str().find("[1/2] " + files.in("smile.obj") + "\n"), std::string::npos);
  EXPECT_NE(err.str().find("[2/2] " + files.in("frown.obj") + "\n"), std::string::npos);
  EXPECT_EQ(out.str(), std::string(kCubeOpened) + "OK: Swap Generate.\nOK:New MT save\n" +
                           "OK: Choose Function (v=8/8)\nOK: Swap Generate.\nOK:New MT save\n");
}

TEST(CliOperation, HelpNamesEveryOperation) {
  const auto result = runCliProgram({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  for (const char* name : {"mirror-l2r", "mirror-r2l", "swap", "minus", "plus", "reset-l",
                           "reset-r", "melt", "--with-faces", "--out-dir"}) {
    EXPECT_NE(result.out.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace calveth
