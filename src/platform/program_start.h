#pragma once
#include <string>
#include <vector>

namespace zoa::platform {

// The program's arguments (without its name) as UTF-8. On Windows they are read
// from the wide command line: argv holds them in the ANSI code page, which
// cannot spell every folder name.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// On Windows the game is a GUI program, which starts with no console: when it
// was started from one and its output goes nowhere else, its output and errors
// go to that console. Elsewhere nothing to do.
void UseParentConsole();

}  // namespace zoa::platform
