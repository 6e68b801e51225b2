#pragma once
// The state of the window's controls that the commands set, kept here so
// that the window and kartex-cli show the same thing.

#include <string>
#include <vector>

namespace kartex {

// The QSO-count filter offers the stations worked 1 to kMaxQsoCount times.
inline constexpr int kMaxQsoCount = 10;
// RG1 lists "1" .. "10" at indexes 0 .. 9, then "Usuń filtr".
inline constexpr int kRG1RemoveFilter = kMaxQsoCount;

struct ControlStates {
  // Save_CSV, SaveCSV1, SG1, SortBy, RG1 and CTY_ADIF share one state.
  bool logCommandsEnabled = false;
  bool qslViaEnabled = false;
  std::string sourcePath;                             // the loaded file, UTF-8
  std::string sourceCaption = "Źródło danych : ";     // UTF-8
  std::string recordsCaption = "Liczba rekordów : ";  // UTF-8
  bool recordsKnown = false;                          // the caption carries a number
  int records = 0;
  std::vector<std::string> listBox1;  // Windows-1250 bytes, heading included
  int rg1ItemIndex = -1;              // -1: none selected; 0..9: "1".."10"; 10: "Usuń filtr"
  int sortByItemIndex = 0;            // 0: "ADIF_DXC", 1: "CTY"
  // N of the QSO-count filter that narrows the table now (1..10); 0 while no
  // such filter is on. RG1 may still show an N that is no longer in force
  // (after the country export), so this is kept apart from rg1ItemIndex.
  int qsoFilterN = 0;
  bool progressVisible = true;
  int progressPosition = 0;

  // SaveStationsCSV1: one row per station needs every shown station to have
  // the same N contacts, which only the QSO-count filter guarantees.
  bool SaveStationsEnabled() const {
    return logCommandsEnabled && qsoFilterN >= 1 && qsoFilterN <= kMaxQsoCount;
  }
};

}  // namespace kartex
