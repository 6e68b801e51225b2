#include "print/label_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace kartex {
namespace {

// The family of the built-in font, registered with Qt's font database once.
QString LabelFontFamily() {
  static const QString family = [] {
    const int id = QFontDatabase::addApplicationFont(":/kartex/fonts/DejaVuSans.ttf");
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString("DejaVu Sans") : families.front();
  }();
  return family;
}

}  // namespace

QFont LabelFont(double pointSize) {
  QFont font(LabelFontFamily());
  font.setPointSizeF(pointSize);
  // The outlines as drawn, the same on the screen, the printer and the PDF.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  return font;
}

}  // namespace kartex
