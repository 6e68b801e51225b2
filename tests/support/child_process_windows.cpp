#include <windows.h>

#include <filesystem>

#include "child_process.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

std::wstring Wide(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// One argument quoted the way the C runtime splits a command line.
std::wstring Quoted(const std::wstring& arg) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

HANDLE Inheritable(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ChildRun RunChild(const std::string& program, const std::vector<std::string>& args,
                  const std::string& folder) {
  // Named after this process and this run: tests running at once may share
  // the folder, and under Wine a child that has exited can still hold its
  // output files for a moment after the wait returns.
  static int runs = 0;
  const std::string own = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
  const std::string outPath = folder + "\\.child-stdout-" + own;
  const std::string errPath = folder + "\\.child-stderr-" + own;
  std::wstring commandLine = Quoted(Wide(program));
  for (const std::string& arg : args) commandLine += L" " + Quoted(Wide(arg));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = Inheritable(Wide(outPath));
  startup.hStdError = Inheritable(Wide(errPath));
  PROCESS_INFORMATION process{};
  ChildRun run;
  std::string failure;  // said on standard error, so that a test's message shows it
  const std::wstring dir = Wide(folder);
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(),
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    failure = "CreateProcessW failed, error " + std::to_string(GetLastError()) + "\n";
  }
  CloseHandle(startup.hStdOutput);
  CloseHandle(startup.hStdError);
  run.out = ReadFile(outPath);
  run.err = ReadFile(errPath) + failure;
  DeleteFileW(Wide(outPath).c_str());
  DeleteFileW(Wide(errPath).c_str());
  return run;
}

}  // namespace kartex::testing
