#pragma once
// What a QSL label says, in English as QSL labels go abroad:
//
//   To Radio: CALL  (1/2)
//   via MANAGER
//   Date        UTC   Band  Mode  RST
//   2024-01-01  1200  20M   CW    599
//   PSE QSL
//
// Texts are the table's Windows-1250 bytes; the drawing converts them.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "table/log_table.h"

namespace kartex {

// The log columns a label reads; -1 where the log has no such column (its
// texts print as empty).
struct LabelColumns {
  int call = -1, qsoDate = -1, timeOn = -1, band = -1, freq = -1, mode = -1, subMode = -1,
      rstSent = -1, qslRcvd = -1, qslVia = -1;

  // The columns named in the header row. CALL is the column the load found;
  // the others are looked up as the load looks up its columns (the whole
  // name, letter case counting, the last of equal names winning), or else
  // with other letter case and blanks around the name.
  static LabelColumns Find(const LogTable& table, int callColumn);
};

// One contact's line: date, UTC, band, mode, RST.
using ContactCells = std::array<std::string, 5>;
inline constexpr std::array<std::string_view, 5> kContactHeading = {"Date", "UTC", "Band", "Mode",
                                                                    "RST"};

struct LabelText {
  std::string title;  // "To Radio: CALL", with "  (i/n)" when the station takes n > 1 labels
  std::string via;    // "via MANAGER", or empty: no such line
  std::vector<ContactCells> contacts;
  std::string closing;  // "PSE QSL" or "TNX QSL"

  // Lines in all: title, via, heading, contacts, closing.
  int LineCount() const;
  // The lines as plain text, the contacts' columns padded with blanks to
  // two more than their widest text (the last column not padded).
  std::vector<std::string> PlainLines() const;
};

// The text of a label holding the contacts in rows (table rows, in the
// order they go on the label), part `part` of `parts` of its station.
LabelText MakeLabelText(const LogTable& table, const LabelColumns& columns,
                        std::span<const int> rows, int part, int parts);

// Whether a QSL_VIA text names a call sign (a manager) rather than a route
// such as DIRECT or BURO: letters and digits, with at least one of each,
// in parts joined by "/", blanks around it allowed.
bool IsCallSign(std::string_view text);

// QSO_DATE as the label writes it: YYYY-MM-DD for eight digits, otherwise
// as it stands.
std::string LabelDate(std::string_view qsoDate);

}  // namespace kartex
