#include "output_file.h"

#include "command_error.h"

namespace kartex {
namespace {

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {
  if (!file_.Begin(path_)) throw CommandError("Cannot create file " + path_);
  buffer_.reserve(kBufferSize);
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kBufferSize) Flush();
  if (bytes.size() >= kBufferSize) {
    if (!file_.Write(bytes.data(), bytes.size())) FailWrite();
  } else {
    buffer_.append(bytes);
  }
}

void AtomicFileWriter::Flush() {
  if (!buffer_.empty() && !file_.Write(buffer_.data(), buffer_.size())) FailWrite();
  buffer_.clear();
}

void AtomicFileWriter::Commit() {
  Flush();
  if (!file_.Commit()) FailWrite();
}

void AtomicFileWriter::FailWrite() {
  file_.Abandon();
  throw CommandError("Cannot write file " + path_);
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
  AtomicFileWriter writer(path);
  writer.Write(content);
  writer.Commit();
}

bool FileExists(const std::string& path) { return platform::FileExists(path); }

}  // namespace kartex
