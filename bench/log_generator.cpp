#include "bench/log_generator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <unistd.h>

namespace kartex::bench {
namespace {

// ---------------------------------------------------------------------------
// Random numbers: our own generator and range reduction, so that a seed gives
// the same log with every compiler and standard library.

uint64_t SplitMix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

class Random {
 public:
  explicit Random(uint64_t seed) {
    for (auto& word : s_) word = SplitMix(seed);
  }
  uint64_t Next() {  // xoshiro256**
    const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }
  // Uniform in [0, n).
  uint64_t Below(uint64_t n) {
    return static_cast<uint64_t>((static_cast<unsigned __int128>(Next()) * n) >> 64);
  }
  int Int(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<uint64_t>(hi - lo + 1)));
  }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  bool Chance(double p) { return Unit() < p; }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(items.size())];
  }

 private:
  static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t s_[4];
};

// Picks an index by weight through a cumulative table.
class WeightedPick {
 public:
  explicit WeightedPick(const std::vector<double>& weights) {
    double sum = 0;
    for (double w : weights) cumulative_.push_back(sum += w);
  }
  size_t operator()(Random& rng) const {
    const double x = rng.Unit() * cumulative_.back();
    const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), x);
    return std::min(static_cast<size_t>(it - cumulative_.begin()), cumulative_.size() - 1);
  }

 private:
  std::vector<double> cumulative_;
};

// ---------------------------------------------------------------------------
// Windows-1250: the texts below are written in UTF-8 and turned into the
// log's code page on output. Upper half of the code page, from 0x80.

