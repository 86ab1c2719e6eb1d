#include "symmetry/open_base.h"

#include "app/command_router.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace calveth {
namespace {

using testing::RecordingHost;
using testing::RecordingViewer;
using testing::TempDir;

// A small symmetric base: a square of four vertices around X = 0 and two on the plane.
constexpr const char* kSymmetric =
    "v 1 0 0\nv -1 0 0\nv 1 1 0\nv -1 1 0\nv 0 2 0\nv 0 -1 0\nf 1 2 4 3\nf 3 4 5\n";

// Three vertices with exact partners, so that the analysis goes on to the tolerance passes.
const std::string kExactThree = "v 0 1 0\nv 3 0 0\nv -3 0 0\n";

// "Open Base" pressed in the dialog: what becomes available follows from its outcome there.
// The host and viewer record one press at a time.
struct Session {
  std::unique_ptr<MeshStore> store = std::make_unique<MeshStore>();
  RecordingHost host;
  RecordingViewer viewer;
  CommandRouter router{*store, host, viewer};

  Session() { router.start(); }

  void open(const std::optional<std::string>& path, bool yes = true) {
    host = RecordingHost();
    viewer = RecordingViewer();
    host.openFileAnswer = path;
    host.yesNoAnswer = yes;
    router.press(ControlId::OpenBase);
  }
};

struct OpenCase {
  const char* name;
  std::string bytes;
  bool yes;
  std::string status;
  int questions;
  bool openMt;     // "&Open MT" enabled by the command
  bool reflected;  // "R" enabled by the command
  int viewerRefreshes;
  int mirrorIncomplete;
};

// Test names carry the case name; gtest need not print the bytes.
void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class OpenBaseTable : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenBaseTable, ReportsTheAnalysis) {
  const OpenCase& c = GetParam();
  TempDir dir;
  Session run;
  run.open(dir.write("base.obj", c.bytes), c.yes);
  EXPECT_EQ(run.host.lastStatus(), c.status);
  EXPECT_EQ(run.host.questions, c.questions);
  EXPECT_EQ(run.host.enabled(ControlId::OpenMt).value_or(false), c.openMt);
  EXPECT_EQ(run.host.enabled(ControlId::ReflectedBase).value_or(false), c.reflected);
  EXPECT_EQ(static_cast<int>(run.viewer.calls.size()), c.viewerRefreshes);
  EXPECT_EQ(run.store->mirrorIncomplete, c.mirrorIncomplete);
}

