#include "app/window_fonts.h"

namespace kartex {

// MS Sans Serif is a bitmap font on Windows, drawn in a few sizes only, and
// the closing line of the window shrinks its font until the text fits.
// Microsoft Sans Serif, its TrueType successor of the same measures, is on
// every Windows and draws at any size; Tahoma stands in where it is missing.
QStringList WindowFontFamilies() { return {"Microsoft Sans Serif", "Tahoma", "Segoe UI"}; }

QStringList GridFontFamilies() { return {"Tahoma", "Microsoft Sans Serif", "Segoe UI"}; }

}  // namespace kartex
