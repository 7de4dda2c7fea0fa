#pragma once
#include <string>

namespace zoa::databuild {

// The opening logo: a short 320 x 240 video with a PCM sound track in an AVI
// file, encoded bit-exactly so every build writes the same bytes.
bool WriteLogoVideo(const std::string& path, std::string* error);

}  // namespace zoa::databuild
