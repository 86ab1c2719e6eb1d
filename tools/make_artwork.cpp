// Draws the program's pictures into the folder given as the only argument:
//
//   icons/calveth-<n>.png  the application icon, n = 16, 32, 48, 64, 128, 256: a head seen
//                          from the front, split by a yellow mirror axis, its left half grey as
//                          the morph target that is there, its right half green as the one the
//                          program makes from it; an arrow over the axis from left to right
//   banner.png             the dialog's banner: the name in bevelled block letters on a dark
//                          blue ground, 128 x 24 pixels and 16 colours at most
//
// Everything is drawn from shapes and a letter grid defined here (no fonts), so the output
// is the same bytes on every run with the same Qt.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QSet>
#include <QString>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// ---- The icon -------------------------------------------------------------------------------

// The icon is designed on a 64 x 64 grid and scaled; the small sizes leave out details that
// would only blur at their size.
constexpr double kGrid = 64.0;

const QColor kGroundTop(0x2e, 0x3d, 0x6b);
const QColor kGroundBottom(0x12, 0x19, 0x31);
const QColor kGroundEdge(0x6a, 0x7f, 0xb8);
const QColor kAxis(0xff, 0xd8, 0x30);
const QColor kSourceFill(0x8a, 0x95, 0xad);
const QColor kSourceWire(0x4c, 0x57, 0x70);
const QColor kMirrorFill(0x3f, 0xc8, 0x62);
const QColor kMirrorWire(0x1c, 0x7a, 0x38);
const QColor kArrow(0xf4, 0xf4, 0xf0);

// The head: an egg, wider above the middle than at the chin.
QPainterPath headOutline() {
  QPainterPath path;
  path.moveTo(32, 12);
  path.cubicTo(44, 12, 50, 22, 50, 32);
  path.cubicTo(50, 45, 41, 56, 32, 56);
  path.cubicTo(23, 56, 14, 45, 14, 32);
  path.cubicTo(14, 22, 20, 12, 32, 12);
  path.closeSubpath();
  return path;
}

// The wire frame of one half: lines of latitude and two meridians, clipped to the half.
void drawWires(QPainter& painter, const QPainterPath& half, const QColor& colour, double width,
               bool fine) {
  painter.save();
  painter.setClipPath(half);
  QPen pen(colour, width);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const std::vector<double> latitudes =
      fine ? std::vector<double>{19, 26, 33, 40, 47} : std::vector<double>{26, 40};
  for (const double y : latitudes) {
    // Slightly bowed, as lines of latitude on a round head look from the front.
    QPainterPath line;
    line.moveTo(10, y - 1.5);
    line.quadTo(32, y + 2.5, 54, y - 1.5);
    painter.drawPath(line);
  }
  for (const double rx : fine ? std::vector<double>{7.5, 13.5} : std::vector<double>{10}) {
    painter.drawEllipse(QPointF(32, 34), rx, 22);
  }
  painter.restore();
}

// A curved arrow over the axis, from the left half to the right one.
void drawArrow(QPainter& painter, double width) {
  QPen pen(kArrow, width);
  pen.setCapStyle(Qt::RoundCap);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  QPainterPath arc;
  arc.moveTo(21, 10);
  arc.quadTo(32, 2, 42, 8.5);
  painter.drawPath(arc);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kArrow);
  QPainterPath head;
  head.moveTo(46.5, 11.5);
  head.lineTo(38.5, 11.5);
  head.lineTo(44.5, 4.5);
  head.closeSubpath();
  painter.drawPath(head);
}

