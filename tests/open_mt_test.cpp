// "&Open MT": the decision on every kind of MT file, and the half MT from opening to saving.
#include "morph/open_mt.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/desk.h"

namespace calveth {
namespace {

using testing::Desk;

// A base of n vertices in mirrored pairs, with two faces.
std::string pairedBase(int n, bool half = false) {
  std::string text = half ? "#HALF\n" : "";
  for (int k = 1; k <= n / 2; ++k) {
    text += "v " + std::to_string(k) + " 1 0\nv -" + std::to_string(k) + " 1 0\n";
  }
  return text + "f 1 2 3\nf 2 3 4\n";
}

std::string mtOf(int n, const std::string& extra = "") {
  std::string text = "# an MT\ng body\n";
  for (int k = 0; k < n; ++k) {
    text += "v " + std::to_string(k) + " 2.5 -1\n";
  }
  return text + extra;
}

enum class Offered { None, SwapOnly, All };

struct MtCase {
  const char* name;
  std::string base;  // empty: no "Open Base" before
  std::string mt;
  std::string status;
  std::uint32_t mtVertexCount;  // afterwards
  Offered offered;
  int hasFaceLines;
  int shownVertices;  // -1: the viewer is not refreshed
  int shownFaces;
};

void PrintTo(const MtCase& c, std::ostream* os) { *os << c.name; }

class OpenMtTable : public ::testing::TestWithParam<MtCase> {};

TEST_P(OpenMtTable, DecidesOnTheMt) {
  const MtCase& c = GetParam();
  Desk desk;
  if (!c.base.empty()) {
    desk.openBase(c.base);
    ASSERT_TRUE(desk.status().starts_with("OK")) << desk.status();
  }
  const std::size_t refreshes = desk.viewer.calls.size();
  const int baseFaces = desk.store->faceCount;
  ASSERT_TRUE(desk.openMt(c.mt));
  EXPECT_EQ(desk.status(), c.status);
  EXPECT_EQ(desk.store->mtVertexCount, c.mtVertexCount);
  EXPECT_EQ(desk.store->mtHasFaceLines, c.hasFaceLines);
  for (ControlId control : kOperationButtons) {
    const bool offered =
        c.offered == Offered::All || (c.offered == Offered::SwapOnly && control == ControlId::Swap);
    EXPECT_EQ(desk.router.isEnabled(control), offered) << static_cast<int>(control);
  }
  EXPECT_FALSE(desk.router.isEnabled(ControlId::SaveMt));
  EXPECT_TRUE(desk.router.isChecked(ControlId::VertexOnly));
  // a file read to its end makes the switch usable; a bad vertex line leaves it as it was
  EXPECT_EQ(desk.router.isEnabled(ControlId::VertexOnly), c.shownVertices >= 0);
  // a refused MT shows an empty picture but keeps the base's faces for the next MT
  EXPECT_EQ(desk.store->faceCount, baseFaces);
  if (c.shownVertices < 0) {
    EXPECT_EQ(desk.viewer.calls.size(), refreshes);
  } else {
    ASSERT_EQ(desk.viewer.calls.size(), refreshes + 1);
    EXPECT_EQ(desk.viewer.calls.back().x, desk.store->MtX.data());
    EXPECT_EQ(desk.viewer.calls.back().vertexCount, c.shownVertices);
    EXPECT_EQ(desk.viewer.calls.back().faceCount, c.shownFaces);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenMtTable,
    ::testing::Values(
        MtCase{"full", pairedBase(8), mtOf(8), "OK: Choose Function (v=8/8)", 8, Offered::All, 0, 8,
               2},
        MtCase{"full_1200", pairedBase(1200), mtOf(1200), "OK: Choose Function (v=1200/1200)", 1200,
               Offered::All, 0, 1200, 2},
        MtCase{"one_short", pairedBase(1200), mtOf(1199), "ERR: MT v line unmatch 1200 1199", 0,
               Offered::None, 0, 0, 0},
        MtCase{"one_over", pairedBase(8), mtOf(9), "ERR: MT v line unmatch 8 9", 0, Offered::None,
               0, 0, 0},
        MtCase{"half", pairedBase(2400, true), mtOf(1200), "OK: CHOOSE SWAP ONLY", 1200,
               Offered::SwapOnly, 0, 1200, 2},
        MtCase{"half_base_full_mt", pairedBase(2400, true), mtOf(2400),
               "ERR: H-MT v line unmatch 2400 2400", 0, Offered::None, 0, 0, 0},
        MtCase{"half_base_odd_mt", pairedBase(8, true), mtOf(3), "ERR: H-MT v line unmatch 8 3", 0,
               Offered::None, 0, 0, 0},
        MtCase{"before_any_base", "", mtOf(5), "ERR: MT v line unmatch 0 5", 0, Offered::None, 0, 0,
               0},
        MtCase{"no_vertex_line", pairedBase(8), "# nothing\nvt 0 0\n",
               "ERR: v line out of range (0)", 0, Offered::None, 1, 0, 0},
        MtCase{"empty_file", pairedBase(8), "", "ERR: v line out of range (0)", 0, Offered::None, 0,
               0, 0},
        MtCase{"over_40000", "", mtOf(40001), "ERR: v line out of range (40001)", 0, Offered::None,
               0, 0, 0},
        MtCase{"exactly_40000", pairedBase(40000), mtOf(40000),
               "OK: Choose Function (v=40000/40000)", 40000, Offered::All, 0, 40000, 2},
        MtCase{"bad_third_number", pairedBase(8), mtOf(3, "v 1 2 x\n"),
               "ERR: Obj file v line err![2]", 3, Offered::None, 0, -1, 0},
        MtCase{"bad_first_number", pairedBase(8), "v 1 2 3\nv - 1 1\n",
               "ERR: Obj file v line err![0]", 1, Offered::None, 0, -1, 0},
        // "vn" lines and comments are no face lines; "vt" and any line beginning "f" are
        MtCase{"normals_only", pairedBase(4), mtOf(4, "vn 0 0 1\n# f 1 2 3\n"),
               "OK: Choose Function (v=4/4)", 4, Offered::All, 0, 4, 2},
        MtCase{"texture_line", pairedBase(4), mtOf(4, "vt 0.5 0.5\n"),
               "OK: Choose Function (v=4/4)", 4, Offered::All, 1, 4, 2},
        MtCase{"face_line", pairedBase(4), "f 1 2 3\n" + mtOf(4), "OK: Choose Function (v=4/4)", 4,
               Offered::All, 1, 4, 2},
        // "vp", "v1" and "vx" lines are neither vertices nor errors; a tab separates too
        MtCase{"other_v_lines", pairedBase(4), mtOf(3, "vp 0.5\nv1 2 3\nvx\nv\t1\t2\t3\r\n"),
               "OK: Choose Function (v=4/4)", 4, Offered::All, 0, 4, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenMt, TitleIsTheNameBeforeItsLastDot) {
  EXPECT_EQ(mtTitleOf("/models/head.obj"), "head");
  EXPECT_EQ(mtTitleOf("/models/my.head.obj"), "my.head");
  EXPECT_EQ(mtTitleOf("/models/noext"), "noext");
  EXPECT_EQ(mtTitleOf("/models.v2/noext"), "noext");
  EXPECT_EQ(mtTitleOf("relative/arm.OBJ"), "arm");
}

TEST(OpenMt, StoresTheMtAndItsDisplacements) {
  Desk desk;
  desk.openBase("v 1 0 0\nv -1 0 0\nv 0 2 0\n");
  desk.openMt("v 1.5 0.25 0\r\nv -1 0 -0.5\r\nv 0.125 2 0\r\n", "my.smile.obj");
  const MeshStore& s = *desk.store;
  EXPECT_EQ(s.mtPath, desk.dir.file("my.smile.obj"));
  EXPECT_EQ(s.mtTitle, "my.smile");
  EXPECT_EQ(s.MtX[0], 1.5);
  EXPECT_EQ(s.MtZ[1], -0.5);
  EXPECT_EQ(s.DeltaX[0], 0.5);
  EXPECT_EQ(s.DeltaY[0], 0.25);
  EXPECT_EQ(s.DeltaZ[1], -0.5);
  EXPECT_EQ(s.DeltaX[2], 0.125);
  EXPECT_EQ(s.DeltaY[2], 0.0);
  EXPECT_EQ(s.mtXSum, 0.625);
}

// A refused MT leaves the base whole, and the next accepted MT is drawn with its faces.
TEST(OpenMt, RefusalLeavesTheBase) {
  Desk desk;
  desk.openBase(pairedBase(6));
  const auto before = std::make_unique<MeshStore>(*desk.store);
  desk.openMt(mtOf(5));
  EXPECT_EQ(desk.status(), "ERR: MT v line unmatch 6 5");
  EXPECT_EQ(desk.store->BaseX, before->BaseX);
  EXPECT_EQ(desk.store->BaseY, before->BaseY);
  EXPECT_EQ(desk.store->MirrorMap, before->MirrorMap);
  EXPECT_EQ(desk.store->PairedFlags, before->PairedFlags);
  EXPECT_EQ(desk.store->CornerVertex, before->CornerVertex);
  EXPECT_EQ(desk.store->baseVertexCount, 6u);
  desk.openMt(mtOf(6));
  EXPECT_EQ(desk.status(), "OK: Choose Function (v=6/6)");
  EXPECT_EQ(desk.viewer.calls.back().faceCount, 2);
}

TEST(OpenMt, FileThatDoesNotOpenKeepsTheMtButTakesItsName) {
  Desk desk;
  desk.openBase(pairedBase(4));
  desk.openMt(mtOf(4), "first.obj");
  const std::size_t refreshes = desk.viewer.calls.size();
  desk.host.events.clear();
  desk.host.openFileAnswer = desk.dir.file("gone.obj");
  ASSERT_TRUE(desk.router.press(ControlId::OpenMt));
  EXPECT_EQ(desk.status(), "ERR: Obj file not open!");
  EXPECT_EQ(desk.store->mtTitle, "gone");
  EXPECT_EQ(desk.store->mtVertexCount, 4u);
  EXPECT_EQ(desk.viewer.calls.size(), refreshes);
  for (ControlId control : kOperationButtons) {
    EXPECT_FALSE(desk.router.isEnabled(control)) << static_cast<int>(control);
  }
  for (const std::string& event : desk.host.events) {
    EXPECT_FALSE(event.starts_with("check")) << event;
  }
  // a folder does not open either
  desk.host.openFileAnswer = desk.dir.file("");
  desk.router.press(ControlId::OpenMt);
  EXPECT_EQ(desk.status(), "ERR: Obj file not open!");
}

TEST(OpenMt, CancelChangesNothingAtAll) {
  Desk desk;
  desk.openBase(pairedBase(4));
  desk.openMt(mtOf(4), "first.obj");
  desk.router.press(ControlId::Swap);
  const auto before = std::make_unique<MeshStore>(*desk.store);
  const std::size_t refreshes = desk.viewer.calls.size();
  desk.host.events.clear();
  desk.host.openFileAnswer = std::nullopt;
  ASSERT_TRUE(desk.router.press(ControlId::OpenMt));
  EXPECT_EQ(desk.host.events,
            std::vector<std::string>{"open Original Body Parts(*.obj)|*.obj|| *.obj obj"});
  EXPECT_EQ(desk.viewer.calls.size(), refreshes);
  EXPECT_EQ(desk.store->mtPath, before->mtPath);
  EXPECT_EQ(desk.store->mtTitle, before->mtTitle);
  EXPECT_EQ(desk.store->mtVertexCount, before->mtVertexCount);
  EXPECT_EQ(desk.store->MtX, before->MtX);
  EXPECT_TRUE(desk.router.isEnabled(ControlId::SaveMt));
}

// --- Half MTs ------------------------------------------------------------------------------

// Bases marked #HALF: pairs 0<->3 and 1<->4 and, on the hand that comes second or first, a
// vertex on the middle (its own partner) and a vertex without a partner.
constexpr const char* kLeftFirst =
    "#HALF\nv 1 0 0\nv 2 1 0\nv 3 2 0\nv -1 0 0\nv -2 1 0\nv 0 3 0\n";
constexpr const char* kRightFirst =
    "#HALF\nv -1 0 0\nv -2 1 0\nv 0 3 0\nv 1 0 0\nv 2 1 0\nv 3 2 0\n";

struct HalfCase {
  const char* name;
  const char* base;
  const char* mt;
  const char* savedVertices;  // the vertex lines of the saved file, typed by hand
};

void PrintTo(const HalfCase& c, std::ostream* os) { *os << c.name; }

class HalfMtSwap : public ::testing::TestWithParam<HalfCase> {};

// The MT covers the half whose X sum has the sign of the MT's; the result is the other half,
// each vertex the mirrored MT position of its partner, or its base position when the partner
// is not in the MT's half.
TEST_P(HalfMtSwap, GivesTheOtherHalf) {
  const HalfCase& c = GetParam();
  Desk desk;
  desk.openBase(c.base);
  desk.openMt(c.mt, "hand.obj");
  ASSERT_EQ(desk.status(), "OK: CHOOSE SWAP ONLY");
  ASSERT_TRUE(desk.router.press(ControlId::Swap));
  EXPECT_EQ(desk.status(), "OK: Swap Generate.");
  EXPECT_EQ(desk.store->operationTag, "Swap");
  const std::string path = desk.dir.file("out.obj");
  const std::string expected =
      "# Convert by TOLV\n# Original name: hand\n# Convert  name: " + path + "\n" +
      c.savedVertices + "# vertex num is 3\n";
  EXPECT_EQ(desk.save(path), expected);
  EXPECT_EQ(desk.status(), "OK:New MT save");
  EXPECT_EQ(desk.store->mtVertexCount, 3u);
  EXPECT_EQ(desk.save(path), expected);  // a second save gives the same file
}

INSTANTIATE_TEST_SUITE_P(
    Hands, HalfMtSwap,
    ::testing::Values(
        // left hand first, MT of the left hand: vertex 5 is its own partner, outside the MT
        HalfCase{"left_first_left_mt", kLeftFirst, "v 1.5 0.5 0.25\nv 2.5 1.5 -0.5\nv 3.25 2 1\n",
                 "v -1.500000 0.500000 0.250000\nv -2.500000 1.500000 -0.500000\n"
                 "v 0.000000 3.000000 0.000000\n"},
        // left hand first, MT of the right hand: vertex 2 has no partner
        HalfCase{"left_first_right_mt", kLeftFirst, "v -1.25 0.5 0\nv -2 1.75 0.5\nv 0.25 3 0\n",
                 "v 1.250000 0.500000 0.000000\nv 2.000000 1.750000 0.500000\n"
                 "v 3.000000 2.000000 0.000000\n"},
        // an X sum of exactly 0 counts as the left hand
        HalfCase{"left_first_zero_sum_mt", kLeftFirst, "v 0.5 0 0\nv -1 1 0\nv 0.5 2 0\n",
                 "v -0.500000 0.000000 0.000000\nv 1.000000 1.000000 0.000000\n"
                 "v 0.000000 3.000000 0.000000\n"},
        HalfCase{"right_first_right_mt", kRightFirst,
                 "v -1.5 0.5 0.25\nv -2.5 1.5 -0.5\nv 0.25 3.5 1\n",
                 "v 1.500000 0.500000 0.250000\nv 2.500000 1.500000 -0.500000\n"
                 "v 3.000000 2.000000 0.000000\n"},
        HalfCase{"right_first_left_mt", kRightFirst, "v 1.25 0.5 0\nv 2 1.75 0.5\nv 3.5 2.25 -1\n",
                 "v -1.250000 0.500000 0.000000\nv -2.000000 1.750000 0.500000\n"
                 "v 0.000000 3.000000 0.000000\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
