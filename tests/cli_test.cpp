// The command-line program end to end: arguments, exit status, printed texts, map files.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

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
        UsageCase{"version", {"--version"}, 0, "calveth-cli 2.2.0\n", ""},
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
  EXPECT_EQ(result.err, "warning: F MinERR FNum=2 FType=1 D=f 1 2\n");
  EXPECT_EQ(result.lastOutLine(), "OK: Perfect symmetry V=2 F=0");
}

}  // namespace
}  // namespace calveth
