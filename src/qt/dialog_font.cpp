#include "qt/dialog_font.h"

#include <QFontMetrics>
#include <QString>

namespace calveth {

QFont dialogFont() {
  QFont font(
      QString::fromUtf8(kDialogFontFace.data(), static_cast<qsizetype>(kDialogFontFace.size())));
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
