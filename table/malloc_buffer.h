#pragma once
// A byte buffer from std::malloc, so that std::realloc can grow or shrink it
// without copying where the system allows (large blocks on Linux). A long
// line of a log is read into one and then becomes its row's buffer.

#include <cstdlib>
#include <memory>

namespace kartex {

struct FreeBytes {
  void operator()(char* bytes) const noexcept { std::free(bytes); }
};
using MallocBuffer = std::unique_ptr<char, FreeBytes>;

}  // namespace kartex
