// The file layer on Windows: names in UTF-16 with the \\?\ prefix, so that
// Polish letters and paths beyond 260 characters work, and names Windows
// forbids are refused before any file is touched.

#include <windows.h>

#include <algorithm>

#include "platform/faults.h"
#include "platform/files.h"
#include "platform/windows/wide.h"

namespace kartex::platform {
namespace {

HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
intptr_t FromHandle(HANDLE handle) { return reinterpret_cast<intptr_t>(handle); }

// Opens a file as one I/O call.
HANDLE OpenCounted(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                   DWORD flags) {
  if (IoFaults::NextCallFails()) return INVALID_HANDLE_VALUE;
  return CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

// One I/O call that reports success or failure.
template <typename Call>
bool IoCall(Call call) {
  if (IoFaults::NextCallFails()) return false;
  return call();
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }
std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

// Whether this user could overwrite the file in place: not read-only, and
// neither the permissions nor another program holding it open forbid it.
bool MayOverwrite(const std::wstring& path, DWORD attributes) {
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
  HANDLE probe = CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

// Puts the temporary file in place of the target. An existing target is
// replaced with ReplaceFileW, which keeps its attributes and permissions.
bool PutInPlace(const std::wstring& temp, const std::wstring& target) {
  if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
      ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                   REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                   nullptr)) {
    return true;
  }
  return MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

// ---------------------------------------------------------------- InputFile

bool InputFile::Open(const std::string& path) {
  Close();
  const std::wstring name = ApiPath(path);
  if (name.empty()) return false;
  // Logger32 may still hold its export open, so writers are allowed.
  HANDLE file = OpenCounted(name, GENERIC_READ, kShareAll, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (GetFileType(file) != FILE_TYPE_DISK) {  // a pipe or a device
    CloseHandle(file);
    return false;
  }
  handle_ = FromHandle(file);
  return true;
}

void InputFile::Close() {
  if (handle_ != kNoHandle) CloseHandle(Handle(handle_));
  handle_ = kNoHandle;
}

std::optional<size_t> InputFile::ReadAt(uint64_t offset, char* buffer, size_t size) const {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const auto wanted = static_cast<DWORD>(std::min<size_t>(size, DWORD{1} << 30));
  DWORD got = 0;
  if (IoFaults::NextCallFails()) return std::nullopt;
  if (ReadFile(Handle(handle_), buffer, wanted, &got, &at)) return got;
  if (GetLastError() == ERROR_HANDLE_EOF) return 0;
  return std::nullopt;
}

std::optional<uint64_t> InputFile::Size() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(Handle(handle_), &size)) return std::nullopt;
  return static_cast<uint64_t>(size.QuadPart);
}

// ---------------------------------------------------------- FileReplacement

bool FileReplacement::Begin(const std::string& path) {
  Abandon();
  const std::wstring target = ApiPath(path);
  if (target.empty()) return false;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !MayOverwrite(target, attributes)) return false;
  mode_ = attributes != INVALID_FILE_ATTRIBUTES ? attributes : 0;

  const std::wstring temp =
      FolderOf(target) + L"\\" + Utf8ToWide(TemporaryNameFor(WideToUtf8(NameOf(target))));
  DeleteFileW(temp.c_str());  // left by a run that ended before its commit
  HANDLE file = OpenCounted(temp, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = FromHandle(file);
  target_ = WideToUtf8(target);
  temp_ = WideToUtf8(temp);
  return true;
}

bool FileReplacement::Write(const char* data, size_t size) {
  while (size > 0) {
    const auto chunk = static_cast<DWORD>(std::min<size_t>(size, DWORD{1} << 30));
    DWORD written = 0;
    if (!IoCall([&] { return WriteFile(Handle(handle_), data, chunk, &written, nullptr) != 0; }) ||
        written == 0) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool FileReplacement::Commit() {
  HANDLE file = Handle(handle_);
  bool ok = IoCall([&] { return FlushFileBuffers(file) != 0; });
  handle_ = -1;
  ok = CloseHandle(file) != 0 && ok;
  if (ok) {
    const std::wstring temp = Utf8ToWide(temp_);
    const std::wstring target = Utf8ToWide(target_);
    ok = IoCall([&] { return PutInPlace(temp, target); });
    if (ok) {
      temp_.clear();
      // Hidden, archive and the like, as the replaced file had them.
      if (mode_ != 0) SetFileAttributesW(target.c_str(), mode_);
    }
  }
  Abandon();
  return ok;
}

void FileReplacement::Abandon() {
  if (handle_ != -1) CloseHandle(Handle(handle_));
  handle_ = -1;
  if (!temp_.empty()) DeleteFileW(Utf8ToWide(temp_).c_str());
  temp_.clear();
}

bool FileExists(const std::string& path) {
  const std::wstring name = ApiPath(path);
  return !name.empty() && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kartex::platform
