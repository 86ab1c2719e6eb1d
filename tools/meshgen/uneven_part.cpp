#include "meshgen/uneven_part.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace calveth::meshgen {
namespace {

// splitmix64: the same numbers on every platform and standard library.
class Numbers {
 public:
  explicit Numbers(std::uint64_t seed) : state_(seed) {}
  double unit() {  // [0, 1)
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  std::uint64_t state_;
};

// Each vertex's normal from the faces around it (the sum of their Newell normals), as
// sculpting pushes a vertex in or out; the meshes' own normals are lighting normals.
std::vector<std::array<double, 3>> faceNormals(const Mesh& mesh) {
  std::vector<std::array<double, 3>> normals(mesh.vertices.size(), {0.0, 0.0, 0.0});
  for (const auto& face : mesh.faceVertices) {
    std::array<double, 3> n{0.0, 0.0, 0.0};
    for (std::size_t k = 0; k < face.size(); ++k) {
      const auto& a = mesh.vertices[static_cast<std::size_t>(face[k])];
      const auto& b = mesh.vertices[static_cast<std::size_t>(face[(k + 1) % face.size()])];
      n[0] += (a[1] - b[1]) * (a[2] + b[2]);
      n[1] += (a[2] - b[2]) * (a[0] + b[0]);
      n[2] += (a[0] - b[0]) * (a[1] + b[1]);
    }
    for (int c : face) {
      for (int axis = 0; axis < 3; ++axis) {
        normals[static_cast<std::size_t>(c)][static_cast<std::size_t>(axis)] +=
            n[static_cast<std::size_t>(axis)];
      }
    }
  }
  return normals;
}

std::vector<int> exactPartners(const Mesh& mesh) {
  std::map<std::array<double, 3>, int> at;
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    at[mesh.vertices[i]] = static_cast<int>(i);
  }
  std::vector<int> partner(mesh.vertices.size(), -1);
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    auto p = mesh.vertices[i];
    p[0] = -p[0] + 0.0;
    const auto found = at.find(p);
    partner[i] = found == at.end() ? -1 : found->second;
  }
  return partner;
}

// Gives the faces around `v` whose centre lies above v (in Y) to a new copy of v at the
// same point; `faces` are the face indices around v. The centres are those of the symmetric
// mesh, so that a vertex and its mirror image split alike.
int splitVertex(Mesh& mesh, const Mesh& symmetric, int v, const std::vector<int>& faces) {
  const int copy = static_cast<int>(mesh.vertices.size());
  mesh.vertices.push_back(mesh.vertices[static_cast<std::size_t>(v)]);
  if (mesh.normals.size() + 1 == mesh.vertices.size()) {
    mesh.normals.push_back(mesh.normals[static_cast<std::size_t>(v)]);
  }
  const double y = mesh.vertices[static_cast<std::size_t>(v)][1];
  for (int f : faces) {
    auto& corners = mesh.faceVertices[static_cast<std::size_t>(f)];
    double centre = 0.0;
    for (int c : corners) {
      const auto& points =
          c < static_cast<int>(symmetric.vertices.size()) ? symmetric.vertices : mesh.vertices;
      centre += points[static_cast<std::size_t>(c)][1];
    }
    if (centre / static_cast<double>(corners.size()) > y) {
      for (int& c : corners) {
        c = c == v ? copy : c;
      }
    }
  }
  return copy;
}

}  // namespace

UnevenBase unevenBase(const Mesh& symmetric, const UnevenOptions& options) {
  UnevenBase base;
  base.mesh = symmetric;
  base.truePartner = exactPartners(symmetric);
  auto& vertices = base.mesh.vertices;
  const int count = static_cast<int>(vertices.size());

  std::vector<std::vector<int>> facesAround(static_cast<std::size_t>(count));
  for (std::size_t f = 0; f < base.mesh.faceVertices.size(); ++f) {
    for (int c : base.mesh.faceVertices[f]) {
      facesAround[static_cast<std::size_t>(c)].push_back(static_cast<int>(f));
    }
  }

  const auto normals = faceNormals(symmetric);
  Numbers numbers(options.seed);
  std::vector<bool> moved(static_cast<std::size_t>(count), false);
  std::vector<int> unmovedLeft;
  for (int i = 0; i < count; ++i) {
    auto& p = vertices[static_cast<std::size_t>(i)];
    if (p[0] <= 0.0) {
      continue;
    }
    if (numbers.unit() >= options.movedShare) {
      unmovedLeft.push_back(i);
      continue;
    }
    // Along the normal, in or out, or a direction uniform on the sphere, by rejection from
    // the cube.
    double d[3];
    double length = 0.0;
    const auto& normal = normals[static_cast<std::size_t>(i)];
    const bool normalKnown = normal[0] != 0.0 || normal[1] != 0.0 || normal[2] != 0.0;
    if (options.alongNormal && normalKnown) {
      const double sign = numbers.unit() < 0.5 ? -1.0 : 1.0;
      for (int axis = 0; axis < 3; ++axis) {
        d[axis] = sign * normal[static_cast<std::size_t>(axis)];
      }
      length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    } else {
      do {
        for (double& c : d) {
          c = 2.0 * numbers.unit() - 1.0;
        }
        length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
      } while (length > 1.0 || length < 0.1);
    }
    const double distance =
        options.shortestMove + (options.longestMove - options.shortestMove) * numbers.unit();
    for (int axis = 0; axis < 3; ++axis) {
      p[static_cast<std::size_t>(axis)] += d[axis] / length * distance;
    }
    moved[static_cast<std::size_t>(i)] = true;
    ++base.moved;
  }

  // Split vertices spread evenly over the unmoved left ones, each with its mirror image.
  const int splits = std::min<int>(options.splitVertices, static_cast<int>(unmovedLeft.size()));
  for (int k = 0; k < splits; ++k) {
    const int v = unmovedLeft[unmovedLeft.size() * static_cast<std::size_t>(2 * k + 1) /
                              static_cast<std::size_t>(2 * splits)];
    const int p = base.truePartner[static_cast<std::size_t>(v)];
    if (p < 0 || p == v) {
      continue;
    }
    const int copyOfV =
        splitVertex(base.mesh, symmetric, v, facesAround[static_cast<std::size_t>(v)]);
    const int copyOfP =
        splitVertex(base.mesh, symmetric, p, facesAround[static_cast<std::size_t>(p)]);
    base.truePartner.push_back(copyOfP);
    base.truePartner.push_back(copyOfV);
  }
  return base;
}

}  // namespace calveth::meshgen
