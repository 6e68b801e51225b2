#pragma once
// Makes one I/O call of the file layer fail, as a failing disk would.

#include <cstdint>

#include "platform/faults.h"

namespace kartex::testing {

// The n-th I/O call from now on (counted from 1) fails, for the life of the
// object.
class FailingIoCall {
 public:
  explicit FailingIoCall(uint64_t n) { platform::IoFaults::FailCall(n); }
  ~FailingIoCall() { platform::IoFaults::FailCall(0); }
  FailingIoCall(const FailingIoCall&) = delete;
  FailingIoCall& operator=(const FailingIoCall&) = delete;

  bool Fired() const { return platform::IoFaults::Fired(); }
};

}  // namespace kartex::testing