constexpr std::array<char16_t, 128> kCp1250Upper = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021, 0x0000, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Converts a UTF-8 text of the tables below; a character that the code page
// cannot hold is a fault in the tables, so it stops the generator.
std::string ToCp1250(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    size_t len;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      len = 2;
    } else if ((b & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
      cp = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
      len = 3;
    } else {
      throw std::logic_error("generator text is not UTF-8: " + std::string(utf8));
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else {
      const auto* it =
          std::find(kCp1250Upper.begin(), kCp1250Upper.end(), static_cast<char16_t>(cp));
      if (cp > 0xFFFF || it == kCp1250Upper.end()) {
        throw std::logic_error("generator text not in Windows-1250: " + std::string(utf8));
      }
      out.push_back(static_cast<char>(0x80 + (it - kCp1250Upper.begin())));
    }
    i += len;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Names and places by region (UTF-8 here, Windows-1250 in the file).

enum Region {
  kPL,
  kDE,
  kCZ,
  kHU,
  kBALKAN,
  kUK,
  kUS,
  kCA,
  kOC,
  kES,
  kLATAM,
  kBR,
  kIT,
  kFR,
  kNORDIC,
  kBENELUX,
  kEAST,
  kBALTIC,
  kASIA,
  kDX,
  kRegionCount
};

struct RegionTexts {
  std::vector<std::string_view> names;
  std::vector<std::string_view> places;
};

const std::array<RegionTexts, kRegionCount>& RegionTable() {
  static const std::array<RegionTexts, kRegionCount> table = {{
      {{"Józef",     "Stanisław", "Łukasz",   "Paweł",   "Grzegorz", "Małgorzata",
        "Krzysztof", "Wojciech",  "Tomasz",   "Andrzej", "Jarosław", "Zbigniew",
        "Mirosław",  "Bożena",    "Jacek",    "Michał",  "Marek",    "Piotr",
        "Leszek",    "Sławomir",  "Zdzisław", "Jerzy",   "Ryszard",  "Elżbieta"},
       {"Łódź",         "Kraków",       "Gdańsk",
        "Wrocław",      "Poznań",       "Kielce, Świętokrzyskie",
        "Białystok",    "Rzeszów",      "Toruń",
        "Częstochowa",  "Zielona Góra", "Bielsko-Biała",
        "Jelenia Góra", "Szczecin",     "Łomża",
        "Płock",        "Zakopane",     "Sędziszów Młp.",
        "Warszawa",     "Lublin",       "Opole",
        "Świnoujście"}},
      {{"Jürgen", "Klaus", "Günter", "Hans", "Wolfgang", "Dieter", "Jörg", "Uwe", "Stefan",
        "Thomas", "Rüdiger", "Heinz"},
       {"München", "Köln", "Hamburg", "Berlin", "Nürnberg", "Düsseldorf", "Dresden", "Leipzig",
        "Wien", "Graz", "Zürich", "Bern", "Göttingen"}},
      {{"Jiří", "Petr", "Tomáš", "Ľubomír", "Jan", "Miroslav", "Václav", "Jaroslav", "Štefan"},
       {"Praha", "Brno", "Ostrava", "Plzeň", "Bratislava", "Košice", "Žilina", "České Budějovice"}},
      {{"Ödön", "László", "Gábor", "Zoltán", "István", "Péter"},
       {"Budapest", "Győr", "Pécs", "Szeged", "Debrecen"}},
      {{"Ivan", "Željko", "Goran", "Damir", "Nikola", "Dragan", "Bogdan", "Radu", "Georgi"},
       {"Zagreb", "Split", "Rijeka", "Osijek", "Ljubljana", "Beograd", "Sofia", "Bucureşti",
        "Sarajevo"}},
      {{"Peter", "Sarah", "John", "Dave", "Steve", "Chris", "Ian", "Colin", "Nigel", "Fiona"},
       {"Leeds", "Bristol", "London", "Manchester", "York", "Glasgow", "Cardiff", "Belfast",
        "Dublin"}},
      {{"Bob", "Mike", "Jim", "Bill", "Tom", "Gary", "Joe", "Rick", "Dan", "Mary", "Ed", "Chuck"},
       {"Boston MA", "Tucson AZ", "Atlanta GA", "Denver CO", "Austin TX", "Seattle WA", "Dayton OH",
        "Miami FL", "Portland OR", "Albany NY", "Reno NV", "Madison WI"}},
      {{"Doug", "Al", "Pierre", "Gord", "Ken", "Rene"},
       {"Ottawa ON", "Toronto ON", "Montreal QC", "Calgary AB", "Halifax NS", "Winnipeg MB"}},
      {{"Bruce", "Kiri", "Graham", "Wayne", "Shane", "Kylie"},
       {"Sydney NSW", "Perth WA", "Melbourne VIC", "Auckland", "Wellington", "Brisbane QLD"}},
      {{"Jordi", "José", "Antonio", "Manuel", "Paco", "Rui", "Nuno"},
       {"Barcelona", "Madrid", "Valencia", "Sevilla", "Málaga", "Lisboa", "Porto", "Braga"}},
      {{"Carlos", "Diego", "Luis", "Jorge", "Raúl", "Pablo"},
       {"Buenos Aires", "Córdoba", "Rosario", "Santiago", "Lima", "Bogotá", "Montevideo", "Quito"}},
      {{"Carlos", "Paulo", "Marcos", "Roberto", "Sergio"},
       {"Sao Paulo", "Rio de Janeiro", "Curitiba", "Recife", "Porto Alegre"}},
      {{"Marco", "Giuseppe", "Luca", "Franco", "Paolo", "Gianni"},
       {"Milano", "Roma", "Torino", "Napoli", "Bologna", "Cagliari"}},
      {{"Jean", "Pierre", "Michel", "Philippe", "Didier", "Hervé"},
       {"Lyon", "Paris", "Marseille", "Toulouse", "Nantes", "Ajaccio"}},
      {{"Lars", "Ola", "Matti", "Jens", "Erik", "Anders", "Jari", "Pekka"},
       {"Uppsala", "Oslo", "Espoo", "Aarhus", "Göteborg", "Malmö", "Jyväskylä", "Bergen",
        "Reykjavik"}},
      {{"Jan", "Kees", "Henk", "Pieter", "Luc", "Marc"},
       {"Utrecht", "Rotterdam", "Eindhoven", "Gent", "Antwerpen", "Namur"}},
      {{"Sergey", "Ivan", "Oleg", "Vladimir", "Alexander", "Dmitry", "Yuri", "Nikolay", "Andrey"},
       {"Moscow", "Kyiv", "Minsk", "Novosibirsk", "Lviv", "Kazan", "Omsk", "Odesa", "Almaty"}},
      {{"Jonas", "Andris", "Toomas", "Vytautas", "Janis"},
       {"Vilnius", "Kaunas", "Riga", "Tallinn", "Tartu"}},
      {{"Hiro", "Takeshi", "Kenji", "Wei", "Min", "Raj", "Somchai"},
       {"Tokyo", "Osaka", "Nagoya", "Beijing", "Seoul", "Taipei", "Mumbai", "Bangkok"}},
      {{"Ahmed", "Ali", "Moshe", "Johan", "Samir", "Yusuf", "Kwame"},
       {"Pretoria", "Cape Town", "Tel Aviv", "Dubai", "Casablanca", "Nairobi", ""}},
  }};
  return table;
}

// ---------------------------------------------------------------------------
// Countries: ADIF DXCC number, prefixes, the digits a call may carry after a
// prefix that ends in a letter, continent, zones, region and how often the
// country turns up in a log kept in Poland.

struct Entity {
  const char* dxcc;
  const char* prefixes;  // separated by blanks
  const char* digits;
  const char* continent;
  int cqZone;
  int ituZone;
  Region region;
  double weight;
  const char* country;
};

constexpr const char* kAnyDigit = "0123456789";

const std::vector<Entity>& EntityTable() {
  static const std::vector<Entity> table = {
      {"269", "SP SQ SO SN 3Z", kAnyDigit, "EU", 15, 28, kPL, 14, "Poland"},
      {"230", "DL DK DJ DF DG DH DM DO DB DC DD", kAnyDigit, "EU", 14, 28, kDE, 10,
       "Fed. Rep. of Germany"},
      {"223", "G M 2E", kAnyDigit, "EU", 14, 27, kUK, 4, "England"},
      {"291",
       "K W N AA AB AC AD AE AF AG AI AJ AK KA KB KC KD KE KF KG KI KJ KK KM KN KO KQ "
       "WA WB WD N",
       kAnyDigit, "NA", 5, 8, kUS, 8, "United States"},
      {"001", "VE VA VY", "123456789", "NA", 4, 4, kCA, 1.5, "Canada"},
      {"339", "JA JE JF JG JH JI JJ JK JL JM JN JO JR 7K 7L 7M 7N", kAnyDigit, "AS", 25, 45, kASIA,
       3, "Japan"},
      {"248", "I IK IZ IW IU IN", "1234567890", "EU", 15, 28, kIT, 5, "Italy"},
      {"227", "F", kAnyDigit, "EU", 14, 27, kFR, 3, "France"},
      {"281", "EA EB EC ED EE", "1234567", "EU", 14, 37, kES, 3, "Spain"},
      {"503", "OK OL", "1234567", "EU", 15, 28, kCZ, 4, "Czech Republic"},
      {"504", "OM", "12345678", "EU", 15, 28, kCZ, 2, "Slovak Republic"},
      {"288", "UR UT UX UY US UW UV", kAnyDigit, "EU", 16, 29, kEAST, 4, "Ukraine"},
      {"054", "UA RA RK RN RU RV RW RX RZ", "134567", "EU", 16, 29, kEAST, 5, "European Russia"},
      {"015", "UA RA RK RU RV RW RX", "890", "AS", 17, 30, kEAST, 2, "Asiatic Russia"},
      {"146", "LY", "12345", "EU", 15, 29, kBALTIC, 2, "Lithuania"},
      {"284", "SM SA SK 7S 8S", "1234567", "EU", 14, 18, kNORDIC, 2, "Sweden"},
      {"266", "LA LB", "123456789", "EU", 14, 18, kNORDIC, 1, "Norway"},
      {"224", "OH OG OF", "123456789", "EU", 15, 18, kNORDIC, 1.5, "Finland"},
      {"108", "PY PP PU ZY", "1234567", "SA", 11, 15, kBR, 1.5, "Brazil"},
      {"100", "LU LW AY", "123456789", "SA", 13, 14, kLATAM, 1, "Argentina"},
      {"150", "VK", "12345678", "OC", 30, 59, kOC, 1, "Australia"},
      {"170", "ZL", "12346", "OC", 32, 60, kOC, 0.5, "New Zealand"},
      {"462", "ZS", "123456", "AF", 38, 57, kDX, 0.5, "South Africa"},
      {"206", "OE", "123456789", "EU", 15, 28, kDE, 2, "Austria"},
      {"239", "HA HG", "12345678", "EU", 15, 28, kHU, 2, "Hungary"},
      {"263", "PA PD PE PH", "0123456789", "EU", 14, 27, kBENELUX, 2, "Netherlands"},
      {"209", "ON OO OT", "1234789", "EU", 14, 27, kBENELUX, 1.5, "Belgium"},
      {"287", "HB9 HB3", "", "EU", 14, 28, kDE, 1.5, "Switzerland"},
      {"221", "OZ 5P 5Q", "123456789", "EU", 14, 18, kNORDIC, 1.5, "Denmark"},
      {"497", "9A", "12345", "EU", 15, 28, kBALKAN, 1.5, "Croatia"},
      {"145", "YL", "123", "EU", 15, 29, kBALTIC, 1, "Latvia"},
      {"052", "ES", "123456789", "EU", 15, 29, kBALTIC, 1, "Estonia"},
      {"027", "EW EU", "12345678", "EU", 16, 29, kEAST, 1.5, "Belarus"},
      {"179", "ER", "1345", "EU", 16, 29, kEAST, 0.5, "Moldova"},
      {"275", "YO YP YQ YR", "2345678", "EU", 20, 28, kBALKAN, 2, "Romania"},
      {"212", "LZ", "12345", "EU", 20, 28, kBALKAN, 2, "Bulgaria"},
      {"499", "S5", "0123456789", "EU", 15, 28, kBALKAN, 1, "Slovenia"},
      {"296", "YU YT", "1234567", "EU", 15, 28, kBALKAN, 1.5, "Serbia"},
      {"501", "E7", "0123456789", "EU", 15, 28, kBALKAN, 0.5, "Bosnia-Herzegovina"},
      {"502", "Z3", "0123456789", "EU", 15, 28, kBALKAN, 0.3, "North Macedonia"},
      {"514", "4O", "0123456789", "EU", 15, 28, kBALKAN, 0.2, "Montenegro"},
      {"007", "ZA", "1", "EU", 15, 28, kBALKAN, 0.2, "Albania"},
      {"236", "SV SX SZ", "12345678", "EU", 20, 28, kDX, 1, "Greece"},
      {"040", "SV9", "", "EU", 20, 28, kDX, 0.2, "Crete"},
      {"045", "SV5", "", "EU", 20, 28, kDX, 0.1, "Dodecanese"},
      {"390", "TA TB TC", "1234567", "AS", 20, 39, kDX, 0.8, "Asiatic Turkey"},
      {"215", "5B C4 H2", "0123456789", "AS", 20, 39, kDX, 0.3, "Cyprus"},
      {"257", "9H", "1345", "EU", 15, 28, kDX, 0.4, "Malta"},
      {"272", "CT CS CR", "1234567", "EU", 14, 37, kES, 1, "Portugal"},
      {"149", "CU", "123456789", "EU", 14, 36, kES, 0.2, "Azores"},
      {"256", "CT3 CR3", "", "AF", 33, 36, kES, 0.2, "Madeira Islands"},
      {"029", "EA8 EB8 EC8", "", "AF", 33, 36, kES, 0.4, "Canary Islands"},
      {"021", "EA6 EB6", "", "EU", 14, 37, kES, 0.2, "Balearic Islands"},
      {"245", "EI EJ", "0123456789", "EU", 14, 27, kUK, 0.8, "Ireland"},
      {"265", "GI MI", "0123456789", "EU", 14, 27, kUK, 0.4, "Northern Ireland"},
      {"279", "GM MM", "0123456789", "EU", 14, 27, kUK, 0.8, "Scotland"},
      {"294", "GW MW", "0123456789", "EU", 14, 27, kUK, 0.5, "Wales"},
      {"114", "GD MD", "0123456789", "EU", 14, 27, kUK, 0.1, "Isle of Man"},
      {"106", "GU MU", "0123456789", "EU", 14, 27, kUK, 0.1, "Guernsey"},
      {"122", "GJ MJ", "0123456789", "EU", 14, 27, kUK, 0.1, "Jersey"},
      {"242", "TF", "12345678", "EU", 40, 17, kNORDIC, 0.3, "Iceland"},
      {"222", "OY", "1369", "EU", 14, 18, kNORDIC, 0.1, "Faroe Islands"},
      {"005", "OH0", "", "EU", 15, 18, kNORDIC, 0.1, "Aland Islands"},
      {"254", "LX", "123456789", "EU", 14, 27, kBENELUX, 0.3, "Luxembourg"},
      {"251", "HB0", "", "EU", 14, 28, kDE, 0.1, "Liechtenstein"},
      {"260", "3A", "2", "EU", 14, 27, kFR, 0.1, "Monaco"},
      {"214", "TK", "0123456789", "EU", 15, 28, kFR, 0.2, "Corsica"},
      {"225", "IS0 IM0", "", "EU", 15, 28, kIT, 0.3, "Sardinia"},
      {"278", "T7", "0", "EU", 15, 28, kIT, 0.1, "San Marino"},
      {"126", "UA2 RA2 RK2", "", "EU", 15, 29, kEAST, 0.4, "Kaliningrad"},
      {"006", "KL AL NL WL", "7", "NA", 1, 1, kUS, 0.3, "Alaska"},
      {"110", "KH6 NH6 WH6 AH6", "", "OC", 31, 61, kUS, 0.3, "Hawaii"},
      {"050", "XE XF", "123", "NA", 6, 10, kLATAM, 0.5, "Mexico"},
      {"202", "KP4 NP4 WP4", "", "NA", 8, 11, kLATAM, 0.3, "Puerto Rico"},
      {"070", "CO CM CL", "1234678", "NA", 8, 11, kLATAM, 0.3, "Cuba"},
      {"072", "HI", "3678", "NA", 8, 11, kLATAM, 0.2, "Dominican Republic"},
      {"116", "HK HJ 5K", "0123456789", "SA", 9, 12, kLATAM, 0.4, "Colombia"},
      {"148", "YV YY", "1234567", "SA", 9, 12, kLATAM, 0.3, "Venezuela"},
      {"136", "OA OB", "1234", "SA", 10, 12, kLATAM, 0.3, "Peru"},
      {"112", "CE CA XQ", "12345678", "SA", 12, 14, kLATAM, 0.5, "Chile"},
      {"144", "CX", "123456789", "SA", 13, 14, kLATAM, 0.3, "Uruguay"},
      {"120", "HC HD", "12345", "SA", 10, 12, kLATAM, 0.2, "Ecuador"},
      {"104", "CP", "123456", "SA", 10, 12, kLATAM, 0.1, "Bolivia"},
      {"132", "ZP", "5", "SA", 11, 14, kLATAM, 0.1, "Paraguay"},
      {"308", "TI", "2345", "NA", 7, 11, kLATAM, 0.2, "Costa Rica"},
      {"088", "HP", "12345", "NA", 7, 11, kLATAM, 0.1, "Panama"},
      {"064", "VP9", "", "NA", 5, 11, kUS, 0.1, "Bermuda"},
      {"090", "9Y 9Z", "4", "SA", 9, 11, kDX, 0.1, "Trinidad & Tobago"},
      {"318", "BY BG BA BD BH", "1234567", "AS", 24, 44, kASIA, 0.5, "China"},
      {"137", "HL DS 6K 6L", "12345", "AS", 25, 44, kASIA, 0.5, "Republic of Korea"},
      {"386", "BV BX BM", "2", "AS", 24, 44, kASIA, 0.2, "Taiwan"},
      {"321", "VR2", "", "AS", 24, 44, kASIA, 0.1, "Hong Kong"},
      {"324", "VU", "23", "AS", 22, 41, kASIA, 0.3, "India"},
      {"375", "DU DV DW DX DY DZ 4F", "123456789", "OC", 27, 50, kASIA, 0.3, "Philippines"},
      {"327", "YB YC YD YE YF YG YH", "0123456789", "OC", 28, 51, kASIA, 0.4, "Indonesia"},
      {"387", "HS E2", "0", "AS", 26, 49, kASIA, 0.2, "Thailand"},
      {"381", "9V", "1", "AS", 28, 54, kASIA, 0.1, "Singapore"},
      {"299", "9M2 9M4", "", "AS", 28, 54, kASIA, 0.1, "West Malaysia"},
      {"336", "4X 4Z", "0123456789", "AS", 20, 39, kDX, 0.4, "Israel"},
      {"130", "UN UP UQ", "0123456789", "AS", 17, 30, kEAST, 0.4, "Kazakhstan"},
      {"292", "UK", "8", "AS", 17, 30, kEAST, 0.1, "Uzbekistan"},
      {"014", "EK", "6", "AS", 21, 29, kEAST, 0.1, "Armenia"},
      {"075", "4L", "0123456789", "AS", 21, 29, kEAST, 0.2, "Georgia"},
      {"018", "4J 4K", "0123456789", "AS", 21, 29, kEAST, 0.1, "Azerbaijan"},
      {"391", "A6", "0123456789", "AS", 21, 39, kDX, 0.2, "United Arab Emirates"},
      {"378", "HZ 7Z", "1", "AS", 21, 39, kDX, 0.1, "Saudi Arabia"},
      {"376", "A7", "1", "AS", 21, 39, kDX, 0.1, "Qatar"},
      {"304", "A9", "2", "AS", 21, 39, kDX, 0.1, "Bahrain"},
      {"348", "9K", "2", "AS", 21, 39, kDX, 0.1, "Kuwait"},
      {"446", "CN 5C", "2789", "AF", 33, 37, kDX, 0.2, "Morocco"},
      {"400", "7X", "2345", "AF", 33, 37, kDX, 0.1, "Algeria"},
      {"474", "3V TS", "8", "AF", 33, 37, kDX, 0.1, "Tunisia"},
      {"478", "SU", "1", "AF", 34, 38, kDX, 0.1, "Egypt"},
      {"430", "5Z", "4", "AF", 37, 48, kDX, 0.1, "Kenya"},
      {"450", "5N", "0123456789", "AF", 35, 46, kDX, 0.1, "Nigeria"},
      {"464", "V5", "1", "AF", 38, 57, kDX, 0.1, "Namibia"},
      {"176", "3D2", "", "OC", 32, 56, kOC, 0.05, "Fiji"},
      {"162", "FK", "8", "OC", 32, 56, kFR, 0.05, "New Caledonia"},
      {"175", "FO", "5", "OC", 32, 63, kFR, 0.05, "French Polynesia"},
      {"237", "OX", "3", "NA", 40, 5, kNORDIC, 0.05, "Greenland"},
  };
  return table;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t j = i;
    while (j < text.size() && text[j] != ' ') ++j;
    if (j > i) words.push_back(text.substr(i, j - i));
    i = j;
  }
  return words;
}

char Letter(Random& rng) { return static_cast<char>('A' + rng.Below(26)); }

// A call of the country: prefix, a digit unless the prefix ends in one, and a
// suffix of one to three letters.
std::string MakeCall(Random& rng, const Entity& entity,
                     const std::vector<std::string_view>& prefixes) {
  std::string call(prefixes[rng.Below(prefixes.size())]);
  const size_t digitCount = std::strlen(entity.digits);
  if (!std::isdigit(static_cast<unsigned char>(call.back())) && digitCount > 0) {
    call.push_back(entity.digits[rng.Below(digitCount)]);
  }
  const double r = rng.Unit();
  const int suffix = r < 0.05 ? 1 : r < 0.40 ? 2 : 3;
  for (int i = 0; i < suffix; ++i) call.push_back(Letter(rng));
  return call;
}

struct Station {
  std::string call;
  uint32_t entity;
  uint64_t traits;  // seeds name, place, grid and QSL route
};

// Days since 1970-01-01 to year, month, day (proleptic Gregorian).
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

std::string DateText(int64_t days) {
  int y, m, d;
  CivilFromDays(days, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
  return buf;
}

std::string TimeText(int seconds) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d", seconds / 3600 % 24, seconds / 60 % 60,
                seconds % 60);
  return buf;
}

