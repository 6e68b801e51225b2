#pragma once
// Output files that never lose what was there: the text goes to a temporary
// file in the target's folder, which replaces the target only once it is
// complete and on the disk (platform/files.h says how).

#include <string>
#include <string_view>

#include "platform/files.h"

namespace kartex {

// Writes one output file. Commit() puts it in place; a writer destroyed
// without Commit() removes its temporary file and leaves the target
// untouched. Errors are CommandError "Cannot create file PATH" (the target
// cannot be replaced or no file can be created for it) and "Cannot write
// file PATH" (writing or replacing failed part-way).
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path);
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(std::string_view bytes);
  void Commit();

 private:
  void Flush();
  [[noreturn]] void FailWrite();

  std::string path_;
  platform::FileReplacement file_;
  std::string buffer_;
};

// Writes content to path through an AtomicFileWriter.
void WriteFileAtomically(const std::string& path, std::string_view content);

bool FileExists(const std::string& path);

}  // namespace kartex
