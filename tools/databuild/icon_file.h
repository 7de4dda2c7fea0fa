#pragma once
#include <string>

namespace zoa::databuild {

// The window icon: a 32 x 32 BMP with 32-bit pixels and an alpha channel
// (a version 4 header with explicit channel masks).
bool WriteIconFile(const std::string& path);
// The same picture as a PNG with alpha, for the desktop's application icon.
bool WriteIconPng(const std::string& path);

}  // namespace zoa::databuild