struct Band {
  const char* name;
  double cwMHz;   // bottom of the CW segment
  double ssbMHz;  // bottom of the phone segment
  double ft8MHz;  // FT8 dial frequency
  double weight;
};

constexpr std::array<Band, 11> kBands = {{
    {"160M", 1.810, 1.840, 1.840, 2},
    {"80M", 3.500, 3.700, 3.573, 8},
    {"40M", 7.000, 7.100, 7.074, 18},
    {"30M", 10.100, 10.130, 10.136, 6},
    {"20M", 14.000, 14.150, 14.074, 25},
    {"17M", 18.068, 18.120, 18.100, 8},
    {"15M", 21.000, 21.200, 21.074, 12},
    {"12M", 24.890, 24.940, 24.915, 4},
    {"10M", 28.000, 28.400, 28.074, 10},
    {"6M", 50.000, 50.150, 50.313, 4},
    {"2M", 144.000, 144.200, 144.174, 3},
}};

enum Mode { kCW, kSSB, kFT8, kFT4, kRTTY, kPSK };
constexpr std::array<const char*, 6> kModeNames = {"CW", "SSB", "FT8", "FT4", "RTTY", "PSK31"};
constexpr std::array<double, 6> kModeWeights = {30, 28, 30, 5, 5, 2};

