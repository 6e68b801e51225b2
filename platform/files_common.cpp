// The parts of the file layer that are the same on every system.

#include <cstdio>
#include <string_view>
#include <utility>

#include "platform/files.h"

namespace kartex::platform {

InputFile::InputFile(InputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
  }
  return *this;
}

// ".kartex-" and eight hex digits of a hash of the file name: the same name
// for the same target, so the next save finds what a crash left behind.
std::string FileReplacement::TemporaryNameFor(const std::string& fileName) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (unsigned char c : std::string_view(fileName)) hash = (hash ^ c) * 16777619u;
  char name[32];
  std::snprintf(name, sizeof name, ".kartex-%08x.tmp", static_cast<unsigned>(hash));
  return name;
}

}  // namespace kartex::platform
