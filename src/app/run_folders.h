#pragma once
#include <string>

#include "app/command_line.h"
#include "platform/paths.h"

namespace zoa {

// The folders of this run, from the command line, the program's place and
// the environment.
platform::Paths ResolveRunPaths(const Options& options);

// What --paths prints: each folder and file in use and why.
std::string DescribePaths(const platform::Paths& paths);

// The first file start-up cannot do without (sheets, palette, sounds) that is
// missing under `dataRoot`, as a path below it ("data/nbm/SPl.nbm"); "" when
// every one is there.
std::string FirstMissingDataFile(const std::string& dataRoot);

// The one message for a data folder that is missing or incomplete.
std::string MissingDataMessage(const platform::Paths& paths, const std::string& missing);

}  // namespace zoa
