#pragma once
// Shared helpers of the call-sign tests: the real reference files of
// reference/, a small hand-written CTY.DAT with the rules' corner
// cases, and a log table built from rows of texts.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "country/call_resolver.h"
#include "country/cty_database.h"
#include "country/reference_files.h"
#include "table/log_table.h"

namespace kartex::testing {

inline const char* const kBigCty = "cty-tyler4096-bigcty-20251011.dat";
inline const char* const kContestCty = "cty-s53zo-contest-20251202.dat";

inline std::string ReferencePath(const std::string& name) {
  return std::string(KARTEX_REFERENCE_DIR) + "/" + name;
}

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

inline std::vector<AdifEntry> ReadAdifFile(const std::string& path) {
  TextFile file;
  std::vector<AdifEntry> entries;
  if (!file.Open(path)) {
    ADD_FAILURE() << "cannot open " << path;
    return entries;
  }
  ReadAdifDxc(file, entries);
  return entries;
}

// The resolver over a real CTY.DAT of reference/ and its
// ADIF_DXC.TXT.
inline CallResolver RealResolver(const std::string& ctyName = kBigCty) {
  const std::string bytes = FileBytes(ReferencePath(ctyName));
  EXPECT_GT(bytes.size(), 10000u) << ctyName;
  return CallResolver(ParseCtyDatabase(bytes), ReadAdifFile(ReferencePath("ADIF_DXC.TXT")));
}

// A small CTY.DAT in the file's own layout, with the cases the rules must
// tell apart: marks that are prefixes elsewhere (M, B), a whole call of one
// country that looks like another's (SP5WHO), a whole call written with a
// mark (3D2AG/P), a call at sea that is a whole call, KG4, a "*" region
// inside Italy, and alias override marks.
inline const char* const kRulesCty =
    "Poland:                   15:  28:  EU:   52.28:   -18.67:    -1.0:  SP:\r\n"
    "    3Z,HF,SN,SO,SP,SQ,SR,=SP5XX/MM;\r\n"
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\r\n"
    "    DA,DB,DC,DD,DF,DG,DH,DJ,DK,DL,DM,DN,DO,DP,DQ,DR,=SP5WHO;\r\n"
    "Czech Republic:           15:  28:  EU:   50.00:   -16.00:    -1.0:  OK:\r\n"
    "    OK,OL;\r\n"
    "England:                  14:  27:  EU:   52.77:     1.47:     0.0:  G:\r\n"
    "    2E,G,M;\r\n"
    "China:                    24:  44:  AS:   36.00:  -102.00:    -8.0:  BY:\r\n"
    "    B,BY;\r\n"
    "France:                   14:  27:  EU:   46.00:    -2.00:    -1.0:  F:\r\n"
    "    F;\r\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\r\n"
    "    I,IK,IZ;\r\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\r\n"
    "    IT9,=IK2SIC;\r\n"
    "United States:            05:  08:  NA:   37.53:    91.67:     5.0:  K:\r\n"
    "    AA,AB,K,\r\n"
    "    N,W;\r\n"
    "Guantanamo Bay:           08:  11:  NA:   20.00:    75.00:     5.0:  KG4:\r\n"
    "    KG4,=KG4ABCD;\r\n"
    "Alaska:                   01:  01:  NA:   61.40:   148.87:     9.0:  KL:\r\n"
    "    AL,KL,NL,WL;\r\n"
    "Hawaii:                   31:  61:  OC:   21.12:   157.48:    10.0:  KH6:\r\n"
    "    AH6,KH6,NH6,WH6;\r\n"
    "Canada:                   05:  09:  NA:   44.35:    78.75:     5.0:  VE:\r\n"
    "    VA,VE,VO1(5)[9];\r\n"
    "European Russia:          16:  29:  EU:   53.65:   -41.37:    -4.0:  UA:\r\n"
    "    R,RA,UA;\r\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\r\n"
    "    R9,RA9,UA9(17)[30],UA0,\r\n"
    "    =RA9ABC/0(18)[32]<55.50/-80.25>{EU}~-6.5~;\r\n"
    "Fiji:                     32:  56:  OC:  -17.78:  -177.92:   -12.0:  3D2:\r\n"
    "    3D2;\r\n"
    "Rotuma Island:            32:  56:  OC:  -12.48:  -177.08:   -12.0:  3D2/r:\r\n"
    "    =3D2AG/P,=3D2RR;\r\n";

inline std::vector<AdifEntry> RulesAdif() {
  return {{"269", "POLAND"},
          {"230", "FED. REP. OF GERMANY"},
          {"503", "CZECH REPUBLIC"},
          {"223", "ENGLAND"},
          {"318", "CHINA"},
          {"227", "FRANCE"},
          {"248", "ITALY"},
          {"291", "UNITED STATES"},
          {"105", "GUANTANAMO BAY"},
          {"006", "ALASKA"},
          {"110", "HAWAII"},
          {"001", "CANADA"},
          {"054", "EUROPEAN RUSSIA"},
          {"015", "ASIATIC RUSSIA"},
          {"176", "FIJI"},
          {"460", "ROTUMA ISLAND"}};
}

inline CallResolver RulesResolver() {
  return CallResolver(ParseCtyDatabase(kRulesCty), RulesAdif());
}

// The country name a call resolves to, or "-" for none.
inline std::string CountryOf(const CallResolver& resolver, std::string_view call) {
  const CtyCountry* country = resolver.Resolve(call);
  return country ? country->name : "-";
}

// A log table of a header row and data rows, as a load leaves it.
inline LogTable MakeLog(const std::vector<std::vector<std::string>>& rows) {
  LogTable table(static_cast<int>(rows.size()), 53, 0);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      table.SetCellText(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
    }
  }
  if (rows.size() > 1) table.SetFixedRows(1);
  return table;
}

}  // namespace kartex::testing
