// The eight generating commands through the router: tiny cases computed by hand, then
// properties over generated body parts.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "meshgen/body_part.h"
#include "morph/delta_ops.h"
#include "support/desk.h"

namespace calveth {
namespace {

using testing::Desk;
using Point = std::array<double, 3>;

// Two pairs, a vertex on the middle and two vertices without a partner (the question is
// answered no): 0<->1, 3<->4, 2 its own partner, 5 and 6 alone.
constexpr const char* kSides = "v 1 0 0\nv -1 0 0\nv 0 2 0\nv 2 1 0\nv -2 1 0\nv 3 5 0\nv -4 5 0\n";
constexpr const char* kSidesMt =
    "v 1.5 0.25 0.5\nv -1.25 0.75 -0.5\nv 0.5 2.5 0.25\nv 2.25 1.5 1\nv -2.5 1.25 -1\n"
    "v 3.5 5.5 0.75\nv -4.25 4.5 -0.25\n";
// The same without the two lonely vertices: every vertex has its partner.
constexpr const char* kPaired = "v 1 0 0\nv -1 0 0\nv 0 2 0\nv 2 1 0\nv -2 1 0\n";
constexpr const char* kPairedMt =
    "v 1.5 0.25 0.5\nv -1.25 0.75 -0.5\nv 0.5 2.5 0.25\nv 2.25 1.5 1\nv -2.5 1.25 -1\n";
// BaseX 0.3, -0.3, 0 and -0.
constexpr const char* kResetBase = "v 0.3 0 0\nv -0.3 0 0\nv 0 1 0\nv -0 2 0\n";
constexpr const char* kResetMt =
    "v 0.5 0.1 0.2\nv -0.5 0.3 0.4\nv 0.25 1.5 0.5\nv -0.25 2.5 0.75\n";

struct CommandCase {
  const char* name;
  const char* base;
  const char* mt;
  ControlId command;
  const char* status;
  const char* tag;
  std::vector<Point> work;
  double tolerance = 0.0;  // 0: exact
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class GeneratingCommandTable : public ::testing::TestWithParam<CommandCase> {};

TEST_P(GeneratingCommandTable, FillsTheWorkTargetAsComputedByHand) {
  const CommandCase& c = GetParam();
  Desk desk;
  desk.openBase(c.base);
  desk.openMt(c.mt);
  ASSERT_TRUE(desk.status().starts_with("OK: Choose Function")) << desk.status();
  ASSERT_TRUE(desk.router.press(c.command));
  const MeshStore& store = *desk.store;
  EXPECT_EQ(desk.status(), c.status);
  EXPECT_EQ(store.operationTag, c.tag);
  EXPECT_TRUE(desk.router.isEnabled(ControlId::SaveMt));
  ASSERT_EQ(store.workVertexCount, c.work.size());
  for (std::size_t i = 0; i < c.work.size(); ++i) {
    const Point got{store.WorkX[i], store.WorkY[i], store.WorkZ[i]};
    for (int axis = 0; axis < 3; ++axis) {
      if (c.tolerance == 0.0) {
        EXPECT_EQ(got[axis], c.work[i][axis]) << "vertex " << i << " axis " << axis;
      } else {
        EXPECT_NEAR(got[axis], c.work[i][axis], c.tolerance) << "vertex " << i << " axis " << axis;
      }
    }
  }
  // the viewer shows the result
  ASSERT_FALSE(desk.viewer.calls.empty());
  EXPECT_EQ(desk.viewer.calls.back().x, store.WorkX.data());
  EXPECT_EQ(desk.viewer.calls.back().vertexCount, static_cast<int>(c.work.size()));
}

INSTANTIATE_TEST_SUITE_P(
    ByHand, GeneratingCommandTable,
    ::testing::Values(
        // right vertices with a partner take its mirrored MT position; middle and lonely keep own
        CommandCase{"mirror_l2r",
                    kSides,
                    kSidesMt,
                    ControlId::MirrorLeftToRight,
                    "OK: Left Seed,Right Generate.",
                    "MirR",
                    {{1.5, 0.25, 0.5},
                     {-1.5, 0.25, 0.5},
                     {0.5, 2.5, 0.25},
                     {2.25, 1.5, 1},
                     {-2.25, 1.5, 1},
                     {3.5, 5.5, 0.75},
                     {-4.25, 4.5, -0.25}}},
        CommandCase{"mirror_r2l",
                    kSides,
                    kSidesMt,
                    ControlId::MirrorRightToLeft,
                    "OK: Right Seed,Left Generate.",
                    "MirL",
                    {{1.25, 0.75, -0.5},
                     {-1.25, 0.75, -0.5},
                     {0.5, 2.5, 0.25},
                     {2.5, 1.25, -1},
                     {-2.5, 1.25, -1},
                     {3.5, 5.5, 0.75},
                     {-4.25, 4.5, -0.25}}},
        // the middle vertex has its X negated, the lonely ones keep their own
        CommandCase{"swap_with_lonely_vertices",
                    kSides,
                    kSidesMt,
                    ControlId::Swap,
                    "OK: Swap Generate.",
                    "Swap",
                    {{1.25, 0.75, -0.5},
                     {-1.5, 0.25, 0.5},
                     {-0.5, 2.5, 0.25},
                     {2.5, 1.25, -1},
                     {-2.25, 1.5, 1},
                     {3.5, 5.5, 0.75},
                     {-4.25, 4.5, -0.25}}},
        CommandCase{"swap_all_paired",
                    kPaired,
                    kPairedMt,
                    ControlId::Swap,
                    "OK: Swap Generate.",
                    "Swap",
                    {{1.25, 0.75, -0.5},
                     {-1.5, 0.25, 0.5},
                     {-0.5, 2.5, 0.25},
                     {2.5, 1.25, -1},
                     {-2.25, 1.5, 1}}},
        // vertex 2 has two exact partners: it is never used as an index and keeps its own
        CommandCase{"mirror_l2r_duplicate",
                    "v 1 0 0\nv 1 0 0\nv -1 0 0\nv 2 0 0\nv -2 0 0\n",
                    "v 1 1 1\nv 2 2 2\nv -3 3 3\nv 4 4 4\nv -5 5 5\n",
                    ControlId::MirrorLeftToRight,
                    "OK: Left Seed,Right Generate.",
                    "MirR",
                    {{1, 1, 1}, {2, 2, 2}, {-3, 3, 3}, {4, 4, 4}, {-4, 4, 4}}},
        CommandCase{"minus",
                    kPaired,
                    kPairedMt,
                    ControlId::MinusDelta,
                    "OK: Minus Delta.",
                    "Minus",
                    {{-0.5, -0.25, -0.5},
                     {0.25, -0.75, 0.5},
                     {-0.5, -0.5, -0.25},
                     {-0.25, -0.5, -1},
                     {0.5, -0.25, 1}}},
        // the MT is read as displacements turned about the X axis by -78 degrees
        CommandCase{"plus",
                    "v 1 0 0\nv -1 0 0\nv 0 2 0\n",
                    "v 1 0 0\nv 0 1 0\nv 0 0 1\n",
                    ControlId::PlusDelta,
                    "OK: Plus Delta.",
                    "Plus",
                    {{2, 0, 0}, {-1, 0.2079117, -0.9781476}, {0, 2.9781476, 0.2079117}},
                    1e-7},
        CommandCase{"plus_of_zero_displacements",
                    kPaired,
                    "v 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\n",
                    ControlId::PlusDelta,
                    "OK: Plus Delta.",
                    "Plus",
                    {{1, 0, 0}, {-1, 0, 0}, {0, 2, 0}, {2, 1, 0}, {-2, 1, 0}}},
        // base X >= 0 (0 and -0 included) takes the base, the right side keeps the MT
        CommandCase{"reset_l",
                    kResetBase,
                    kResetMt,
                    ControlId::ResetLeft,
                    "OK: Left Reset.",
                    "ResL",
                    {{0.3, 0, 0}, {-0.5, 0.3, 0.4}, {0, 1, 0}, {0, 2, 0}}},
        // only base X < 0 takes the base: -0 is the middle and keeps the MT
        CommandCase{"reset_r",
                    kResetBase,
                    kResetMt,
                    ControlId::ResetRight,
                    "OK: Right Reset.",
                    "ResR",
                    {{0.5, 0.1, 0.2}, {-0.3, 0, 0}, {0.25, 1.5, 0.5}, {-0.25, 2.5, 0.75}}},
        // base Y from 0 to 2: the top lands at the bottom, Y = 0 at the top
        CommandCase{"melt_0_to_2",
                    "v 1 0 0\nv -1 0 0\nv 1 2 0\nv -1 2 0\n",
                    "v 1 2 1\nv 1 0 -1\nv -1 1 0\nv 0.5 4 2\n",
                    ControlId::Melt,
                    "OK: Melt.",
                    "Melt",
                    {{2.5, 0, 2.5}, {2.5, 2, -2.5}, {-2.5, 1, 0}, {1.25, -2, 5}}},
        CommandCase{"melt_1_to_2",
                    "v 1 1 0\nv -1 1 0\nv 1 2 0\nv -1 2 0\n",
                    "v 0 1 0\nv 0 2 0\nv 0.5 1 0\nv 0 0 -2\n",
                    ControlId::Melt,
                    "OK: Melt.",
                    "Melt",
                    {{0, 1.5, 0}, {0, 1, 0}, {1.25, 1.5, 0}, {0, 2, -5}}},
        // a highest Y below zero is no reason to refuse
        CommandCase{"melt_below_zero",
                    "v 1 -1 0\nv -1 -1 0\nv 1 -3 0\nv -1 -3 0\n",
                    "v 0 -1 0\nv 0 0 0\nv 0 -3 0\nv 1 2 3\n",
                    ControlId::Melt,
                    "OK: Melt.",
                    "Melt",
                    {{0, -3, 0}, {0, -1, 0}, {0, -7, 0}, {2.5, 3, 7.5}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeneratingCommands, NegativeZeroInTheBaseCountsAsTheMiddle) {
  Desk desk;
  desk.openBase(kResetBase);
  EXPECT_TRUE(std::signbit(desk.store->BaseX[3]));  // the reset cases above really see a -0
}

// A melt over a base whose highest Y is 0 would divide by zero: it is refused and leaves the
// last result, its tag and "&Save MT" as they were.
TEST(GeneratingCommands, MeltRefusedWhenTheHighestYIsZero) {
  for (bool generatedBefore : {false, true}) {
    Desk desk;
    desk.openBase("v 1 0 0\nv -1 0 0\nv 1 -1 0\nv -1 -1 0\n");
    desk.openMt("v 2 0 0\nv -2 0 0\nv 1 -1 1\nv -1 -1 1\n");
    if (generatedBefore) {
      desk.router.press(ControlId::Swap);
    }
    const auto before = std::make_unique<MeshStore>(*desk.store);
    const std::size_t refreshes = desk.viewer.calls.size();
    EXPECT_TRUE(desk.router.press(ControlId::Melt));
    EXPECT_EQ(desk.status(), "ERR: Melt impossible, highest Y is 0");
    EXPECT_EQ(desk.store->WorkX, before->WorkX);
    EXPECT_EQ(desk.store->WorkY, before->WorkY);
    EXPECT_EQ(desk.store->operationTag, generatedBefore ? "Swap" : "");
    EXPECT_EQ(desk.store->workVertexCount, before->workVertexCount);
    EXPECT_EQ(desk.router.isEnabled(ControlId::SaveMt), generatedBefore);
    EXPECT_EQ(desk.viewer.calls.size(), refreshes);
  }
}

struct AngleCase {
  double degrees;
  double folded;  // the angle after folding into -180..180
};

// The program's own pi and 1/180, multiplied in this order.
double programRadians(double degrees) { return degrees * 3.141592613 * 0.005555555555555556; }

TEST(GeneratingCommands, DegreesToRadiansFoldsIntoHalfATurnEachWay) {
  for (const AngleCase& c :
       {AngleCase{180, 180}, AngleCase{-180, -180}, AngleCase{360, 0}, AngleCase{-360, 0},
        AngleCase{540, 180}, AngleCase{-540, -180}, AngleCase{190, -170}, AngleCase{-190, 170},
        AngleCase{720, 0}, AngleCase{1000, -80}, AngleCase{0, 0}, AngleCase{-78, -78}}) {
    EXPECT_EQ(degreesToRadians(c.degrees), programRadians(c.folded)) << c.degrees;
  }
  EXPECT_NEAR(degreesToRadians(-78), -1.3613567989666666, 1e-15);
  const double t = programRadians(-78);
  const auto turned = rotateAboutX(0.5, 1, 2);
  EXPECT_EQ(turned[0], 0.5);
  EXPECT_DOUBLE_EQ(turned[1], std::cos(t) - 2 * std::sin(t));
  EXPECT_DOUBLE_EQ(turned[2], std::sin(t) + 2 * std::cos(t));
}

// --- Properties over generated body parts -------------------------------------------------

constexpr ControlId kCommands[] = {ControlId::MirrorLeftToRight,
                                   ControlId::MirrorRightToLeft,
                                   ControlId::Swap,
                                   ControlId::MinusDelta,
                                   ControlId::PlusDelta,
                                   ControlId::ResetLeft,
                                   ControlId::ResetRight,
                                   ControlId::Melt};

std::vector<meshgen::Mesh> generatedParts() {
  return {meshgen::headMesh(6, 12), meshgen::limbMesh(5, 8), meshgen::handsMesh(3, 6)};
}

// The base moved by multiples of 1/64 up to 0.25 in every coordinate.
meshgen::Mesh displaced(meshgen::Mesh mesh, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> step(-16, 16);
  for (auto& vertex : mesh.vertices) {
    for (double& coordinate : vertex) {
      coordinate += step(random) / 64.0;
    }
  }
  return mesh;
}

std::vector<Point> work(const MeshStore& store) {
  std::vector<Point> points;
  for (std::uint32_t i = 0; i < store.workVertexCount; ++i) {
    points.push_back({store.WorkX[i], store.WorkY[i], store.WorkZ[i]});
  }
  return points;
}

std::vector<Point> mtPoints(const MeshStore& store) {
  std::vector<Point> points;
  for (std::uint32_t i = 0; i < store.mtVertexCount; ++i) {
    points.push_back({store.MtX[i], store.MtY[i], store.MtZ[i]});
  }
  return points;
}

std::vector<Point> basePoints(const MeshStore& store) {
  std::vector<Point> points;
  for (std::uint32_t i = 0; i < store.baseVertexCount; ++i) {
    points.push_back({store.BaseX[i], store.BaseY[i], store.BaseZ[i]});
  }
  return points;
}

// Partners found independently of the analysis: the vertex at (-x, y, z) of the base.
std::vector<int> partnersOf(const std::vector<Point>& base) {
  std::map<Point, int> at;
  for (std::size_t i = 0; i < base.size(); ++i) {
    at[base[i]] = static_cast<int>(i);
  }
  std::vector<int> partners;
  for (const Point& v : base) {
    const auto found = at.find({-v[0], v[1], v[2]});
    partners.push_back(found == at.end() ? -1 : found->second);
  }
  return partners;
}

const meshgen::ObjOptions kObj;

TEST(GeneratingCommandProperties, MtEqualToItsBaseGivesTheBaseBack) {
  for (const meshgen::Mesh& part : generatedParts()) {
    Desk desk;
    const std::string text = meshgen::toObj(part, kObj);
    desk.openBase(text);
    desk.openMt(text);
    ASSERT_TRUE(desk.status().starts_with("OK: Choose Function")) << desk.status();
    const auto base = basePoints(*desk.store);
    for (ControlId command : {ControlId::MirrorLeftToRight, ControlId::MirrorRightToLeft,
                              ControlId::Swap, ControlId::ResetLeft, ControlId::ResetRight}) {
      desk.router.press(command);
      EXPECT_EQ(work(*desk.store), base) << desk.store->operationTag;
    }
    desk.router.press(ControlId::MinusDelta);  // and "-" gives no displacement at all
    for (const Point& point : work(*desk.store)) {
      ASSERT_EQ(point, (Point{0, 0, 0}));
    }
  }
}

TEST(GeneratingCommandProperties, MirrorsCopyTheSeedSideExactly) {
  unsigned seed = 1;
  for (const meshgen::Mesh& part : generatedParts()) {
    Desk desk;
    desk.openBase(meshgen::toObj(part, kObj));
    desk.openMt(meshgen::toObj(displaced(part, seed++), kObj));
    const auto base = basePoints(*desk.store);
    const std::vector<int> partner = partnersOf(base);
    const auto mt = mtPoints(*desk.store);
    for (const bool leftToRight : {true, false}) {
      desk.router.press(leftToRight ? ControlId::MirrorLeftToRight : ControlId::MirrorRightToLeft);
      const auto result = work(*desk.store);
      ASSERT_EQ(result.size(), mt.size());
      for (std::size_t i = 0; i < result.size(); ++i) {
        const double baseX = base[i][0];
        const bool generated = leftToRight ? baseX < 0 : baseX > 0;
        ASSERT_GE(partner[i], 0);
        const Point& seedPoint = mt[static_cast<std::size_t>(partner[i])];
        const Point expected = generated ? Point{-seedPoint[0], seedPoint[1], seedPoint[2]} : mt[i];
        ASSERT_EQ(result[i], expected) << (leftToRight ? "L->R" : "R->L") << " vertex " << i;
      }
    }
  }
}

// Swapping the saved swap gives the MT back: every vertex is exactly paired, and a printed
// six-decimal number reads back as the same double.
TEST(GeneratingCommandProperties, SwapTwiceGivesTheMtBack) {
  unsigned seed = 10;
  for (const meshgen::Mesh& part : generatedParts()) {
    Desk desk;
    desk.openBase(meshgen::toObj(part, kObj));
    desk.openMt(meshgen::toObj(displaced(part, seed++), kObj));
    const auto mt = mtPoints(*desk.store);
    desk.router.press(ControlId::Swap);
    desk.save(desk.dir.file("swapped.obj"));
    desk.host.openFileAnswer = desk.dir.file("swapped.obj");
    desk.router.press(ControlId::OpenMt);
    desk.router.press(ControlId::Swap);
    EXPECT_EQ(work(*desk.store), mt);
  }
}

TEST(GeneratingCommandProperties, MinusIsTheDisplacementReversed) {
  const meshgen::Mesh part = meshgen::headMesh(5, 8);
  Desk desk;
  desk.openBase(meshgen::toObj(part, kObj));
  desk.openMt(meshgen::toObj(displaced(part, 99), kObj));
  desk.router.press(ControlId::MinusDelta);
  const MeshStore& s = *desk.store;
  for (std::uint32_t i = 0; i < s.workVertexCount; ++i) {
    ASSERT_EQ(s.WorkX[i], -s.DeltaX[i]);
    ASSERT_EQ(s.WorkY[i], -s.DeltaY[i]);
    ASSERT_EQ(s.WorkZ[i], -s.DeltaZ[i]);
    ASSERT_EQ(s.WorkX[i], s.BaseX[i] - s.MtX[i]);
  }
}

// Every command computes from the MT and the base alone: whatever ran before, the result is
// the same as the command pressed on its own.
TEST(GeneratingCommandProperties, CommandsDoNotBuildOnEachOther) {
  const meshgen::Mesh part = meshgen::limbMesh(4, 6);
  Desk desk;
  desk.openBase(meshgen::toObj(part, kObj));
  desk.openMt(meshgen::toObj(displaced(part, 7), kObj));
  for (ControlId second : kCommands) {
    desk.router.press(second);
    const auto alone = work(*desk.store);
    for (ControlId first : kCommands) {
      desk.router.press(first);
      desk.router.press(second);
      ASSERT_EQ(work(*desk.store), alone)
          << static_cast<int>(first) << " then " << static_cast<int>(second);
    }
  }
}

}  // namespace
}  // namespace calveth
