// Real OBJ files written by other tools: the program must never crash on any of them and
// must always end with a status text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/corpus_files.h"
#include "support/run_program.h"
#include "support/saved_mt_file.h"
#include "support/temp_dir.h"

namespace calveth {
namespace {

const std::filesystem::path kCorpus = CALVETH_CORPUS_DIR;

using testing::corpusFiles;

bool isStatusText(const std::string& line) {
  for (const char* start : {"OK", "ERR:", "NG:", "CRITICAL ERR:"}) {
    if (line.starts_with(start)) {
      return true;
    }
  }
  return false;
}

TEST(Corpus, EveryFileEndsInAStatusTextWithoutACrash) {
  const auto files = corpusFiles();
  if (files.empty()) {
    GTEST_SKIP() << "no corpus at " << kCorpus;
  }
  for (const auto& file : files) {
    for (const char* answer : {"yes", "no"}) {
      const auto result = testing::runCliProgram({"analyze", file.string(), "--auto", answer});
      SCOPED_TRACE(file.string());
      ASSERT_FALSE(result.signalled);
      EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode;
      EXPECT_TRUE(isStatusText(result.lastOutLine())) << result.out;
      EXPECT_EQ(result.exitCode == 0, result.lastOutLine().starts_with("OK"));
    }
  }
}

// Every file as its own base and MT: open both, mirror, save. Each printed line is a status
// text, the exit status says whether all were "OK", and a file said to be saved is whole.
TEST(Corpus, EveryFileMirroredOntoItselfEndsInStatusTextsWithoutACrash) {
  const auto files = corpusFiles();
  if (files.empty()) {
    GTEST_SKIP() << "no corpus at " << kCorpus;
  }
  testing::TempDir dir;
  const std::string out = dir.file("out.obj");
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    std::filesystem::remove(out);
    const auto result = testing::runCliProgram(
        {"mirror-l2r", "--base", file.string(), "--mt", file.string(), "-o", out});
    ASSERT_FALSE(result.signalled);
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode;
    std::istringstream lines(result.out);
    bool allOk = true;
    int printed = 0;
    for (std::string line; std::getline(lines, line); ++printed) {
      EXPECT_TRUE(isStatusText(line)) << line;
      allOk = allOk && line.starts_with("OK");
    }
    EXPECT_GT(printed, 0);
    EXPECT_EQ(result.exitCode == 0, allOk);
    unsigned base = 0;
    unsigned mt = 0;
    const bool saved = result.lastOutLine() == "OK:New MT save";
    if (saved) {
      const std::size_t at = result.out.find("OK: Choose Function (v=");
      ASSERT_NE(at, std::string::npos);
      ASSERT_EQ(std::sscanf(result.out.c_str() + at, "OK: Choose Function (v=%u/%u)", &base, &mt),
                2);
      EXPECT_TRUE(
          testing::isWholeMtFile(testing::readFile(out), file.stem().string(), out, mt, false));
    } else {
      EXPECT_FALSE(std::filesystem::exists(out));
    }
  }
}

struct CorpusCase {
  const char* file;
  const char* status;  // with --auto yes
};

// Test names carry the case name; gtest need not print the bytes.
void PrintTo(const CorpusCase& c, std::ostream* os) { *os << c.file; }

class CorpusResults : public ::testing::TestWithParam<CorpusCase> {};

// Files whose outcome is known from their content (see the corpus README).
TEST_P(CorpusResults, GiveTheExpectedAnalysis) {
  const auto path = kCorpus / GetParam().file;
  if (!std::filesystem::exists(path)) {
    GTEST_SKIP() << "missing " << path;
  }
  const auto result = testing::runCliProgram({"analyze", path.string()});
  EXPECT_EQ(result.lastOutLine(), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorpusResults,
    ::testing::Values(
        CorpusCase{"assimp/empty.obj", "ERR: v line out of range (0-0)"},
        CorpusCase{"makehuman/base.obj", "OK: Perfect symmetry V=19158 F=18486"},
        CorpusCase{"mediapipe/canonical_face_model.obj", "OK: Perfect symmetry V=468 F=898"},
        CorpusCase{"ufbx/blender_293_suzanne_subsurf_uv.obj", "OK: symmetry  H=8048 E=4 LVL=1"},
        // 936 corners on one line, and a last face line without a line end
        CorpusCase{"assimp/box_longline.obj", "OK: Perfect symmetry V=8 F=6"},
        CorpusCase{"assimp/box_without_lineending.obj", "OK: Perfect symmetry V=8 F=6"},
        // "3.1+e2" is not a number: refused rather than read as 3.1
        CorpusCase{"assimp/number_formats.obj", "ERR: Obj file v line err![2]"},
        CorpusCase{"tinyobjloader/invalid-relative-vertex-index.obj",
                   "ERR: v line out of range (0-0)"},
        CorpusCase{"tinyobjloader/test-nan.obj", "ERR: Obj file v line err![0]"},
        CorpusCase{"assimp/box_UTF16BE.obj", "ERR: v line out of range (0-0)"}),
    [](const auto& info) {
      std::string name = info.param.file;
      for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      }
      return name;
    });

}  // namespace
}  // namespace calveth
