// MeshStore: the one store of all mesh data of a program run.
//
// Plain data with fixed capacities: nothing here allocates once the store exists, and every
// command bounds its loops by the current counts, never by the capacities. Entries beyond a
// count keep whatever an earlier, larger file left there.
//
// The store is several megabytes: the program owns exactly one (on the heap, newMeshStore()),
// tests make their own the same way. A new store is all zeros with empty strings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

namespace calveth {

// A vertex's 0-based position among the "v" lines of its file, and the counts that bound
// such positions: one type wherever the per-vertex arrays are indexed. MirrorMap and
// AutoPartner entries are `int`, since they also hold the markers below; they are used as a
// VertexIndex only when 0 or more.
using VertexIndex = std::uint32_t;

// The readers refuse a file with more than kMaxVertices "v" lines, but store the
// (kMaxVertices + 1)th before they notice, so every per-vertex array has spare slots.
inline constexpr VertexIndex kMaxVertices = 40000;
inline constexpr std::size_t kBaseVertexCapacity = 40003;
inline constexpr std::size_t kVertexCapacity = 40002;

// The base reader keeps at most kMaxFaces faces and kCornerCapacity corners in all.
inline constexpr int kMaxFaces = 100000;
inline constexpr std::size_t kCornerCapacity = 160010;

using BaseArray = std::array<double, kBaseVertexCapacity>;
using VertexArray = std::array<double, kVertexCapacity>;
using VertexIndexArray = std::array<int, kVertexCapacity>;
using CornerArray = std::array<int, kCornerCapacity>;

// MirrorMap entries besides a partner's index.
inline constexpr int kNoPartner = -1;
inline constexpr int kDuplicatePartner = -2;

// Heap storage for the big structs (the store, the base reader's staging buffer, the mirror
// index) straight from the system: a calloc of megabytes maps fresh pages, which the system
// hands over zeroed, so creating one writes nothing and only the pages a command uses are
// ever touched (a 3000-vertex head leaves most of the 40003-slot arrays unmapped). Their
// arrays carry no initialiser, so `new T` (default-initialised) does not write those zeros
// again; `std::make_unique<T>()` still zeroes them itself.
struct ZeroedBySystem {
  static void* operator new(std::size_t size) {
    void* memory = std::calloc(1, size);
    if (memory == nullptr) {
      throw std::bad_alloc();
    }
    return memory;
  }
  static void operator delete(void* memory) noexcept { std::free(memory); }
};

struct MeshStore : ZeroedBySystem {
  // BaseMesh: the undeformed body part, vertex i is the i-th "v" line of its file.
  BaseArray BaseX;
  BaseArray BaseY;
  BaseArray BaseZ;

  // FaceTable: face f owns CornerVertex[FaceStart[f] .. FaceStart[f] + FaceCornerCount[f]).
  // Corners hold the file's 1-based vertex numbers (relative ones resolved), unchecked.
  CornerArray FaceStart;
  CornerArray FaceCornerCount;
  CornerArray CornerVertex;

  // MirrorMap: partner index, kNoPartner, or kDuplicatePartner (two or more exact partners).
  VertexIndexArray MirrorMap;
  // 1 = the vertex found a partner (stays 1 when its MirrorMap entry became kDuplicatePartner).
  VertexIndexArray PairedFlags;
  // Partner found by tolerance auto detection, for both vertices of a pair; 0 = none
  // (a pair with vertex 0 therefore also reads 0).
  VertexIndexArray AutoPartner;
  // 1 = the vertex was paired from the faces around it (symmetry/mesh_pairs.h), after the
  // exact and tolerance passes; such a pair is also in MirrorMap, PairedFlags and AutoPartner
  // like a tolerance pair. The exact pass resets it with the rest of the map.
  VertexIndexArray MeshPairedFlags;

  // MorphTarget as read, DeltaArrays (MT minus base), WorkTarget (the generated MT).
  VertexArray MtX;
  VertexArray MtY;
  VertexArray MtZ;
  VertexArray DeltaX;
  VertexArray DeltaY;
  VertexArray DeltaZ;
  VertexArray WorkX;
  VertexArray WorkY;
  VertexArray WorkZ;

  VertexIndex baseVertexCount = 0;
  VertexIndex mtVertexCount = 0;
  int faceCount = 0;
  bool halfBase = false;          // the base file holds a line beginning "#HALF"
  bool mirrorIncomplete = false;  // after the analysis some base vertex has no partner
  // The exact pass found a vertex with two or more partners; pairing by the mesh clears it
  // once no MirrorMap entry is kDuplicatePartner any more.
  bool duplicateHit = false;
  int vTokenCount = 0;  // numbers converted from the last "v" line parsed (0 to 3)
  double viewAngle = 0.0;
  bool mtHasFaceLines = false;  // the MT file holds a line beginning "vt" or "f"
  double mtXSum = 0.0;          // sum of the MT's X coordinates: its side, for a half MT
  // Entries of the WorkTarget that the last generating command (or the reflected preview)
  // filled: the number of vertices that saving writes.
  VertexIndex workVertexCount = 0;

  std::string mtPath;
  std::string mtTitle;
  std::string operationTag;
};

// A new store, all zeros, that has cost nothing to create.
inline std::unique_ptr<MeshStore> newMeshStore() {
  return std::unique_ptr<MeshStore>(new MeshStore);
}

}  // namespace calveth
