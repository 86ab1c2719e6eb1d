#include "viewer/paint_viewer.h"

#include <algorithm>
#include <cstdio>

#include "viewer/pixel_position.h"

namespace calveth {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kDarkGrey{64, 64, 64};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kAxisLabelBlue{100, 100, 255};
constexpr Rgb kCyan{0, 255, 255};

constexpr int kThinnest = 0;
constexpr int kOnePixel = 1;
constexpr int kCrossArm = 3;

// The axis line ends above the legend row.
constexpr int kAxisTop = 10;
constexpr int kAxisBottom = 380;

// The legend: 8-point Arial along the bottom, the axis label at the top of the axis line.
constexpr std::string_view kLegendFace = "Arial";
constexpr int kLegendTenthsOfPoint = 80;
constexpr int kLegendRow = 380;
constexpr int kDuplicateLegendX = 0;
constexpr int kUnpairedLegendX = 120;
constexpr int kAutoLegendX = 260;
// The trailing blanks widen each coloured box.
constexpr const char* kDuplicateLegend = "+ DUPLICATE : %05d     ";
constexpr const char* kUnpairedLegend = "+ NOT SYMMETRY : %05d     ";
constexpr const char* kAutoLegend = "+ AUTO DETECTION : %05d     ";
// Pairs made by the mesh get their own colour and a legend line above the others, drawn only
// when there are such pairs, so that a base analysed without that stage looks as before.
constexpr const char* kMeshLegend = "+ MESH PAIRING : %05d     ";
constexpr int kMeshLegendRow = 367;
constexpr std::string_view kAllGreenBanner =
    "                         BASE OBJECT IS *ALL GREEN*                       ";

struct Pens {
  PenHandle darkGrey;
  PenHandle grey;
  PenHandle red;
  PenHandle yellowDotted;
  PenHandle green;
};

void cross(Canvas& canvas, int x, int y) {
  canvas.moveTo(x - kCrossArm, y);
  canvas.lineTo(x + kCrossArm, y);
  canvas.moveTo(x, y + kCrossArm);
  canvas.lineTo(x, y - kCrossArm);
}

// Draws a cross at every vertex that `marked` picks and returns how many there were.
template <typename Marked>
int crosses(Canvas& canvas, const ScreenData& screen, int count, Marked marked) {
  int found = 0;
  for (int i = 0; i < count; ++i) {
    if (marked(i)) {
      ++found;
      cross(canvas, pixelOf(screen.ViewX[i]), pixelOf(screen.ViewY[i]));
    }
  }
  return found;
}

void legendText(Canvas& canvas, Rgb background, int x, const char* format, int count,
                int row = kLegendRow) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, format, count);
  canvas.setBackgroundColor(background);
  canvas.textOut(x, row, std::string_view(text, static_cast<std::size_t>(length)));
}

}  // namespace

