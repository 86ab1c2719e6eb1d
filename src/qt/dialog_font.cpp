#include "qt/dialog_font.h"

#include <QFontMetrics>
#include <QString>

#include "qt/qt_text.h"

namespace calveth {

QFont dialogFont() {
  QFont font(qtText(kDialogFontFace));
  font.setPointSize(kDialogFontPoints);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

DialogBaseUnits baseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {averageCharWidth(alphabet), metrics.height()};
}

}  // namespace calveth
