#pragma once
#include <string>

namespace zoa::platform {

// The per-user data folder, created if missing: $XDG_DATA_HOME/zoa_noli or
// ~/.local/share/zoa_noli. Empty when no home folder is known.
std::string DefaultUserFolder();

// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace zoa::platform
