// Tolerance pairing on tiny meshes whose outcome is worked out by hand.
#include "symmetry/auto_pairs.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/point_store.h"

namespace calveth {
namespace {

struct Answer final : AutoDetectHooks {
  bool yes = true;
  int asked = 0;
  bool startFirstPass() override {
    ++asked;
    return yes;
  }
  void hits(int) override {}
};

struct AutoCase {
  const char* name;
  std::vector<std::array<double, 3>> points;
  std::vector<int> map;          // MirrorMap afterwards
  std::vector<int> autoPartner;  // AutoPartner afterwards
  int hits;
  int autoPairs;
  int level;
};

void PrintTo(const AutoCase& c, std::ostream* os) { *os << c.name; }

class AutoPairsTable : public ::testing::TestWithParam<AutoCase> {};

TEST_P(AutoPairsTable, PairsByLowestIndexWithinTheGrowingTolerance) {
  const AutoCase& c = GetParam();
  auto store = testing::storeWithPoints(c.points);
  auto index = std::make_unique<MirrorIndex>();
  store->AutoPartner.fill(99);
  Answer answer;
  const int exact = findExactPartners(*store, *index, answer);
  const AutoDetectResult result = autoDetectPartners(*store, *index, exact, answer);
  const std::size_t n = c.points.size();
  EXPECT_EQ(std::vector<int>(store->MirrorMap.begin(), store->MirrorMap.begin() + n), c.map);
  EXPECT_EQ(std::vector<int>(store->AutoPartner.begin(), store->AutoPartner.begin() + n),
            c.autoPartner);
  EXPECT_EQ(result.symmetryHits, c.hits);
  EXPECT_EQ(result.autoPairs, c.autoPairs);
  EXPECT_EQ(result.level, c.level);
  EXPECT_EQ(answer.asked, 1);
}

// Vertices 0 and 1 pair exactly in every case, so the detection runs.
INSTANTIATE_TEST_SUITE_P(
    Meshes, AutoPairsTable,
    ::testing::Values(
        // 2 has two candidates within the first tolerance: the lower index, 3, wins
        AutoCase{"tie_takes_lowest_index",
                 {{1, 0, 0}, {-1, 0, 0}, {2, 0, 0}, {-2.000001, 0, 0}, {-2.000002, 0, 0}},
                 {1, 0, 3, 2, -1},
                 {0, 0, 3, 2, 0},
                 4,
                 1,
                 149},
        // 3's best match is 4, but 2 comes first and takes 4 in the first pass; 3 then pairs
        // with 5 once the tolerance passes 0.000019 (third pass, LVL 3)
        AutoCase{"earlier_pairing_takes_a_later_best_candidate",
                 {{1, 0, 0},
                  {-1, 0, 0},
                  {3.000004, 0, 0},
                  {3.000001, 0, 0},
                  {-3.0000005, 0, 0},
                  {-3.00002, 0, 0}},
                 {1, 0, 4, 5, 2, 3},
                 {0, 0, 4, 5, 2, 3},
                 6,
                 2,
                 3},
        // within half the first tolerance of the plane a vertex is its own partner (+1 hit)
        AutoCase{"self_pairing_near_the_plane",
                 {{1, 0, 0}, {-1, 0, 0}, {0.000002, 5, 5}},
                 {1, 0, 2},
                 {0, 0, 2},
                 3,
                 1,
                 1},
        // a pair with vertex 0 leaves AutoPartner of the partner at 0 as well
        AutoCase{"pair_with_vertex_zero",
                 {{4, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {-4.000003, 0, 0}},
                 {3, 2, 1, 0},
                 {3, 0, 0, 0},
                 4,
                 1,
                 1},
        // 2 and 3 differ by 0.0016 in Y: beyond the largest tolerance, all 150 passes run
        AutoCase{"never_pairs",
                 {{1, 0, 0}, {-1, 0, 0}, {2, 0, 0}, {-2, 0.0016, 0}},
                 {1, 0, -1, -1},
                 {0, 0, 0, 0},
                 2,
                 0,
                 149}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AutoPairs, DeclinedDetectionRunsNoPass) {
  auto store = testing::storeWithPoints({{1, 0, 0}, {-1, 0, 0}, {2, 0, 0}, {-2.000001, 0, 0}});
  auto index = std::make_unique<MirrorIndex>();
  Answer answer;
  answer.yes = false;
  const AutoDetectResult result =
      autoDetectPartners(*store, *index, findExactPartners(*store, *index, answer), answer);
  EXPECT_EQ(result.symmetryHits, 2);
  EXPECT_EQ(result.level, 0);
  EXPECT_EQ(store->MirrorMap[2], kNoPartner);
}

}  // namespace
}  // namespace calveth
