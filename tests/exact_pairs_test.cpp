#include "symmetry/exact_pairs.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "support/point_store.h"
#include "symmetry/tolerance.h"

namespace calveth {
namespace {

struct NoProgress final : PairingProgress {
  void hits(int) override {}
};

struct ExactCase {
  const char* name;
  std::vector<std::array<double, 3>> points;
  std::vector<int> map;
  int hits;
  int duplicate;
};

// Test names carry the case name; gtest need not print the bytes.
void PrintTo(const ExactCase& c, std::ostream* os) { *os << c.name; }

class ExactPairsTable : public ::testing::TestWithParam<ExactCase> {};

TEST_P(ExactPairsTable, PairsExactMirrorImages) {
  const ExactCase& c = GetParam();
  auto store = testing::storeWithPoints(c.points);
  auto index = std::make_unique<MirrorIndex>();
  store->DeltaX.fill(9.0);
  NoProgress progress;
  EXPECT_EQ(findExactPartners(*store, *index, progress), c.hits);
  EXPECT_EQ(std::vector<int>(store->MirrorMap.begin(), store->MirrorMap.begin() + c.map.size()),
            c.map);
  for (std::size_t i = 0; i < c.map.size(); ++i) {
    EXPECT_EQ(store->PairedFlags[i], c.map[i] == kNoPartner ? 0 : 1) << i;
    EXPECT_EQ(store->DeltaX[i], 0.0);
  }
  EXPECT_EQ(store->duplicateHit, c.duplicate);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, ExactPairsTable,
    ::testing::Values(
        // a cube centred on X = 0: each corner's partner is the corner across the plane
        ExactCase{"cube",
                  {{1, 1, 1},
                   {-1, 1, 1},
                   {1, -1, 1},
                   {-1, -1, 1},
                   {1, 1, -1},
                   {-1, 1, -1},
                   {1, -1, -1},
                   {-1, -1, -1}},
                  {1, 0, 3, 2, 5, 4, 7, 6},
                  8,
                  0},
        // a vertex on the plane is its own partner, whether 0.0 or -0.0
        ExactCase{"on_plane", {{0.0, 1, 2}, {-0.0, 3, 4}}, {0, 1}, 2, 0},
        ExactCase{"plus_and_minus_zero_meet", {{0.0, 1, 2}, {-0.0, 1, 2}}, {-2, -2}, 4, 1},
        // two vertices on one point with one partner: the partner sees two hits
        ExactCase{"duplicate", {{1, 0, 0}, {1, 0, 0}, {-1, 0, 0}}, {2, 2, -2}, 4, 1},
        ExactCase{"three_on_one_point_count_two",
                  {{-1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}},
                  {-2, 0, 0, 0},
                  5,
                  1},
        ExactCase{"no_partner", {{1, 0, 0}, {-1, 0, 1e-300}, {2, 0, 0}}, {-1, -1, -1}, 0, 0},
        ExactCase{"y_and_z_must_match", {{1, 2, 3}, {-1, 2, 3.0000000000000004}}, {-1, -1}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tolerance, ConstantsAreTheWidenedSinglePrecisionNumbers) {
  EXPECT_EQ(kFirstTolerance, 4.999999873689376e-06);
  EXPECT_EQ(kToleranceStep, 9.999999747378752e-06);
  double tolerance = kFirstTolerance;
  int passes = 1;
  while (tolerance + kToleranceStep <= kToleranceLimit) {
    tolerance += kToleranceStep;
    ++passes;
  }
  EXPECT_EQ(passes, 150);
  EXPECT_EQ(tolerance, 0.0014949999622331234);
}

}  // namespace
}  // namespace calveth