constexpr std::array<const char*, 9> kRigs = {"IC-7300",  "IC-7610",  "FT-991A",
                                              "FT-DX10",  "TS-590SG", "K3",
                                              "FT-817ND", "IC-9700",  "FTDX101D"};
constexpr std::array<const char*, 7> kAntennas = {"Dipol 2x20m", "Windom",   "GP 5/8",  "Yagi 3el",
                                                  "Delta Loop",  "Beverage", "Yagi 9el"};
constexpr std::array<const char*, 12> kComments = {"Dzięki za QSO",
                                                   "Ładny sygnał, 73",
                                                   "Pierwsze QSO z tym krajem!",
                                                   "Słaby sygnał, QSB",
                                                   "tnx fer QSO 73",
                                                   "QRM z sąsiedniej częstotliwości",
                                                   "Wesołych Świąt",
                                                   "QSO w czasie zawodów SP DX",
                                                   "mówi \"73 i do usłyszenia\"",
                                                   "Zgłoszony do dyplomu PZK",
                                                   "pile-up, 5 min",
                                                   "Józef z Kielc pozdrawia"};
constexpr std::array<const char*, 6> kContests = {"CQ-WW-CW", "CQ-WW-SSB", "SPDX",
                                                  "IARU-HF",  "CQ-WPX-CW", "EU-HF"};