QImage drawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kGrid, size / kGrid);
  const bool small = size < 32;
  const bool fine = size >= 48;
  // Lines are at least about one pixel wide at every size.
  const double pixel = kGrid / size;

  QLinearGradient ground(0, 0, 0, kGrid);
  ground.setColorAt(0, kGroundTop);
  ground.setColorAt(1, kGroundBottom);
  painter.setPen(QPen(kGroundEdge, std::max(1.0, pixel)));
  painter.setBrush(ground);
  const double inset = std::max(0.5, pixel / 2);
  painter.drawRoundedRect(QRectF(inset, inset, kGrid - 2 * inset, kGrid - 2 * inset), 12, 12);

  const QPainterPath head = headOutline();
  QPainterPath leftSide;
  leftSide.addRect(0, 0, 32, kGrid);
  QPainterPath rightSide;
  rightSide.addRect(32, 0, 32, kGrid);
  const QPainterPath left = head.intersected(leftSide);
  const QPainterPath right = head.intersected(rightSide);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kSourceFill);
  painter.drawPath(left);
  painter.setBrush(kMirrorFill);
  painter.drawPath(right);
  if (!small) {
    drawWires(painter, left, kSourceWire, std::max(1.0, pixel), fine);
    drawWires(painter, right, kMirrorWire, std::max(1.0, pixel), fine);
    drawArrow(painter, std::max(fine ? 2.5 : 3.0, pixel));
  }

  // The mirror axis, dotted where there is room for dots.
  QPen axis(kAxis, std::max(small ? 2.0 : 1.5, pixel));
  axis.setCapStyle(Qt::FlatCap);
  if (fine) {
    axis.setDashPattern({2.0, 1.4});
  }
  painter.setPen(axis);
  painter.drawLine(QPointF(32, small ? 8 : 14), QPointF(32, 59));
  painter.end();
  return image;
}

// ---- The banner -----------------------------------------------------------------------------

constexpr int kBannerWidth = 128;
constexpr int kBannerHeight = 24;
constexpr int kCell = 3;  // a letter-grid cell is a 3 x 3 block of pixels
constexpr int kLetterColumns = 5;
constexpr int kLetterRows = 7;
constexpr int kLetterGap = 2;

using Letter = std::array<const char*, kLetterRows>;

