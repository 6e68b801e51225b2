#pragma once
// Output files that never lose what was there: the text goes to a temporary
// file in the target's folder, which replaces the target only once it is
// complete and flushed.

#include <string>
#include <string_view>

namespace kartex {

// Writes one output file through a temporary file beside it. Commit() puts it
// in place; a writer destroyed without Commit() removes its temporary file and
// leaves the target untouched. Errors are CommandError "Cannot create file
// PATH" (the file cannot be created) and "Cannot write file PATH" (writing or
// replacing failed part-way). A target that exists and is no regular file (a
// device such as /dev/null) is written directly, never replaced.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(std::string_view bytes);
  void Commit();

 private:
  void Flush();
  [[noreturn]] void FailWrite();

  std::string path_;
  std::string tempPath_;  // empty when writing the target directly
  int fd_ = -1;
  std::string buffer_;
  size_t flushed_ = 0;  // bytes written to the file so far
  bool committed_ = false;
};

// Writes content to path through an AtomicFileWriter.
void WriteFileAtomically(const std::string& path, std::string_view content);

bool FileExists(const std::string& path);

// The extension of the last path component: from its last "." on, or empty
// when it has none.
std::string FileNameExtension(const std::string& path);

}  // namespace kartex
