#include "meshgen/body_part.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace calveth::meshgen {
namespace {

using Vec3 = std::array<double, 3>;

Vec3 normalised(Vec3 v) {
  const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  return length > 0.0 ? Vec3{v[0] / length, v[1] / length, v[2] / length} : Vec3{0.0, 1.0, 0.0};
}

// Builds the ring-by-segment grid: left(ring, k) gives the point at segment k (0 .. segments/2,
// k = 0 at the front seam, k = segments/2 at the back seam); the right half mirrors it.
template <typename Point>
void addRings(Mesh& mesh, int rings, int segments, Point left) {
  const int half = segments / 2;
  for (int ring = 0; ring < rings; ++ring) {
    std::vector<Vec3> row(static_cast<std::size_t>(segments));
    for (int k = 0; k <= half; ++k) {
      Vec3 p = left(ring, k);
      if (k == 0 || k == half) {
        p[0] = 0.0;
      }
      row[static_cast<std::size_t>(k)] = p;
      if (k != 0 && k != half) {
        row[static_cast<std::size_t>(segments - k)] = Vec3{-p[0], p[1], p[2]};
      }
    }
    for (const Vec3& p : row) {
      mesh.vertices.push_back(p);
      mesh.normals.push_back(normalised(Vec3{p[0], p[1] - 0.63, p[2]}));
    }
  }
}

// uv grid of (segments + 1) x rings, so that the texture seam has its own column.
void addUvGrid(Mesh& mesh, int rings, int segments) {
  for (int ring = 0; ring < rings; ++ring) {
    for (int k = 0; k <= segments; ++k) {
      mesh.uvs.push_back({static_cast<double>(k) / segments,
                          1.0 - static_cast<double>(ring) / (rings > 1 ? rings - 1 : 1)});
    }
  }
}

void addQuadBand(Mesh& mesh, int firstVertex, int rings, int segments, const char* material) {
  for (int ring = 0; ring + 1 < rings; ++ring) {
    for (int k = 0; k < segments; ++k) {
      const int next = (k + 1) % segments;
      const int a = firstVertex + ring * segments + k;
      const int b = firstVertex + ring * segments + next;
      const int c = firstVertex + (ring + 1) * segments + next;
      const int d = firstVertex + (ring + 1) * segments + k;
      const int uv = ring * (segments + 1) + k;
      mesh.faceVertices.push_back({a, d, c, b});
      mesh.faceUvs.push_back({uv, uv + segments + 1, uv + segments + 2, uv + 1});
      mesh.faceMaterials.push_back(material);
    }
  }
}

}  // namespace

Mesh headMesh(int rings, int segments) {
  Mesh mesh;
  const double pi = std::numbers::pi;
  auto point = [&](int ring, int k) {
    // ring 1 .. rings-1 of latitude; theta from the top (0) to the bottom (pi).
    const double theta = pi * ring / rings;
    const double phi = 2.0 * pi * k / segments;  // 0 = front (+Z)
    const double s = std::sin(theta);
    double x = 0.050 * s * std::sin(phi);
    double y = 0.065 * std::cos(theta);
    double z = 0.058 * s * std::cos(phi);
    // Nose: a bump on the front, centred a little below the middle.
    const double nose = std::exp(-(x * x) / 0.00004 - (y + 0.005) * (y + 0.005) / 0.0002);
    z += 0.012 * nose * (z > 0.0 ? 1.0 : 0.0);
    // Chin and jaw: the lower half is narrower and pushed forward.
    if (y < -0.02) {
      x *= 0.85;
      z += 0.006;
    }
    return Vec3{x, 0.63 + y, z};
  };
  mesh.vertices.push_back({0.0, 0.63 + 0.065, 0.0});
  mesh.normals.push_back({0.0, 1.0, 0.0});
  addRings(mesh, rings - 1, segments, [&](int ring, int k) { return point(ring + 1, k); });
  mesh.vertices.push_back({0.0, 0.63 - 0.065, 0.006});
  mesh.normals.push_back({0.0, -1.0, 0.0});

  addUvGrid(mesh, rings + 1, segments);
  const int bottom = static_cast<int>(mesh.vertices.size()) - 1;
  for (int k = 0; k < segments; ++k) {
    const int next = (k + 1) % segments;
    mesh.faceVertices.push_back({0, 1 + k, 1 + next});
    mesh.faceUvs.push_back({k, segments + 1 + k, segments + 2 + k});
    mesh.faceMaterials.push_back("SkinHead");
  }
  // The band around the mouth gets its own material, as heads carry one for the lips.
  const int mouthRing = (rings * 3) / 5;
  for (int ring = 0; ring + 1 < rings - 1; ++ring) {
    for (int k = 0; k < segments; ++k) {
      const int next = (k + 1) % segments;
      const int a = 1 + ring * segments + k;
      const int b = 1 + ring * segments + next;
      const int c = 1 + (ring + 1) * segments + next;
      const int d = 1 + (ring + 1) * segments + k;
      const int uv = (ring + 1) * (segments + 1) + k;
      const bool lips =
          ring + 1 == mouthRing && (k < segments / 10 || k >= segments - segments / 10);
      mesh.faceVertices.push_back({a, d, c, b});
      mesh.faceUvs.push_back({uv, uv + segments + 1, uv + segments + 2, uv + 1});
      mesh.faceMaterials.push_back(lips ? "Lips" : "SkinHead");
    }
  }
  const int lastRing = 1 + (rings - 2) * segments;
  const int uvBottom = rings * (segments + 1);
  for (int k = 0; k < segments; ++k) {
    const int next = (k + 1) % segments;
    mesh.faceVertices.push_back({lastRing + k, bottom, lastRing + next});
    mesh.faceUvs.push_back({uvBottom - (segments + 1) + k, uvBottom + k, uvBottom - segments + k});
    mesh.faceMaterials.push_back("SkinHead");
  }
  return mesh;
}

