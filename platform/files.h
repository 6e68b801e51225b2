#pragma once
// Files as the program uses them: logs and reference files read in blocks,
// and output files replaced atomically. Names are UTF-8 on every system.
// Every call that opens, reads, writes, flushes or replaces a file is one
// I/O call of faults.h, so a test can make any of them fail.

#include <cstdint>
#include <optional>
#include <string>

namespace kartex::platform {

// A file opened for reading.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile() { Close(); }
  InputFile(InputFile&& other) noexcept;
  InputFile& operator=(InputFile&& other) noexcept;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens a regular file. False when there is none of that name, it may not
  // be read, or it is no regular file: a folder, a FIFO, a socket or a device
  // (reading those could block or never end).
  bool Open(const std::string& path);
  bool IsOpen() const { return handle_ != kNoHandle; }
  void Close();

  // Reads up to size bytes from offset: the number read, 0 at the end of the
  // file, nullopt on an input error.
  std::optional<size_t> ReadAt(uint64_t offset, char* buffer, size_t size) const;
  std::optional<uint64_t> Size() const;

 private:
  static constexpr intptr_t kNoHandle = -1;
  intptr_t handle_ = kNoHandle;  // a file descriptor or a Windows HANDLE
};

// A new version of an output file. It is written to a temporary file in the
// target's folder, which takes the target's place only once it is complete
// and on the disk; until then, and when anything fails, the target stays as
// it was. A symbolic link is followed: the file it points to is replaced and
// the link stays. A target that exists and is no regular file (a device such
// as /dev/null) is written directly.
class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement() { Abandon(); }
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Starts the new version of path. False, with nothing changed, when the
  // target could not be overwritten in place by this user (read-only, no
  // write permission, another user's, held open by another program), when
  // the name is one the system forbids, or when no temporary file can be
  // created beside it. A temporary file that an earlier run left behind for
  // this target is removed.
  bool Begin(const std::string& path);
  // Writes all of data; false on an output error.
  bool Write(const char* data, size_t size);
  // Puts the new version on the disk and in place of the target, with the
  // target's permissions (or the user's default for a new file). False when
  // that fails; the target is then as it was and the temporary file gone.
  bool Commit();
  // Ends without replacing anything: the temporary file is removed.
  void Abandon();

  // The name of the temporary file used for a target: short, so that any
  // name the system accepts can be saved, and recognisable as left by this
  // program.
  static std::string TemporaryNameFor(const std::string& fileName);

 private:
  std::string target_;  // the file replaced, symbolic links followed
  std::string temp_;    // empty when the target is written directly
  intptr_t handle_ = -1;
  // What the new version keeps of the target: on POSIX its permission bits,
  // owner and group (-1: the creator's), on Windows its file attributes.
  uint32_t mode_ = 0;
  int64_t owner_ = -1;
  int64_t group_ = -1;
};

bool FileExists(const std::string& path);

}  // namespace kartex::platform
