#pragma once
// The mail-merge CSV with one row per station: under a QSO-count filter N
// every shown station has N contacts, which stand side by side in its row,
// so the word processor prints one card per station.

namespace kartex {

class Session;

// Asks for a file name (STACJE.CSV proposed) and writes one row per shown
// station (a distinct CALL text, letter case counting), stations in the
// order of their first shown row. Each row holds the station's contacts in
// table order, one group of the used columns per contact: the columns with a
// header name or with text in a shown row. The header names group 1 as the
// table does and group k as NAME_k; there are as many groups as the largest
// station has contacts, and a smaller station leaves its last groups empty.
// Written like the table export: every field quoted, CR LF, bytes as stored.
void SaveStationsToCSV(Session& session);

}  // namespace kartex