constexpr std::array<const char*, 5> kDirect = {"DIRECT", "direct", "Direct", "DIRECT ONLY",
                                                "Direct only"};

// A few hundred QSL managers; a handful of them serve many stations.
std::vector<std::string> MakeManagers(Random& rng) {
  static constexpr std::array<const char*, 26> prefixes = {
      "EA5", "EA7", "IK2", "IZ8", "I2",  "W3",  "K5",  "N2", "W9",  "DL1", "DJ9", "G3",  "M0",
      "OK1", "SP5", "SP9", "LZ1", "YO3", "UA3", "OH2", "F6", "ON4", "VE3", "JA1", "9A2", "HA3"};
  std::unordered_set<std::string> seen;
  std::vector<std::string> managers;
  while (managers.size() < 300) {
    std::string call = prefixes[rng.Below(prefixes.size())];
    const int suffix = rng.Chance(0.3) ? 2 : 3;
    for (int i = 0; i < suffix; ++i) call.push_back(Letter(rng));
    if (seen.insert(call).second) managers.push_back(std::move(call));
  }
  return managers;
}

// How many times each station is worked: about 70 % of the rows go to
// stations worked once, the rest to stations worked 2..120 times with
// P(count) falling as count^-2 (a few stations appear dozens of times).
std::vector<uint32_t> StationCounts(Random& rng, int64_t rows) {
  constexpr int kMaxCount = 120;
  std::vector<double> weights;
  for (int c = 2; c <= kMaxCount; ++c) weights.push_back(1.0 / (static_cast<double>(c) * c));
  const WeightedPick pick(weights);

  std::vector<uint32_t> counts;
  int64_t left = rows - static_cast<int64_t>(std::llround(0.70 * static_cast<double>(rows)));
  while (left > 0) {
    const auto c = std::min<int64_t>(static_cast<int64_t>(pick(rng)) + 2, left);
    counts.push_back(static_cast<uint32_t>(c));
    left -= c;
  }
  const int64_t repeated = std::accumulate(counts.begin(), counts.end(), int64_t{0});
  counts.insert(counts.end(), static_cast<size_t>(rows - repeated), 1u);
  return counts;
}