Mesh limbMesh(int rings, int segments) {
  Mesh mesh;
  const double pi = std::numbers::pi;
  addRings(mesh, rings, segments, [&](int ring, int k) {
    const double t = rings > 1 ? static_cast<double>(ring) / (rings - 1) : 0.0;
    const double phi = 2.0 * pi * k / segments;
    const double radius = 0.03 + 0.012 * std::sin(pi * t) + 0.002 * std::cos(3.0 * phi);
    return Vec3{radius * std::sin(phi), 0.2 + 0.3 * t, radius * std::cos(phi)};
  });
  addUvGrid(mesh, rings, segments);
  addQuadBand(mesh, 0, rings, segments, "Skin");
  return mesh;
}

Mesh closedLimbMesh(int rings, int segments) {
  Mesh mesh = limbMesh(rings, segments);
  const int bottom = static_cast<int>(mesh.vertices.size());
  const int top = bottom + 1;
  const int lastRing = (rings - 1) * segments;
  mesh.vertices.push_back({0.0, 0.19, 0.0});
  mesh.vertices.push_back({0.0, 0.51, 0.0});
  mesh.normals.push_back({0.0, -1.0, 0.0});
  mesh.normals.push_back({0.0, 1.0, 0.0});
  const int capUv = static_cast<int>(mesh.uvs.size());
  mesh.uvs.push_back({0.5, 0.5});
  for (int k = 0; k < segments; ++k) {
    const int next = (k + 1) % segments;
    mesh.faceVertices.push_back({bottom, next, k});
    mesh.faceVertices.push_back({top, lastRing + k, lastRing + next});
    for (int cap = 0; cap < 2; ++cap) {
      mesh.faceUvs.push_back({capUv, capUv, capUv});
      mesh.faceMaterials.push_back("Skin");
    }
  }
  return mesh;
}

Mesh handsMesh(int rings, int segments) {
  const Mesh tube = limbMesh(rings, segments);
  Mesh mesh;
  // The tube's axis (Y from 0.2 to 0.5) becomes X from 0.35 to 0.5; it is flattened in Z.
  for (const auto& v : tube.vertices) {
    mesh.vertices.push_back({0.35 + 0.5 * (v[1] - 0.2), 1.0 + v[0], 0.4 * v[2]});
  }
  for (const auto& v : tube.vertices) {
    mesh.vertices.push_back({-(0.35 + 0.5 * (v[1] - 0.2)), 1.0 + v[0], 0.4 * v[2]});
  }
  const int n = static_cast<int>(tube.vertices.size());
  const int uvCount = static_cast<int>(tube.uvs.size());
  mesh.uvs = tube.uvs;
  mesh.uvs.insert(mesh.uvs.end(), tube.uvs.begin(), tube.uvs.end());
  mesh.normals = tube.normals;
  for (const auto& normal : tube.normals) {
    mesh.normals.push_back({-normal[0], normal[1], normal[2]});
  }
  for (std::size_t f = 0; f < tube.faceVertices.size(); ++f) {
    mesh.faceVertices.push_back(tube.faceVertices[f]);
    mesh.faceUvs.push_back(tube.faceUvs[f]);
    mesh.faceMaterials.push_back("SkinHand");
  }
  // The mirrored hand's faces run the other way round, so that they still face outwards.
  for (std::size_t f = 0; f < tube.faceVertices.size(); ++f) {
    std::vector<int> vertices(tube.faceVertices[f].rbegin(), tube.faceVertices[f].rend());
    std::vector<int> uvs(tube.faceUvs[f].rbegin(), tube.faceUvs[f].rend());
    for (int& v : vertices) {
      v += n;
    }
    for (int& uv : uvs) {
      uv += uvCount;
    }
    mesh.faceVertices.push_back(vertices);
    mesh.faceUvs.push_back(uvs);
    mesh.faceMaterials.push_back("SkinHand");
  }
  return mesh;
}

