#pragma once
// Paces the paints that a command asks for while it runs with no event loop
// (the progress bar of the row filter): the first one at once, then at most
// one per interval. A filter moves the bar a hundred times in a fraction of
// a second, and each paint of it costs more than a percent of the rows.

#include <chrono>
#include <optional>

namespace kartex {

class PaintPacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit PaintPacer(std::chrono::milliseconds interval) : interval_(interval) {}

  // True when a paint is due at now; it then counts as painted at now.
  bool Due(Clock::time_point now = Clock::now()) {
    if (last_ && now - *last_ < interval_) return false;
    last_ = now;
    return true;
  }

 private:
  std::chrono::milliseconds interval_;
  std::optional<Clock::time_point> last_;
};

}  // namespace kartex
