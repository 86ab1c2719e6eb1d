// Bases that are not perfectly symmetric, made from a symmetric generated body part with its
// true mirror map known: a share of the left side's vertices moved by a small distance, and
// a few left vertices and their mirror images each split into two coincident copies that
// share the vertex's faces between them, as at a texture seam. Deterministic on every
// platform.
#pragma once

#include <cstdint>
#include <vector>

#include "meshgen/body_part.h"

namespace calveth::meshgen {

struct UnevenOptions {
  double movedShare = 0.05;  // of the left side's vertices (X > 0)
  double shortestMove = 0.002;
  double longestMove = 0.006;
  int splitVertices = 6;  // left vertices split, each with its mirror image
  std::uint64_t seed = 1;
  // Moves along the vertex's normal (from its faces), in or out, as sculpting moves; otherwise in a
  // random direction. Either way, where vertices crowd closer than the moves (the poles of a
  // sphere-like part) or lie within half the tolerance of X = 0, the tolerance passes may
  // pair a moved vertex, or its partner, wrong.
  bool alongNormal = false;
};

struct UnevenBase {
  Mesh mesh;
  std::vector<int> truePartner;  // per vertex; the copies are partners of each other
  int moved = 0;
};

UnevenBase unevenBase(const Mesh& symmetric, const UnevenOptions& options);

}  // namespace calveth::meshgen
