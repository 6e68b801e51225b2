#pragma once
// The rest of what the program asks of the operating system: the local
// calendar year, the UTC clock, the folder of the running program, and the
// command line and the console of kartex-cli.

#include <string>
#include <vector>

namespace kartex::platform {

int CurrentLocalYear();

// The folder that holds the running program's executable, in UTF-8, without
// a closing separator; empty when the system does not say.
std::string ExecutableFolder();

// A moment of the UTC clock, to the second.
struct UtcDateTime {
  int year = 1970;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Now, by the system's clock, in UTC.
UtcDateTime CurrentUtcDateTime();

// The program's arguments (without the program name) in UTF-8. On Windows
// they come from the wide command line, so names with any letters arrive
// whole.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes standard output and standard error take UTF-8 bytes as they are:
// on Windows a console is switched to UTF-8 and no line end is translated.
void PrepareConsoleOutput();

}  // namespace kartex::platform
