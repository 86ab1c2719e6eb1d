// Small meshes for the viewer tests: points and 1-based faces turned into the arrays that
// projectMesh takes, and the outlines it left read back as lists.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "viewer/project_mesh.h"

namespace calveth::testing {

using Outline = std::vector<ScreenPoint>;

struct SmallMesh {
  std::vector<std::array<double, 3>> points;
  std::vector<std::vector<int>> faces;  // vertex numbers from 1, unchecked
};

// Projects the mesh into `screen` with faceStart/faceCornerCount built from the faces.
inline void projectSmallMesh(ScreenData& screen, const SmallMesh& mesh, double angle = 0.0) {
  std::vector<double> x, y, z;
  for (const auto& p : mesh.points) {
    x.push_back(p[0]);
    y.push_back(p[1]);
    z.push_back(p[2]);
  }
  std::vector<int> corners, counts, starts;
  for (const auto& face : mesh.faces) {
    starts.push_back(static_cast<int>(corners.size()));
    counts.push_back(static_cast<int>(face.size()));
    corners.insert(corners.end(), face.begin(), face.end());
  }
  projectMesh(screen, static_cast<int>(x.size()), x.data(), y.data(), z.data(),
              static_cast<int>(starts.size()), corners.data(), counts.data(), starts.data(), angle);
}

inline std::vector<Outline> outlines(const ScreenPoint* points, const int* lengths, int count) {
  std::vector<Outline> result;
  for (int k = 0; k < count; ++k) {
    result.emplace_back(points, points + lengths[k]);
    points += lengths[k];
  }
  return result;
}

inline std::vector<Outline> backOutlines(const ScreenData& screen) {
  return outlines(screen.BackPoints.data(), screen.BackLengths.data(), screen.backPolylineCount);
}

inline std::vector<Outline> frontOutlines(const ScreenData& screen) {
  return outlines(screen.FrontPoints.data(), screen.FrontLengths.data(), screen.frontPolylineCount);
}

}  // namespace calveth::testing
