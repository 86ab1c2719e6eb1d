// The projection: turn, facing, fit into the 400-pixel square, outlines and the axis line.
#include "viewer/project_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <ostream>
#include <string>

#include "support/screen_mesh.h"

namespace calveth {

// Readable failure messages for outlines.
void PrintTo(const ScreenPoint& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }

namespace {

using testing::backOutlines;
using testing::frontOutlines;
using testing::Outline;
using testing::projectSmallMesh;
using testing::SmallMesh;

const SmallMesh kTriangle{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}}};

struct ProjectionCase {
  const char* name;
  SmallMesh mesh;
  double angle;
  std::vector<Outline> back;
  std::vector<Outline> front;
  int axisX;
};

void PrintTo(const ProjectionCase& c, std::ostream* os) { *os << c.name; }

class ProjectionTable : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(ProjectionTable, GivesTheOutlinesAndTheAxis) {
  const ProjectionCase& c = GetParam();
  auto screen = std::make_unique<ScreenData>();
  projectSmallMesh(*screen, c.mesh, c.angle);
  EXPECT_EQ(screen->viewVertexCount, static_cast<int>(c.mesh.points.size()));
  EXPECT_EQ(backOutlines(*screen), c.back);
  EXPECT_EQ(frontOutlines(*screen), c.front);
  EXPECT_EQ(screen->axisX, c.axisX);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, ProjectionTable,
    ::testing::Values(
        // counter-clockwise as seen from +Z: turned towards the viewer
        ProjectionCase{
            "triangle", kTriangle, 0.0, {}, {{{26, 373}, {373, 373}, {26, 26}, {26, 373}}}, 26},
        ProjectionCase{"triangle_reversed",
                       {kTriangle.points, {{1, 3, 2}}},
                       0.0,
                       {{{26, 373}, {26, 26}, {373, 373}, {26, 373}}},
                       {},
                       26},
        // seen from behind, the same triangle turns away and the axis moves to its right edge
        ProjectionCase{"triangle_turned_half_round",
                       kTriangle,
                       std::numbers::pi,
                       {{{373, 373}, {26, 373}, {373, 26}, {373, 373}}},
                       {},
                       373},
        // the facing value of the first three corners is 0: front
        ProjectionCase{"first_corners_in_a_line",
                       {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 1, 0}}, {{1, 2, 3, 4}}},
                       0.0,
                       {},
                       {{{26, 286}, {200, 286}, {373, 286}, {200, 113}, {26, 286}}},
                       26},
        ProjectionCase{"symmetric_quad",
                       {{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{1, 2, 3, 4}}},
                       0.0,
                       {},
                       {{{26, 373}, {373, 373}, {373, 26}, {26, 26}, {26, 373}}},
                       200},
        // each list keeps face order
        ProjectionCase{"mixed_faces",
                       {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
                        {{1, 2, 3}, {2, 4, 3}, {1, 3, 2}, {3, 4, 2}}},
                       0.0,
                       {{{26, 373}, {26, 26}, {373, 373}, {26, 373}},
                        {{26, 26}, {373, 26}, {373, 373}, {26, 26}}},
                       {{{26, 373}, {373, 373}, {26, 26}, {26, 373}},
                        {{373, 373}, {373, 26}, {26, 26}, {373, 373}}},
                       26},
        // the axis at 8.69 is truncated to 8 and kept at 10
        ProjectionCase{"axis_left_of_the_square",
                       {{{5, 0, 0}, {6, 0, 0}, {5, 10, 0}}, {{1, 2, 3}}},
                       0.0,
                       {},
                       {{{182, 373}, {217, 373}, {182, 26}, {182, 373}}},
                       10},
        ProjectionCase{"axis_right_of_the_square",
                       {{{-6, 0, 0}, {-5, 0, 0}, {-6, 10, 0}}, {{1, 2, 3}}},
                       0.0,
                       {},
                       {{{182, 373}, {217, 373}, {182, 26}, {182, 373}}},
                       390},
        // dividing first would give 40 for the second corner's x
        ProjectionCase{"multiply_by_400_before_dividing",
                       {{{5.0, -0.75, 0}, {-1.0, 5.0, 0}, {-1.25, -1.25, 0}}, {{1, 2, 3}}},
                       0.0,
                       {},
                       {{{373, 346}, {39, 26}, {26, 373}, {373, 346}}},
                       95},
        // beyond 999999986991104 the running minimum keeps its single-precision start; the
        // axis lies billions of pixels away to the left
        ProjectionCase{"model_beyond_the_starting_extremes",
                       {{{999999990000000, 0, 0}, {999999995000000, 0, 0}, {999999990000000, 1, 0}},
                        {{1, 2, 3}}},
                       0.0,
                       {},
                       {{{156, 200}, {373, 200}, {156, 199}, {156, 200}}},
                       10},
        ProjectionCase{"no_vertices", {{}, {}}, 0.0, {}, {}, 200},
        // a face whose corners name no vertex of this projection is left out, the rest stays
        ProjectionCase{"faces_with_corners_outside_the_vertex_set",
                       {kTriangle.points, {{1, 2, 4}, {0, 1, 2}, {-1, 1, 2}, {1, 2, 3}, {3, 2}}},
                       0.0,
                       {},
                       {{{26, 373}, {373, 373}, {26, 26}, {26, 373}}},
                       26},
        ProjectionCase{"faces_without_vertices", {{}, {{1, 2, 3}}}, 0.0, {}, {}, 200},
        // no extent to fit: everything at the centre
        ProjectionCase{"one_vertex",
                       {{{3, 4, 5}}, {{1, 1, 1}}},
                       0.0,
                       {},
                       {{{200, 200}, {200, 200}, {200, 200}, {200, 200}}},
                       200},
        ProjectionCase{"all_vertices_on_one_point",
                       {{{-7, 1, 2}, {-7, 1, 2}, {-7, 1, 2}}, {{1, 2, 3}}},
                       0.0,
                       {},
                       {{{200, 200}, {200, 200}, {200, 200}, {200, 200}}},
                       200},
        // extents too large to scale in finite numbers are treated like no extent
        ProjectionCase{"extent_beyond_double_range",
                       {{{-1e308, 0, 0}, {1e308, 0, 0}, {0, 1, 0}}, {{1, 2, 3}}},
                       0.0,
                       {},
                       {{{200, 200}, {200, 200}, {200, 200}, {200, 200}}},
                       200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectMesh, WorkedTriangleExample) {
  auto screen = std::make_unique<ScreenData>();
  projectSmallMesh(*screen, kTriangle);
  const double low = 26.086956521739125;  // (400 - 400 / 1.15) / 2
  const double high = 373.9130434782609;
  EXPECT_DOUBLE_EQ(screen->ViewX[0], low);
  EXPECT_DOUBLE_EQ(screen->ViewY[0], high);
  EXPECT_DOUBLE_EQ(screen->ViewX[1], high);
  EXPECT_DOUBLE_EQ(screen->ViewY[1], high);
  EXPECT_DOUBLE_EQ(screen->ViewX[2], low);
  EXPECT_DOUBLE_EQ(screen->ViewY[2], low);
  EXPECT_EQ(screen->FaceFacing[0], 1.0);
}

