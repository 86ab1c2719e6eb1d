// Writes the body parts that `make bench-instructions` measures into the folder given as the
// only argument, with an MT for each (the left side moved):
//
//   tri_base.obj, tri_mt.obj    a closed head of 40000 vertices and 79996 triangles with
//                               v/vt corners
//   tri_base_nofaces.obj        the same head without its f lines
//   quad_base.obj, quad_mt.obj  an open limb of 40000 vertices and 39800 quads with v/vt/vn
//                               corners
//
// The output is deterministic: running the tool again gives the same bytes.
#include <fstream>
#include <iostream>
#include <string>

#include "meshgen/body_part.h"

namespace {

using calveth::meshgen::Mesh;
using calveth::meshgen::ObjOptions;

// (rings - 1) * segments + 2 = 40000 vertices.
constexpr int kHeadRings = 2858;
constexpr int kHeadSegments = 14;
// rings * segments = 40000 vertices.
constexpr int kLimbRings = 200;
constexpr int kLimbSegments = 200;

Mesh moved(Mesh mesh) {
  for (auto& v : mesh.vertices) {
    if (v[0] > 0.0) {
      v[1] += 0.01 * v[0];
      v[2] -= 0.005;
    }
  }
  return mesh;
}

bool write(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-bench-parts FOLDER\n";
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  ObjOptions triangles;
  triangles.header = "calveth benchmark body part: triangles, v/vt corners";
  triangles.triangles = true;
  ObjOptions withoutFaces = triangles;
  withoutFaces.noFaces = true;
  ObjOptions quads;
  quads.header = "calveth benchmark body part: quads, v/vt/vn corners";
  quads.cornerNormals = true;
  const Mesh head = calveth::meshgen::headMesh(kHeadRings, kHeadSegments);
  const Mesh limb = calveth::meshgen::limbMesh(kLimbRings, kLimbSegments);
  const bool ok = write(folder + "tri_base.obj", toObj(head, triangles)) &&
                  write(folder + "tri_mt.obj", toObj(moved(head), triangles)) &&
                  write(folder + "tri_base_nofaces.obj", toObj(head, withoutFaces)) &&
                  write(folder + "quad_base.obj", toObj(limb, quads)) &&
                  write(folder + "quad_mt.obj", toObj(moved(limb), quads));
  if (!ok) {
    std::cerr << "make-bench-parts: cannot write into " << folder << "\n";
    return 1;
  }
  return 0;
}
