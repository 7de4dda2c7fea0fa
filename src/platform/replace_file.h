#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zoa::platform {

// Replaces the file at `path` with `bytes` so that it never holds anything but
// its old contents or the complete new ones: the bytes go to a temporary file
// in the same folder, are flushed to the disk, and the temporary file is then
// renamed over `path`. On failure the temporary file is removed, `path` is
// untouched, and *error says why.
bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

}  // namespace zoa::platform
