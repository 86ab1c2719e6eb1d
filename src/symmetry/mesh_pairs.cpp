#include "symmetry/mesh_pairs.h"

#include <algorithm>
#include <cmath>

namespace calveth {
namespace {

class MeshPairing {
 public:
  MeshPairing(MeshStore& store, MeshPairScratch& scratch)
      : store_(store), s_(scratch), count_(static_cast<int>(store.baseVertexCount)) {}

  MeshPairingResult run() {
    buildRings();
    markClaimed();
    std::fill_n(s_.knownMark.begin(), count_, 0);
    std::fill_n(s_.ringMark.begin(), count_, 0);
    std::fill_n(s_.queued.begin(), count_, 0);
    s_.stamp = 0;
    s_.queueHead = 0;
    s_.queueLength = 0;
    for (int v = 0; v < count_; ++v) {
      if (isOpen(v)) {
        enqueue(v);
      }
    }
    // The queue follows every change that can decide a vertex; a sweep over all open
    // vertices then proves the fixed point, and catches what the queue's shortcuts skip
    // (rings beyond kMaxRing, MirrorMap entries that do not name each other).
    for (;;) {
      while (s_.queueLength > 0) {
        const int v = dequeue();
        if (isOpen(v)) {
          tryPair(v);
        }
      }
      const int before = result_.pairs;
      for (int v = 0; v < count_; ++v) {
        if (isOpen(v)) {
          tryPair(v);
        }
      }
      if (result_.pairs == before) {
        break;
      }
    }
    result_.unpaired = unpairedVertexCount(store_);
    store_.duplicateHit = std::any_of(store_.MirrorMap.begin(), store_.MirrorMap.begin() + count_,
                                      [](int e) { return e == kDuplicatePartner; });
    return result_;
  }

 private:
  // The face edges in both directions, counted, placed, then sorted and made unique per
  // vertex. A face whose corners leave the corner table is skipped, as the viewer skips it.
  void buildRings() {
    std::fill_n(s_.ringSize.begin(), count_, 0);
    forEachEdge([&](int a, int b) {
      ++s_.ringSize[static_cast<std::size_t>(a)];
      ++s_.ringSize[static_cast<std::size_t>(b)];
    });
    int start = 0;
    for (int v = 0; v < count_; ++v) {
      s_.ringStart[static_cast<std::size_t>(v)] = start;
      start += s_.ringSize[static_cast<std::size_t>(v)];
      s_.ringSize[static_cast<std::size_t>(v)] = 0;  // now the fill cursor
    }
    s_.ringStart[static_cast<std::size_t>(count_)] = start;
    forEachEdge([&](int a, int b) {
      place(a, b);
      place(b, a);
    });
    for (int v = 0; v < count_; ++v) {
      int* first = ringBegin(v);
      int* last = first + s_.ringSize[static_cast<std::size_t>(v)];
      std::sort(first, last);
      s_.ringSize[static_cast<std::size_t>(v)] = static_cast<int>(std::unique(first, last) - first);
    }
  }

  template <typename Edge>
  void forEachEdge(Edge edge) const {
    std::size_t cornersSeen = 0;
    for (int f = 0; f < store_.faceCount; ++f) {
      const int first = store_.FaceStart[static_cast<std::size_t>(f)];
      const int corners = store_.FaceCornerCount[static_cast<std::size_t>(f)];
      if (corners < 2 || first < 0 ||
          static_cast<std::size_t>(first) + static_cast<std::size_t>(corners) > kCornerCapacity) {
        continue;
      }
      // Rings hold two entries per corner at most: a table whose faces overlap cannot
      // overrun them.
      cornersSeen += static_cast<std::size_t>(corners);
      if (cornersSeen > kCornerCapacity) {
        return;
      }
      for (int k = 0; k < corners; ++k) {
        const int a = store_.CornerVertex[static_cast<std::size_t>(first + k)] - 1;
        const int b = store_.CornerVertex[static_cast<std::size_t>(first + (k + 1) % corners)] - 1;
        if (a >= 0 && a < count_ && b >= 0 && b < count_ && a != b) {
          edge(a, b);
        }
      }
    }
  }

  void place(int from, int to) {
    const auto v = static_cast<std::size_t>(from);
    s_.ringItems[static_cast<std::size_t>(s_.ringStart[v] + s_.ringSize[v]++)] = to;
  }

