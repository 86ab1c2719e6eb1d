// --pair-by-mesh on the command line: its line, the exit status it leaves, the map's "how"
// column, every output without it as before, and the corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_router.h"
#include "meshgen/body_part.h"
#include "support/corpus_files.h"
#include "support/recording_host.h"
#include "support/reference_mesh_pairs.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/uneven_base.h"

namespace calveth {
namespace {

using testing::runCliProgram;
using testing::TempDir;

// The bases the cases name, written once per test.
struct Bases {
  TempDir dir;
  std::string split;    // two left vertices and their images split: "CRITICAL ERR"
  std::string perfect;  // a symmetric tube
  std::string mixed;    // exact, tolerance, mesh, duplicate and unpaired vertices

  Bases() {
    const auto splitBase =
        testing::unevenBase(meshgen::headMesh(12, 16), {0.0, 0.002, 0.006, 2, 8});
    split = dir.write("split.obj", meshgen::toObj(splitBase.mesh, {}));
    perfect = dir.write("perfect.obj", meshgen::toObj(meshgen::limbMesh(4, 8), {}));
    mixed = dir.write("mixed.obj", meshgen::toObj(mixedTube(), {}));
  }

  // A tube of 4 rings of 8 (vertex 8r + k): 10 is moved within the tolerance, 18 beyond it,
  // 26 gets a copy on its own side (so 30 names two), and a 33rd vertex lies in no face.
  static meshgen::Mesh mixedTube() {
    meshgen::Mesh mesh = meshgen::limbMesh(4, 8);
    mesh.vertices[10][1] += 0.001;
    mesh.vertices[18][1] += 0.004;
    mesh.vertices.push_back(mesh.vertices[26]);
    mesh.normals.push_back(mesh.normals[26]);
    for (auto& face : mesh.faceVertices) {
      if (std::find(face.begin(), face.end(), 27) != face.end()) {
        std::replace(face.begin(), face.end(), 26, 32);
      }
    }
    mesh.vertices.push_back({0.3, 0.3, 0.3});
    mesh.normals.push_back({0.0, 1.0, 0.0});
    return mesh;
  }
};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    result.push_back(line);
  }
  return result;
}

