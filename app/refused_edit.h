#pragma once
// An in-place edit that Windows-1250 cannot hold is refused, and the operator
// is told which character stands in the way.

#include <QString>

namespace kartex {

// The first character of text that Windows-1250 cannot hold; empty when the
// code page holds them all.
QString FirstCharacterOutsideCp1250(const QString& text);

// The message for a refused edit, naming that character and its code.
QString RefusedEditMessage(const QString& text);

}  // namespace kartex
