#pragma once
// "Sortuj wg biur QSL": the shown rows in the order in which a QSL bureau
// wants the outgoing cards, and the summary of the cards per bureau prefix.
//
// Each row's route call is its QSL_VIA cell when that holds a call sign
// (letters, digits and "/", at least one letter and one digit) that resolves
// to a country, otherwise its CALL. The rows go by
// 1. the primary prefix of the route call's country, by bytes (digits before
//    letters: 1A, 3B, 9A, A4 ... ZS);
// 2. for the USA, Canada and Australia (K, VE, VK), the call area digit;
// 3. the route call (upper-cased);
// 4. QSO_DATE, then TIME_ON;
// 5. their shown order.
// Rows whose route call gives no country come last, in their shown order.

#include <string>
#include <vector>

#include "country/call_resolver.h"
#include "country/log_columns.h"
#include "table/log_table.h"

namespace kartex {

// The cards of one bureau prefix (and call area).
struct BureauGroup {
  const CtyCountry* country = nullptr;  // null: the rows whose route call gives no country
  char areaDigit = 0;                   // for K, VE and VK only; 0 when none
  int stations = 0;                     // distinct route calls (an empty one is none)
  int contacts = 0;                     // rows
};

struct BureauPlan {
  // order[i] is the row (numbered as it is now) that goes to row i + 1; every
  // row from 1 to RowCount() - 1 appears once.
  std::vector<int> order;
  std::vector<BureauGroup> groups;  // in bureau order
};

// True for the countries whose cards are sorted by call area: K, VE and VK.
bool SortsByCallArea(const CtyCountry& country);

// The bureau order of the rows 1 to RowCount() - 1 and their groups. Reads
// the table only.
BureauPlan PlanBureauOrder(const LogTable& table, const LogColumns& columns,
                           const CallResolver& resolver);

// Moves the rows whole (cells and heights) into the order planned for this
// table; the change reaches the table's observer as one. Fails with
// std::invalid_argument when order is no such permutation.
void ApplyRowOrder(LogTable& table, const std::vector<int>& order);

// The summary as a CSV file's bytes: the header
// "PREFIX","AREA","COUNTRY","STATIONS","CONTACTS", then one line per group
// (the group without a country with PREFIX, AREA and COUNTRY empty); every
// field quoted, quotes doubled, comma-separated, CR LF.
std::string BureauSummaryCsv(const std::vector<BureauGroup>& groups);

}  // namespace kartex
