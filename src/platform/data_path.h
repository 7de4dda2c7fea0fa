#pragma once
#include <string>
#include <string_view>

namespace zoa {

// The game names its files as relative paths with backslashes
// ("data\nbm\SPl.bmp"). They are resolved under the data root: the folder that
// holds data/, by default the current directory.
void SetDataRoot(const std::string& root);
std::string DataPath(std::string_view gamePath);

}  // namespace zoa