  void markClaimed() {
    std::fill_n(s_.claimed.begin(), count_, 0);
    for (int i = 0; i < count_; ++i) {
      const int partner = entry(i);
      if (partner >= 0 && partner < count_ && partner != i) {
        s_.claimed[static_cast<std::size_t>(partner)] = 1;
      }
    }
  }

  int entry(int v) const { return store_.MirrorMap[static_cast<std::size_t>(v)]; }
  int ringSize(int v) const { return s_.ringSize[static_cast<std::size_t>(v)]; }
  int* ringBegin(int v) { return s_.ringItems.data() + s_.ringStart[static_cast<std::size_t>(v)]; }
  const int* ringBegin(int v) const {
    return s_.ringItems.data() + s_.ringStart[static_cast<std::size_t>(v)];
  }
  const int* ringEnd(int v) const { return ringBegin(v) + ringSize(v); }

  // The partner of a known vertex, or -1.
  int knownPartner(int v) const {
    const int partner = entry(v);
    return partner >= 0 && partner < count_ ? partner : -1;
  }
  bool isOpen(int v) const {
    const int e = entry(v);
    return (e == kNoPartner || e == kDuplicatePartner) &&
           s_.claimed[static_cast<std::size_t>(v)] == 0;
  }
  bool inRing(int v, int x) const { return std::binary_search(ringBegin(v), ringEnd(v), x); }

  int nextStamp() { return ++s_.stamp; }

  // Starts the stamps again before they could run out; a decision takes two of them.
  void renewStampsIfNeeded() {
    if (s_.stamp > 0x7ffffff0) {
      std::fill_n(s_.knownMark.begin(), count_, 0);
      std::fill_n(s_.ringMark.begin(), count_, 0);
      s_.stamp = 0;
    }
  }

  // The only candidate of the open vertex v, or -1 when it has none, several, or one that the
  // ring limit keeps from being checked.
  int soleCandidate(int v) {
    if (ringSize(v) > kMaxRing) {
      return -1;
    }
    renewStampsIfNeeded();
    // K(v), each partner once, and the vertex of K(v) with the smallest ring.
    const int known = nextStamp();
    knownList_.clear();
    int scanned = -1;
    bool wholeRingKnown = true;
    for (const int* u = ringBegin(v); u != ringEnd(v); ++u) {
      const int x = knownPartner(*u);
      wholeRingKnown = wholeRingKnown && x >= 0;
      if (x < 0 || s_.knownMark[static_cast<std::size_t>(x)] == known) {
        continue;
      }
      s_.knownMark[static_cast<std::size_t>(x)] = known;
      knownList_.push(x);
      if (scanned < 0 || ringSize(x) < ringSize(scanned)) {
        scanned = x;
      }
    }
    if (scanned < 0 || ringSize(scanned) > kMaxRing) {
      return -1;
    }
    const int ring = nextStamp();
    for (const int* u = ringBegin(v); u != ringEnd(v); ++u) {
      s_.ringMark[static_cast<std::size_t>(*u)] = ring;
    }
    // Every candidate is adjacent to `scanned`, and v is in its ring exactly when v's ring
    // holds `scanned`, as v itself must to be its own candidate.
    int found = -1;
    for (const int* w = ringBegin(scanned); w != ringEnd(scanned); ++w) {
      if (!isOpen(*w) || !holdsKnown(*w)) {
        continue;
      }
      if (ringSize(*w) > kMaxRing) {
        return -1;
      }
      bool mapsBack = true;
      for (const int* u = ringBegin(*w); u != ringEnd(*w) && mapsBack; ++u) {
        const int x = knownPartner(*u);
        mapsBack = x < 0 || s_.ringMark[static_cast<std::size_t>(x)] == ring;
      }
      if (!mapsBack) {
        continue;
      }
      // Mapping a vertex onto itself fits any ring whose known part lies on the middle, as
      // the identity fits every mesh: only a ring known whole is a middle vertex's.
      if (found >= 0 || (*w == v && !wholeRingKnown)) {
        return -1;
      }
      found = *w;
    }
    return found;
  }

  // K(v) (in knownList_) lies in N(w).
  bool holdsKnown(int w) const {
    for (int k = 0; k < knownList_.size; ++k) {
      if (!inRing(w, knownList_.items[static_cast<std::size_t>(k)])) {
        return false;
      }
    }
    return true;
  }

