// The painter: the exact drawing calls for the pictures the viewer shows, and the legend.
#include "viewer/paint_viewer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/recording_canvas.h"
#include "support/screen_mesh.h"
#include "viewer/wire_viewer.h"

namespace calveth {
namespace {

using testing::projectSmallMesh;
using testing::RecordingCanvas;
using Calls = std::vector<std::string>;

const Calls kToolsMade = {
    "begin",
    "fillBlack 408x389",
    "createPen solid 1 64,64,64 = pen1",
    "createPen solid 1 128,128,128 = pen2",
    "createPen solid 1 255,0,0 = pen3",
    "createPen dotted 0 255,255,0 = pen4",
    "createPen solid 1 0,255,0 = pen5",
    "selectPen pen1 (was pen0)",
};

const Calls kToolsReleased = {
    "selectPen pen0 (was pen4)",
    "releasePen pen1",
    "releasePen pen2",
    "releasePen pen3",
    "releasePen pen4",
    "releasePen pen5",
    "end",
};

Calls legend(int axisX, const char* duplicates, const char* unpaired, const char* autoPaired) {
  const std::string d = duplicates, u = unpaired, a = autoPaired;
  return {"textColor 0,0,0",
          "createFont Arial 80 (10px) = font1",
          "selectFont font1 (was font0)",
          "bkColor 100,100,255",
          "text " + std::to_string(axisX) + ",0 \"Y-axis\"",
          "bkColor 255,255,0",
          "text 0,380 \"+ DUPLICATE : " + d + "     \"",
          "bkColor 255,0,0",
          "text 120,380 \"+ NOT SYMMETRY : " + u + "     \"",
          "bkColor 0,255,0",
          "text 260,380 \"+ AUTO DETECTION : " + a + "     \""};
}

const Calls kFontReleased = {"selectFont font0 (was font1)", "releaseFont font1"};

Calls joined(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

TEST(PaintViewer, EmptyPictureBeforeAnyBase) {
  auto store = std::make_unique<MeshStore>();
  WireViewer viewer(*store);
  RecordingCanvas canvas;
  viewer.open(canvas);
  EXPECT_EQ(canvas.calls(),
            joined({kToolsMade,
                    {"polyPolyline 0", "selectPen pen2 (was pen1)", "selectPen pen5 (was pen2)",
                     "selectPen pen3 (was pen5)", "selectPen pen4 (was pen3)", "moveTo 200,10",
                     "lineTo 200,380"},
                    legend(200, "00000", "00000", "00000"),
                    kFontReleased,
                    kToolsReleased}));
  EXPECT_EQ(canvas.toolsHeld(), 0);
}

// A triangle seen from both sides: vertex 0 and vertex 2 were paired by auto detection, so
// vertex 2's entry reads 0 and only vertex 0 gets a green cross; vertex 1 has no partner and
// the MT moves it, so its red cross gets a yellow centre.
TEST(PaintViewer, TriangleWithMarkers) {
  auto store = std::make_unique<MeshStore>();
  store->baseVertexCount = 3;
  store->MirrorMap[0] = 2;
  store->MirrorMap[1] = kNoPartner;
  store->MirrorMap[2] = 0;
  store->AutoPartner[0] = 2;
  store->AutoPartner[2] = 0;
  store->DeltaZ[1] = 0.5;
  auto screen = std::make_unique<ScreenData>();
  projectSmallMesh(*screen, {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}, {1, 3, 2}}});
  RecordingCanvas canvas;
  paintViewer(*screen, *store, &canvas);
  EXPECT_EQ(
      canvas.calls(),
      joined({kToolsMade,
              {"polyPolyline 1 [(26,373) (26,26) (373,373) (26,373)]", "selectPen pen2 (was pen1)",
               "polyline (26,373) (373,373) (26,26) (26,373)", "pixel 26,373 0,255,0",
               "pixel 373,373 0,255,0", "pixel 26,26 0,255,0", "selectPen pen5 (was pen2)",
               "moveTo 23,373", "lineTo 29,373", "moveTo 26,376", "lineTo 26,370",
               "selectPen pen3 (was pen5)", "moveTo 370,373", "lineTo 376,373", "moveTo 373,376",
               "lineTo 373,370", "selectPen pen4 (was pen3)", "moveTo 26,10", "lineTo 26,380"},
              legend(26, "00000", "00001", "00001"),
              kFontReleased,
              {"pixel 373,373 255,255,0"},
              kToolsReleased}));
}

TEST(PaintViewer, FillsTheWholeSurfaceItIsGiven) {
  auto store = std::make_unique<MeshStore>();
  auto screen = std::make_unique<ScreenData>();
  RecordingCanvas canvas(300, 200, 120);
  paintViewer(*screen, *store, &canvas);
  EXPECT_EQ(canvas.calls("fillBlack"), Calls{"fillBlack 300x200"});
  // 8 points at 120 dots per inch
  EXPECT_EQ(canvas.calls("createFont"), Calls{"createFont Arial 80 (13px) = font1"});
}

TEST(PaintViewer, NothingWithoutASurface) {
  auto store = std::make_unique<MeshStore>();
  auto screen = std::make_unique<ScreenData>();
  paintViewer(*screen, *store, nullptr);  // must neither crash nor draw anywhere
  WireViewer viewer(*store);
  RecordingCanvas canvas;
  viewer.open(canvas);
  const std::size_t afterOpening = canvas.callCount();
  viewer.close();
  const double x[] = {0, 1, 0};
  const double yz[] = {0, 0, 1};
  const int corners[] = {1, 2, 3};
  const int count[] = {3};
  const int start[] = {0};
  viewer.refresh({x, yz, yz, 3, 1, corners, count, start, 0.0});
  EXPECT_EQ(canvas.callCount(), afterOpening);
  EXPECT_EQ(viewer.screen().frontPolylineCount + viewer.screen().backPolylineCount, 1);
  // Opening again paints the projection made while closed.
  viewer.open(canvas);
  EXPECT_EQ(canvas.calls("pixel").size(), 3u);
}

struct LegendCase {
  const char* name;
  int shown;           // viewVertexCount
  std::uint32_t base;  // baseVertexCount
  std::function<void(MeshStore&)> mark;
  const char* duplicates;
  const char* unpaired;
  const char* autoPaired;
  bool banner;
};

void PrintTo(const LegendCase& c, std::ostream* os) { *os << c.name; }

void pairAll(MeshStore& store) {
  for (std::size_t i = 0; i < kVertexCapacity; ++i) {
    store.MirrorMap[i] = static_cast<int>(i);
  }
}

class LegendTable : public ::testing::TestWithParam<LegendCase> {};

TEST_P(LegendTable, CountsTheMarkedVertices) {
  const LegendCase& c = GetParam();
  auto store = std::make_unique<MeshStore>();
  pairAll(*store);
  store->baseVertexCount = c.base;
  c.mark(*store);
  auto screen = std::make_unique<ScreenData>();
  screen->viewVertexCount = c.shown;
  RecordingCanvas canvas;
  paintViewer(*screen, *store, &canvas);

  // a screen that no projection has touched keeps the axis at 200
  Calls texts = {"text 200,0 \"Y-axis\"",
                 std::string("text 0,380 \"+ DUPLICATE : ") + c.duplicates + "     \"",
                 std::string("text 120,380 \"+ NOT SYMMETRY : ") + c.unpaired + "     \"",
                 std::string("text 260,380 \"+ AUTO DETECTION : ") + c.autoPaired + "     \""};
  if (c.banner) {
    texts.push_back(
        "text 0,380 \"                         BASE OBJECT IS *ALL GREEN*                       "
        "\"");
  }
  EXPECT_EQ(canvas.calls("text "), texts);
  const auto crossLines = std::stoi(c.duplicates) + std::stoi(c.unpaired) + std::stoi(c.autoPaired);
  EXPECT_EQ(canvas.calls("lineTo").size(), static_cast<std::size_t>(2 * crossLines + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Bases, LegendTable,
    ::testing::Values(
        LegendCase{"symmetric_14999", 14999, 14999, [](MeshStore&) {}, "00000", "00000", "00000",
                   true},
        // a base of 15000 vertices or more never gets the banner
        LegendCase{"symmetric_15000", 15000, 15000, [](MeshStore&) {}, "00000", "00000", "00000",
                   false},
        LegendCase{"three_unpaired_two_duplicates", 10, 10,
                   [](MeshStore& s) {
                     s.MirrorMap[1] = s.MirrorMap[4] = s.MirrorMap[9] = kNoPartner;
                     s.MirrorMap[2] = s.MirrorMap[3] = kDuplicatePartner;
                   },
                   "00002", "00003", "00000", false},
        // pairs found by tolerance still leave the base all green
        LegendCase{"auto_pairs_only", 10, 10,
                   [](MeshStore& s) {
                     s.AutoPartner[3] = 7;
                     s.AutoPartner[7] = 3;
                   },
                   "00000", "00000", "00002", true},
        LegendCase{"no_base_loaded", 4, 0, [](MeshStore&) {}, "00000", "00000", "00000", false},
        // only the vertices shown count, whatever the map holds beyond them
        LegendCase{"counts_follow_the_vertices_shown", 3, 10,
                   [](MeshStore& s) {
                     s.MirrorMap[2] = kNoPartner;
                     s.MirrorMap[3] = kNoPartner;
                     s.MirrorMap[4] = kDuplicatePartner;
                     s.AutoPartner[5] = 6;
                   },
                   "00000", "00001", "00000", false},
        // the map holds no entries beyond its capacity, however many vertices are shown
        LegendCase{"more_shown_than_the_map_holds", 100002, 40000,
                   [](MeshStore& s) {
                     for (std::size_t i = 0; i < kVertexCapacity; ++i) {
                       s.MirrorMap[i] = kNoPartner;
                     }
                   },
                   "00000", "40002", "00000", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PaintViewer, MovedVerticesAreYellowWhicheverAxisMoved) {
  auto store = std::make_unique<MeshStore>();
  store->DeltaX[1] = -0.25;
  store->DeltaY[2] = 1e-300;
  store->DeltaZ[3] = 2.0;
  store->DeltaX[4] = -0.0;  // minus zero is no movement
  auto screen = std::make_unique<ScreenData>();
  screen->viewVertexCount = 5;
  for (int i = 0; i < 5; ++i) {
    screen->ViewX[i] = 10.0 * i + 0.9;
    screen->ViewY[i] = 7.99;
  }
  RecordingCanvas canvas;
  paintViewer(*screen, *store, &canvas);
  EXPECT_EQ(canvas.calls("pixel"),
            (Calls{"pixel 0,7 0,255,0", "pixel 10,7 0,255,0", "pixel 20,7 0,255,0",
                   "pixel 30,7 0,255,0", "pixel 40,7 0,255,0", "pixel 10,7 255,255,0",
                   "pixel 20,7 255,255,0", "pixel 30,7 255,255,0"}));
}

}  // namespace
}  // namespace calveth