void paintViewer(const ScreenData& screen, const MeshStore& store, Canvas* surface,
                 bool marksMoved) {
  if (surface == nullptr) {
    return;
  }
  Canvas& canvas = *surface;
  const int vertexCount = screen.viewVertexCount;
  // The mirror map and the displacements hold one entry per stored vertex at most.
  const int markedCount = std::min(vertexCount, static_cast<int>(kVertexCapacity));

  canvas.beginPaint();
  canvas.fillBlack(canvas.clientSize());

  const Pens pens{canvas.createPen(PenStyle::Solid, kOnePixel, kDarkGrey),
                  canvas.createPen(PenStyle::Solid, kOnePixel, kGrey),
                  canvas.createPen(PenStyle::Solid, kOnePixel, kRed),
                  canvas.createPen(PenStyle::Dotted, kThinnest, kYellow),
                  canvas.createPen(PenStyle::Solid, kOnePixel, kGreen)};

  // Far side first and darker, so the near side is drawn over it.
  const PenHandle surfacePen = canvas.selectPen(pens.darkGrey);
  canvas.polyPolyline(screen.BackPoints.data(), screen.BackLengths.data(),
                      screen.backPolylineCount);

  canvas.selectPen(pens.grey);
  const ScreenPoint* outline = screen.FrontPoints.data();
  for (int k = 0; k < screen.frontPolylineCount; ++k) {
    canvas.polyline(outline, screen.FrontLengths[k]);
    outline += screen.FrontLengths[k];
  }

  for (int i = 0; i < vertexCount; ++i) {
    canvas.setPixel(pixelOf(screen.ViewX[i]), pixelOf(screen.ViewY[i]), kGreen);
  }

  const auto byMesh = [&](int i) { return store.MeshPairedFlags[i] == 1; };
  const int meshPaired = static_cast<int>(std::count_if(store.MeshPairedFlags.begin(),
                                                        store.MeshPairedFlags.begin() + markedCount,
                                                        [](int flag) { return flag == 1; }));

  // A vertex paired with vertex 0 reads 0 here like an unpaired one, so it gets no cross.
  canvas.selectPen(pens.green);
  const int autoPaired = crosses(canvas, screen, markedCount,
                                 [&](int i) { return store.AutoPartner[i] != 0 && !byMesh(i); });
  const PenHandle meshPen =
      meshPaired > 0 ? canvas.createPen(PenStyle::Solid, kOnePixel, kCyan) : PenHandle{};
  if (meshPaired > 0) {
    canvas.selectPen(meshPen);
    crosses(canvas, screen, markedCount, byMesh);
  }
  canvas.selectPen(pens.red);
  const int unpaired =
      crosses(canvas, screen, markedCount, [&](int i) { return store.MirrorMap[i] == kNoPartner; });
  canvas.selectPen(pens.yellowDotted);
  const int duplicates = crosses(canvas, screen, markedCount,
                                 [&](int i) { return store.MirrorMap[i] == kDuplicatePartner; });

  canvas.moveTo(screen.axisX, kAxisTop);
  canvas.lineTo(screen.axisX, kAxisBottom);

  canvas.setTextColor(kBlack);
  const FontHandle legendFont = canvas.createFont(kLegendFace, kLegendTenthsOfPoint);
  const FontHandle surfaceFont = canvas.selectFont(legendFont);
  canvas.setBackgroundColor(kAxisLabelBlue);
  canvas.textOut(screen.axisX, 0, "Y-axis");
  legendText(canvas, kYellow, kDuplicateLegendX, kDuplicateLegend, duplicates);
  legendText(canvas, kRed, kUnpairedLegendX, kUnpairedLegend, unpaired);
  legendText(canvas, kGreen, kAutoLegendX, kAutoLegend, autoPaired);
  if (meshPaired > 0) {
    legendText(canvas, kCyan, kDuplicateLegendX, kMeshLegend, meshPaired, kMeshLegendRow);
  }
  // Large bases never get the banner, whatever their symmetry.
  if (unpaired + duplicates == 0 && store.baseVertexCount > 0 &&
      store.baseVertexCount < kAllGreenVertexLimit) {
    canvas.setBackgroundColor(kGreen);
    canvas.textOut(kDuplicateLegendX, kLegendRow, kAllGreenBanner);
  }
  canvas.selectFont(surfaceFont);
  canvas.releaseFont(legendFont);

  // Last, so that a moved vertex shows even under a cross.
  for (int i = 0; marksMoved && i < markedCount; ++i) {
    if (store.DeltaX[i] != 0.0 || store.DeltaY[i] != 0.0 || store.DeltaZ[i] != 0.0) {
      canvas.setPixel(pixelOf(screen.ViewX[i]), pixelOf(screen.ViewY[i]), kYellow);
    }
  }

  canvas.selectPen(surfacePen);
  for (PenHandle pen : {pens.darkGrey, pens.grey, pens.red, pens.yellowDotted, pens.green}) {
    canvas.releasePen(pen);
  }
  if (meshPaired > 0) {
    canvas.releasePen(meshPen);
  }
  canvas.endPaint();
}

}  // namespace calveth