struct RunCase {
  const char* name;
  std::vector<std::string> (*arguments)(const Bases& bases, const TempDir& out);
  int exitCode;
  const char* lastLine;
  bool baseTextBefore;  // "CRITICAL ERR:Same Point HIT" printed before the last line
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class CliMeshPairing : public ::testing::TestWithParam<RunCase> {};

TEST_P(CliMeshPairing, PrintsItsLineAndExitsByTheBaseItLeaves) {
  const RunCase& c = GetParam();
  const Bases bases;
  const TempDir out;
  const auto result = runCliProgram(c.arguments(bases, out));
  ASSERT_FALSE(result.signalled);
  EXPECT_EQ(result.exitCode, c.exitCode) << result.out << result.err;
  EXPECT_EQ(result.lastOutLine(), c.lastLine) << result.out;
  const bool critical = result.out.find("CRITICAL ERR:Same Point HIT\n") != std::string::npos;
  EXPECT_EQ(critical, c.baseTextBefore) << result.out;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliMeshPairing,
    ::testing::Values(
        RunCase{"analyze_split_base",
                [](const Bases& b, const TempDir&) {
                  return std::vector<std::string>{"analyze", b.split, "--pair-by-mesh"};
                },
                0, "OK: Mesh pairing P=4 U=0", true},
        RunCase{"analyze_split_base_without_the_option",
                [](const Bases& b, const TempDir&) {
                  return std::vector<std::string>{"analyze", b.split};
                },
                1, "CRITICAL ERR:Same Point HIT", true},
        RunCase{"analyze_perfect_base_has_nothing_to_pair",
                [](const Bases& b, const TempDir&) {
                  return std::vector<std::string>{"analyze", b.perfect, "--pair-by-mesh"};
                },
                0, "OK: Mesh pairing P=0 U=0", false},
        // 30 stays a duplicate and the lone vertex unpaired: the base is still "CRITICAL".
        RunCase{"analyze_base_left_with_a_duplicate",
                [](const Bases& b, const TempDir&) {
                  return std::vector<std::string>{"analyze", b.mixed, "--pair-by-mesh"};
                },
                1, "OK: Mesh pairing P=1 U=2", true},
        RunCase{"analyze_missing_file_prints_no_stage",
                [](const Bases&, const TempDir& o) {
                  return std::vector<std::string>{"analyze", o.file("none.obj"), "--pair-by-mesh"};
                },
                1, "ERR: Obj file not open", false},
        RunCase{"mirror_on_the_paired_base",
                [](const Bases& b, const TempDir& o) {
                  return std::vector<std::string>{
                      "mirror-l2r", "--base", b.split,           "--mt",
                      b.split,      "-o",     o.file("out.obj"), "--pair-by-mesh"};
                },
                0, "OK:New MT save", true},
        RunCase{"mirror_without_the_option",
                [](const Bases& b, const TempDir& o) {
                  return std::vector<std::string>{"mirror-l2r", "--base", b.split,          "--mt",
                                                  b.split,      "-o",     o.file("out.obj")};
                },
                1, "OK:New MT save", true},
        RunCase{"render_the_paired_base",
                [](const Bases& b, const TempDir& o) {
                  return std::vector<std::string>{"render", b.split, "--pair-by-mesh", "-o",
                                                  o.file("view.svg")};
                },
                0, "OK: Mesh pairing P=4 U=0", true}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return info.param.name; });

std::string column(const std::string& row, int wanted) {
  std::istringstream cells(row);
  std::string cell;
  for (int k = 0; std::getline(cells, cell, '\t'); ++k) {
    if (k == wanted) {
      return cell;
    }
  }
  return "";
}

TEST(CliMeshPairingMap, TellsHowEachVertexWasPaired) {
  const Bases bases;
  const TempDir out;
  const std::string map = out.file("map.tsv");
  const auto result = runCliProgram({"analyze", bases.mixed, "--pair-by-mesh", "--map", map});
  ASSERT_FALSE(result.signalled);
  const auto rows = lines(testing::readFile(map));
  ASSERT_EQ(rows.size(), 35u);
  EXPECT_EQ(rows[0], "vertex\tpartner\tpaired\tauto_partner\thow");
  std::vector<std::string> expected(34, "exact");
  expected[10] = expected[14] = "tolerance";
  expected[18] = expected[22] = "mesh";
  expected[30] = "duplicate";
  expected[33] = "none";
  for (std::size_t v = 0; v < expected.size(); ++v) {
    EXPECT_EQ(column(rows[v + 1], 4), expected[v]) << rows[v + 1];
  }
}

// Without the option nothing differs from a run of the program before it had one: the
// texts, warnings and status are those of the run with it less its own line, and the map
// keeps its four columns.
TEST(CliMeshPairingMap, WithoutTheOptionEveryOutputIsAsBefore) {
  const Bases bases;
  const TempDir out;
  std::vector<std::string> files = {bases.split, bases.perfect, bases.mixed};
  for (const auto& entry : std::filesystem::directory_iterator(CALVETH_SAMPLES_DIR)) {
    if (entry.path().extension() == ".obj") {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const auto plain = runCliProgram({"analyze", file, "--map", out.file("plain.tsv")});
    const auto staged =
        runCliProgram({"analyze", file, "--map", out.file("staged.tsv"), "--pair-by-mesh"});
    ASSERT_FALSE(plain.signalled || staged.signalled);
    auto stagedLines = lines(staged.out);
    ASSERT_FALSE(stagedLines.empty());
    EXPECT_TRUE(stagedLines.back().starts_with("OK: Mesh pairing P="));
    stagedLines.pop_back();
    EXPECT_EQ(lines(plain.out), stagedLines);
    EXPECT_EQ(plain.err, staged.err);
    const auto plainRows = lines(testing::readFile(out.file("plain.tsv")));
    ASSERT_FALSE(plainRows.empty());
    EXPECT_EQ(plainRows[0], "vertex\tpartner\tpaired\tauto_partner");
    for (const std::string& row : plainRows) {
      EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 3) << row;
    }
  }
}

const std::filesystem::path kCorpus = CALVETH_CORPUS_DIR;

using testing::corpusFiles;

TEST(CorpusMeshPairing, EveryFileEndsWithoutACrashAtAFixedPoint) {
  const auto files = corpusFiles();
  if (files.empty()) {
    GTEST_SKIP() << "no corpus at " << kCorpus;
  }
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    const auto result = runCliProgram({"analyze", file.string(), "--pair-by-mesh"});
    ASSERT_FALSE(result.signalled);
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode;

    auto store = newMeshStore();
    testing::RecordingHost host;
    NullViewer viewer;
    host.openFileAnswer = file.string();
    CommandRouter router(*store, host, viewer);
    router.start();
    router.press(ControlId::OpenBase);
    router.pairByMesh();
    EXPECT_FALSE(testing::referenceFindsAPair(*store));
  }
}

// Suzanne's seam leaves duplicated points: "CRITICAL ERR" without the stage, "OK" with it.
TEST(CorpusMeshPairing, SuzanneBecomesUsable) {
  for (const char* name :
       {"webgl-obj-loader/suzanne.obj", "ufbx/synthetic_color_suzanne_1_obj.obj"}) {
    const auto suzanne = kCorpus / name;
    if (!std::filesystem::exists(suzanne)) {
      GTEST_SKIP() << "no corpus at " << kCorpus;
    }
    SCOPED_TRACE(name);
    const auto before = runCliProgram({"analyze", suzanne.string()});
    EXPECT_EQ(before.lastOutLine(), "CRITICAL ERR:Same Point HIT");
    EXPECT_EQ(before.exitCode, 1);
    const auto after = runCliProgram({"analyze", suzanne.string(), "--pair-by-mesh"});
    EXPECT_EQ(after.lastOutLine(), "OK: Mesh pairing P=2 U=0") << after.out;
    EXPECT_EQ(after.exitCode, 0) << after.out;
  }
}

}  // namespace
}  // namespace calveth
