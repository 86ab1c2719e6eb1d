// The fast analysis against the literal quadratic one, on many generated meshes: every map
// entry, flag, count, text, question and viewer refresh must be the same.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/point_store.h"
#include "support/recording_host.h"
#include "support/reference_mirror.h"
#include "symmetry/open_base.h"
#include "symmetry/tolerance.h"

namespace calveth {
namespace {

using testing::Point;
using testing::RecordingHost;
using testing::RecordingViewer;

// The pass tolerances, for perturbations placed exactly on and around them.
std::vector<double> passTolerances() {
  std::vector<double> all;
  for (double t = kFirstTolerance; t <= kToleranceLimit; t += kToleranceStep) {
    all.push_back(t);
  }
  return all;
}

// A displacement that lands on, just under or just over a pass tolerance, or far beyond any.
double interestingOffset(std::mt19937& random) {
  static const std::vector<double> tolerances = passTolerances();
  std::uniform_int_distribution<int> kind(0, 9);
  const double t = tolerances[std::uniform_int_distribution<std::size_t>(0, 24)(random)];
  switch (kind(random)) {
    case 0:
      return t;
    case 1:
      return std::nextafter(t, 0.0);
    case 2:
      return std::nextafter(t, 1.0);
    case 3:
      return t / 2;  // self-pairing near X = 0
    case 4:
      return 0.0016 + 0.01 * std::uniform_real_distribution<double>(0, 1)(random);
    case 5:
      return std::uniform_real_distribution<double>(0.0014, 0.0016)(random);
    default:
      return std::uniform_real_distribution<double>(0.0, 0.0003)(random);
  }
}

struct MeshRecipe {
  std::vector<Point> points;
  bool answerYes = true;
};

// Mirrored pairs on a fine lattice (spacing below the tolerances, so that candidates compete
// and earlier pairings take later vertices' best candidates), points on the plane, exact
// duplicates, and perturbations around the tolerances.
MeshRecipe generate(unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const double spacing = seed % 3 == 0 ? 0.0005 : (seed % 3 == 1 ? 0.004 : 0.125);
  const double offset = seed % 5 == 0 ? 1.0e6 : 0.0;  // large coordinates, coarse doubles
  const int lattice = pick(2, 12);
  auto coordinate = [&] { return offset + spacing * pick(-lattice, lattice); };

  MeshRecipe recipe;
  recipe.answerYes = seed % 7 != 3;
  const int pairs = pick(0, 90);
  for (int k = 0; k < pairs; ++k) {
    const double x = spacing * pick(1, lattice);
    const double y = coordinate();
    const double z = coordinate();
    recipe.points.push_back({x, y, z});
    recipe.points.push_back({-x, y, z});
  }
  const int onPlane = pick(0, 6);
  for (int k = 0; k < onPlane; ++k) {
    recipe.points.push_back({k % 2 == 0 ? 0.0 : -0.0, coordinate(), coordinate()});
  }
  std::shuffle(recipe.points.begin(), recipe.points.end(), random);

  const int perturbed =
      recipe.points.empty() ? 0 : pick(0, static_cast<int>(recipe.points.size()) / 3);
  for (int k = 0; k < perturbed; ++k) {
    Point& p =
        recipe
            .points[static_cast<std::size_t>(pick(0, static_cast<int>(recipe.points.size()) - 1))];
    const int axis = pick(0, 3);
    const double sign = pick(0, 1) == 0 ? 1.0 : -1.0;
    if (axis == 3) {
      for (double& c : p) c += sign * interestingOffset(random);
    } else {
      p[static_cast<std::size_t>(axis)] += sign * interestingOffset(random);
    }
  }
  const int duplicates = seed % 4 == 0 ? pick(1, 3) : 0;
  for (int k = 0; k < duplicates && !recipe.points.empty(); ++k) {
    recipe.points.push_back(
        recipe
            .points[static_cast<std::size_t>(pick(0, static_cast<int>(recipe.points.size()) - 1))]);
  }
  const int loners = seed % 6 == 0 ? pick(1, 4) : 0;  // never pair: all 150 passes run
  for (int k = 0; k < loners; ++k) {
    recipe.points.push_back({0.3 + k, 0.7, -0.2 * k});
  }
  return recipe;
}

struct Outcome {
  BaseOutcome result = BaseOutcome::Cancelled;
  std::unique_ptr<MeshStore> store;
  RecordingHost host;
  RecordingViewer viewer;
};

void load(Outcome& o, const MeshRecipe& recipe) {
  o.store = testing::storeWithPoints(recipe.points);
  MeshStore& s = *o.store;
  // Leftovers of an earlier, larger base: the analysis must overwrite what it owns.
  s.MirrorMap.fill(5);
  s.PairedFlags.fill(7);
  s.AutoPartner.fill(9);
  s.DeltaX.fill(3.0);
  s.faceCount = 17;
  o.host.yesNoAnswer = recipe.answerYes;
}

void expectSameOutcome(const Outcome& fast, const Outcome& reference, std::size_t n) {
  const MeshStore& a = *fast.store;
  const MeshStore& b = *reference.store;
  for (std::size_t i = 0; i < n; ++i) {
    ASSERT_EQ(a.MirrorMap[i], b.MirrorMap[i]) << "MirrorMap " << i;
    ASSERT_EQ(a.PairedFlags[i], b.PairedFlags[i]) << "PairedFlags " << i;
    ASSERT_EQ(a.AutoPartner[i], b.AutoPartner[i]) << "AutoPartner " << i;
  }
  EXPECT_EQ(a.DeltaX, b.DeltaX);
  EXPECT_EQ(a.MirrorMap, b.MirrorMap);  // entries past the count untouched by both
  EXPECT_EQ(a.AutoPartner, b.AutoPartner);
  EXPECT_EQ(a.mirrorIncomplete, b.mirrorIncomplete);
  EXPECT_EQ(a.duplicateHit, b.duplicateHit);
  EXPECT_EQ(a.mtVertexCount, b.mtVertexCount);
  EXPECT_EQ(fast.host.lastStatus(), reference.host.lastStatus());
  EXPECT_EQ(fast.result, reference.result);
  EXPECT_EQ(fast.host.events, reference.host.events);
  EXPECT_EQ(fast.host.questions, reference.host.questions);
  ASSERT_EQ(fast.host.progressMoves.empty(), reference.host.progressMoves.empty());
  if (!fast.host.progressMoves.empty()) {
    EXPECT_EQ(fast.host.progressMoves.back(), reference.host.progressMoves.back());
  }
  ASSERT_EQ(fast.viewer.calls.size(), reference.viewer.calls.size());
  for (std::size_t k = 0; k < fast.viewer.calls.size(); ++k) {
    EXPECT_EQ(fast.viewer.calls[k].vertexCount, reference.viewer.calls[k].vertexCount);
    EXPECT_EQ(fast.viewer.calls[k].faceCount, reference.viewer.calls[k].faceCount);
  }
}

TEST(MirrorEquality, FastAnalysisEqualsTheLiteralOneOnGeneratedMeshes) {
  auto index = std::make_unique<MirrorIndex>();
  int autoDetected = 0;
  int fullRuns = 0;
  for (unsigned seed = 0; seed < 600; ++seed) {
    const MeshRecipe recipe = generate(seed);
    Outcome fast;
    Outcome reference;
    load(fast, recipe);
    load(reference, recipe);
    fast.result = analyseBase(*fast.store, *index, fast.host, fast.viewer);
    reference.result =
        testing::referenceAnalyseBase(*reference.store, reference.host, reference.viewer);
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + reference.host.lastStatus());
    expectSameOutcome(fast, reference, recipe.points.size());
    if (HasFatalFailure()) {
      return;
    }
    const std::string status = reference.host.lastStatus();
    autoDetected += status.starts_with("OK: symmetry  H=") ? 1 : 0;
    fullRuns += status.find("LVL=149") != std::string::npos ? 1 : 0;
  }
  // The generator must actually reach the interesting outcomes.
  EXPECT_GT(autoDetected, 20);
  EXPECT_GT(fullRuns, 20);
}

}  // namespace
}  // namespace calveth
