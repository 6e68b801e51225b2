#pragma once
// The small comparisons every part of the table shares.

namespace kartex {

// -1, 0 or 1 as a is less than, equal to or greater than b. Without
// branches: in a sort the outcome is as good as random, and mispredicted
// branches would cost more than the comparison itself.
template <typename T>
inline int ThreeWay(T a, T b) {
  return static_cast<int>(a > b) - static_cast<int>(a < b);
}

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace kartex
