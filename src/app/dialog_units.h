// Dialog units to pixels, as dialog layouts have always been scaled: a horizontal unit is a
// quarter of the dialog font's average character width, a vertical unit an eighth of its
// character height, each product rounded to the nearest pixel.
#pragma once

#include "app/dialog_template.h"

namespace calveth {

struct DialogBaseUnits {
  int charWidth = 0;
  int charHeight = 0;
};

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// a * b / c rounded to the nearest integer, halves away from zero (c > 0).
constexpr int mulDivRounded(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : -((-product + half) / c));
}

// The average character width from the width of the 52 letters "A".."Z" and "a".."z" set in
// the dialog font: half the width of two average letters, rounded up.
constexpr int averageCharWidth(int alphabetWidth) { return (alphabetWidth / 26 + 1) / 2; }

constexpr int horizontalPixels(int units, DialogBaseUnits base) {
  return mulDivRounded(units, base.charWidth, 4);
}

constexpr int verticalPixels(int units, DialogBaseUnits base) {
  return mulDivRounded(units, base.charHeight, 8);
}

// Position and size are converted each on its own, as dialog templates are.
constexpr PixelRect toPixels(DialogUnitRect rect, DialogBaseUnits base) {
  return {horizontalPixels(rect.x, base), verticalPixels(rect.y, base),
          horizontalPixels(rect.width, base), verticalPixels(rect.height, base)};
}

}  // namespace calveth
