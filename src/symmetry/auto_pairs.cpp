#include "symmetry/auto_pairs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "symmetry/tolerance.h"

namespace calveth {
namespace {

static_assert(1.0 / kGridCellsPerUnit > kToleranceLimit, "grid cells must exceed the tolerance");

std::int64_t cellOf(double coordinate) {
  // Far-out coordinates are clamped: clamping keeps neighbouring cells neighbours.
  constexpr double kLimit = 4.0e18;
  const double cell = std::floor(coordinate * kGridCellsPerUnit);
  return static_cast<std::int64_t>(std::clamp(cell, -kLimit, kLimit));
}

std::size_t bucketOf(std::int64_t cx, std::int64_t cy, std::int64_t cz) {
  const std::uint64_t h = mixKeys(static_cast<std::uint64_t>(cx), static_cast<std::uint64_t>(cy),
                                  static_cast<std::uint64_t>(cz));
  return static_cast<std::size_t>(h) & (kGridBuckets - 1);
}

class ToleranceGrid {
 public:
  ToleranceGrid(const MeshStore& store, MirrorIndex& index) : store_(store), index_(index) {}

  // Buckets the vertices listed in index.unpaired; filling in list order keeps each bucket
  // in ascending vertex order.
  void build() {
    auto& start = index_.bucketStart;
    start.fill(0);
    for (int k = 0; k < index_.unpairedCount; ++k) {
      ++start[bucketOfVertex(index_.unpaired[static_cast<std::size_t>(k)]) + 1];
    }
    for (std::size_t b = 1; b <= kGridBuckets; ++b) {
      start[b] += start[b - 1];
    }
    // start[b] now begins bucket b; used as its fill cursor it ends up at the bucket's end.
    for (int k = 0; k < index_.unpairedCount; ++k) {
      const int v = index_.unpaired[static_cast<std::size_t>(k)];
      index_.bucketItems[static_cast<std::size_t>(start[bucketOfVertex(v)]++)] = v;
    }
    for (std::size_t b = kGridBuckets; b > 0; --b) {
      start[b] = start[b - 1];
    }
    start[0] = 0;
  }

  // Calls visit(j) for every still-unpaired vertex j that may lie within the largest
  // tolerance of the mirror image of vertex i, in ascending order within each bucket;
  // visit returns false to leave the bucket.
  template <typename Visit>
  void forEachCandidate(int i, Visit visit) const {
    const auto v = static_cast<std::size_t>(i);
    const std::int64_t cx = cellOf(-store_.BaseX[v]);
    const std::int64_t cy = cellOf(store_.BaseY[v]);
    const std::int64_t cz = cellOf(store_.BaseZ[v]);
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        for (std::int64_t dz = -1; dz <= 1; ++dz) {
          const std::size_t b = bucketOf(cx + dx, cy + dy, cz + dz);
          const int stop = index_.bucketStart[b + 1];
          for (int k = index_.bucketStart[b]; k < stop; ++k) {
            const int j = index_.bucketItems[static_cast<std::size_t>(k)];
            if (store_.MirrorMap[static_cast<std::size_t>(j)] == kNoPartner && !visit(j)) {
              break;
            }
          }
        }
      }
    }
  }

 private:
  std::size_t bucketOfVertex(int vertex) const {
    const auto v = static_cast<std::size_t>(vertex);
    return bucketOf(cellOf(store_.BaseX[v]), cellOf(store_.BaseY[v]), cellOf(store_.BaseZ[v]));
  }
  const MeshStore& store_;
  MirrorIndex& index_;
};

// The smallest tolerance that a pass must exceed to pair i with j: a pass pairs them exactly
// when each of the three rounded differences is below its tolerance.
double matchDistance(const MeshStore& store, int i, int j) {
  const auto a = static_cast<std::size_t>(i);
  const auto b = static_cast<std::size_t>(j);
  return std::max({std::fabs(store.BaseX[b] + store.BaseX[a]),
                   std::fabs(store.BaseY[a] - store.BaseY[b]),
                   std::fabs(store.BaseZ[a] - store.BaseZ[b])});
}