class FileWriter {
 public:
  explicit FileWriter(const std::string& path)
      : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    buffer_.reserve(kChunk + 4096);
  }
  ~FileWriter() {
    if (file_) std::fclose(file_);
  }
  std::string& Buffer() { return buffer_; }
  void MaybeFlush() {
    if (buffer_.size() >= kChunk) Flush();
  }
  void Close() {
    Flush();
    const int rc = std::fclose(file_);
    file_ = nullptr;
    if (rc != 0) throw std::runtime_error("cannot write " + path_ + ": " + std::strerror(errno));
  }
  int64_t Written() const { return written_ + static_cast<int64_t>(buffer_.size()); }

 private:
  static constexpr size_t kChunk = 1 << 20;
  void Flush() {
    if (!buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
      throw std::runtime_error("cannot write " + path_ + ": " + std::strerror(errno));
    }
    written_ += static_cast<int64_t>(buffer_.size());
    buffer_.clear();
  }
  std::string path_;
  FILE* file_;
  std::string buffer_;
  int64_t written_ = 0;
};

// Appends one line of quoted fields, quotes inside a field doubled.
void AppendLine(std::string& out, const std::array<std::string, kGeneratedColumns>& fields) {
  for (int c = 0; c < kGeneratedColumns; ++c) {
    if (c > 0) out.push_back(',');
    out.push_back('"');
    for (char ch : fields[c]) {
      if (ch == '"') out.push_back('"');
      out.push_back(ch);
    }
    out.push_back('"');
  }
  out += "\r\n";
}

constexpr std::array<const char*, kGeneratedColumns> kHeader = {
    "QSO_DATE",
    "TIME_ON",
    "BAND",
    "MODE",
    "CALL",
    "RST_SENT",
    "RST_RCVD",
    "NAME",
    "QTH",
    "FREQ",
    "TIME_OFF",
    "QSO_DATE_OFF",
    "FREQ_RX",
    "BAND_RX",
    "SUBMODE",
    "TX_PWR",
    "RX_PWR",
    "GRIDSQUARE",
    "MY_GRIDSQUARE",
    "STATE",
    "CNTY",
    "CQZ",
    "ITUZ",
    "CONT",
    "PFX",
    "COUNTRY",
    "LAT",
    "LON",
    "ANT_AZ",
    "PROP_MODE",
    "DXCC",
    "IOTA",
    "QSL_SENT",
    "QSL_SDATE",
    "QSL_RCVD",
    "QSL_RDATE",
    "QSL_SENT_VIA",
    "QSL_RCVD_VIA",
    "LOTW_QSL_SENT",
    "LOTW_QSL_RCVD",
    "EQSL_QSL_SENT",
    "QSL_VIA",
    "EQSL_QSL_RCVD",
    "LOTW_QSLSDATE",
    "LOTW_QSLRDATE",
    "OPERATOR",
    "STATION_CALLSIGN",
    "MY_RIG",
    "MY_ANTENNA",
    "CONTEST_ID",
    "SRX",
    "STX",
    "COMMENT",
};
static_assert(std::string_view(kHeader[kCallColumn]) == "CALL");
static_assert(std::string_view(kHeader[kDxccColumn]) == "DXCC");
static_assert(std::string_view(kHeader[kQslViaColumn]) == "QSL_VIA");

// The UTF-8 form of Windows-1250 text, for the ADIF form of the log.
std::string ToUtf8(std::string_view text) {
  std::string out;
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    const char32_t cp = b < 0x80 ? b : kCp1250Upper[b - 0x80];
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// How the log is written: its first lines, one contact, one empty row.
class LogLayout {
 public:
  explicit LogLayout(LogFormat format) : format_(format) {}

  void Header(std::string& out) const {
    if (format_ == LogFormat::kCsv) {
      std::array<std::string, kGeneratedColumns> names;
      for (int c = 0; c < kGeneratedColumns; ++c) names[c] = kHeader[c];
      AppendLine(out, names);
    } else {
      out +=
          "Generated log of the KARTEX benchmarks\r\n<ADIF_VER:5>3.1.6\r\n"
          "<PROGRAMID:14>KARTEX-BENCH\r\n<EOH>\r\n";
    }
  }

  // The ADIF form writes the non-empty fields, and all of them in its
  // first record, so that the fields appear in the order of the CSV.
  void Contact(std::string& out, const std::array<std::string, kGeneratedColumns>& fields) {
    if (format_ == LogFormat::kCsv) {
      AppendLine(out, fields);
      return;
    }
    for (int c = 0; c < kGeneratedColumns; ++c) {
      if (fields[c].empty() && !firstRecord_) continue;
      std::string value = ToUtf8(fields[c]);
      // The CSV holds a line break of a cell as byte 11.
      for (size_t k = value.find('\x0B'); k != std::string::npos; k = value.find('\x0B', k + 2))
        value.replace(k, 1, "\r\n");
      out += '<';
      out += kHeader[c];
      out += ':';
      out += std::to_string(value.size());
      out += '>';
      out += value;
      out += ' ';
    }
    out += "<EOR>\r\n";
    firstRecord_ = false;
  }

  // variant 0: all fields empty; 1: a line without fields.
  void EmptyRow(std::string& out, int variant) const {
    if (format_ == LogFormat::kAdif) {
      out += "<EOR>\r\n";
    } else if (variant == 0) {
      AppendLine(out, std::array<std::string, kGeneratedColumns>{});
    } else {
      out += "\r\n";
    }
  }

 private:
  LogFormat format_;
  bool firstRecord_ = true;
};

// The prefix a WPX award would count: the call up to and including its last digit.
std::string WpxPrefix(const std::string& call) {
  const size_t lastDigit = call.find_last_of("0123456789");
  return lastDigit == std::string::npos ? call.substr(0, 2) : call.substr(0, lastDigit + 1);
}

std::string GridSquare(Random& rng, bool six) {
  std::string g;
  g.push_back(static_cast<char>('A' + rng.Below(18)));
  g.push_back(static_cast<char>('A' + rng.Below(18)));
  g.push_back(static_cast<char>('0' + rng.Below(10)));
  g.push_back(static_cast<char>('0' + rng.Below(10)));
  if (six) {
    g.push_back(static_cast<char>('a' + rng.Below(24)));
    g.push_back(static_cast<char>('a' + rng.Below(24)));
  }
  return g;
}

// A digital-mode report in dB, written as WSJT-X does: -07, +03.
std::string SignalReport(int db) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%+03d", db);
  return buf;
}