TEST(ProjectMesh, FacingIsTwiceTheSignedAreaOfTheFirstThreeCorners) {
  auto screen = std::make_unique<ScreenData>();
  projectSmallMesh(*screen, {{{0, 0, 0}, {2, 0, 0}, {0, 3, 0}, {-5, 9, 0}},
                             {{1, 2, 3}, {1, 3, 2}, {1, 2, 3, 4}, {1, 2, 5}}});
  EXPECT_EQ(screen->FaceFacing[0], 6.0);
  EXPECT_EQ(screen->FaceFacing[1], -6.0);
  EXPECT_EQ(screen->FaceFacing[2], 6.0);  // the fourth corner does not count
  EXPECT_EQ(screen->FaceFacing[3], 0.0);  // left out: corner 5 names no vertex
}

TEST(ProjectMesh, TurnUsesZ) {
  // A quarter turn shows the model's depth across the screen.
  auto screen = std::make_unique<ScreenData>();
  projectSmallMesh(*screen, {{{0, 0, 0}, {0, 0, 1}, {0, 1, 0}}, {{1, 2, 3}}}, std::numbers::pi / 2);
  EXPECT_EQ(frontOutlines(*screen),
            (std::vector<Outline>{{{26, 373}, {373, 373}, {26, 26}, {26, 373}}}));
}

TEST(ProjectMesh, StartsWithTheAxisInTheMiddleAndReplacesEverything) {
  auto screen = std::make_unique<ScreenData>();
  EXPECT_EQ(screen->axisX, 200);
  EXPECT_EQ(screen->viewVertexCount, 0);
  projectSmallMesh(*screen, {kTriangle.points, {{1, 2, 3}, {1, 3, 2}, {1, 2, 3}}});
  projectSmallMesh(*screen, {{{5, 0, 0}, {6, 0, 0}, {5, 10, 0}}, {{1, 3, 2}}});
  EXPECT_EQ(screen->frontPolylineCount, 0);
  EXPECT_EQ(backOutlines(*screen),
            (std::vector<Outline>{{{182, 373}, {182, 26}, {217, 373}, {182, 373}}}));
  EXPECT_EQ(screen->axisX, 10);
  projectSmallMesh(*screen, {{}, {}});
  EXPECT_EQ(screen->viewVertexCount, 0);
  EXPECT_EQ(screen->backPolylineCount, 0);
  EXPECT_EQ(screen->axisX, 200);
}

TEST(ProjectMesh, FaceOutsideTheCornerTableIsLeftOut) {
  auto store = std::make_unique<MeshStore>();
  store->BaseX[1] = 1.0;
  store->BaseY[2] = 1.0;
  store->CornerVertex[0] = 1;
  store->CornerVertex[1] = 2;
  store->CornerVertex[2] = 3;
  store->FaceCornerCount[0] = 3;
  store->FaceStart[1] = static_cast<int>(kCornerCapacity) - 2;  // runs past the table's end
  store->FaceCornerCount[1] = 3;
  store->FaceStart[2] = -1;
  store->FaceCornerCount[2] = 3;
  auto screen = std::make_unique<ScreenData>();
  projectMesh(*screen, 3, store->BaseX.data(), store->BaseY.data(), store->BaseZ.data(), 3,
              store->CornerVertex.data(), store->FaceCornerCount.data(), store->FaceStart.data(),
              0.0);
  EXPECT_EQ(frontOutlines(*screen),
            (std::vector<Outline>{{{26, 373}, {373, 373}, {26, 26}, {26, 373}}}));
  EXPECT_EQ(screen->backPolylineCount, 0);
}

}  // namespace
}  // namespace calveth
