#pragma once
// A byte buffer from std::malloc, so that std::realloc can grow or shrink it
// without copying where the system allows (large blocks on Linux). A long
// line of a log is read into one and then becomes its row's buffer.

#include <cstdlib>
#include <memory>
#include <new>

namespace kartex {

struct FreeBytes {
  void operator()(char* bytes) const noexcept { std::free(bytes); }
};
using MallocBuffer = std::unique_ptr<char, FreeBytes>;

// Gives buffer the new size, keeping its bytes as far as they fit. Returns
// false, the buffer left as it was, when the system has no memory for it.
inline bool TryResize(MallocBuffer& buffer, size_t bytes) noexcept {
  char* resized = static_cast<char*>(std::realloc(buffer.get(), bytes));
  if (resized == nullptr) return false;
  (void)buffer.release();  // realloc has taken it over
  buffer.reset(resized);
  return true;
}

// The same, failing with std::bad_alloc.
inline void Resize(MallocBuffer& buffer, size_t bytes) {
  if (!TryResize(buffer, bytes)) throw std::bad_alloc();
}

}  // namespace kartex
