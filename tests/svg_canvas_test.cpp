// SVG pictures: the elements each drawing call becomes, and a whole painting.
#include "viewer/svg_canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "support/screen_mesh.h"
#include "viewer/paint_viewer.h"

namespace calveth {
namespace {

using testing::projectSmallMesh;

constexpr Rgb kYellow{255, 255, 0};

struct SvgCase {
  const char* name;
  std::function<void(Canvas&)> draw;
  std::string body;  // everything between the <svg> element's start and end tags
};

void PrintTo(const SvgCase& c, std::ostream* os) { *os << c.name; }

std::string bodyOf(const std::string& document) {
  const std::size_t start = document.find(">\n", document.find("<svg")) + 2;
  const std::size_t end = document.rfind("</svg>");
  return document.substr(start, end - start);
}

class SvgElements : public ::testing::TestWithParam<SvgCase> {};

TEST_P(SvgElements, DrawCallBecomesElements) {
  SvgCanvas canvas(40, 30, 96);
  canvas.beginPaint();
  GetParam().draw(canvas);
  canvas.endPaint();
  EXPECT_EQ(bodyOf(canvas.document()), GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SvgElements,
    ::testing::Values(
        SvgCase{"fill", [](Canvas& c) { c.fillBlack(c.clientSize()); },
                "<rect x=\"0\" y=\"0\" width=\"40\" height=\"30\" fill=\"#000000\"/>\n"},
        SvgCase{"pixel",
                [](Canvas& c) {
                  c.setPixel(3, 4, Rgb{0, 255, 16});
                },
                "<rect x=\"3\" y=\"4\" width=\"1\" height=\"1\" fill=\"#00ff10\"/>\n"},
        // integer points on pixel centres; consecutive strokes share one group
        SvgCase{"outlines",
                [](Canvas& c) {
                  c.selectPen(c.createPen(PenStyle::Solid, 1, Rgb{64, 64, 64}));
                  const ScreenPoint points[] = {{1, 2}, {5, 2}, {1, 6}, {1, 2}, {7, 7}, {9, 9}};
                  const int counts[] = {4, 2};
                  c.polyPolyline(points, counts, 2);
                  c.polyline(points + 4, 2);
                },
                "<g fill=\"none\" transform=\"translate(0.5 0.5)\">\n"
                "<polyline stroke-linecap=\"square\" points=\"1,2 5,2 1,6 1,2\" "
                "stroke=\"#404040\"/>\n"
                "<polyline stroke-linecap=\"square\" points=\"7,7 9,9\" stroke=\"#404040\"/>\n"
                "<polyline stroke-linecap=\"square\" points=\"7,7 9,9\" stroke=\"#404040\"/>\n"
                "</g>\n"},
        // the end point is left out in either direction: pixels 2..7, then 10 down to 5
        SvgCase{"lines_leave_out_their_end",
                [](Canvas& c) {
                  c.moveTo(2, 3);
                  c.lineTo(8, 3);
                  c.moveTo(4, 10);
                  c.lineTo(4, 4);
                  c.lineTo(4, 4);  // no length, nothing drawn
                },
                "<g fill=\"none\" transform=\"translate(0.5 0.5)\">\n"
                "<line x1=\"1.5\" y1=\"3\" x2=\"7.5\" y2=\"3\" stroke=\"#000000\"/>\n"
                "<line x1=\"4\" y1=\"10.5\" x2=\"4\" y2=\"4.5\" stroke=\"#000000\"/>\n"
                "</g>\n"},
        // the gaps show the background colour, white until one is set
        SvgCase{"dotted_line",
                [](Canvas& c) {
                  c.selectPen(c.createPen(PenStyle::Dotted, 0, kYellow));
                  c.moveTo(20, 10);
                  c.lineTo(20, 25);
                  c.setBackgroundColor(Rgb{1, 2, 3});
                  c.lineTo(21, 26);
                },
                "<g fill=\"none\" transform=\"translate(0.5 0.5)\">\n"
                "<line x1=\"20\" y1=\"9.5\" x2=\"20\" y2=\"24.5\" stroke=\"#ffffff\"/>\n"
                "<line x1=\"20\" y1=\"9.5\" x2=\"20\" y2=\"24.5\" stroke=\"#ffff00\" "
                "stroke-dasharray=\"3\"/>\n"
                "<line x1=\"20\" y1=\"25\" x2=\"21\" y2=\"26\" stroke=\"#010203\"/>\n"
                "<line x1=\"20\" y1=\"25\" x2=\"21\" y2=\"26\" stroke=\"#ffff00\" "
                "stroke-dasharray=\"3\"/>\n"
                "</g>\n"},
        SvgCase{"pen_restored",
                [](Canvas& c) {
                  const PenHandle wide = c.createPen(PenStyle::Solid, 2, Rgb{9, 9, 9});
                  const PenHandle before = c.selectPen(wide);
                  c.moveTo(0, 0);
                  c.lineTo(0, 2);
                  c.selectPen(before);
                  c.lineTo(0, 4);
                },
                "<g fill=\"none\" transform=\"translate(0.5 0.5)\">\n"
                "<line x1=\"0\" y1=\"-0.5\" x2=\"0\" y2=\"1.5\" stroke=\"#090909\" "
                "stroke-width=\"2\"/>\n"
                "<line x1=\"0\" y1=\"1.5\" x2=\"0\" y2=\"3.5\" stroke=\"#000000\"/>\n"
                "</g>\n"},
        // the box is as wide as the text in 10-pixel Arial (3 + 6 + 7 + 7 pixels) and a line
        // high; blanks kept, markup escaped
        SvgCase{"text_over_its_box",
                [](Canvas& c) {
                  c.selectFont(c.createFont("Arial", 80));
                  c.setBackgroundColor(Rgb{0, 255, 0});
                  c.setTextColor(Rgb{0, 0, 0});
                  c.textOut(5, 6, " <&A");
                },
                "<rect x=\"5\" y=\"6\" width=\"23\" height=\"11\" fill=\"#00ff00\"/>\n"
                "<text x=\"5\" y=\"15\" font-family=\"Arial, 'Liberation Sans', Helvetica, "
                "sans-serif\" font-size=\"10\" fill=\"#000000\" xml:space=\"preserve\"> "
                "&lt;&amp;A</text>\n"},
        // bytes above ASCII as Latin-1 characters, control characters replaced; the system
        // font of 16 pixels, and characters outside ASCII as wide as "n" (9 + 6 + 9 pixels)
        SvgCase{"text_bytes",
                [](Canvas& c) {
                  c.setBackgroundColor(Rgb{1, 1, 1});
                  c.textOut(0, 0, "\xe9\"\x01");
                },
                "<rect x=\"0\" y=\"0\" width=\"24\" height=\"18\" fill=\"#010101\"/>\n"
                "<text x=\"0\" y=\"14\" font-family=\"'Liberation Sans', Helvetica, "
                "sans-serif\" font-size=\"16\" fill=\"#000000\" xml:space=\"preserve\">&#233;"
                "&quot;?</text>\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SvgCanvas, DocumentOfTheClientSize) {
  SvgCanvas canvas(408, 389, 96);
  EXPECT_EQ(canvas.document(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"408\" height=\"389\" "
            "viewBox=\"0 0 408 389\" shape-rendering=\"crispEdges\">\n"
            "</svg>\n");
}

TEST(SvgCanvas, EachPaintingStartsAfresh) {
  SvgCanvas canvas(10, 10, 96);
  canvas.beginPaint();
  canvas.setPixel(1, 1, kYellow);
  canvas.endPaint();
  canvas.beginPaint();
  canvas.setPixel(2, 2, kYellow);
  canvas.endPaint();
  EXPECT_EQ(bodyOf(canvas.document()),
            "<rect x=\"2\" y=\"2\" width=\"1\" height=\"1\" fill=\"#ffff00\"/>\n");
}

// The whole picture of a triangle seen from both sides: far side first, then near side,
// then vertices, the axis and the legend.
TEST(SvgCanvas, PaintedTriangleInDrawingOrder) {
  auto store = std::make_unique<MeshStore>();
  store->baseVertexCount = 3;
  auto screen = std::make_unique<ScreenData>();
  projectSmallMesh(*screen, {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}, {1, 3, 2}}});
  SvgCanvas canvas(408, 389, 96);
  paintViewer(*screen, *store, &canvas);
  const std::string svg = canvas.document();
  const std::size_t back = svg.find("points=\"26,373 26,26 373,373 26,373\" stroke=\"#404040\"");
  const std::size_t front = svg.find("points=\"26,373 373,373 26,26 26,373\" stroke=\"#808080\"");
  const std::size_t vertex = svg.find(
      "<rect x=\"26\" y=\"26\" width=\"1\" height=\"1\" "
      "fill=\"#00ff00\"/>");
  const std::size_t axis = svg.find(
      "<line x1=\"26\" y1=\"9.5\" x2=\"26\" y2=\"379.5\" "
      "stroke=\"#ffff00\" stroke-dasharray=\"3\"/>");
  const std::size_t banner = svg.find(">                         BASE OBJECT IS *ALL GREEN*");
  ASSERT_NE(back, std::string::npos);
  ASSERT_NE(front, std::string::npos);
  ASSERT_NE(vertex, std::string::npos);
  ASSERT_NE(axis, std::string::npos);
  ASSERT_NE(banner, std::string::npos);
  EXPECT_LT(back, front);
  EXPECT_LT(front, vertex);
  EXPECT_LT(vertex, axis);
  EXPECT_LT(axis, banner);
  EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);
}

}  // namespace
}  // namespace calveth
