// Deterministic, mirror-symmetric meshes shaped like body parts, and their OBJ text.
//
// Only the left half (X > 0) is computed; the right half is its exact negation in X and the
// seam lies exactly on X = 0, so every vertex has exactly one exact mirror partner, in memory
// and after a round trip through the OBJ text (a printed -x is "-" and the digits of x).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace calveth::meshgen {

struct Mesh {
  std::vector<std::array<double, 3>> vertices;
  std::vector<std::array<double, 2>> uvs;
  std::vector<std::array<double, 3>> normals;
  // Corners as 0-based vertex and uv indices; one material name per face.
  std::vector<std::vector<int>> faceVertices;
  std::vector<std::vector<int>> faceUvs;
  std::vector<std::string> faceMaterials;
};

// A head: a closed, deformed sphere with a nose and a chin, in posing-application units
// (about 0.12 tall, centred at Y = 0.63). rings >= 3; segments even and >= 4.
// Vertices: (rings - 1) * segments + 2.
Mesh headMesh(int rings, int segments);

// A limb: an open tube along Y with a bulge, segments even and >= 4. Vertices: rings * segments.
Mesh limbMesh(int rings, int segments);

// A limb closed at both ends: the tube of limbMesh with one vertex on its axis (X = 0) beyond
// each end ring, joined to that ring by a fan of triangles. Vertices: rings * segments + 2.
Mesh closedLimbMesh(int rings, int segments);

// Two hands in one mesh, as a body part that holds both sides: the left hand (X > 0) first,
// then the right hand, its exact mirror image. Each hand is a flattened tube reaching out
// along X. Vertices: 2 * rings * segments.
Mesh handsMesh(int rings, int segments);

// The first `count` vertices of the mesh with their uvs and the faces among them.
Mesh firstVertices(const Mesh& mesh, std::size_t count);
// The vertices from `first` on, with the faces among them renumbered.
Mesh lastVertices(const Mesh& mesh, std::size_t first);

struct ObjOptions {
  std::string header;  // comment lines written first, each without "# " or line end
  std::string group = "body";
  int decimals = 6;
  bool half = false;           // write a "#HALF" line
  bool verticesOnly = false;   // no vt, vn, g, s, usemtl or f lines
  bool noFaces = false;        // vt, vn, g, s and usemtl lines, but no f lines
  bool triangles = false;      // each quad as two triangles
  bool cornerNormals = false;  // corners as v/vt/vn (the vertex's own normal), not v/vt
  std::string lineEnd = "\n";
};

std::string toObj(const Mesh& mesh, const ObjOptions& options);

}  // namespace calveth::meshgen
