#include "country/bureau_order.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "country/call_cache.h"
#include "table/ascii_case.h"
#include "table/call_sign_text.h"
#include "table/quoted_csv_field.h"

namespace kartex {

namespace {

// Per country: no area digit, then the digits 0 to 9.
constexpr uint32_t kAreasPerCountry = 11;

// Route calls as the bureau order compares them: upper-cased, blanks around
// them dropped. A cell that is so already is used in place.
class RouteTexts {
 public:
  std::string_view Normalized(std::string_view cell) {
    cell = TrimmedBlanks(cell);
    if (std::none_of(cell.begin(), cell.end(), IsAsciiLower)) return cell;
    std::string& copy = copies_.emplace_back(cell);
    MakeAsciiUpper(copy);
    return copy;
  }

 private:
  std::deque<std::string> copies_;  // a deque: its texts never move
};

// The first eight bytes of a route call as a number whose order is theirs.
// A route call of a country holds letters, digits and "/" only, so two of
// at most eight bytes are the same call when their numbers are equal.
uint64_t RouteWord(std::string_view route) {
  uint64_t word = 0;
  const size_t n = std::min<size_t>(8, route.size());
  for (size_t i = 0; i < n; ++i) {
    word |= uint64_t{static_cast<unsigned char>(route[i])} << (56 - 8 * i);
  }
  return word;
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c); });
}

uint64_t DigitsValue(std::string_view digits) {
  uint64_t value = 0;
  for (char c : digits) value = value * 10 + static_cast<uint64_t>(c - '0');
  return value;
}

// QSO_DATE of eight digits and TIME_ON of four or six as one number whose
// order is that of the two texts by bytes ("0815" before "081500" before
// "081501"); false for other texts, which are then compared as they stand.
bool WhenValue(std::string_view date, std::string_view time, uint64_t& when) {
  if (date.size() != 8 || !AllDigits(date)) return false;
  if ((time.size() != 4 && time.size() != 6) || !AllDigits(time)) return false;
  const uint64_t seconds = time.size() == 6 ? DigitsValue(time) : DigitsValue(time) * 100;
  when = (DigitsValue(date) * 1000000 + seconds) * 2 + (time.size() == 6 ? 1 : 0);
  return true;
}

// What the order of one row with a country is made of, in 24 bytes: the
// sort of a million rows moves little, and the keys are new memory, which
// costs by the page.
struct RowKey {
  uint64_t route = 0;  // RouteWord of the route call
  uint64_t when = 0;   // WhenValue of QSO_DATE and TIME_ON
  int32_t row = 0;
  uint32_t group : 30 = 0;      // country rank and area
  uint32_t shortRoute : 1 = 0;  // the route call has at most eight bytes
  uint32_t whenKnown : 1 = 0;
};
static_assert(sizeof(RowKey) == 24);

int Sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

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

// The rows of a log on their way into bureau order.
class BureauPlanner {
 public:
  BureauPlanner(const LogTable& table, const LogColumns& columns, const CallResolver& resolver)
      : table_(table), columns_(columns), countries_(resolver.Database().Countries()) {
    countryOfRank_ = CountriesByPrefix(countries_);
    rank_.resize(countries_.size());
    for (uint32_t r = 0; r < countryOfRank_.size(); ++r) rank_[countryOfRank_[r]] = r;
    ReadRows(resolver);
  }

  BureauPlan Plan() {
    std::sort(keys_.begin(), keys_.end(),
              [this](const RowKey& a, const RowKey& b) { return Before(a, b); });
    BureauPlan plan;
    plan.order.reserve(keys_.size() + withoutCountry_.size());
    for (const RowKey& key : keys_) plan.order.push_back(key.row);
    plan.order.insert(plan.order.end(), withoutCountry_.begin(), withoutCountry_.end());
    plan.groups = Groups();
    return plan;
  }

 private:
  // The route call of a row and its country: QSL_VIA when it holds a call
  // sign of a country, else CALL.
  std::string_view Route(int row, CallCache& cache, CallMatch& match) {
    const std::string_view via = TrimmedBlanks(table_.CellText(columns_.qslVia, row));
    if (HoldsCallSign(via)) {
      match = cache.Match(via);
      if (match.country != nullptr) return texts_.Normalized(via);
    }
    const std::string_view call = table_.CellText(columns_.call, row);
    match = cache.Match(call);
    return texts_.Normalized(call);
  }