// The name on a 5 x 7 grid, drawn for this banner.
constexpr std::array<Letter, 7> kName{{
    {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "},  // C
    {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"},  // A
    {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"},  // L
    {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "},  // V
    {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"},  // E
    {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "},  // T
    {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"},  // H
}};

// The banner's whole palette: four bands of ground, the shadow, and a bevelled gold whose
// face darkens from the top row of the letters to the bottom.
const std::array<QColor, 4> kBands{QColor(0x0c, 0x12, 0x2a), QColor(0x14, 0x1e, 0x42),
                                   QColor(0x1d, 0x2b, 0x5c), QColor(0x27, 0x39, 0x78)};
const QColor kShadow(0x03, 0x05, 0x0d);
const QColor kHighlight(0xff, 0xf6, 0xc8);
const std::array<QColor, 3> kFaces{QColor(0xff, 0xd9, 0x4a), QColor(0xf5, 0xb3, 0x2c),
                                   QColor(0xe0, 0x8a, 0x1c)};
const QColor kBevelDark(0x8a, 0x4b, 0x0c);
const QColor kAxisLine(0x3d, 0x55, 0xa8);

bool filled(const Letter& letter, int column, int row) {
  return column >= 0 && column < kLetterColumns && row >= 0 && row < kLetterRows &&
         letter[static_cast<std::size_t>(row)][column] == '#';
}

QImage drawBanner() {
  QImage image(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  // Bands of ground, lightest at the middle row like a lit strip.
  constexpr std::array<int, kBannerHeight> bandOfRow{0, 0, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3,
                                                     3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 0, 0};
  for (int y = 0; y < kBannerHeight; ++y) {
    painter.fillRect(0, y, kBannerWidth, 1, kBands[static_cast<std::size_t>(bandOfRow[y])]);
  }
  // A thin line under the letters' middle, the mirror axis laid on its side.
  painter.fillRect(0, 12, kBannerWidth, 1, kAxisLine);

  const int letterWidth = kLetterColumns * kCell;
  const int totalWidth = static_cast<int>(kName.size()) * (letterWidth + kLetterGap) - kLetterGap;
  const int left = (kBannerWidth - totalWidth) / 2;
  const int top = 1;
  const auto letterLeft = [&](std::size_t i) {
    return left + static_cast<int>(i) * (letterWidth + kLetterGap);
  };
  // The letters' shape: its cells, and where two cells meet only at a corner (the steps of
  // C and V) one pixel of each empty neighbour next to that corner, so the step reads as one
  // stroke and not as loose blocks. `colourOfRow` gives the colour by letter-grid row.
  const auto fillShape = [&](int offset, const auto& colourOfRow) {
    for (std::size_t i = 0; i < kName.size(); ++i) {
      const Letter& letter = kName[i];
      for (int row = 0; row < kLetterRows; ++row) {
        const QColor colour = colourOfRow(row);
        for (int column = 0; column < kLetterColumns; ++column) {
          if (!filled(letter, column, row)) {
            continue;
          }
          const int x = letterLeft(i) + column * kCell + offset;
          const int y = top + row * kCell + offset;
          painter.fillRect(x, y, kCell, kCell, colour);
          for (const int dx : {-1, 1}) {
            for (const int dy : {-1, 1}) {
              if (filled(letter, column + dx, row + dy) && !filled(letter, column + dx, row) &&
                  !filled(letter, column, row + dy)) {
                painter.fillRect(dx > 0 ? x + kCell : x - 1, dy > 0 ? y + kCell - 1 : y, 1, 1,
                                 colour);
                painter.fillRect(dx > 0 ? x + kCell - 1 : x, dy > 0 ? y + kCell : y - 1, 1, 1,
                                 colour);
              }
            }
          }
        }
      }
    }
  };
  // The shadow first, one pixel down and right, so that the letters stand on it.
  fillShape(1, [](int) { return kShadow; });
  fillShape(0, [](int row) { return kFaces[static_cast<std::size_t>(row * 3 / kLetterRows)]; });
  // Lit along a top edge of the letter and darkened along a bottom edge, so that the strokes
  // read as raised bars. Left and right edges stay plain: marking them would cut the steps
  // of C and V apart again.
  for (std::size_t i = 0; i < kName.size(); ++i) {
    const Letter& letter = kName[i];
    for (int row = 0; row < kLetterRows; ++row) {
      for (int column = 0; column < kLetterColumns; ++column) {
        if (!filled(letter, column, row)) {
          continue;
        }
        const int x = letterLeft(i) + column * kCell;
        const int y = top + row * kCell;
        if (!filled(letter, column, row - 1)) {
          painter.fillRect(x, y, kCell, 1, kHighlight);
        }
        if (!filled(letter, column, row + 1)) {
          painter.fillRect(x, y + kCell - 1, kCell, 1, kBevelDark);
        }
      }
    }
  }
  painter.end();

  // Stored with its palette: the picture is made of these colours only.
  QList<QRgb> palette;
  for (const QColor& c : kBands) palette.append(c.rgb());
  for (const QColor& c : kFaces) palette.append(c.rgb());
  for (const QColor& c : {kShadow, kHighlight, kBevelDark, kAxisLine}) palette.append(c.rgb());
  return image.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
}

int distinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      colours.insert(image.pixel(x, y));
    }
  }
  return static_cast<int>(colours.size());
}

bool save(const QImage& image, const std::filesystem::path& path) {
  if (!image.save(QString::fromStdString(path.string()), "PNG")) {
    std::fprintf(stderr, "make-artwork: cannot write %s\n", path.string().c_str());
    return false;
  }
  std::printf("%s\n", path.string().c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-artwork <resources folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder / "icons");
  bool ok = true;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    ok =
        save(drawIcon(size), folder / "icons" / ("calveth-" + std::to_string(size) + ".png")) && ok;
  }
  const QImage banner = drawBanner();
  if (distinctColours(banner) > 16) {
    std::fprintf(stderr, "make-artwork: the banner has more than 16 colours\n");
    return 1;
  }
  ok = save(banner, folder / "banner.png") && ok;
  return ok ? 0 : 1;
}
