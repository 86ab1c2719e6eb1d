#include "bench_bases.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "symmetry/tolerance.h"

namespace calveth::bench {

meshgen::Mesh benchBase(int vertices, Symmetry symmetry) {
  const int segments = vertices == 4000 ? 40 : 200;
  meshgen::Mesh mesh = meshgen::limbMesh(vertices / segments, segments);
  int moved = 0;
  for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
    auto& p = mesh.vertices[v];
    if (p[0] <= 0.0) {
      continue;  // only the left side moves, so that no pair loses both ends
    }
    if (symmetry == Symmetry::FewPasses && v % 10 == 1) {
      // Within pass k's tolerance (k = 1 .. 20) but not the one before.
      const int pass = 1 + moved++ % 20;
      p[0] += kFirstTolerance + (pass - 1) * kToleranceStep - kToleranceStep / 4;
    } else if (symmetry == Symmetry::NeverPairs && v % 50 == 1) {
      p[2] += p[2] > 0.0 ? 0.01 : -0.01;  // outward, where no vertex is
    }
  }
  return mesh;
}

std::string benchBaseFile(int vertices, Symmetry symmetry) {
  static std::map<std::pair<int, Symmetry>, std::string> written;
  auto& path = written[{vertices, symmetry}];
  if (path.empty()) {
    path = (std::filesystem::temp_directory_path() /
            ("calveth-bench-" + std::to_string(vertices) + "-" +
             std::to_string(static_cast<int>(symmetry)) + ".obj"))
               .string();
    meshgen::ObjOptions options;
    options.header = "calveth benchmark base";
    options.decimals = 6;  // as posing applications write them
    std::ofstream(path, std::ios::binary) << meshgen::toObj(benchBase(vertices, symmetry), options);
  }
  return path;
}

std::string benchMtFile(int vertices) {
  static std::map<int, std::string> written;
  auto& path = written[vertices];
  if (path.empty()) {
    path = (std::filesystem::temp_directory_path() /
            ("calveth-bench-mt-" + std::to_string(vertices) + ".obj"))
               .string();
    meshgen::Mesh mt = benchBase(vertices, Symmetry::Perfect);
    for (auto& v : mt.vertices) {
      if (v[0] > 0.0) {
        v[1] += 0.01 * v[0];
        v[2] -= 0.005;
      }
    }
    meshgen::ObjOptions options;
    options.header = "calveth benchmark MT";
    std::ofstream(path, std::ios::binary) << meshgen::toObj(mt, options);
  }
  return path;
}

}  // namespace calveth::bench
