#include "frontend/qt/dialog_font.h"

#include <QFontMetrics>
#include <QString>

namespace kelvane::frontend::qt {

QStringList DialogFontFamilies() {
  const std::string_view face = kUpdaterDialogTemplate.font_face;
  return {QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())),
          QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
          QStringLiteral("IPAGothic")};
}

QFont DialogFont() {
  QFont font;
  font.setFamilies(DialogFontFamilies());
  font.setPointSize(kUpdaterDialogTemplate.font_points);
  return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const QString alphabet = QString::fromLatin1(kBaseUnitAlphabet.data(),
                                               static_cast<qsizetype>(kBaseUnitAlphabet.size()));
  return BaseUnitsFromFont(metrics.horizontalAdvance(alphabet), metrics.height());
}

}  // namespace kelvane::frontend::qt