  void ReadRows(const CallResolver& resolver) {
    const int rows = table_.RowCount();
    CallCache cache(resolver);
    keys_.reserve(static_cast<size_t>(std::max(rows - 1, 0)));
    for (int row = 1; row < rows; ++row) {
      if (row + CallCache::kLookAhead < rows) {
        cache.Prefetch(table_.CellText(columns_.call, row + CallCache::kLookAhead));
      }
      if (!IsContactRow(table_, row)) {
        withoutCountry_.push_back(row);
        continue;
      }
      CallMatch match;
      const std::string_view route = Route(row, cache, match);
      if (match.country == nullptr) {
        withoutCountry_.push_back(row);
        ++contactsWithoutCountry_;
        if (!route.empty() && routesWithoutCountry_.insert(route).second) {
          ++stationsWithoutCountry_;
        }
        continue;
      }
      RowKey& key = keys_.emplace_back();
      key.row = row;
      const auto index = static_cast<size_t>(match.country - countries_.data());
      key.group = GroupOf(rank_[index], *match.country, match.areaDigit);
      key.route = RouteWord(route);
      key.shortRoute = route.size() <= 8 ? 1 : 0;
      if (!key.shortRoute) longRoutes_.emplace(row, route);
      key.whenKnown = WhenValue(table_.CellText(columns_.qsoDate, row),
                                table_.CellText(columns_.timeOn, row), key.when)
                          ? 1
                          : 0;
    }
  }

  int CompareRoutes(const RowKey& a, const RowKey& b) const {
    if (a.route != b.route) return a.route < b.route ? -1 : 1;
    if (a.shortRoute && b.shortRoute) return 0;
    const auto text = [this](const RowKey& key) {
      return key.shortRoute ? std::string_view() : longRoutes_.at(key.row);
    };
    // Equal first eight bytes: the shorter call (of at most eight) first.
    if (a.shortRoute != b.shortRoute) return a.shortRoute ? -1 : 1;
    return Sign(text(a).compare(text(b)));
  }

  int CompareWhen(const RowKey& a, const RowKey& b) const {
    if (a.whenKnown && b.whenKnown) return a.when < b.when ? -1 : a.when > b.when ? 1 : 0;
    for (int col : {columns_.qsoDate, columns_.timeOn}) {
      const int c = table_.CellText(col, a.row).compare(table_.CellText(col, b.row));
      if (c != 0) return Sign(c);
    }
    return 0;
  }

  bool Before(const RowKey& a, const RowKey& b) const {
    if (a.group != b.group) return a.group < b.group;
    if (const int c = CompareRoutes(a, b); c != 0) return c < 0;
    if (const int c = CompareWhen(a, b); c != 0) return c < 0;
    return a.row < b.row;
  }

  // The groups of the sorted rows: the rows of a route call are neighbours.
  std::vector<BureauGroup> Groups() const {
    std::vector<BureauGroup> groups;
    const RowKey* previous = nullptr;
    for (const RowKey& key : keys_) {
      if (previous == nullptr || key.group != previous->group) {
        BureauGroup& group = groups.emplace_back();
        group.country = &countries_[countryOfRank_[key.group / kAreasPerCountry]];
        const uint32_t area = key.group % kAreasPerCountry;
        group.areaDigit = area == 0 ? 0 : static_cast<char>('0' + area - 1);
        previous = nullptr;
      }
      if (previous == nullptr || CompareRoutes(*previous, key) != 0) ++groups.back().stations;
      ++groups.back().contacts;
      previous = &key;
    }
    if (contactsWithoutCountry_ > 0) {
      BureauGroup& none = groups.emplace_back();
      none.stations = stationsWithoutCountry_;
      none.contacts = contactsWithoutCountry_;
    }
    return groups;
  }

  const LogTable& table_;
  const LogColumns& columns_;
  const std::vector<CtyCountry>& countries_;
  std::vector<uint32_t> rank_;           // per country: its place by primary prefix
  std::vector<uint32_t> countryOfRank_;  // per place: the country
  RouteTexts texts_;
  std::vector<RowKey> keys_;                                  // the rows with a country
  std::unordered_map<int32_t, std::string_view> longRoutes_;  // route calls over 8 bytes
  std::vector<int> withoutCountry_;                           // the others, in shown order
  std::unordered_set<std::string_view> routesWithoutCountry_;
  int contactsWithoutCountry_ = 0;
  int stationsWithoutCountry_ = 0;
};

}  // namespace

bool SortsByCallArea(const CtyCountry& country) {
  return country.primaryPrefix == "K" || country.primaryPrefix == "VE" ||
         country.primaryPrefix == "VK";
}

BureauPlan PlanBureauOrder(const LogTable& table, const LogColumns& columns,
                           const CallResolver& resolver) {
  return BureauPlanner(table, columns, resolver).Plan();
}

void ApplyRowOrder(LogTable& table, const std::vector<int>& order) {
  const size_t rows = static_cast<size_t>(std::max(0, table.RowCount() - 1));
  if (order.size() != rows) throw std::invalid_argument("row order does not fit the table");
  std::vector<uint32_t> sourceOf(rows);
  for (size_t i = 0; i < rows; ++i) {
    if (order[i] < 1) throw std::invalid_argument("row order is no permutation of the rows");
    sourceOf[i] = static_cast<uint32_t>(order[i] - 1);
  }
  table.ArrangeRows(1, sourceOf);
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
