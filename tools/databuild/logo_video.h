#pragma once
#include <string>

#include "canvas.h"

namespace zoa::databuild {

// The opening logo: a short 320 x 240 video with a PCM sound track in an AVI
// file, encoded bit-exactly so every build writes the same bytes.
bool WriteLogoVideo(const std::string& path, std::string* error);

// Frame `i` (0..99) of the logo as a 320 x 240 palette picture.
Canvas LogoFrame(int i);

}  // namespace zoa::databuild
