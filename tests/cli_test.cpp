// The command-line program end to end: arguments, exit status, printed texts, map files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/calveth_version.h"
#include "cli/cli.h"
#include "cli/operation_names.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace calveth {
namespace {

using testing::readFile;
using testing::runCliProgram;
using testing::TempDir;

const std::string kSamples = CALVETH_SAMPLES_DIR;

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  int exitCode;
  const char* outHas;  // in stdout, or "" to skip
  const char* errHas;  // in stderr, or "" to skip
};

// Test names carry the case name; gtest need not print the bytes.
void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class CliUsageTable : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTable, AnswersWithTheDocumentedStatus) {
  const UsageCase& c = GetParam();
  const auto result = runCliProgram(c.arguments);
  ASSERT_FALSE(result.signalled);
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_NE(result.out.find(c.outHas), std::string::npos) << result.out;
  EXPECT_NE(result.err.find(c.errHas), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliUsageTable,
    ::testing::Values(
        UsageCase{"help", {"--help"}, 0, "analyze BASE [--auto yes|no] [--map FILE]", ""},
        UsageCase{"help_after_command", {"analyze", "--help"}, 0, "Usage: calveth-cli", ""},
        UsageCase{"version", {"--version"}, 0, "calveth-cli " CALVETH_VERSION "\n", ""},
        UsageCase{"nothing", {}, 2, "", "Usage: calveth-cli"},
        UsageCase{"unknown_command", {"frobnicate"}, 2, "", "unknown command: frobnicate"},
        UsageCase{"no_base", {"analyze"}, 2, "", "analyze needs a BASE file"},
        UsageCase{
            "bad_auto", {"analyze", "x.obj", "--auto", "maybe"}, 2, "", "--auto takes yes or no"},
        UsageCase{
            "map_without_file", {"analyze", "x.obj", "--map"}, 2, "", "--map takes a file name"},
        UsageCase{"two_bases", {"analyze", "a.obj", "b.obj"}, 2, "", "unexpected argument: b.obj"},
        UsageCase{
            "missing_file", {"analyze", "/nonexistent/x.obj"}, 1, "ERR: Obj file not open\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cli, AnalyzesTheSampleHead) {
  const auto result = runCliProgram({"analyze", kSamples + "/head_base.obj"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out,
            "Processing...\nOK:Symmetry(3010/3010) LVL=0\nOK: Perfect symmetry V=3010 F=3072\n");
  EXPECT_EQ(result.err, "");
}

TEST(Cli, NearlySymmetricSampleNeedsOnePass) {
  const auto yes = runCliProgram({"analyze", kSamples + "/head_base_near.obj", "--auto", "yes"});
  EXPECT_EQ(yes.exitCode, 0);
  EXPECT_EQ(yes.lastOutLine(), "OK: symmetry  H=3010 E=6 LVL=1");
  const auto no = runCliProgram({"analyze", kSamples + "/head_base_near.obj", "--auto", "no"});
  EXPECT_EQ(no.exitCode, 0);
  EXPECT_EQ(no.lastOutLine(), "OK:Symmetry(2998/3010) LVL=0");
}

TEST(Cli, WritesTheMirrorMapTable) {
  TempDir dir;
  const std::string base =
      dir.write("base.obj", "v 1 0 0\nv -1 0 0\nv 0 5 0\nv 2 0 0\nv -2.000004 0 0\n");
  const std::string map = dir.file("map.tsv");
  const auto result = runCliProgram({"analyze", base, "--map", map});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.lastOutLine(), "OK: symmetry  H=5 E=1 LVL=1");
  EXPECT_EQ(readFile(map),
            "vertex\tpartner\tpaired\tauto_partner\n"
            "0\t1\t1\t0\n"
            "1\t0\t1\t0\n"
            "2\t2\t1\t0\n"
            "3\t4\t1\t4\n"
            "4\t3\t1\t3\n");
}

TEST(Cli, FailedLoadWritesTheHeaderOnlyAndFailsTheExitStatus) {
  TempDir dir;
  const std::string base = dir.write("bad.obj", "v 1 0 0\nv 1 2 x\n");
  const std::string map = dir.file("map.tsv");
  const auto result = runCliProgram({"analyze", base, "--map", map});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.lastOutLine(), "ERR: Obj file v line err![2]");
  EXPECT_EQ(readFile(map), "vertex\tpartner\tpaired\tauto_partner\n");
}

TEST(Cli, MapIntoMissingFolderIsAnError) {
  const auto result = runCliProgram(
      {"analyze", kSamples + "/head_base.obj", "--map", "/nonexistent-folder/map.tsv"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("cannot write /nonexistent-folder/map.tsv"), std::string::npos);
}

TEST(Cli, FaceWarningsGoToStandardError) {
  TempDir dir;
  const std::string base = dir.write("base.obj", "v 1 0 0\nv -1 0 0\nf 1 2\n");
  const auto result = runCliProgram({"analyze", base});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err,
            "warning: line 3: F MinERR FNum=2 FType=1 D=f 1 2\n"
            "warning: 1 face line was not stored\n");
  EXPECT_EQ(result.lastOutLine(), "OK: Perfect symmetry V=2 F=0");
}

// Usage errors in process: one bad word or combination each, the first problem wins, nothing
// is printed on standard output and the hint follows the reason.
struct UsageErrorCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* errHas;
};

void PrintTo(const UsageErrorCase& c, std::ostream* os) { *os << c.name; }

class CliUsageErrors : public ::testing::TestWithParam<UsageErrorCase> {};

TEST_P(CliUsageErrors, ExitTwoWithTheReasonOnStandardError) {
  const UsageErrorCase& c = GetParam();
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli(c.arguments, out, err), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find(std::string("calveth-cli: ") + c.errHas + "\n"), std::string::npos)
      << err.str();
  EXPECT_TRUE(err.str().ends_with("(run calveth-cli --help for the usage)\n")) << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Words, CliUsageErrors,
    ::testing::Values(
        UsageErrorCase{"operation_name_is_case_sensitive", {"Swap"}, "unknown command: Swap"},
        UsageErrorCase{"double_dash_is_no_command", {"--"}, "unknown command: --"},
        UsageErrorCase{
            "auto_without_answer", {"analyze", "x.obj", "--auto"}, "--auto takes yes or no"},
        UsageErrorCase{"first_problem_wins",
                       {"analyze", "--auto", "maybe", "a.obj", "b.obj"},
                       "--auto takes yes or no"},
        UsageErrorCase{"second_base_before_bad_answer",
                       {"analyze", "a.obj", "b.obj", "--auto", "maybe"},
                       "unexpected argument: b.obj"},
        // the word after --map is its file, whatever it looks like
        UsageErrorCase{
            "option_word_as_value", {"analyze", "--map", "--auto"}, "analyze needs a BASE file"},
        UsageErrorCase{"no_equals_form",
                       {"analyze", "x.obj", "--map=m.tsv"},
                       "unexpected argument: --map=m.tsv"},
        UsageErrorCase{
            "single_dash_after_base", {"analyze", "x.obj", "-o", "y"}, "unexpected argument: -o"},
        UsageErrorCase{"base_without_value", {"swap", "--base"}, "--base needs a value"},
        UsageErrorCase{
            "out_without_value", {"swap", "--base", "a", "--mt", "m", "-o"}, "-o needs a value"},
        UsageErrorCase{"out_dir_without_value",
                       {"swap", "--base", "a", "--out-dir"},
                       "--out-dir needs a value"},
        UsageErrorCase{
            "empty_base", {"swap", "--base", "", "--mt", "m", "-o", "b"}, "swap needs --base BASE"},
        UsageErrorCase{"operation_named_in_problem",
                       {"reset-r", "--mt", "m", "-o", "b"},
                       "reset-r needs --base BASE"},
        UsageErrorCase{"switch_takes_no_value",
                       {"swap", "--base", "a", "--mt", "m", "-o", "b", "--with-faces=yes"},
                       "unexpected argument: --with-faces=yes"},
        UsageErrorCase{"render_option_for_operation",
                       {"melt", "--base", "a", "--mt", "m", "-o", "b", "--op", "swap"},
                       "unexpected argument: --op"},
        UsageErrorCase{"op_without_name",
                       {"render", "b.obj", "-o", "x.svg", "--op"},
                       "--op takes one of mirror-l2r, mirror-r2l, swap, minus, plus, reset-l, "
                       "reset-r, melt"},
        UsageErrorCase{"op_is_case_sensitive",
                       {"render", "b.obj", "--op", "MELT", "-o", "x.svg"},
                       "--op takes one of mirror-l2r, mirror-r2l, swap, minus, plus, reset-l, "
                       "reset-r, melt"},
        UsageErrorCase{"angle_without_value",
                       {"render", "b.obj", "-o", "x.svg", "--angle"},
                       "--angle takes a number of radians"},
        UsageErrorCase{"angle_nan",
                       {"render", "b.obj", "--angle", "nan", "-o", "x.svg"},
                       "--angle takes a number of radians"},
        UsageErrorCase{"render_mt_without_file",
                       {"render", "b.obj", "-o", "x.svg", "--mt"},
                       "--mt takes a file name"},
        UsageErrorCase{"render_two_bases",
                       {"render", "b.obj", "c.obj", "-o", "x.svg"},
                       "unexpected argument: c.obj"},
        UsageErrorCase{
            "render_dash_word", {"render", "-x", "-o", "x.svg"}, "unexpected argument: -x"},
        UsageErrorCase{"last_output_counts",
                       {"render", "b.obj", "-o", "x.svg", "-o", "y.txt"},
                       "the picture file must end in .svg or .png"}),
    [](const auto& info) { return std::string(info.param.name); });

