#pragma once
// The faces of the window's fonts, best first: MS Sans Serif 8 pt for the
// window and Tahoma 8 pt for the grid, or what stands in for them where the
// system lacks them. One small file per system, chosen in app/CMakeLists.txt.

#include <QStringList>

namespace kartex {

QStringList WindowFontFamilies();
QStringList GridFontFamilies();

}  // namespace kartex
