// kartex-cli: the window's commands without a window.

#include <clocale>
#include <iostream>

#include "cli_actions.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  kartex::CliProgram program;
  try {
    program = kartex::ParseCommandLine(args);
  } catch (const kartex::UsageError& error) {
    std::cerr << "kartex-cli: " << error.what() << '\n' << kartex::kUsageText;
    return 2;
  }
  return kartex::RunProgram(program, kartex::ReadRegionalSettings(), std::cout, std::cerr);
}
