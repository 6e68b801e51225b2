#pragma once
// Fault injection for tests: every call of the file layer that opens, reads,
// writes, flushes or replaces a file counts as one I/O call, and a test can
// make any single one of them fail, as a failing disk would.

#include <cstdint>

namespace kartex::platform {

class IoFaults {
 public:
  // From now on, the n-th I/O call (counted from 1) fails; 0 fails none.
  static void FailCall(uint64_t n);
  // I/O calls made since the last FailCall.
  static uint64_t CallsMade();
  // Whether the injected failure has happened.
  static bool Fired();

  // Called by the file layer before each I/O call: true when this one must fail.
  static bool NextCallFails();
};

}  // namespace kartex::platform