std::string Fixed(double value, int decimals) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

}  // namespace

const char* const* GeneratorDxccCodes(int* count) {
  static const std::vector<const char*> codes = [] {
    std::vector<const char*> v;
    for (const auto& e : EntityTable()) v.push_back(e.dxcc);
    return v;
  }();
  *count = static_cast<int>(codes.size());
  return codes.data();
}

GeneratedLogStats GenerateLog(const LogGeneratorOptions& options, const std::string& path) {
  if (options.rows < 0 || options.emptyRows < 0) throw std::invalid_argument("negative row count");
  Random rng(options.seed);

  // Texts of the code page, converted once.
  const auto& entities = EntityTable();
  std::vector<std::vector<std::string_view>> prefixes;
  std::vector<double> entityWeights;
  for (const auto& e : entities) {
    prefixes.push_back(Words(e.prefixes));
    entityWeights.push_back(e.weight);
  }
  const WeightedPick pickEntity(entityWeights);
  std::array<std::vector<std::string>, kRegionCount> names, places;
  for (int r = 0; r < kRegionCount; ++r) {
    for (auto n : RegionTable()[r].names) names[r].push_back(ToCp1250(n));
    for (auto p : RegionTable()[r].places) places[r].push_back(ToCp1250(p));
  }
  std::vector<std::string> comments;
  for (auto c : kComments) comments.push_back(ToCp1250(c));

  const std::vector<std::string> managers = MakeManagers(rng);
  std::vector<double> managerWeights;
  for (size_t i = 0; i < managers.size(); ++i)
    managerWeights.push_back(1.0 / static_cast<double>(i + 1));
  const WeightedPick pickManager(managerWeights);

  // Stations and the order in which they are worked.
  const std::vector<uint32_t> counts = StationCounts(rng, options.rows);
  std::vector<Station> stations;
  stations.reserve(counts.size());
  std::unordered_set<std::string> taken;
  taken.reserve(counts.size() * 2);
  for (size_t s = 0; s < counts.size(); ++s) {
    const auto entity = static_cast<uint32_t>(pickEntity(rng));
    std::string call;
    do {
      call = MakeCall(rng, entities[entity], prefixes[entity]);
      if (rng.Chance(0.005)) call += "/P";
    } while (!taken.insert(call).second);
    stations.push_back({std::move(call), entity, rng.Next()});
  }
  std::vector<uint32_t> order;
  order.reserve(static_cast<size_t>(options.rows));
  for (size_t s = 0; s < counts.size(); ++s)
    order.insert(order.end(), counts[s], static_cast<uint32_t>(s));
  for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[rng.Below(i)]);

  // Written under a temporary name and renamed when complete.
  const std::string temp = path + ".part" + std::to_string(::getpid());
  GeneratedLogStats stats;
  std::unordered_map<std::string, int64_t> callRows;
  callRows.reserve(counts.size() * 2);
  try {
    FileWriter out(temp);
    LogLayout layout(options.format);
    layout.Header(out.Buffer());
    std::array<std::string, kGeneratedColumns> f;

    const int64_t firstDay = 16436;  // 2015-01-01
    const double spanDays = 3650.0;
    const int64_t emptyEvery =
        options.emptyRows > 0 ? std::max<int64_t>(1, options.rows / options.emptyRows) : 0;
    int64_t emptyWritten = 0;
    int serial = 0;
    std::vector<double> bandWeights;
    for (const auto& b : kBands) bandWeights.push_back(b.weight);
    const WeightedPick pickBand(bandWeights);
    const WeightedPick pickMode({kModeWeights.begin(), kModeWeights.end()});

    for (int64_t i = 0; i < options.rows; ++i) {
      if (emptyEvery && i > 0 && i % emptyEvery == 0 && emptyWritten < options.emptyRows) {
        layout.EmptyRow(out.Buffer(), static_cast<int>(emptyWritten % 2));
        ++emptyWritten;
      }
      const Station& st = stations[order[static_cast<size_t>(i)]];
      const Entity& e = entities[st.entity];
      Random traits(st.traits);  // the station's own texts, the same in every row
      const Region region = e.region;
      const std::string& name = names[region][traits.Below(names[region].size())];
      const std::string& place = places[region][traits.Below(places[region].size())];
      const bool sixGrid = traits.Chance(0.5);
      const std::string grid = GridSquare(traits, sixGrid);
      const double route = traits.Unit();
      const std::string& manager = managers[pickManager(traits)];

      // Contacts are in time order through ten years.
      const double t = spanDays * static_cast<double>(i) /
                       static_cast<double>(std::max<int64_t>(1, options.rows));
      const int64_t day = firstDay + static_cast<int64_t>(t);
      const int secondOfDay = static_cast<int>((t - std::floor(t)) * 86400.0);
      const Band& band = kBands[pickBand(rng)];
      const Mode mode = static_cast<Mode>(pickMode(rng));
      const bool digital = mode == kFT8 || mode == kFT4 || mode == kPSK;

      for (auto& field : f) field.clear();
      f[0] = DateText(day);
      f[1] = TimeText(secondOfDay);
      f[2] = band.name;
      f[3] = kModeNames[mode];
      // Now and then a station worked often is logged in lower case
      // (typed by hand), which makes it a station of its own.
      f[4] = st.call;
      if (counts[order[static_cast<size_t>(i)]] > 1 && rng.Chance(0.02)) {
        std::transform(f[4].begin(), f[4].end(), f[4].begin(), [](char ch) {
          return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        });
      }
      if (mode == kCW || mode == kRTTY || mode == kPSK) {
        f[5] = rng.Chance(0.9)
                   ? "599"
                   : std::to_string(rng.Int(3, 5)) + std::to_string(rng.Int(5, 9)) + "9";
        f[6] = rng.Chance(0.9)
                   ? "599"
                   : std::to_string(rng.Int(3, 5)) + std::to_string(rng.Int(5, 9)) + "9";
      } else if (mode == kSSB) {
        f[5] =
            rng.Chance(0.85) ? "59" : std::to_string(rng.Int(3, 5)) + std::to_string(rng.Int(5, 9));
        f[6] =
            rng.Chance(0.85) ? "59" : std::to_string(rng.Int(3, 5)) + std::to_string(rng.Int(5, 9));
      } else {
        f[5] = SignalReport(rng.Int(-24, 10));
        f[6] = SignalReport(rng.Int(-24, 10));
      }
      if (rng.Chance(0.8)) f[7] = name;
      if (rng.Chance(0.7)) f[8] = place;
      double mhz = mode == kSSB ? band.ssbMHz : digital ? band.ft8MHz : band.cwMHz;
      if (!digital) mhz += static_cast<double>(rng.Below(60)) * 0.0005;
      f[9] = Fixed(mhz, mode == kFT8 ? 3 : 4);
      const int duration = digital ? rng.Int(40, 120) : rng.Int(30, 400);
      if (rng.Chance(0.3)) {
        f[10] = TimeText(secondOfDay + duration);
        f[11] = secondOfDay + duration >= 86400 ? DateText(day + 1) : f[0];
      }
      if (rng.Chance(0.03)) f[12] = f[9];
      if (mode == kSSB) f[14] = band.ssbMHz < 10 ? "LSB" : "USB";
      if (mode == kFT4) {  // ADIF writes FT4 as a submode of MFSK
        f[3] = "MFSK";
        f[14] = "FT4";
      }
      f[15] = digital ? "50" : rng.Chance(0.8) ? "100" : std::to_string(rng.Int(5, 500));
      if (traits.Chance(0.6)) f[17] = grid;
      if (region == kUS || region == kCA) {
        static constexpr std::array<const char*, 16> states = {"MA", "AZ", "GA", "CO", "TX", "WA",
                                                               "OH", "FL", "OR", "NY", "NV", "WI",
                                                               "ON", "QC", "AB", "NS"};
        f[19] = states[traits.Below(states.size())];
      }
      f[21] = std::to_string(e.cqZone);
      f[22] = std::to_string(e.ituZone);
      f[23] = e.continent;
      f[24] = WpxPrefix(st.call);
      f[25] = e.country;
      if (mode == kFT8 && rng.Chance(0.05)) f[29] = "ES";
      f[30] = e.dxcc;
      if (rng.Chance(0.03))
        f[31] = std::string(e.continent) + "-0" + std::to_string(rng.Int(10, 99));
      // QSL card routes: about 10 % of the stations use a manager, a few
      // want cards direct only, the rest nothing in QSL_VIA.
      const bool viaManager = route < 0.10;
      const bool viaDirect = route >= 0.10 && route < 0.135;
      const bool sent = rng.Chance(0.55);
      f[32] = sent ? "Y" : rng.Chance(0.3) ? "R" : "N";
      if (sent) f[33] = DateText(day + rng.Int(2, 90));
      const bool rcvd = sent && rng.Chance(0.5);
      f[34] = rcvd ? "Y" : "N";
      if (rcvd) f[35] = DateText(day + rng.Int(30, 400));
      if (sent) f[36] = viaDirect ? "D" : viaManager && rng.Chance(0.5) ? "M" : "B";
      if (rcvd) f[37] = viaDirect ? "D" : "B";
      f[38] = rng.Chance(0.6) ? "Y" : "N";
      f[39] = rng.Chance(0.35) ? "Y" : "N";
      f[40] = rng.Chance(0.3) ? "Y" : "N";
      if (viaManager) {
        f[41] = manager;
        ++stats.managerRows;
      } else if (viaDirect) {
        f[41] = kDirect[rng.Below(kDirect.size())];
        ++stats.directRows;
      }
      f[42] = rng.Chance(0.25) ? "Y" : "N";
      if (f[39] == "Y" && rng.Chance(0.3)) f[44] = DateText(day + rng.Int(1, 200));
      if (rng.Chance(0.2)) f[47] = kRigs[static_cast<size_t>(day / 400) % kRigs.size()];
      if (rng.Chance(0.25)) f[48] = rng.Pick(kAntennas);
      if (rng.Chance(0.12)) {
        f[49] = rng.Pick(kContests);
        f[50] = std::to_string(rng.Int(1, 2500));
        f[51] = std::to_string(++serial % 3000);
      }
      const double note = rng.Unit();
      if (note < 0.15) {
        f[52] = rng.Pick(comments);
      } else if (note < 0.1505) {
        // A note of two lines: the export holds its line break as byte 11.
        f[52] = rng.Pick(comments) + '\x0B' + rng.Pick(comments);
      }
      layout.Contact(out.Buffer(), f);
      out.MaybeFlush();
      ++callRows[f[4]];
    }
    while (emptyWritten < options.emptyRows) {  // more empty rows than contacts
      layout.EmptyRow(out.Buffer(), 0);
      ++emptyWritten;
    }
    stats.rows = options.rows;
    stats.emptyRows = emptyWritten;
    stats.bytes = out.Written();
    out.Close();
    std::filesystem::rename(temp, path);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw;
  }
  stats.stations = static_cast<int64_t>(callRows.size());
  for (const auto& [call, n] : callRows) {
    if (n == 1) ++stats.stationsWorkedOnce;
    stats.maxQsoCount = std::max(stats.maxQsoCount, n);
  }
  return stats;
}

std::string EnsureGeneratedLog(const LogGeneratorOptions& options, const std::string& dir) {
  std::filesystem::create_directories(dir);
  std::string name = "log_" + std::to_string(options.rows) + "_seed" + std::to_string(options.seed);
  if (options.emptyRows > 0) name += "_empty" + std::to_string(options.emptyRows);
  name += options.format == LogFormat::kAdif ? ".adi" : ".csv";
  const std::string path = (std::filesystem::path(dir) / name).string();
  if (!std::filesystem::exists(path)) GenerateLog(options, path);
  return path;
}

}  // namespace kartex::bench
