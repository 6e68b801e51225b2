// "Uzupełnij DXCC z CTY.DAT" and "Sprawdź DXCC" on hand-written logs, with
// the real CTY.DAT of October 2025 and its ADIF_DXC.TXT.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "country/dxcc_check.h"
#include "country/dxcc_fill.h"
#include "country/reference_loading.h"
#include "country/resolver_test_support.h"
#include "table/row_filter.h"

namespace kartex {
namespace {

using testing::MakeLog;
using testing::RealResolver;

constexpr int kCall = 2;
constexpr int kDxcc = 3;

const std::vector<std::string> kHeader = {"QSO_DATE", "TIME_ON", "CALL", "DXCC", "QSL_VIA", "NAME"};

class Observer : public TableObserver {
 public:
  void TableAboutToChange() override { ++aboutToChange; }
  void TableChanged() override { ++changed; }
  void CellChanged(int, int) override { ++cells; }
  int aboutToChange = 0, changed = 0, cells = 0;
};

std::vector<std::vector<std::string>> AllCells(const LogTable& table) {
  std::vector<std::vector<std::string>> cells;
  for (int row = 0; row < table.RowCount(); ++row) cells.push_back(table.RowTexts(row));
  return cells;
}

std::vector<std::string> Column(const LogTable& table, int col) {
  std::vector<std::string> texts;
  for (int row = 1; row < table.RowCount(); ++row) texts.emplace_back(table.CellText(col, row));
  return texts;
}

// ---- fill -------------------------------------------------------------------

LogTable FillLog() {
  return MakeLog({
      kHeader,
      {"20240101", "1200", "SP5ABC", "", "", "J\xF3zef"},
      {"20240102", "1300", "VE3ABC", "", "", ""},
      {"20240103", "1400", "K1ABC/4", "291", "", ""},
      {"20240104", "1500", "SP5ABC/MM", "", "", ""},
      {"20240105", "1600", "DL1ABC", " ", "", ""},  // blank, not empty
      {"20240106", "1700", "IT9ABC", "230", "", ""},
      {"20240107", "1800", "", "", "", ""},
      {"20240108", "1900", "kg4ab", "", "", ""},
  });
}

TEST(FillDxcc, OnlyEmptyDxccCellsGetThePlainAdifNumberOfTheCallsCountry) {
  const CallResolver resolver = RealResolver();
  LogTable table = FillLog();
  const auto before = AllCells(table);
  const DxccFillResult result = FillDxcc(table, FindLogColumns(table), resolver);
  EXPECT_EQ(result.filled, 3);
  EXPECT_EQ(result.noCountry, 2);
  EXPECT_EQ(result.noAdifNumber, 0);
  EXPECT_EQ(Column(table, kDxcc),
            (std::vector<std::string>{"269", "1", "291", "", " ", "230", "", "105"}));
  // Nothing but those three cells changed.
  auto after = AllCells(table);
  for (int row : {1, 2, 8}) after[static_cast<size_t>(row)][kDxcc] = "";
  EXPECT_EQ(after, before);
}

TEST(FillDxcc, TheWritesReachTheObserverAsOneChange) {
  const CallResolver resolver = RealResolver();
  LogTable table = FillLog();
  Observer observer;
  table.SetObserver(&observer);
  FillDxcc(table, FindLogColumns(table), resolver);
  EXPECT_EQ(observer.aboutToChange, 1);
  EXPECT_EQ(observer.changed, 1);
  EXPECT_EQ(observer.cells, 0);
  table.SetObserver(nullptr);
}

TEST(FillDxcc, ACountryWithoutAdifNumberLeavesTheCellEmpty) {
  // An ADIF_DXC.TXT without Canada.
  std::vector<AdifEntry> adif = testing::ReadAdifFile(testing::ReferencePath("ADIF_DXC.TXT"));
  std::erase_if(adif, [](const AdifEntry& entry) { return entry.Country == "CANADA"; });
  const CallResolver resolver(
      ParseCtyDatabase(testing::FileBytes(testing::ReferencePath(testing::kBigCty))), adif);
  LogTable table = FillLog();
  const DxccFillResult result = FillDxcc(table, FindLogColumns(table), resolver);
  EXPECT_EQ(result.filled, 2);
  EXPECT_EQ(result.noCountry, 2);
  EXPECT_EQ(result.noAdifNumber, 1);
  EXPECT_EQ(table.CellText(kDxcc, 2), "");
}

TEST(FillDxcc, WithoutCallOrDxccColumnNothingChanges) {
  const CallResolver resolver = RealResolver();
  LogTable table = FillLog();
  const auto before = AllCells(table);
  LogColumns noDxcc = FindLogColumns(table);
  noDxcc.dxcc = -1;
  LogColumns noCall = FindLogColumns(table);
  noCall.call = -1;
  EXPECT_EQ(FillDxcc(table, noDxcc, resolver).filled, 0);
  EXPECT_EQ(FillDxcc(table, noCall, resolver).filled, 0);
  EXPECT_EQ(AllCells(table), before);
}

TEST(FillDxcc, OnlyTheShownRowsAreFilled) {
  const CallResolver resolver = RealResolver();
  LogTable table = FillLog();
  const RegionalSettings regional;
  RowFilter filter(table, regional);
  TFilterData item;
  item.Column = kCall;
  item.CaseSensitive = false;
  item.Condition = "VE*;KG4*";
  filter.Filter().push_back(item);
  filter.SetFilterActive(true);
  ASSERT_EQ(table.RowCount(), 3);

  const DxccFillResult result = FillDxcc(table, FindLogColumns(table), resolver);
  EXPECT_EQ(result.filled, 2);
  EXPECT_EQ(result.noCountry, 0);
  filter.SetFilterActive(false);
  EXPECT_EQ(Column(table, kDxcc),
            (std::vector<std::string>{"", "1", "291", "", " ", "230", "", "105"}));
}

TEST(FillDxcc, TheStandInRowOfAnEmptyFilterIsNoContact) {
  const CallResolver resolver = RealResolver();
  LogTable table = FillLog();
  const RegionalSettings regional;
  RowFilter filter(table, regional);
  TFilterData item;
  item.Column = kCall;
  item.Condition = "NOBODY";
  filter.Filter().push_back(item);
  filter.SetFilterActive(true);
  const DxccFillResult result = FillDxcc(table, FindLogColumns(table), resolver);
  EXPECT_EQ(result.filled, 0);
  EXPECT_EQ(result.noCountry, 0);
  EXPECT_TRUE(CheckDxcc(table, FindLogColumns(table), resolver).empty());
}

// ---- check ------------------------------------------------------------------

TEST(CheckDxcc, ListsRowsThatDifferAsNumbersOrGiveNoCountry) {
  const CallResolver resolver = RealResolver();
  LogTable table = MakeLog({
      kHeader,
      {"20240101", "1200", "SP5ABC", "269", "", ""},     // agrees
      {"20240102", "1300", "VE3ABC", "001", "", ""},     // agrees as a number
      {"20240103", "1400", "VE7ABC", " 1", "", ""},      // agrees
      {"20240104", "1500", "W1AW", "291 ", "", ""},      // agrees
      {"20240105", "1600", "IT9ABC", "230", "", ""},     // Italy logged as Germany
      {"20240106", "1700", "K1ABC", "", "", ""},         // empty differs
      {"20240107", "1800", "SP5ABC/MM", "0", "", ""},    // no country
      {"20240108", "1900", "DL1ABC", "DL", "", ""},      // no number
      {"20240109", "2000", "", "269", "", ""},           // no call
      {"20240110", "2100", "UA9ABC", "054", "", ""},     // Asiatic logged European
      {"20240111", "2200", "KG4AB", "105", "", ""},      // agrees
      {"20240112", "2300", "EA8/DL1ABC", "29", "", ""},  // agrees
  });
  const auto before = AllCells(table);
  const LogColumns columns = FindLogColumns(table);
  const std::vector<DxccMismatch> list = CheckDxcc(table, columns, resolver);
  EXPECT_EQ(AllCells(table), before);

  struct Expected {
    int row;
    const char* call;
    const char* date;
    const char* dxcc;
    const char* dxccCountry;
    const char* country;  // "-": none
  };
  const std::vector<Expected> expected = {
      {5, "IT9ABC", "20240105", "230", "FED. REP. OF GERMANY", "Italy"},
      {6, "K1ABC", "20240106", "", "", "United States"},
      {7, "SP5ABC/MM", "20240107", "0", "", "-"},
      {8, "DL1ABC", "20240108", "DL", "", "Fed. Rep. of Germany"},
      {9, "", "20240109", "269", "POLAND", "-"},
      {10, "UA9ABC", "20240110", "054", "EUROPEAN RUSSIA", "Asiatic Russia"},
  };
  ASSERT_EQ(list.size(), expected.size());
  for (size_t i = 0; i < list.size(); ++i) {
    const DxccMismatchTexts texts = MismatchTexts(table, columns, resolver, list[i]);
    EXPECT_EQ(list[i].row, expected[i].row);
    EXPECT_EQ(texts.call, expected[i].call);
    EXPECT_EQ(texts.qsoDate, expected[i].date);
    EXPECT_EQ(texts.dxcc, expected[i].dxcc);
    EXPECT_EQ(texts.dxccCountry, expected[i].dxccCountry);
    EXPECT_EQ(list[i].country ? list[i].country->name : "-", expected[i].country);
  }
}

TEST(CheckDxcc, RowNumbersArePositionsAmongTheShownRows) {
  const CallResolver resolver = RealResolver();
  LogTable table = MakeLog({
      kHeader,
      {"20240101", "1200", "SP5ABC", "230", "", ""},
      {"20240102", "1300", "DL1ABC", "269", "", ""},
      {"20240103", "1400", "SP6ABC", "", "", ""},
  });
  const RegionalSettings regional;
  RowFilter filter(table, regional);
  TFilterData item;
  item.Column = kCall;
  item.Condition = "SP*";
  filter.Filter().push_back(item);
  filter.SetFilterActive(true);
  const LogColumns columns = FindLogColumns(table);
  const std::vector<DxccMismatch> list = CheckDxcc(table, columns, resolver);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(MismatchTexts(table, columns, resolver, list[0]).call, "SP5ABC");
  EXPECT_EQ(list[0].row, 1);
  EXPECT_EQ(MismatchTexts(table, columns, resolver, list[1]).call, "SP6ABC");
  EXPECT_EQ(list[1].row, 2);
}

TEST(DxccCheckCsv, FieldsQuotedQuotesDoubledCrLf) {
  const CallResolver resolver = RealResolver();
  const LogTable table = MakeLog({
      kHeader,
      {"20240101", "1200", "SP5ABC", "269", "", ""},
      {"20240102", "1300", "SP6ABC", " 230", "", ""},
      {"2024\"01", "1400", "SP5ABC/MM", "", "", ""},
  });
  const LogColumns columns = FindLogColumns(table);
  const std::string header =
      "\"ROW\",\"CALL\",\"QSO_DATE\",\"DXCC\",\"COUNTRY\",\"CTY_DXCC\",\"CTY_COUNTRY\"\r\n";
  EXPECT_EQ(DxccCheckCsv(table, columns, resolver, CheckDxcc(table, columns, resolver)),
            header +
                "\"2\",\"SP6ABC\",\"20240102\",\" 230\",\"FED. REP. OF GERMANY\",\"269\","
                "\"Poland\"\r\n"
                "\"3\",\"SP5ABC/MM\",\"2024\"\"01\",\"\",\"\",\"\",\"\"\r\n");
  EXPECT_EQ(DxccCheckCsv(table, columns, resolver, {}), header);
}

TEST(DxccCheckCsv, ACountryWithoutAdifNumberHasItsNameOnly) {
  std::vector<AdifEntry> adif = testing::ReadAdifFile(testing::ReferencePath("ADIF_DXC.TXT"));
  std::erase_if(adif, [](const AdifEntry& entry) { return entry.Country == "CANADA"; });
  const CallResolver resolver(
      ParseCtyDatabase(testing::FileBytes(testing::ReferencePath(testing::kBigCty))), adif);
  const LogTable table = MakeLog({kHeader, {"", "", "VE3ABC", "1", "", ""}});
  const LogColumns columns = FindLogColumns(table);
  const std::vector<DxccMismatch> list = CheckDxcc(table, columns, resolver);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(DxccCheckCsv(table, columns, resolver, list)
                .substr(DxccCheckCsv(table, columns, resolver, {}).size()),
            "\"1\",\"VE3ABC\",\"\",\"1\",\"\",\"\",\"Canada\"\r\n");
}

// ---- the demo log -------------------------------------------------------------

// The demo log as a load leaves it, with its own reference files.
class DemoLog : public ::testing::Test {
 protected:
  void SetUp() override {
    table_.ReadCsvFile(std::string(KARTEX_DEMO_DIR) + "/LOG_DEMO.csv");
    table_.SetFixedRows(1);
    table_.DeleteEmptyRows(1);
    columns_ = FindLogColumns(table_);
    ReferenceLoad load = LoadCallResolver({KARTEX_DEMO_DIR});
    ASSERT_TRUE(load.resolver.has_value());
    resolver_.emplace(std::move(*load.resolver));
  }
  int RowOf(std::string_view call, std::string_view date) const {
    for (int row = 1; row < table_.RowCount(); ++row) {
      if (table_.CellText(columns_.call, row) == call &&
          table_.CellText(columns_.qsoDate, row) == date) {
        return row;
      }
    }
    ADD_FAILURE() << call << " " << date;
    return 0;
  }
  LogTable table_;
  LogColumns columns_;
  std::optional<CallResolver> resolver_;
};

TEST_F(DemoLog, EveryLoggedDxccAgreesWithCtyDat) {
  EXPECT_EQ(columns_.call, 4);
  EXPECT_EQ(columns_.dxcc, 14);
  EXPECT_TRUE(CheckDxcc(table_, columns_, *resolver_).empty());
  EXPECT_EQ(FillDxcc(table_, columns_, *resolver_).filled, 0);
}

TEST_F(DemoLog, ClearedCellsAreFoundAndFilledAgain) {
  const int canada = RowOf("VE3QXZ", "20230311");
  const int japan = RowOf("JA1QZX", "20230826");
  const int germany = RowOf("dl1abc", "20230204");
  const int sweden = RowOf("SM5QXZ", "20230708");
  table_.SetCellText(columns_.dxcc, canada, "");
  table_.SetCellText(columns_.dxcc, japan, "");
  table_.SetCellText(columns_.dxcc, germany, "");
  table_.SetCellText(columns_.dxcc, sweden, "266");  // Norway

  const std::vector<DxccMismatch> list = CheckDxcc(table_, columns_, *resolver_);
  std::vector<int> rows;
  for (const DxccMismatch& m : list) rows.push_back(m.row);
  std::vector<int> expected = {canada, japan, germany, sweden};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, expected);

  const DxccFillResult result = FillDxcc(table_, columns_, *resolver_);
  EXPECT_EQ(result.filled, 3);
  EXPECT_EQ(table_.CellText(columns_.dxcc, canada), "1");
  EXPECT_EQ(table_.CellText(columns_.dxcc, japan), "339");
  EXPECT_EQ(table_.CellText(columns_.dxcc, germany), "230");
  EXPECT_EQ(table_.CellText(columns_.dxcc, sweden), "266");
  ASSERT_EQ(CheckDxcc(table_, columns_, *resolver_).size(), 1u);
}

}  // namespace
}  // namespace kartex
