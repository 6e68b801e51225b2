// "Plik" -> "Zapisz plik ADIF wysłanych kart…": the shown contacts as an
// ADIF file with their cards marked as sent.

#include "sent_cards_export.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "busy_cursor.h"
#include "output_file.h"
#include "platform/code_page.h"
#include "session.h"

namespace kartex {
namespace {

// The fields taken from the log: the first five always, the others where
// the log has the column and the cell holds text.
constexpr std::string_view kMatchFields[] = {"QSO_DATE", "TIME_ON", "BAND", "MODE"};
constexpr std::string_view kOptionalFields[] = {"FREQ", "SUBMODE", "STATION_CALLSIGN", "OPERATOR"};

// A field with its byte length; the value is UTF-8 already.
void AppendField(std::string& out, std::string_view name, std::string_view value) {
  out += '<';
  out += name;
  out += ':';
  out += std::to_string(value.size());
  out += '>';
  out += value;
  out += ' ';
}

std::string Digits(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

std::string DateText(const platform::UtcDateTime& t) {
  return Digits(t.year, 4) + Digits(t.month, 2) + Digits(t.day, 2);
}

std::string TimeText(const platform::UtcDateTime& t) {
  return Digits(t.hour, 2) + Digits(t.minute, 2) + Digits(t.second, 2);
}

// The column of a header name (the last one, as the header scan takes it);
// -1 when the log has none.
int ColumnNamed(const LogTable& table, std::string_view name) {
  int found = -1;
  for (int c = 0; c < table.ColCount(); ++c) {
    if (table.CellText(c, 0) == name) found = c;
  }
  return found;
}

std::string Header(const platform::UtcDateTime& now) {
  std::string header = "QSL cards sent, written by KARTEX\r\n";
  for (auto [name, value] : {std::pair<std::string_view, std::string>{"ADIF_VER", "3.1.6"},
                             {"PROGRAMID", "KARTEX"},
                             {"PROGRAMVERSION", KARTEX_VERSION},
                             {"CREATED_TIMESTAMP", DateText(now) + " " + TimeText(now)}}) {
    AppendField(header, name, value);
    header.back() = '\r';
    header += '\n';
  }
  return header + "<EOH>\r\n";
}

}  // namespace

SentCardsAdif BuildSentCardsAdif(const LogTable& table, int callColumn,
                                 const platform::UtcDateTime& now, QslSentVia via) {
  const int dateColumn = ColumnNamed(table, "QSO_DATE");
  int matchColumns[std::size(kMatchFields)];
  for (size_t k = 0; k < std::size(kMatchFields); ++k)
    matchColumns[k] = ColumnNamed(table, kMatchFields[k]);
  int optionalColumns[std::size(kOptionalFields)];
  for (size_t k = 0; k < std::size(kOptionalFields); ++k)
    optionalColumns[k] = ColumnNamed(table, kOptionalFields[k]);
  const std::string sentDate = DateText(now);
  const std::string viaText(1, static_cast<char>(via));

  SentCardsAdif file;
  file.text = Header(now);
  for (int row = 1; row < table.RowCount(); ++row) {
    const std::string_view call = table.CellText(callColumn, row);
    if (call.empty() || dateColumn < 0 || table.CellText(dateColumn, row).empty()) {
      ++file.leftOut;
      continue;
    }
    AppendField(file.text, "CALL", Cp1250ToUtf8(call));
    for (size_t k = 0; k < std::size(kMatchFields); ++k) {
      const int column = matchColumns[k];
      AppendField(file.text, kMatchFields[k],
                  column < 0 ? std::string() : Cp1250ToUtf8(table.CellText(column, row)));
    }
    for (size_t k = 0; k < std::size(kOptionalFields); ++k) {
      const int column = optionalColumns[k];
      if (column < 0 || table.CellText(column, row).empty()) continue;
      AppendField(file.text, kOptionalFields[k], Cp1250ToUtf8(table.CellText(column, row)));
    }
    AppendField(file.text, "QSL_SENT", "Y");
    AppendField(file.text, "QSLSDATE", sentDate);
    AppendField(file.text, "QSL_SENT_VIA", viaText);
    file.text += "<EOR>\r\n";
    ++file.records;
  }
  return file;
}

void SaveSentCardsAdif(Session& session, QslSentVia via) {
  WindowSystem& windows = session.Windows();
  const std::optional<std::string> fileName =
      windows.SaveFileDialog({"SaveSentADIF", "WYSLANE.ADI", "ADIF (*.adi)|*.adi"});
  if (!fileName) return;
  BusyCursor busy(windows);
  const SentCardsAdif file =
      BuildSentCardsAdif(session.Table(), session.Log().callColumn, session.Now(), via);
  WriteFileAtomically(*fileName, file.text);
  if (file.leftOut > 0) {
    windows.ShowMessage("Pominięto wiersze bez CALL lub QSO_DATE (nie ma ich w pliku ADIF): " +
                        std::to_string(file.leftOut));
  }
}

void Session::SaveSentADIF1Click(QslSentVia via) {
  BusyCursor busy(windows_);
  SaveSentCardsAdif(*this, via);
}

}  // namespace kartex
