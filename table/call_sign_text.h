#pragma once
// Whether a cell holds a call sign: the test of a QSL_VIA cell, which names
// a QSL manager or says how the card goes ("DIRECT", "via bureau"). The
// labels' "via" line and the bureau order's route call both ask it.

#include <string_view>

#include "table/three_way.h"

namespace kartex {

// The text without the blanks (spaces and tabs) around it.
inline std::string_view TrimmedBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Letters, digits and "/" (not first, not last, not two together), at least
// one letter and one digit, at least three characters; blanks around it do
// not count.
inline bool HoldsCallSign(std::string_view text) {
  text = TrimmedBlanks(text);
  if (text.size() < 3 || text.front() == '/' || text.back() == '/') return false;
  bool letter = false, digit = false;
  char previous = 0;
  for (char c : text) {
    if (c == '/' && previous == '/') return false;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      letter = true;
    } else if (IsDigit(c)) {
      digit = true;
    } else if (c != '/') {
      return false;
    }
    previous = c;
  }
  return letter && digit;
}

}  // namespace kartex
