#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "command_error.h"

namespace kartex {
namespace {

constexpr size_t kBufferSize = 1 << 20;

bool IsExistingNonRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

// A name beside the target that no other file has: "NAME.XXXXXX.tmp".
int CreateTempFile(const std::string& path, std::string& tempPath) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%06x.tmp", static_cast<unsigned>(random()) & 0xFFFFFFu);
    tempPath = path + suffix;
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {
  if (IsExistingNonRegularFile(path_)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  } else {
    fd_ = CreateTempFile(path_, tempPath_);
    if (fd_ < 0) tempPath_.clear();
  }
  if (fd_ < 0) throw CommandError("Cannot create file " + path_);
  buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kBufferSize) Flush();
  if (bytes.size() >= kBufferSize) {
    buffer_.assign(bytes);
    Flush();
  } else {
    buffer_.append(bytes);
  }
}

void AtomicFileWriter::Flush() {
  const char* data = buffer_.data();
  size_t left = buffer_.size();
  while (left > 0) {
    ssize_t written = ::write(fd_, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) FailWrite();
    data += written;
    left -= static_cast<size_t>(written);
  }
#if defined(__linux__)
  // Start putting this part on the disk now, while the rest is being built,
  // so that the sync at the end waits only for the last part.
  if (!tempPath_.empty() && !buffer_.empty()) {
    ::sync_file_range(fd_, static_cast<off64_t>(flushed_), static_cast<off64_t>(buffer_.size()),
                      SYNC_FILE_RANGE_WRITE);
  }
#endif
  flushed_ += buffer_.size();
  buffer_.clear();
}

void AtomicFileWriter::Commit() {
  Flush();
  // Devices such as /dev/null cannot be synced; a regular file must be.
  if (!tempPath_.empty() && ::fsync(fd_) != 0) FailWrite();
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) FailWrite();
  if (!tempPath_.empty()) {
    // Keep the permissions a replaced file had.
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0) ::chmod(tempPath_.c_str(), info.st_mode & 07777);
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) FailWrite();
  }
  committed_ = true;
}

void AtomicFileWriter::FailWrite() {
  throw CommandError("Cannot write file " + path_);
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
  AtomicFileWriter writer(path);
  writer.Write(content);
  writer.Commit();
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string FileNameExtension(const std::string& path) {
  size_t nameStart = path.find_last_of('/');
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return {};
  return path.substr(dot);
}

}  // namespace kartex
