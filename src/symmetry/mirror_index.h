// Index arrays that make the mirror search fast, fixed-capacity like the store.
//
// Exact keys: an open-addressing hash table of the distinct points of the base (X, Y, Z as
// doubles, -0.0 folded onto 0.0), each slot holding the lowest vertex index of its point and
// how many vertices share it.
// Tolerance grid: the vertices still without a partner, bucketed by a uniform grid of cells
// kGridCellSize wide, ascending vertex order within a bucket (cells are hashed onto buckets;
// a bucket may hold several cells).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "store/mesh_store.h"

namespace calveth {

inline constexpr std::size_t kExactSlots = std::size_t{1} << 17;  // at least 3x the vertices
inline constexpr std::size_t kGridBuckets = std::size_t{1} << 16;
// A power of two (1/512) so that a cell number is a product without rounding, and larger
// than the largest tolerance: a point within tolerance of another lies in a neighbouring cell.
inline constexpr double kGridCellsPerUnit = 512.0;

// Mixes three 64-bit keys into a well-spread hash; the tables take its low bits.
inline std::uint64_t mixKeys(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
  std::uint64_t h = a * 0x9E3779B97F4A7C15ULL;
  h ^= b * 0xC2B2AE3D27D4EB4FULL + (h >> 29);
  h ^= c * 0x165667B19E3779F9ULL + (h >> 31);
  return h ^ (h >> 33);
}

// Lives inside calloc-ed storage (see ZeroedBySystem): its arrays carry no initialiser.
struct MirrorIndex {
  std::array<int, kExactSlots> slotFirst;
  std::array<int, kExactSlots> slotCount;
  std::array<int, kGridBuckets + 1> bucketStart;
  std::array<int, kBaseVertexCapacity> bucketItems;
  std::array<int, kBaseVertexCapacity> unpaired;  // vertices still searched, ascending
  int unpairedCount = 0;
};

}  // namespace calveth