// The closest match among the unpaired vertices; +inf when none lies within the grid's reach.
double closestMatch(const MeshStore& store, const MirrorIndex& index, const ToleranceGrid& grid) {
  double closest = std::numeric_limits<double>::infinity();
  for (int k = 0; k < index.unpairedCount; ++k) {
    const int i = index.unpaired[static_cast<std::size_t>(k)];
    grid.forEachCandidate(i, [&](int j) {
      closest = std::min(closest, matchDistance(store, i, j));
      return true;
    });
  }
  return closest;
}

void dropPaired(const MeshStore& store, MirrorIndex& index) {
  int kept = 0;
  for (int k = 0; k < index.unpairedCount; ++k) {
    const int v = index.unpaired[static_cast<std::size_t>(k)];
    if (store.MirrorMap[static_cast<std::size_t>(v)] == kNoPartner) {
      index.unpaired[static_cast<std::size_t>(kept++)] = v;
    }
  }
  index.unpairedCount = kept;
}

void runPass(MeshStore& store, const MirrorIndex& index, const ToleranceGrid& grid,
             double tolerance, AutoDetectResult& result, AutoDetectHooks& hooks) {
  for (int k = 0; k < index.unpairedCount; ++k) {
    const int i = index.unpaired[static_cast<std::size_t>(k)];
    if (store.MirrorMap[static_cast<std::size_t>(i)] != kNoPartner) {
      continue;  // paired earlier in this pass
    }
    int best = std::numeric_limits<int>::max();
    grid.forEachCandidate(i, [&](int j) {
      if (j >= best) {
        return false;
      }
      if (matchDistance(store, i, j) < tolerance) {
        best = j;
        return false;
      }
      return true;
    });
    if (best == std::numeric_limits<int>::max()) {
      continue;
    }
    const auto a = static_cast<std::size_t>(i);
    const auto b = static_cast<std::size_t>(best);
    store.MirrorMap[a] = best;
    store.AutoPartner[a] = best;
    store.PairedFlags[a] = 1;
    store.MirrorMap[b] = i;
    store.AutoPartner[b] = i;
    store.PairedFlags[b] = 1;
    result.symmetryHits += best == i ? 1 : 2;
    result.autoPairs += 1;
    hooks.hits(result.symmetryHits);
  }
}

}  // namespace

AutoDetectResult autoDetectPartners(MeshStore& store, MirrorIndex& index, int symmetryHits,
                                    AutoDetectHooks& hooks) {
  AutoDetectResult result;
  result.symmetryHits = symmetryHits;
  const std::size_t count = store.baseVertexCount;
  const int target = static_cast<int>(count);
  std::fill_n(store.AutoPartner.begin(), count, 0);

  ToleranceGrid grid(store, index);
  double closest = 0.0;
  double tolerance = kFirstTolerance;
  bool started = false;
  for (;;) {
    if (result.symmetryHits == target || result.symmetryHits < 2) {
      break;
    }
    if (!started) {
      started = true;
      if (!hooks.startFirstPass()) {
        break;
      }
      index.unpairedCount = 0;
      for (std::size_t i = 0; i < count; ++i) {
        if (store.MirrorMap[i] == kNoPartner) {
          index.unpaired[static_cast<std::size_t>(index.unpairedCount++)] = static_cast<int>(i);
        }
      }
      grid.build();
      closest = closestMatch(store, index, grid);
    }
    if (closest < tolerance) {
      runPass(store, index, grid, tolerance, result, hooks);
      dropPaired(store, index);
      closest = closestMatch(store, index, grid);
    }
    tolerance += kToleranceStep;
    if (tolerance > kToleranceLimit) {
      break;
    }
    ++result.level;
  }
  return result;
}

}  // namespace calveth
