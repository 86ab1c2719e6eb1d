// Pairing by the mesh: after the exact and tolerance passes, the vertices still without a
// partner (kNoPartner) or with several (kDuplicatePartner) are paired from the stored faces
// around them, growing out from the pairs already known.
//
// The faces around a vertex are the mirror images of the faces around its partner. With
//   N(v): the vertices that share a face edge with v (consecutive corners of a stored face
//         whose 1-based numbers lie in 1..baseVertexCount),
//   known: a vertex whose MirrorMap entry is a vertex index,
//   K(v): the partners of v's known neighbours,
//   open: a vertex whose entry is kNoPartner or kDuplicatePartner and that no other vertex's
//         entry names (a duplicate's copies all name their one partner, which stays as it is),
// an open vertex w is a candidate of the open vertex v when K(v) lies in N(w) and K(w) lies
// in N(v). w = v is allowed, the middle, whose ring maps onto itself; but since mapping onto
// itself fits every ring whose known part lies on the middle, v is left undecided when it is
// its own candidate and some neighbour of it is not known. v and w are paired when each is
// the other's only candidate, and the mirror image of w lies within reach of v (withinReach):
// the commands place a vertex at the mirror image of its partner, and a mesh that is
// symmetric in its faces but not in its shape (a bent tube) must not tear an MT apart. A
// vertex is only decided when its ring, that of one
// vertex of K(v) and those of its candidates hold at most kMaxRing vertices; otherwise it
// stays open. Pairing repeats to a fixed point: no open vertex has a partner by this rule.
//
// The rule never chooses: where the mesh leaves two candidates, the vertex stays unpaired and
// is counted. The true partner of a vertex is always among its candidates when the pairs
// around it are right and the mesh is mirror-symmetric in its faces, so a sole candidate is
// the true partner there; a lopsided mesh (a face missing on one side, diagonals that do not
// mirror) leaves vertices open rather than pairing them wrong, as far as the rule can tell.
//
// A pair is written as the tolerance passes write theirs: MirrorMap, AutoPartner and
// PairedFlags both ways, and MeshPairedFlags both ways. Nothing else is read or written.
// Deterministic; the work is linear in the corners (sorting each ring adds a log), with a
// constant bounded by kMaxRing squared per decision. Allocates nothing: the rings and marks
// live in the caller's MeshPairScratch.
#pragma once

#include <array>
#include <cstddef>

#include "store/mesh_store.h"

namespace calveth {

// Body parts have rings of 3 to 12 vertices, poles of sphere-like parts up to about a hundred;
// a ring beyond this (a fan around a hub) is not worth the quadratic candidate test.
inline constexpr int kMaxRing = 128;

// Every face edge is stored once from each end.
inline constexpr std::size_t kRingItemCapacity = 2 * kCornerCapacity;

// Lives inside calloc-ed storage (see ZeroedBySystem): its arrays carry no initialiser.
struct MeshPairScratch : ZeroedBySystem {
  // N(v) = ringItems[ringStart[v] .. ringStart[v] + ringSize[v]), ascending, each vertex once.
  std::array<int, kBaseVertexCapacity + 1> ringStart;
  std::array<int, kBaseVertexCapacity> ringSize;
  std::array<int, kRingItemCapacity> ringItems;
  // Stamps that mark a set of vertices for one test without clearing.
  std::array<int, kBaseVertexCapacity> knownMark;
  std::array<int, kBaseVertexCapacity> ringMark;
  int stamp;
  // Vertices named by another vertex's MirrorMap entry.
  std::array<unsigned char, kBaseVertexCapacity> claimed;
  // Open vertices whose decision may have changed, first in first out.
  std::array<int, kBaseVertexCapacity> queue;
  std::array<unsigned char, kBaseVertexCapacity> queued;
  std::size_t queueHead;
  std::size_t queueLength;
};

struct MeshPairingResult {
  int pairs = 0;     // pairings made (a vertex paired with itself counts 1)
  int unpaired = 0;  // vertices still kNoPartner or kDuplicatePartner afterwards
};

// The mirror image of w is no farther from v, in the largest of the three coordinate
// differences (as the tolerance passes measure), than v's longest face edge and w's together.
// A vertex moved by d from the mirror image of its partner has, with any neighbour n, edges
// v-n and w-partner(n) that add up to at least d, so a true pair is within reach.
bool withinReach(const MeshStore& store, int v, int w, double longestEdgeOfV,
                 double longestEdgeOfW);

// True when the stage has something to work on: the base has stored faces and some vertex
// is kNoPartner or kDuplicatePartner.
bool meshPairingApplies(const MeshStore& store);

// Vertices below baseVertexCount whose MirrorMap entry is kNoPartner or kDuplicatePartner.
int unpairedVertexCount(const MeshStore& store);

MeshPairingResult pairByMesh(MeshStore& store, MeshPairScratch& scratch);

}  // namespace calveth
