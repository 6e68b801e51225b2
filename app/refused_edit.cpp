#include "app/refused_edit.h"

#include <QList>

#include "platform/code_page.h"

namespace kartex {

QString FirstCharacterOutsideCp1250(const QString& text) {
  for (const char32_t codePoint : text.toUcs4()) {
    const QString character = QString::fromUcs4(&codePoint, 1);
    if (!Utf8ToCp1250(character.toStdString())) return character;
  }
  return QString();
}

QString RefusedEditMessage(const QString& text) {
  const QString character = FirstCharacterOutsideCp1250(text);
  const uint codePoint = character.isEmpty() ? 0 : character.toUcs4().constFirst();
  const QString code = QString::number(codePoint, 16).toUpper().rightJustified(4, '0');
  return QString(
             "Tekst zawiera znak „%1” (U+%2), którego nie można zapisać w stronie kodowej "
             "Windows-1250.")
      .arg(character, code);
}

}  // namespace kartex
