#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace zoa::files {

// The game keeps every path as UTF-8 text. The file system takes its own kind
// of path: on Windows a wide one, so that a folder named with letters outside
// the ANSI code page still opens; elsewhere the same bytes.
std::filesystem::path FsPath(std::string_view utf8);
std::string Utf8(const std::filesystem::path& path);

// std::fopen for a UTF-8 path.
std::FILE* OpenFile(const std::string& utf8, const char* mode);

}  // namespace zoa::files