INSTANTIATE_TEST_SUITE_P(
    Bases, OpenBaseTable,
    ::testing::Values(
        OpenCase{"perfect", kSymmetric, true, "OK: Perfect symmetry V=6 F=2", 0, true, false, 1, 0},
        // two vertices miss their partners by less than the first tolerance: one pass pairs them
        OpenCase{"near", kExactThree + "v 1 0 0\nv -1.000003 0 0\nv 2 0 0\nv -2 0 0.000004\n", true,
                 "OK: symmetry  H=7 E=2 LVL=1", 1, true, false, 2, 0},
        OpenCase{"near_answer_no", kExactThree + "v 1 0 0\nv -1.000003 0 0\nv 2 0 0\nv -2 0 1\n",
                 false, "OK:Symmetry(3/7) LVL=0", 1, true, false, 2, 1},
        OpenCase{"never_pairs", "v 1 0 0\nv -1 0 0\nv 2 0 0\nv -2.5 0 0\n", true,
                 "OK:Symmetry(2/4) LVL=149", 1, true, false, 2, 1},
        OpenCase{"no_pair_at_all", "v 1 0 0\nv 2 0 0\nv 3 0 0\n", true,
                 "NG: Mirror V.C.M can't build up.", 0, false, true, 1, 1},
        OpenCase{"one_vertex_on_plane", "v 0 0 0\n", true, "NG: Mirror V.C.M can't build up.", 0,
                 false, true, 1, 0},
        OpenCase{"duplicate_point", "v 1 0 0\nv 1 0 0\nv -1 0 0\n", true,
                 "CRITICAL ERR:Same Point HIT", 1, false, false, 3, 1},
        OpenCase{"vertex_line_error", "v 1 0 0\nv 1 nan 0\n", true, "ERR: Obj file v line err![1]",
                 0, false, false, 0, 0},
        OpenCase{"no_vertices", "# nothing\nf 1 2 3\n", true, "ERR: v line out of range (0-0)", 0,
                 false, false, 1, 0},
        OpenCase{"empty_file", "", true, "ERR: v line out of range (0-0)", 0, false, false, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenBase, CancelledChoiceChangesNothing) {
  Session run;
  run.open(std::nullopt);
  EXPECT_EQ(run.host.events.size(), 1u);  // only the file choice itself
  EXPECT_EQ(run.host.events[0], "open Base Body Parts(*.obj)|*.obj|| *.obj obj");
  EXPECT_TRUE(run.viewer.calls.empty());
}

TEST(OpenBase, DisablesTheGeneratingButtonsAndLeavesTheOthers) {
  TempDir dir;
  Session run;
  run.open(dir.write("base.obj", kSymmetric));
  // "-" and "+" too: the MT they would use belonged to the previous base.
  for (ControlId id :
       {ControlId::MirrorLeftToRight, ControlId::MirrorRightToLeft, ControlId::ResetRight,
        ControlId::ResetLeft, ControlId::Swap, ControlId::Melt, ControlId::MinusDelta,
        ControlId::PlusDelta, ControlId::SaveMt, ControlId::ReflectedBase}) {
    EXPECT_EQ(run.host.enabled(id), std::optional<bool>(false)) << static_cast<int>(id);
  }
  for (ControlId id : {ControlId::VertexOnly}) {
    EXPECT_EQ(run.host.enabled(id), std::nullopt) << static_cast<int>(id);
  }
  EXPECT_EQ(run.host.statuses(),
            (std::vector<std::string>{"Processing...", "OK:Symmetry(6/6) LVL=0",
                                      "OK: Perfect symmetry V=6 F=2"}));
  EXPECT_EQ(run.host.progressMoves.back(), 6);
  EXPECT_EQ(run.store->mtVertexCount, 6u);
}

TEST(OpenBase, FileThatDoesNotOpen) {
  TempDir dir;
  Session run;
  run.open(dir.file("missing.obj"));
  EXPECT_EQ(run.host.lastStatus(), "ERR: Obj file not open");
  run.open(dir.file(""));  // the folder itself
  EXPECT_EQ(run.host.lastStatus(), "ERR: Obj file not open");
  EXPECT_TRUE(run.viewer.calls.empty());
}

TEST(OpenBase, TooManyVerticesNamesBothCounts) {
  std::string text;
  for (int k = 0; k < 40001; ++k) {
    text += "v " + std::to_string(k) + " 0 0\n";
  }
  TempDir dir;
  Session run;
  run.open(dir.write("big.obj", text));
  EXPECT_EQ(run.host.lastStatus(), "ERR: v line out of range (40001-40001)");
  ASSERT_EQ(run.viewer.calls.size(), 1u);
  EXPECT_EQ(run.viewer.calls[0].vertexCount, 0);
  EXPECT_EQ(run.viewer.calls[0].faceCount, 0);
}

// A refused file must leave the base loaded before it whole and usable.
TEST(OpenBase, RefusedFileKeepsThePreviousBase) {
  TempDir dir;
  Session run;
  run.open(dir.write("good.obj", kSymmetric));
  const auto before = std::make_unique<MeshStore>(*run.store);
  for (const char* bad : {"v 0 0 0\nv 7 7 7\nv 1 2\n", "", "f 1 2 3\n"}) {
    run.open(dir.write("bad.obj", bad));
    EXPECT_EQ(run.store->BaseX, before->BaseX);
    EXPECT_EQ(run.store->CornerVertex, before->CornerVertex);
    EXPECT_EQ(run.store->MirrorMap, before->MirrorMap);
    EXPECT_EQ(run.store->baseVertexCount, 6u);
    EXPECT_EQ(run.store->faceCount, 2);
    EXPECT_EQ(run.store->mtVertexCount, 6u);
    EXPECT_EQ(run.store->mirrorIncomplete, 0);
  }
}

TEST(OpenBase, FaceWarningsAreCappedAndCounted) {
  std::string text = kSymmetric;
  for (int k = 0; k < kMaxFaceWarnings + 5; ++k) {
    text += "f 1 2\n";
  }
  TempDir dir;
  Session run;
  run.open(dir.write("base.obj", text));
  std::vector<std::string> warnings;
  for (const std::string& event : run.host.events) {
    if (event.starts_with("warn ")) {
      warnings.push_back(event.substr(5));
    }
  }
  ASSERT_EQ(warnings.size(), static_cast<std::size_t>(kMaxFaceWarnings + 1));
  EXPECT_EQ(warnings.front().substr(warnings.front().find(':')),
            ": F MinERR FNum=2 FType=1 D=f 1 2");
  EXPECT_EQ(warnings.back(), "25 face lines were not stored, 5 of them not listed");
  EXPECT_EQ(run.host.lastStatus(), "OK: Perfect symmetry V=6 F=2");
}

// Displacements left by an MT of an earlier base: an accepted base clears all three axes of
// each of its vertices (else the viewer marks them as moved); a refused file leaves them.
TEST(OpenBase, AcceptedBaseClearsTheDisplacementsOfItsVertices) {
  struct Case {
    const char* bytes;
    double expectedInBase;
  };
  const Case cases[] = {{kSymmetric, 0.0}, {"v 0 0 0\nv 1 2\n", 0.5}};
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    Session run;
    for (auto* axis : {&run.store->DeltaX, &run.store->DeltaY, &run.store->DeltaZ}) {
      std::fill_n(axis->begin(), 8, 0.5);
    }
    run.open(dir.write("base.obj", c.bytes));
    for (std::size_t i = 0; i < 8; ++i) {
      const double expected = i < 6 ? c.expectedInBase : 0.5;
      EXPECT_EQ(run.store->DeltaX[i], expected) << i;
      EXPECT_EQ(run.store->DeltaY[i], expected) << i;
      EXPECT_EQ(run.store->DeltaZ[i], expected) << i;
    }
  }
}

TEST(OpenBase, SmallerBaseLeavesHigherEntriesAlone) {
  TempDir dir;
  Session run;
  run.open(dir.write("six.obj", kSymmetric));
  run.open(dir.write("two.obj", "v 3 0 0\nv -3 0 0\n"));
  EXPECT_EQ(run.store->baseVertexCount, 2u);
  EXPECT_EQ(run.store->BaseX[2], 1.0);
  EXPECT_EQ(run.store->MirrorMap[4], 4);
  EXPECT_EQ(run.host.lastStatus(), "OK: Perfect symmetry V=2 F=0");
}

}  // namespace
}  // namespace calveth
