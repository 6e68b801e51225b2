#pragma once
// Folders and files for tests: a fresh folder per test, removed with
// everything in it at the end, and one that is also the current directory
// (where the reference files are looked up).

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

namespace kartex::testing {

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("kartex-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }

  // Writes bytes as they are and returns the file's path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    std::string path = File(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

 private:
  std::filesystem::path path_;
};

// A fresh folder made the current directory for the life of the object.
class ScratchDirectory : public TempDir {
 public:
  ScratchDirectory() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(Path());
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }

 private:
  std::filesystem::path previous_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Writes bytes as the whole file at path; false when that failed.
inline bool WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return out.good();
}

}  // namespace kartex::testing
