#include "country/bureau_order.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

#include "country/call_cache.h"
#include "table/quoted_csv_field.h"

namespace kartex {

namespace {

constexpr uint32_t kNoCountry = UINT32_MAX;
// Per country: no area digit, then the digits 0 to 9.
constexpr uint32_t kAreasPerCountry = 11;

std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// QSL_VIA names a call sign: letters, digits and "/", with at least one
// letter and one digit ("DIRECT", "via bureau" and the like do not).
bool HoldsCallSign(std::string_view text) {
  bool letter = false, digit = false;
  for (char c : text) {
    if (IsLetter(c)) {
      letter = true;
    } else if (IsDigit(c)) {
      digit = true;
    } else if (c != '/') {
      return false;
    }
  }
  return letter && digit;
}

// Route calls as the bureau order compares them: upper-cased, blanks around
// them dropped. A cell that is so already is used in place.
class RouteTexts {
 public:
  std::string_view Normalized(std::string_view cell) {
    cell = TrimmedBlanks(cell);
    if (std::none_of(cell.begin(), cell.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
      return cell;
    }
    std::string& copy = copies_.emplace_back(cell);
    for (char& c : copy) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return copy;
  }

 private:
  std::deque<std::string> copies_;  // a deque: its texts never move
};

struct RowKey {
  uint32_t group = kNoCountry;  // country rank and area; kNoCountry last
  int row = 0;
  std::string_view route;
  bool contact = false;  // false for a row without any text
};

// The countries' indices in the order of their primary prefixes by bytes.
std::vector<uint32_t> CountriesByPrefix(const std::vector<CtyCountry>& countries) {
  std::vector<uint32_t> order(countries.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&countries](uint32_t a, uint32_t b) {
    return countries[a].primaryPrefix < countries[b].primaryPrefix;
  });
  return order;
}

uint32_t GroupOf(uint32_t rank, const CtyCountry& country, char areaDigit) {
  const uint32_t area =
      SortsByCallArea(country) && areaDigit != 0 ? static_cast<uint32_t>(areaDigit - '0') + 1 : 0;
  return rank * kAreasPerCountry + area;
}

std::vector<RowKey> RowKeys(const LogTable& table, const LogColumns& columns,
                            const CallResolver& resolver, RouteTexts& texts) {
  const std::vector<CtyCountry>& countries = resolver.Database().Countries();
  const std::vector<uint32_t> byPrefix = CountriesByPrefix(countries);
  std::vector<uint32_t> rank(countries.size());
  for (uint32_t r = 0; r < byPrefix.size(); ++r) rank[byPrefix[r]] = r;

  CallCache cache(resolver);
  std::vector<RowKey> keys;
  keys.reserve(static_cast<size_t>(std::max(0, table.RowCount() - 1)));
  for (int row = 1; row < table.RowCount(); ++row) {
    RowKey& key = keys.emplace_back();
    key.row = row;
    if (!IsContactRow(table, row)) continue;
    key.contact = true;

    std::string_view route = table.CellText(columns.call, row);
    const CallMatch* match = &cache.Match(route);
    const std::string_view via = TrimmedBlanks(table.CellText(columns.qslVia, row));
    if (HoldsCallSign(via)) {
      const CallMatch& viaMatch = cache.Match(via);
      if (viaMatch.country != nullptr) {
        route = via;
        match = &viaMatch;
      }
    }
    key.route = texts.Normalized(route);
    if (match->country != nullptr) {
      const auto index = static_cast<size_t>(match->country - countries.data());
      key.group = GroupOf(rank[index], *match->country, match->areaDigit);
    }
  }
  return keys;
}

std::vector<BureauGroup> Groups(const std::vector<RowKey>& sorted,
                                const std::vector<CtyCountry>& countries) {
  const std::vector<uint32_t> byPrefix = CountriesByPrefix(countries);
  std::vector<BureauGroup> groups;
  uint32_t current = 0;
  std::string_view lastRoute;
  std::unordered_set<std::string_view> routesWithoutCountry;
  for (const RowKey& key : sorted) {
    if (!key.contact) continue;
    if (groups.empty() || key.group != current) {
      current = key.group;
      BureauGroup& group = groups.emplace_back();
      if (key.group != kNoCountry) {
        group.country = &countries[byPrefix[key.group / kAreasPerCountry]];
        const uint32_t area = key.group % kAreasPerCountry;
        group.areaDigit = area == 0 ? 0 : static_cast<char>('0' + area - 1);
      }
    } else if (key.group != kNoCountry && key.route == lastRoute) {
      ++groups.back().contacts;
      continue;
    }
    // The rows without a country keep their shown order: their calls are
    // counted by a set rather than by runs. An empty call is no station.
    if (!key.route.empty() &&
        (key.group != kNoCountry || routesWithoutCountry.insert(key.route).second)) {
      ++groups.back().stations;
    }
    ++groups.back().contacts;
    lastRoute = key.route;
  }
  return groups;
}

}  // namespace

bool SortsByCallArea(const CtyCountry& country) {
  return country.primaryPrefix == "K" || country.primaryPrefix == "VE" ||
         country.primaryPrefix == "VK";
}

BureauPlan PlanBureauOrder(const LogTable& table, const LogColumns& columns,
                           const CallResolver& resolver) {
  RouteTexts texts;
  std::vector<RowKey> keys = RowKeys(table, columns, resolver, texts);
  std::sort(keys.begin(), keys.end(), [&](const RowKey& a, const RowKey& b) {
    if (a.group != b.group) return a.group < b.group;
    if (a.group != kNoCountry) {
      if (const int c = a.route.compare(b.route); c != 0) return c < 0;
      for (int col : {columns.qsoDate, columns.timeOn}) {
        const int d = table.CellText(col, a.row).compare(table.CellText(col, b.row));
        if (d != 0) return d < 0;
      }
    }
    return a.row < b.row;
  });

  BureauPlan plan;
  plan.order.reserve(keys.size());
  for (const RowKey& key : keys) plan.order.push_back(key.row);
  plan.groups = Groups(keys, resolver.Database().Countries());
  return plan;
}

void ApplyRowOrder(LogTable& table, const std::vector<int>& order) {
  const size_t rows = static_cast<size_t>(std::max(0, table.RowCount() - 1));
  std::vector<bool> seen(rows, false);
  if (order.size() != rows) throw std::invalid_argument("row order does not fit the table");
  for (int row : order) {
    if (row < 1 || static_cast<size_t>(row) > rows || seen[static_cast<size_t>(row - 1)]) {
      throw std::invalid_argument("row order is no permutation of the rows");
    }
    seen[static_cast<size_t>(row - 1)] = true;
  }

  TableUpdate update(table);
  std::vector<TableRow> taken;
  taken.reserve(rows);
  for (size_t i = 1; i <= rows; ++i) taken.push_back(table.TakeRow(static_cast<int>(i)));
  for (size_t i = 0; i < rows; ++i) {
    table.PutRow(static_cast<int>(i + 1), std::move(taken[static_cast<size_t>(order[i] - 1)]));
  }
}

std::string BureauSummaryCsv(const std::vector<BureauGroup>& groups) {
  std::string out;
  AppendQuotedCsvLine(out, {"PREFIX", "AREA", "COUNTRY", "STATIONS", "CONTACTS"});
  for (const BureauGroup& group : groups) {
    const std::string area = group.areaDigit != 0 ? std::string(1, group.areaDigit) : "";
    const std::string_view prefix =
        group.country ? std::string_view(group.country->primaryPrefix) : std::string_view();
    const std::string_view name =
        group.country ? std::string_view(group.country->name) : std::string_view();
    AppendQuotedCsvLine(
        out, {prefix, area, name, std::to_string(group.stations), std::to_string(group.contacts)});
  }
  return out;
}

}  // namespace kartex