namespace {

// The vertices [first, last) with the faces whose corners all lie among them, renumbered.
Mesh vertexRange(const Mesh& mesh, std::size_t first, std::size_t last) {
  Mesh part;
  part.vertices.assign(mesh.vertices.begin() + static_cast<std::ptrdiff_t>(first),
                       mesh.vertices.begin() + static_cast<std::ptrdiff_t>(last));
  part.uvs = mesh.uvs;
  if (mesh.normals.size() == mesh.vertices.size()) {
    part.normals.assign(mesh.normals.begin() + static_cast<std::ptrdiff_t>(first),
                        mesh.normals.begin() + static_cast<std::ptrdiff_t>(last));
  }
  for (std::size_t f = 0; f < mesh.faceVertices.size(); ++f) {
    bool inside = true;
    std::vector<int> corners;
    for (int v : mesh.faceVertices[f]) {
      inside = inside && static_cast<std::size_t>(v) >= first && static_cast<std::size_t>(v) < last;
      corners.push_back(v - static_cast<int>(first));
    }
    if (inside) {
      part.faceVertices.push_back(corners);
      part.faceUvs.push_back(mesh.faceUvs[f]);
      part.faceMaterials.push_back(mesh.faceMaterials[f]);
    }
  }
  return part;
}

}  // namespace

Mesh firstVertices(const Mesh& mesh, std::size_t count) { return vertexRange(mesh, 0, count); }

Mesh lastVertices(const Mesh& mesh, std::size_t first) {
  return vertexRange(mesh, first, mesh.vertices.size());
}

std::string toObj(const Mesh& mesh, const ObjOptions& options) {
  std::string text;
  const std::string& end = options.lineEnd;
  std::size_t start = 0;
  while (start < options.header.size()) {
    const std::size_t stop = options.header.find('\n', start);
    const std::size_t length = (stop == std::string::npos ? options.header.size() : stop) - start;
    text += "# " + options.header.substr(start, length) + end;
    start += length + 1;
  }
  if (options.half) {
    text += "#HALF" + end;
  }
  char line[160];
  const int d = options.decimals;
  for (const auto& v : mesh.vertices) {
    std::snprintf(line, sizeof line, "v %.*f %.*f %.*f", d, v[0], d, v[1], d, v[2]);
    text += line + end;
  }
  if (options.verticesOnly) {
    return text;
  }
  for (const auto& uv : mesh.uvs) {
    std::snprintf(line, sizeof line, "vt %.6f %.6f", uv[0], uv[1]);
    text += line + end;
  }
  for (const auto& n : mesh.normals) {
    std::snprintf(line, sizeof line, "vn %.6f %.6f %.6f", n[0], n[1], n[2]);
    text += line + end;
  }
  text += "g " + options.group + end;
  text += "s 1" + end;
  std::string material;
  for (std::size_t f = 0; f < mesh.faceVertices.size(); ++f) {
    if (mesh.faceMaterials[f] != material) {
      material = mesh.faceMaterials[f];
      text += "usemtl " + material + end;
    }
    if (options.noFaces) {
      continue;
    }
    const std::vector<int>& vertices = mesh.faceVertices[f];
    // A quad as the triangles (0, 1, 2) and (0, 2, 3).
    std::vector<std::vector<std::size_t>> parts;
    if (options.triangles && vertices.size() == 4) {
      parts = {{0, 1, 2}, {0, 2, 3}};
    } else {
      parts.emplace_back();
      for (std::size_t c = 0; c < vertices.size(); ++c) {
        parts.back().push_back(c);
      }
    }
    for (const auto& corners : parts) {
      text += "f";
      for (std::size_t c : corners) {
        if (options.cornerNormals) {
          std::snprintf(line, sizeof line, " %d/%d/%d", vertices[c] + 1, mesh.faceUvs[f][c] + 1,
                        vertices[c] + 1);
        } else {
          std::snprintf(line, sizeof line, " %d/%d", vertices[c] + 1, mesh.faceUvs[f][c] + 1);
        }
        text += line;
      }
      text += end;
    }
  }
  return text;
}

}  // namespace calveth::meshgen
