// The file layer on POSIX systems.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/faults.h"
#include "platform/files.h"

namespace kartex::platform {
namespace {

// One I/O call, retried when a signal interrupts it; fails without being
// made when the fault injector says so.
template <typename Call>
auto IoCall(Call call) -> decltype(call()) {
  if (IoFaults::NextCallFails()) {
    errno = EIO;
    return -1;
  }
  decltype(call()) result;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result;
}

int Fd(intptr_t handle) { return static_cast<int>(handle); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path names once symbolic links in its last component are
// followed; for a dangling link, the place the link points to.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof target) return path;
    std::string next(target, static_cast<size_t>(length));
    if (next[0] != '/' && path.find('/') != std::string::npos) next = FolderOf(path) + "/" + next;
    path = std::move(next);
  }
  return path;
}

uint32_t DefaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666u & ~static_cast<uint32_t>(mask);
}

// Whether this user could overwrite the file in place: it is not read-only
// (no write permission for anyone counts as read-only even for root), this
// user may write it, and it is the user's own (a replacement would take
// another user's file from them).
bool MayOverwrite(const std::string& path, const struct stat& info) {
  if ((info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) return false;
  return ::geteuid() == 0 || info.st_uid == ::geteuid();
}

// Closing is never retried: the descriptor is gone whatever close says.
bool CloseFile(int fd) {
  const bool injected = IoFaults::NextCallFails();
  return ::close(fd) == 0 && !injected;
}

// Writes all of the bytes.
bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = IoCall([&] { return ::write(fd, data, size); });
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------- InputFile

bool InputFile::Open(const std::string& path) {
  Close();
  // Without O_NONBLOCK opening a FIFO would wait for a writer.
  const int fd = IoCall([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); });
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  handle_ = fd;
  return true;
}

void InputFile::Close() {
  if (handle_ != kNoHandle) ::close(Fd(handle_));
  handle_ = kNoHandle;
}

std::optional<size_t> InputFile::ReadAt(uint64_t offset, char* buffer, size_t size) const {
  const ssize_t got =
      IoCall([&] { return ::pread(Fd(handle_), buffer, size, static_cast<off_t>(offset)); });
  if (got < 0) return std::nullopt;
  return static_cast<size_t>(got);
}

std::optional<uint64_t> InputFile::Size() const {
  struct stat info {};
  if (::fstat(Fd(handle_), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

// ---------------------------------------------------------- FileReplacement

bool FileReplacement::Begin(const std::string& path) {
  Abandon();
  target_ = FollowLinks(path);
  struct stat info {};
  const bool exists = ::stat(target_.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    // A device is written directly. O_NONBLOCK keeps a FIFO without a reader
    // from blocking; a folder cannot be opened for writing at all.
    const int fd = IoCall(
        [&] { return ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK); });
    if (fd < 0) return false;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    handle_ = fd;
    return true;
  }
  if (exists && !MayOverwrite(target_, info)) return false;
  mode_ = exists ? static_cast<uint32_t>(info.st_mode & 07777) : DefaultFileMode();
  owner_ = exists ? static_cast<int64_t>(info.st_uid) : -1;
  group_ = exists ? static_cast<int64_t>(info.st_gid) : -1;

  std::string temp = FolderOf(target_) + "/" + TemporaryNameFor(NameOf(target_));
  ::unlink(temp.c_str());  // left by a run that ended before its commit
  // Readable by this user alone until it takes the target's place.
  const int fd = IoCall([&] {
    return ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  });
  if (fd < 0) return false;
  handle_ = fd;
  temp_ = std::move(temp);
  return true;
}

bool FileReplacement::Write(const char* data, size_t size) {
  return WriteAll(Fd(handle_), data, size);
}

bool FileReplacement::Commit() {
  const int fd = Fd(handle_);
  bool ok = true;
  if (!temp_.empty()) {
    // Owner first: changing it may clear the set-id bits that the mode sets.
    // Only root gives a file away; a user keeps the group where allowed.
    if (owner_ >= 0 && ::fchown(fd, static_cast<uid_t>(owner_), static_cast<gid_t>(group_)) != 0) {
      (void)::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(group_));
    }
    ok = IoCall([&] { return ::fsync(fd); }) == 0 && ::fchmod(fd, static_cast<mode_t>(mode_)) == 0;
  }
  handle_ = -1;
  ok = CloseFile(fd) && ok;
  if (ok && !temp_.empty()) {
    ok = IoCall([&] { return ::rename(temp_.c_str(), target_.c_str()); }) == 0;
    if (ok) {
      temp_.clear();
      // The new name itself is on the disk once the folder is synced.
      const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
      if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
      }
    }
  }
  Abandon();
  return ok;
}

void FileReplacement::Abandon() {
  if (handle_ != -1) ::close(Fd(handle_));
  handle_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

}  // namespace kartex::platform
