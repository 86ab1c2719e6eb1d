#include "symmetry/exact_pairs.h"

#include <cstdint>
#include <cstring>

namespace calveth {
namespace {

// -0.0 + 0.0 is +0.0, so equal coordinates get equal bits (there are no NaNs: the reader
// refuses them). A copy of the bytes rather than std::bit_cast, which not every standard
// library has; compilers make the same single move of it.
std::uint64_t foldedBits(double value) {
  const double folded = value + 0.0;
  std::uint64_t bits;
  std::memcpy(&bits, &folded, sizeof bits);
  return bits;
}

std::size_t slotOf(double x, double y, double z) {
  const std::uint64_t h = mixKeys(foldedBits(x), foldedBits(y), foldedBits(z));
  return static_cast<std::size_t>(h) & (kExactSlots - 1);
}

// Finds the slot holding the point (x, y, z), or the empty slot where it belongs.
std::size_t findSlot(const MeshStore& store, const MirrorIndex& index, double x, double y,
                     double z) {
  std::size_t slot = slotOf(x, y, z);
  for (;;) {
    const int first = index.slotFirst[slot];
    if (first < 0) {
      return slot;
    }
    const auto v = static_cast<std::size_t>(first);
    if (store.BaseX[v] == x && store.BaseY[v] == y && store.BaseZ[v] == z) {
      return slot;
    }
    slot = (slot + 1) & (kExactSlots - 1);
  }
}

}  // namespace

int findExactPartners(MeshStore& store, MirrorIndex& index, PairingProgress& progress) {
  const std::size_t count = store.baseVertexCount;
  index.slotFirst.fill(-1);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t slot = findSlot(store, index, store.BaseX[i], store.BaseY[i], store.BaseZ[i]);
    if (index.slotFirst[slot] < 0) {
      index.slotFirst[slot] = static_cast<int>(i);
      index.slotCount[slot] = 1;
    } else {
      ++index.slotCount[slot];
    }
  }

  int symmetryHits = 0;
  store.duplicateHit = 0;
  for (std::size_t i = 0; i < count; ++i) {
    store.DeltaX[i] = 0.0;
    store.MirrorMap[i] = kNoPartner;
    store.PairedFlags[i] = 0;
    store.MeshPairedFlags[i] = 0;
    const std::size_t slot =
        findSlot(store, index, -store.BaseX[i], store.BaseY[i], store.BaseZ[i]);
    if (index.slotFirst[slot] < 0) {
      continue;
    }
    store.PairedFlags[i] = 1;
    if (index.slotCount[slot] == 1) {
      store.MirrorMap[i] = index.slotFirst[slot];
      symmetryHits += 1;
    } else {
      // A scan in vertex order stops at the second partner: two hits, whatever the number.
      store.MirrorMap[i] = kDuplicatePartner;
      store.duplicateHit = 1;
      symmetryHits += 2;
    }
    progress.hits(symmetryHits);
  }
  return symmetryHits;
}

}  // namespace calveth
