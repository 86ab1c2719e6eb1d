// calveth-cli render end to end: arguments, exit status, status texts and the pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
const std::string kHead = kSamples + "/head_base.obj";

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

struct RenderUsageCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* errHas;
};

void PrintTo(const RenderUsageCase& c, std::ostream* os) { *os << c.name; }

class RenderUsageTable : public ::testing::TestWithParam<RenderUsageCase> {};

TEST_P(RenderUsageTable, IsAUsageError) {
  const auto result = runCliProgram(GetParam().arguments);
  ASSERT_FALSE(result.signalled);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(GetParam().errHas), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RenderUsageTable,
    ::testing::Values(
        RenderUsageCase{"no_base", {"render", "-o", "x.svg"}, "render needs a BASE file"},
        RenderUsageCase{"no_output", {"render", kHead}, "render needs -o FILE"},
        RenderUsageCase{"output_without_name", {"render", kHead, "-o"}, "-o takes a file name"},
        RenderUsageCase{"unknown_picture_kind",
                        {"render", kHead, "-o", "x.jpg"},
                        "the picture file must end in .svg or .png"},
        RenderUsageCase{
            "unknown_op", {"render", kHead, "--op", "fold", "-o", "x.svg"}, "--op takes one of"},
        RenderUsageCase{
            "angle_not_a_number", {"render", kHead, "--angle", "1x", "-o", "x.svg"}, "--angle"},
        RenderUsageCase{
            "angle_not_finite", {"render", kHead, "--angle", "inf", "-o", "x.svg"}, "--angle"},
        RenderUsageCase{
            "bad_auto", {"render", kHead, "--auto", "maybe", "-o", "x.svg"}, "--auto takes"},
        RenderUsageCase{"unknown_option",
                        {"render", kHead, "--map", "m.tsv", "-o", "x.svg"},
                        "unexpected argument: --map"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Render, SampleHeadAsSvg) {
  TempDir dir;
  const std::string svg = dir.file("head.SVG");
  const auto result = runCliProgram({"render", kHead, "-o", svg});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "OK: Perfect symmetry V=3010 F=3072\n");
  EXPECT_EQ(result.err, "");
  const std::string picture = readFile(svg);
  EXPECT_NE(picture.find("width=\"408\" height=\"389\""), std::string::npos);
  EXPECT_EQ(occurrences(picture, "<polyline"), 3072u);  // every face, none dotted
  EXPECT_EQ(occurrences(picture, "width=\"1\" height=\"1\" fill=\"#00ff00\""), 3010u);
  EXPECT_NE(picture.find("BASE OBJECT IS *ALL GREEN*"), std::string::npos);
}

TEST(Render, MarkersFollowTheAnswer) {
  TempDir dir;
  const std::string svg = dir.file("near.svg");
  const std::string near = kSamples + "/head_base_near.obj";
  ASSERT_EQ(runCliProgram({"render", near, "--auto", "no", "-o", svg}).exitCode, 0);
  EXPECT_NE(readFile(svg).find("+ NOT SYMMETRY : 00012     <"), std::string::npos);
  ASSERT_EQ(runCliProgram({"render", near, "--auto", "yes", "-o", svg}).exitCode, 0);
  EXPECT_NE(readFile(svg).find("+ AUTO DETECTION : 00012     <"), std::string::npos);
}

TEST(Render, AngleTurnsTheView) {
  TempDir dir;
  const std::string base = dir.write("triangle.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  const std::string svg = dir.file("turned.svg");
  const auto result =
      runCliProgram({"render", base, "--auto", "no", "--angle", "3.141592653589793", "-o", svg});
  EXPECT_EQ(result.exitCode, 0);
  // seen from behind the face turns away
  EXPECT_NE(readFile(svg).find("points=\"373,373 26,373 373,26 373,373\" stroke=\"#404040\""),
            std::string::npos);
}

// The viewer shows a picture after a refused file too: it is written, the status fails.
TEST(Render, RefusedBaseStillGivesThePicture) {
  TempDir dir;
  const std::string svg = dir.file("missing.svg");
  const auto result = runCliProgram({"render", dir.file("missing.obj"), "-o", svg});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.lastOutLine(), "ERR: Obj file not open");
  const std::string picture = readFile(svg);
  EXPECT_EQ(occurrences(picture, "<polyline"), 0u);
  EXPECT_NE(picture.find("+ DUPLICATE : 00000     <"), std::string::npos);
}

// The picture after a generating command shows the work target, with a yellow pixel on each
// vertex that the MT moves (the smile moves 212 vertices of the left side).
struct SequenceCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string out;
  int exitCode;
  std::size_t movedPixels;
};

void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

class RenderSequence : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(RenderSequence, PrintsEachCommandAndDrawsTheLastPicture) {
  const SequenceCase& c = GetParam();
  TempDir dir;
  std::vector<std::string> arguments = c.arguments;
  arguments.insert(arguments.end(), {"-o", dir.file("picture.svg")});
  const auto result = runCliProgram(arguments);
  ASSERT_FALSE(result.signalled);
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.out, c.out);
  const std::string picture = readFile(dir.file("picture.svg"));
  EXPECT_EQ(occurrences(picture, "width=\"1\" height=\"1\" fill=\"#ffff00\""), c.movedPixels);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RenderSequence,
    ::testing::Values(
        SequenceCase{"mirror",
                     {"render", kHead, "--mt", kSamples + "/head_smile.obj", "--op", "mirror-l2r"},
                     "OK: Perfect symmetry V=3010 F=3072\nOK: Choose Function (v=3010/3010)\n"
                     "OK: Left Seed,Right Generate.\n",
                     0,
                     212},
        SequenceCase{"mt_only",
                     {"render", kHead, "--mt", kSamples + "/head_smile.obj"},
                     "OK: Perfect symmetry V=3010 F=3072\nOK: Choose Function (v=3010/3010)\n",
                     0,
                     212},
        // A refused MT ends the sequence and leaves an empty picture.
        SequenceCase{"refused_mt",
                     {"render", kHead, "--mt", kSamples + "/hand_left_curl.obj", "--op", "swap"},
                     "OK: Perfect symmetry V=3010 F=3072\nERR: MT v line unmatch 3010 384\n",
                     1,
                     0},
        SequenceCase{"op_without_mt",
                     {"render", kHead, "--op", "melt"},
                     "OK: Perfect symmetry V=3010 F=3072\nERR: Function is not available\n",
                     1,
                     0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Render, UnwritablePictureFails) {
  const auto result = runCliProgram({"render", kHead, "-o", "/nonexistent-folder/x.svg"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("cannot write /nonexistent-folder/x.svg"), std::string::npos);
}

TEST(Render, PngWhereThePlatformMakesThem) {
  TempDir dir;
  const std::string png = dir.file("head.png");
  const auto result = runCliProgram({"render", kHead, "-o", png});
  if (CALVETH_PNG_PICTURES) {
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
  } else {
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("this build writes no PNG pictures"), std::string::npos);
  }
}

}  // namespace
}  // namespace calveth
