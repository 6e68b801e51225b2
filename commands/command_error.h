#pragma once
// Errors that end a command: what the window's general error handler shows.
// The text is UTF-8.

#include <stdexcept>
#include <string>

namespace kartex {

class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text the general error handler shows for an error: its message with a
// full stop appended when the last character's code is above that of ".".
std::string ErrorText(const std::exception& error);

}  // namespace kartex