  double longestEdge(int v) const {
    const auto a = static_cast<std::size_t>(v);
    double longest = 0.0;
    for (const int* u = ringBegin(v); u != ringEnd(v); ++u) {
      const auto b = static_cast<std::size_t>(*u);
      longest = std::max(
          longest, std::hypot(store_.BaseX[a] - store_.BaseX[b], store_.BaseY[a] - store_.BaseY[b],
                              store_.BaseZ[a] - store_.BaseZ[b]));
    }
    return longest;
  }

  void tryPair(int v) {
    const int w = soleCandidate(v);
    if (w < 0 || (w != v && soleCandidate(w) != v) ||
        !withinReach(store_, v, w, longestEdge(v), longestEdge(w))) {
      return;
    }
    write(v, w);
    write(w, v);
    store_.MeshPairedFlags[static_cast<std::size_t>(v)] = 1;
    store_.MeshPairedFlags[static_cast<std::size_t>(w)] = 1;
    ++result_.pairs;
    requeueAround(v);
    if (w != v) {
      requeueAround(w);
    }
  }

  void write(int v, int partner) {
    const auto i = static_cast<std::size_t>(v);
    store_.MirrorMap[i] = partner;
    store_.AutoPartner[i] = partner;
    store_.PairedFlags[i] = 1;
  }

  // a was just paired: its open neighbours gain a known neighbour, and a vertex that had a as
  // one of two candidates lies around the partner of one of a's neighbours.
  void requeueAround(int a) {
    for (const int* x = ringBegin(a); x != ringEnd(a); ++x) {
      if (isOpen(*x)) {
        enqueue(*x);
        continue;
      }
      const int u = knownPartner(*x);
      if (u < 0 || ringSize(*x) > kMaxRing || ringSize(u) > kMaxRing) {
        continue;
      }
      for (const int* v = ringBegin(u); v != ringEnd(u); ++v) {
        if (isOpen(*v)) {
          enqueue(*v);
        }
      }
    }
  }

  void enqueue(int v) {
    const auto i = static_cast<std::size_t>(v);
    if (s_.queued[i] != 0) {
      return;
    }
    s_.queued[i] = 1;
    const std::size_t capacity = static_cast<std::size_t>(count_);
    s_.queue[(s_.queueHead + s_.queueLength) % capacity] = v;
    ++s_.queueLength;
  }

  int dequeue() {
    const int v = s_.queue[s_.queueHead];
    s_.queueHead = (s_.queueHead + 1) % static_cast<std::size_t>(count_);
    --s_.queueLength;
    s_.queued[static_cast<std::size_t>(v)] = 0;
    return v;
  }

  // K(v) of the decision under way; at most kMaxRing entries, since v's ring is at most that.
  struct KnownList {
    std::array<int, kMaxRing> items;
    int size = 0;
    void clear() { size = 0; }
    void push(int x) { items[static_cast<std::size_t>(size++)] = x; }
  };

  MeshStore& store_;
  MeshPairScratch& s_;
  const int count_;
  KnownList knownList_;
  MeshPairingResult result_;
};

}  // namespace

bool withinReach(const MeshStore& store, int v, int w, double longestEdgeOfV,
                 double longestEdgeOfW) {
  const auto a = static_cast<std::size_t>(v);
  const auto b = static_cast<std::size_t>(w);
  const double mismatch = std::max({std::fabs(store.BaseX[a] + store.BaseX[b]),
                                    std::fabs(store.BaseY[a] - store.BaseY[b]),
                                    std::fabs(store.BaseZ[a] - store.BaseZ[b])});
  return mismatch <= longestEdgeOfV + longestEdgeOfW;
}

int unpairedVertexCount(const MeshStore& store) {
  return static_cast<int>(
      std::count_if(store.MirrorMap.begin(), store.MirrorMap.begin() + store.baseVertexCount,
                    [](int entry) { return entry == kNoPartner || entry == kDuplicatePartner; }));
}

bool meshPairingApplies(const MeshStore& store) {
  return store.faceCount > 0 && unpairedVertexCount(store) > 0;
}

MeshPairingResult pairByMesh(MeshStore& store, MeshPairScratch& scratch) {
  if (store.baseVertexCount == 0) {
    return {};
  }
  return MeshPairing(store, scratch).run();
}

}  // namespace calveth
