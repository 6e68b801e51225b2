#pragma once
// The record of the cards sent: an ADIF file of the shown contacts, each
// marked as sent (QSL_SENT Y, QSLSDATE, QSL_SENT_VIA), for the logger to
// import. KARTEX keeps no database of its own, so this is how the logger
// learns which cards went out. A logger matches an imported contact on
// call, date, time, band and mode, so those are written exactly as the
// table holds them.

#include <string>

#include "platform/system.h"

namespace kartex {

class LogTable;
class Session;

// How the cards went: via the QSL bureau or direct.
enum class QslSentVia : char { kBureau = 'B', kDirect = 'D' };

struct SentCardsAdif {
  std::string text;  // the whole file: ADIF 3.1.6, UTF-8, CR LF
  int records = 0;   // contacts written
  int leftOut = 0;   // shown rows without CALL or QSO_DATE
};

// The file for the shown data rows of the table, whose CALL cells stand in
// callColumn; the other fields are found by their header names. now: the
// UTC time of writing (QSLSDATE and CREATED_TIMESTAMP).
SentCardsAdif BuildSentCardsAdif(const LogTable& table, int callColumn,
                                 const platform::UtcDateTime& now, QslSentVia via);

// Asks for a file name (WYSLANE.ADI proposed), writes the file atomically
// and says how many rows it left out, if any.
void SaveSentCardsAdif(Session& session, QslSentVia via);

}  // namespace kartex
