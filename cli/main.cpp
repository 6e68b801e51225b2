// kartex-cli: the window's commands without a window.

#include <iostream>

#include "cli_actions.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  kartex::platform::PrepareConsoleOutput();
  const std::vector<std::string> args = kartex::platform::Utf8Arguments(argc, argv);
  kartex::CliProgram program;
  try {
    program = kartex::ParseCommandLine(args);
  } catch (const kartex::UsageError& error) {
    std::cerr << "kartex-cli: " << error.what() << '\n' << kartex::kUsageText;
    return 2;
  }
  return kartex::RunProgram(program, kartex::ReadRegionalSettings(), std::cout, std::cerr);
}