std::string helpText() {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runCli({"--help"}, out, err), 0);
  return out.str();
}

// The README's synopsis block ("calveth-cli ..." lines) is the one --help shows.
TEST(CliHelp, ShowsTheReadmeSynopsis) {
  std::istringstream readme(readFile(kSamples + "/../README.md"));
  std::string line;
  while (std::getline(readme, line) && line != "## calveth-cli") {
  }
  std::getline(readme, line);
  std::getline(readme, line);
  ASSERT_EQ(line, "```");
  const std::string help = helpText();
  int synopses = 0;
  while (std::getline(readme, line) && line != "```") {
    ASSERT_TRUE(line.starts_with("calveth-cli ")) << line;
    const std::string shown = line.substr(std::string("calveth-cli ").size());
    const bool programOption = shown.starts_with("--");
    EXPECT_NE(help.find("\n  " + shown + (programOption ? " " : "\n")), std::string::npos) << shown;
    synopses += programOption ? 0 : 1;
  }
  EXPECT_EQ(synopses, 4);
}

// PNG pictures need Qt 6 on Linux only; on Windows the system encodes them, and the help
// must not send a Windows user looking for a Qt build.
// Every platform makes PNG pictures with its own letters and encoder: none needs Qt.
TEST(CliHelp, SaysWhatPngPicturesNeedOnThisSystem) {
  std::string help = helpText();
  std::replace(help.begin(), help.end(), '\n', ' ');
  EXPECT_NE(help.find("or a PNG image (.png)"), std::string::npos) << help;
  EXPECT_EQ(help.find("Qt"), std::string::npos) << help;
}

