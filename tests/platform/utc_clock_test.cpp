// The system's UTC clock against the standard library's own count of days.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/system.h"

namespace kartex {
namespace {

using namespace std::chrono;

// The moment as seconds since 1970 by the civil calendar.
int64_t SecondsOf(const platform::UtcDateTime& t) {
  const sys_days day = year{t.year} / month{static_cast<unsigned>(t.month)} /
                       std::chrono::day{static_cast<unsigned>(t.day)};
  return duration_cast<seconds>(day.time_since_epoch()).count() + t.hour * 3600 + t.minute * 60 +
         t.second;
}

TEST(UtcClockTest, IsTheSystemClockInUtc) {
  const int64_t before = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
  const platform::UtcDateTime now = platform::CurrentUtcDateTime();
  const int64_t after = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LT(now.hour, 24);
  EXPECT_LT(now.minute, 60);
  EXPECT_LT(now.second, 61);
  // On Linux time() reads the coarse clock, which may lag the fine one by a
  // tick across the edge of a second: one second of slack before.
  EXPECT_GE(SecondsOf(now), before - 1);
  EXPECT_LE(SecondsOf(now), after);
}

}  // namespace
}  // namespace kartex
