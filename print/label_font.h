#pragma once
// The one font of the labels and cards: DejaVu Sans, built into the program,
// so that a label looks the same on every system, every Polish or other
// Latin letter prints, and the PDF carries the font with it.

#include <QFont>

namespace kartex {

// The font at a size in points. Needs a QGuiApplication.
QFont LabelFont(double pointSize);

}  // namespace kartex
