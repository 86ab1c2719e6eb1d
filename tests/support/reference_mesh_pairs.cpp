#include "support/reference_mesh_pairs.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace calveth::testing {
namespace {

using Ring = std::set<int>;

struct Rule {
  const MeshStore& store;
  int count;
  std::vector<Ring> rings;

  explicit Rule(const MeshStore& s) : store(s), count(static_cast<int>(s.baseVertexCount)) {
    rings.resize(static_cast<std::size_t>(count));
    std::size_t cornersSeen = 0;
    for (int f = 0; f < store.faceCount; ++f) {
      const int first = store.FaceStart[static_cast<std::size_t>(f)];
      const int corners = store.FaceCornerCount[static_cast<std::size_t>(f)];
      if (corners < 2 || first < 0 ||
          static_cast<std::size_t>(first) + static_cast<std::size_t>(corners) > kCornerCapacity) {
        continue;
      }
      cornersSeen += static_cast<std::size_t>(corners);
      if (cornersSeen > kCornerCapacity) {
        break;
      }
      for (int k = 0; k < corners; ++k) {
        const int a = store.CornerVertex[static_cast<std::size_t>(first + k)] - 1;
        const int b = store.CornerVertex[static_cast<std::size_t>(first + (k + 1) % corners)] - 1;
        if (a >= 0 && a < count && b >= 0 && b < count && a != b) {
          rings[static_cast<std::size_t>(a)].insert(b);
          rings[static_cast<std::size_t>(b)].insert(a);
        }
      }
    }
  }

  const Ring& ring(int v) const { return rings[static_cast<std::size_t>(v)]; }
  int entry(int v) const { return store.MirrorMap[static_cast<std::size_t>(v)]; }
  bool known(int v) const { return entry(v) >= 0 && entry(v) < count; }

  bool open(int v) const {
    if (entry(v) != kNoPartner && entry(v) != kDuplicatePartner) {
      return false;
    }
    for (int i = 0; i < count; ++i) {
      if (i != v && entry(i) == v) {
        return false;
      }
    }
    return true;
  }

  Ring knownPartners(int v) const {
    Ring partners;
    for (int u : ring(v)) {
      if (known(u)) {
        partners.insert(entry(u));
      }
    }
    return partners;
  }

  static bool within(const Ring& part, const Ring& whole) {
    return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
  }

  int soleCandidate(int v) const {
    const Ring k = knownPartners(v);
    const bool smallRingKnown = std::any_of(
        k.begin(), k.end(), [&](int x) { return static_cast<int>(ring(x).size()) <= kMaxRing; });
    if (static_cast<int>(ring(v).size()) > kMaxRing || !smallRingKnown) {
      return -1;
    }
    std::vector<int> candidates;
    for (int w = 0; w < count; ++w) {
      if (!within(k, ring(w)) || !open(w)) {
        continue;
      }
      if (static_cast<int>(ring(w).size()) > kMaxRing) {
        return -1;
      }
      if (!within(knownPartners(w), ring(v))) {
        continue;
      }
      if (w == v && !std::all_of(ring(v).begin(), ring(v).end(), [&](int u) { return known(u); })) {
        return -1;  // its own candidate, but not with the whole ring known
      }
      candidates.push_back(w);
    }
    return candidates.size() == 1 ? candidates.front() : -1;
  }

  double longestEdge(int v) const {
    double longest = 0.0;
    const auto a = static_cast<std::size_t>(v);
    for (int u : ring(v)) {
      const auto b = static_cast<std::size_t>(u);
      const double dx = store.BaseX[a] - store.BaseX[b];
      const double dy = store.BaseY[a] - store.BaseY[b];
      const double dz = store.BaseZ[a] - store.BaseZ[b];
      longest = std::max(longest, std::hypot(dx, dy, dz));
    }
    return longest;
  }

  // The partner the rule gives v now, or -1.
  int partnerOf(int v) const {
    if (!open(v)) {
      return -1;
    }
    const int w = soleCandidate(v);
    const bool mutual = w >= 0 && (w == v || soleCandidate(w) == v);
    return mutual && withinReach(store, v, w, longestEdge(v), longestEdge(w)) ? w : -1;
  }
};

}  // namespace

MeshPairingResult referenceMeshPairs(MeshStore& store) {
  MeshPairingResult result;
  const Rule rule(store);
  for (bool paired = true; paired;) {
    paired = false;
    for (int v = 0; v < rule.count; ++v) {
      const int w = rule.partnerOf(v);
      if (w < 0) {
        continue;
      }
      for (const auto& [a, b] : {std::pair{v, w}, std::pair{w, v}}) {
        store.MirrorMap[static_cast<std::size_t>(a)] = b;
        store.AutoPartner[static_cast<std::size_t>(a)] = b;
        store.PairedFlags[static_cast<std::size_t>(a)] = 1;
        store.MeshPairedFlags[static_cast<std::size_t>(a)] = 1;
      }
      ++result.pairs;
      paired = true;
    }
  }
  for (int v = 0; v < rule.count; ++v) {
    const int e = store.MirrorMap[static_cast<std::size_t>(v)];
    result.unpaired += e == kNoPartner || e == kDuplicatePartner ? 1 : 0;
  }
  return result;
}

bool referenceFindsAPair(const MeshStore& store) {
  const Rule rule(store);
  for (int v = 0; v < rule.count; ++v) {
    if (rule.partnerOf(v) >= 0) {
      return true;
    }
  }
  return false;
}

}  // namespace calveth::testing
