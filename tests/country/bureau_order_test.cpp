#include "country/bureau_order.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "country/reference_loading.h"
#include "country/resolver_test_support.h"
#include "table/row_filter.h"

namespace kartex {
namespace {

using testing::MakeLog;
using testing::RealResolver;

constexpr int kCall = 2;
constexpr int kId = 5;

const std::vector<std::string> kHeader = {"QSO_DATE", "TIME_ON", "CALL", "DXCC", "QSL_VIA", "ID"};

// Each row names itself in column ID.
LogTable BureauLog() {
  return MakeLog({
      kHeader,
      {"20240101", "1000", "ZS6AAA", "", "", "a"},
      {"20240301", "1000", "SP5ABC", "", "", "b"},
      {"20240101", "1000", "9A3AAA", "", "", "c"},
      {"20240101", "1000", "1A0KM", "", "", "d"},
      {"20240101", "1000", "3B8CF", "", "", "e"},
      {"20240101", "1000", "A41ZZ", "", "", "f"},
      {"20240101", "1000", "W6ABC", "", "", "g"},
      {"20240101", "1000", "K1ABC/4", "", "", "h"},
      {"20240101", "1000", "N1ABC", "", "", "i"},
      {"20240101", "1000", "DL1ABC/W", "", "", "j"},  // USA without an area
      {"20240101", "1000", "VE7ABC", "", "", "k"},
      {"20240101", "1000", "VE3ABC", "", "", "l"},
      {"20240101", "1000", "VK6ABC", "", "", "m"},
      {"20240101", "1000", "PY2ABC", "", "W3HNK", "n"},   // via a manager
      {"20240101", "1000", "LU1ABC", "", "DIRECT", "o"},  // no call sign
      {"20240101", "1000", "UA0ABC", "", "ea5xx", "p"},
      {"20240201", "0900", "sp5abc", "", "", "q"},
      {"20240201", "0800", "SP5ABC", "", "", "r"},
      {"20240201", "0800", "SP5ABC", "", "", "s"},  // same as r: shown order
      {"20240101", "1000", "SP5ABC/MM", "", "", "t"},
      {"20240101", "1000", "QQ1ABC", "", "SP9XYZ", "u"},  // a manager of a known country
      {"20240101", "1000", "QQ2ABC", "", "QQ3ABC", "v"},  // neither is known
      {"20240401", "1000", "SP5ABC", "", "via SP9XYZ", "w"},
      {"20240101", "1000", "KG4AB", "", "", "x"},
      {"20240101", "1000", "", "", "", "y"},
  });
}

std::string Ids(const LogTable& table, const std::vector<int>& order) {
  std::string ids;
  for (int row : order) ids += table.CellText(kId, row);
  return ids;
}

std::string IdColumn(const LogTable& table) {
  std::string ids;
  for (int row = 1; row < table.RowCount(); ++row) ids += table.CellText(kId, row);
  return ids;
}

struct Group {
  std::string prefix;  // "" for the rows without a country
  char area;
  int stations;
  int contacts;
  bool operator==(const Group&) const = default;
};

std::vector<Group> Groups(const BureauPlan& plan) {
  std::vector<Group> groups;
  for (const BureauGroup& g : plan.groups) {
    groups.push_back(
        {g.country ? g.country->primaryPrefix : "", g.areaDigit, g.stations, g.contacts});
  }
  return groups;
}

TEST(BureauOrder, PrefixByBytesThenAreaThenRouteCallThenDateAndTime) {
  const CallResolver resolver = RealResolver();
  const LogTable table = BureauLog();
  const BureauPlan plan = PlanBureauOrder(table, FindLogColumns(table), resolver);
  // 1A 3B8 9A A4 EA, K without area, K1 K3 K4 K6, KG4 LU, SP5ABC by date and
  // time then SP9XYZ, VE3 VE7 VK ZS, then the rows without a country.
  EXPECT_EQ(Ids(table, plan.order), "decfpjinhgxorsqbwulkmatvy");
}

TEST(BureauOrder, GroupsCountDistinctRouteCallsAndRows) {
  const CallResolver resolver = RealResolver();
  const LogTable table = BureauLog();
  const BureauPlan plan = PlanBureauOrder(table, FindLogColumns(table), resolver);
  const std::vector<Group> expected = {
      {"1A", 0, 1, 1},
      {"3B8", 0, 1, 1},
      {"9A", 0, 1, 1},
      {"A4", 0, 1, 1},
      {"EA", 0, 1, 1},
      {"K", 0, 1, 1},
      {"K", '1', 1, 1},
      {"K", '3', 1, 1},
      {"K", '4', 1, 1},
      {"K", '6', 1, 1},
      {"KG4", 0, 1, 1},
      {"LU", 0, 1, 1},
      {"SP", 0, 2, 6},
      {"VE", '3', 1, 1},
      {"VE", '7', 1, 1},
      {"VK", '6', 1, 1},
      {"ZS", 0, 1, 1},
      // SP5ABC/MM and QQ2ABC; the empty call is no station.
      {"", 0, 2, 3},
  };
  EXPECT_EQ(Groups(plan), expected);
}

TEST(BureauOrder, OnlyKVeAndVkAreSortedByCallArea) {
  const CallResolver resolver = RealResolver();
  const LogTable table = MakeLog({
      kHeader,
      {"1", "1", "SP9AA", "", "", "a"},
      {"1", "1", "SP1ZZ", "", "", "b"},
      {"1", "1", "VK3AA", "", "", "c"},
      {"1", "1", "VK2ZZ", "", "", "d"},
      {"1", "1", "W0AA", "", "", "e"},
      {"1", "1", "AA9ZZ", "", "", "f"},
  });
  const BureauPlan plan = PlanBureauOrder(table, FindLogColumns(table), resolver);
  // K: area 0 before 9, though W sorts after A; SP: by call; VK: by area.
  EXPECT_EQ(Ids(table, plan.order), "efbadc");
  EXPECT_EQ(Groups(plan), (std::vector<Group>{{"K", '0', 1, 1},
                                              {"K", '9', 1, 1},
                                              {"SP", 0, 2, 2},
                                              {"VK", '2', 1, 1},
                                              {"VK", '3', 1, 1}}));
}

TEST(BureauOrder, LongCallsAndOddDatesAndTimesKeepTheOrderOfTheirBytes) {
  const CallResolver resolver = RealResolver();
  const LogTable table = MakeLog({
      kHeader,
      {"20240101", "1000", "DL/SP5ABD", "", "", "a"},
      {"20240101", "1000", "DL/SP5ABC", "", "", "b"},
      {"20240101", "0815", "DL/SP5ABC", "", "", "c"},
      {"20240101", "081500", "DL/SP5ABC", "", "", "d"},
      {"20240101", "081459", "DL/SP5ABC", "", "", "e"},
      {"2024-01-01", "0000", "DL/SP5ABC", "", "", "f"},
      {"20240101", "1000", "DL1ABCDE", "", "", "g"},
      {"20240101", "1000", "DL/SP5AB", "", "", "h"},
  });
  const BureauPlan plan = PlanBureauOrder(table, FindLogColumns(table), resolver);
  // Calls that share their first eight bytes: the shorter first, then by
  // bytes; "2024-01-01" before "20240101"; "081459" < "0815" < "081500".
  EXPECT_EQ(Ids(table, plan.order), "hfecdbag");
  EXPECT_EQ(Groups(plan), (std::vector<Group>{{"DL", 0, 4, 8}}));
}

TEST(BureauOrder, NothingInTheTableChangesUntilTheOrderIsApplied) {
  const CallResolver resolver = RealResolver();
  LogTable table = BureauLog();
  const std::string before = IdColumn(table);
  const BureauPlan plan = PlanBureauOrder(table, FindLogColumns(table), resolver);
  EXPECT_EQ(IdColumn(table), before);
  ApplyRowOrder(table, plan.order);
  EXPECT_EQ(IdColumn(table), "decfpjinhgxorsqbwulkmatvy");
  // In bureau order already: a second plan keeps it.
  EXPECT_EQ(Ids(table, PlanBureauOrder(table, FindLogColumns(table), resolver).order),
            IdColumn(table));
}

TEST(BureauOrder, WorksOnTheShownRowsOnly) {
  const CallResolver resolver = RealResolver();
  LogTable table = BureauLog();
  const RegionalSettings regional;
  RowFilter filter(table, regional);
  TFilterData item;
  item.Column = kCall;
  item.CaseSensitive = false;
  item.Condition = "SP*;ZS*;9A*";
  filter.Filter().push_back(item);
  filter.SetFilterActive(true);
  ASSERT_EQ(IdColumn(table), "abcqrstw");

  const BureauPlan plan = PlanBureauOrder(table, FindLogColumns(table), resolver);
  EXPECT_EQ(Ids(table, plan.order), "crsqbwat");
  EXPECT_EQ(Groups(plan),
            (std::vector<Group>{{"9A", 0, 1, 1}, {"SP", 0, 1, 5}, {"ZS", 0, 1, 1}, {"", 0, 1, 1}}));
  ApplyRowOrder(table, plan.order);
  // The hidden rows come back at their places; the shown ones keep theirs.
  filter.SetFilterActive(false);
  EXPECT_EQ(IdColumn(table), "crsdefghijklmnopqbwauvtxy");
}

TEST(ApplyRowOrder, MovesRowsWholeWithTheirHeightsAsOneChange) {
  LogTable table = MakeLog({kHeader,
                            {"d1", "t1", "C1", "", "", "a"},
                            {"d2", "t2", "C2", "", "", "b"},
                            {"d3", "t3", "C3", "", "", "c"}});
  table.SetRowHeight(1, 31);
  table.SetRowHeight(2, 32);
  table.SetRowHeight(3, 33);
  struct : TableObserver {
    void TableAboutToChange() override { ++about; }
    void TableChanged() override { ++changed; }
    void CellChanged(int, int) override { ++cells; }
    int about = 0, changed = 0, cells = 0;
  } observer;
  table.SetObserver(&observer);
  ApplyRowOrder(table, {3, 1, 2});
  table.SetObserver(nullptr);
  EXPECT_EQ(IdColumn(table), "cab");
  EXPECT_EQ(table.CellText(0, 1), "d3");
  EXPECT_EQ(table.CellText(2, 1), "C3");
  EXPECT_EQ(table.CellText(1, 3), "t2");
  EXPECT_EQ(table.RowHeight(1), 33);
  EXPECT_EQ(table.RowHeight(2), 31);
  EXPECT_EQ(table.RowHeight(3), 32);
  EXPECT_EQ(table.CellText(kId, 0), "ID");  // the header stays
  EXPECT_EQ(observer.about, 1);
  EXPECT_EQ(observer.changed, 1);
}

TEST(ApplyRowOrder, RefusesWhatIsNoPermutationOfTheRows) {
  LogTable table = MakeLog({kHeader, {"", "", "C1", "", "", "a"}, {"", "", "C2", "", "", "b"}});
  for (const std::vector<int>& bad :
       std::vector<std::vector<int>>{{1}, {1, 2, 3}, {1, 1}, {0, 1}, {2, 3}, {-1, 2}}) {
    EXPECT_THROW(ApplyRowOrder(table, bad), std::invalid_argument);
    EXPECT_EQ(IdColumn(table), "ab");
  }
}

TEST(BureauSummaryCsv, OneQuotedLinePerGroup) {
  CtyCountry usa;
  usa.name = "United States";
  usa.primaryPrefix = "K";
  CtyCountry odd;
  odd.name = "Say \"Hi\" Island";
  odd.primaryPrefix = "3D2/c";
  EXPECT_EQ(BureauSummaryCsv({{&odd, 0, 1, 2}, {&usa, '4', 12, 345}, {nullptr, 0, 3, 4}}),
            "\"PREFIX\",\"AREA\",\"COUNTRY\",\"STATIONS\",\"CONTACTS\"\r\n"
            "\"3D2/c\",\"\",\"Say \"\"Hi\"\" Island\",\"1\",\"2\"\r\n"
            "\"K\",\"4\",\"United States\",\"12\",\"345\"\r\n"
            "\"\",\"\",\"\",\"3\",\"4\"\r\n");
}

// The demo log, loaded as the program loads it, with its own reference files.
TEST(BureauOrder, DemoLogGoesByPrefixAreaCallAndDate) {
  LogTable table;
  table.ReadCsvFile(std::string(KARTEX_DEMO_DIR) + "/LOG_DEMO.csv");
  table.SetFixedRows(1);
  table.DeleteEmptyRows(1);
  ReferenceLoad load = LoadCallResolver({KARTEX_DEMO_DIR});
  ASSERT_TRUE(load.resolver.has_value());
  const LogColumns columns = FindLogColumns(table);
  const BureauPlan plan = PlanBureauOrder(table, columns, *load.resolver);

  // Managers: PY2QXZ via W3HNK (K, area 3), UA0QXZ via M0OXO (G), I2QXZ via
  // IK2QEI, LU1QXZ via EA5XX; DIRECT texts are no call signs.
  const std::vector<Group> expected = {
      {"9A", 0, 1, 1},  {"DL", 0, 2, 5},   {"EA", 0, 2, 2},   {"F", 0, 1, 1},   {"G", 0, 3, 3},
      {"HA", 0, 1, 1},  {"HB", 0, 1, 1},   {"I", 0, 1, 1},    {"JA", 0, 1, 2},  {"K", '1', 1, 2},
      {"K", '3', 1, 2}, {"K", '4', 1, 1},  {"K", '7', 1, 1},  {"LA", 0, 1, 1},  {"LY", 0, 1, 1},
      {"OE", 0, 1, 1},  {"OH", 0, 1, 1},   {"OK", 0, 1, 2},   {"OM", 0, 1, 1},  {"ON", 0, 1, 1},
      {"OZ", 0, 1, 1},  {"PA", 0, 1, 1},   {"SM", 0, 1, 1},   {"SP", 0, 6, 11}, {"UA", 0, 1, 1},
      {"UR", 0, 1, 1},  {"VE", '3', 1, 1}, {"VK", '2', 1, 1}, {"ZL", 0, 1, 1},  {"ZS", 0, 1, 1},
  };
  EXPECT_EQ(Groups(plan), expected);
  int contacts = 0;
  for (const Group& group : Groups(plan)) contacts += group.contacts;
  EXPECT_EQ(contacts, table.RowCount() - 1);

  ApplyRowOrder(table, plan.order);
  std::vector<std::string> firstCalls;
  for (int row = 1; row <= 6; ++row) {
    firstCalls.push_back(std::string(table.CellText(columns.call, row)) + " " +
                         std::string(table.CellText(columns.qsoDate, row)));
  }
  EXPECT_EQ(firstCalls,
            (std::vector<std::string>{"9A3QXZ 20230930", "DK9QXZ 20231118", "DL1ABC 20230114",
                                      "dl1abc 20230204", "DL1ABC 20230520", "DL1ABC 20231125"}));
}

}  // namespace
}  // namespace kartex