// The README lists the operations and their tags in the order of the one list.
TEST(CliHelp, ReadmeListsTheOperationsInOrder) {
  const std::string readme = readFile(kSamples + "/../README.md");
  std::string names = "OP is one of";
  std::string tags = "(";
  for (const OperationName& operation : kOperationNames) {
    names += std::string(tags == "(" ? " `" : ", `") + std::string(operation.name) + "`";
    tags += std::string(tags == "(" ? "" : ", ") + std::string(operation.tag);
  }
  EXPECT_NE(readme.find(names + ".\n"), std::string::npos) << names;
  EXPECT_NE(readme.find(tags + ")"), std::string::npos) << tags;
}

// The tag that --help promises is the one the command puts into the proposed name.
class CliOperationTags : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CliOperationTags, NameTheSavedFile) {
  const OperationName& operation = kOperationNames[GetParam()];
  TempDir dir;
  const std::string base = dir.write("base.obj", "v 1 0 0\nv -1 0 0\nv 0 1 0\n");
  const std::string mt = dir.write("smile.obj", "v 1.5 0 0\nv -1 0 0\nv 0 1 0\n");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(
      runCli({std::string(operation.name), "--base", base, "--mt", mt, "--out-dir", dir.file("")},
             out, err),
      0)
      << out.str();
  EXPECT_TRUE(std::filesystem::exists(dir.file("smile" + std::string(operation.tag) + ".obj")));
  const std::string help = helpText();
  const std::size_t at = help.find("        " + std::string(operation.name) + " ");
  ASSERT_NE(at, std::string::npos);
  const std::string helpLine = help.substr(at, help.find('\n', at) - at);
  EXPECT_TRUE(helpLine.ends_with(" tag " + std::string(operation.tag))) << helpLine;
}

INSTANTIATE_TEST_SUITE_P(Every, CliOperationTags,
                         ::testing::Range(std::size_t{0}, std::size(kOperationNames)),
                         [](const auto& info) {
                           std::string name(kOperationNames[info.param].name);
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace calveth
