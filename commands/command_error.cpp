#include "command_error.h"

#include <new>

namespace kartex {

std::string ErrorText(const std::exception& error) {
  // Running out of memory is said in words, not in the library's own name.
  std::string text =
      dynamic_cast<const std::bad_alloc*>(&error) != nullptr ? "Out of memory" : error.what();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
    text += '.';
  }
  return text;
}

}  // namespace kartex
