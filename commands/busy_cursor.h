#pragma once
// The hourglass while a command works on the table, and the normal cursor
// again at its end, also when it ends on an error.

#include "window_system.h"

namespace kartex {

class BusyCursor {
 public:
  explicit BusyCursor(WindowSystem& windows) : windows_(windows) { windows_.ShowBusyCursor(); }
  ~BusyCursor() { windows_.ShowNormalCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  WindowSystem& windows_;
};

}  // namespace kartex
