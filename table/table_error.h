#pragma once
// Errors of the log table and its readers carry their fixed English texts
// ("Grid index out of range", "Cannot open file NAME" ...).

#include <stdexcept>

namespace kartex {

class TableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kartex
