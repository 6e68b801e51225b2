#include "app/window_fonts.h"

namespace kartex {

// The Windows faces when they are installed, else the free sans faces of
// the same width.
QStringList WindowFontFamilies() {
  return {"MS Sans Serif",   "Microsoft Sans Serif", "Tahoma",
          "Liberation Sans", "Nimbus Sans",          "DejaVu Sans"};
}

QStringList GridFontFamilies() { return {"Tahoma", "DejaVu Sans", "Liberation Sans"}; }

}  // namespace kartex
