#include "platform/faults.h"

#include <atomic>

namespace kartex::platform {
namespace {

std::atomic<uint64_t> failAt{0};
std::atomic<uint64_t> calls{0};
std::atomic<bool> fired{false};

}  // namespace

void IoFaults::FailCall(uint64_t n) {
  calls = 0;
  fired = false;
  failAt = n;
}

uint64_t IoFaults::CallsMade() { return calls; }

bool IoFaults::Fired() { return fired; }

bool IoFaults::NextCallFails() {
  const uint64_t n = ++calls;
  if (n != failAt.load()) return false;
  fired = true;
  return true;
}

}  // namespace kartex::platform
