// Writes an uneven base as an OBJ file: a closed limb of RINGS rings of SEGMENTS (default 100
// and 100: 10002 vertices),
// 5% of its left side moved by 0.002 to 0.006 (along the normals, as sculpting moves; "any" in
// random directions), 6 vertices and their mirror images split into coincident copies, as
// README.md describes pairing by the mesh on it.
//
//   make-uneven-base OUT.obj [RINGS SEGMENTS [SEED [any]]]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "meshgen/uneven_part.h"

int main(int argc, char** argv) {
  const int rings = argc >= 4 ? std::atoi(argv[2]) : 100;
  const int segments = argc >= 4 ? std::atoi(argv[3]) : 100;
  if (argc < 2 || argc == 3 || argc > 6 || rings < 2 || segments < 4 || segments % 2 != 0) {
    std::fprintf(stderr, "usage: make-uneven-base OUT.obj [RINGS SEGMENTS [SEED [any]]]\n");
    return 2;
  }
  calveth::meshgen::UnevenOptions options;
  options.seed = argc >= 5 ? std::strtoull(argv[4], nullptr, 10) : 7;
  options.alongNormal = !(argc == 6 && std::string(argv[5]) == "any");
  const auto base =
      calveth::meshgen::unevenBase(calveth::meshgen::closedLimbMesh(rings, segments), options);
  calveth::meshgen::ObjOptions obj;
  obj.header = "An uneven limb: 5% of the left side moved, 6 vertices split at a seam";
  obj.group = "limb";
  std::ofstream(argv[1], std::ios::binary) << calveth::meshgen::toObj(base.mesh, obj);
  std::printf("%zu vertices, %d moved\n", base.mesh.vertices.size(), base.moved);
  return 0;
}
