#pragma once
#include <string>

#include "canvas.h"

namespace zoa::databuild {

// The opening logo: a short 320 x 240 video with a PCM sound track in an AVI
// file, encoded bit-exactly so every build writes the same bytes.
bool WriteLogoVideo(const std::string& path, std::string* error);

// Frame `i` (0..99) of the logo as a 320 x 240 palette picture.
Canvas LogoFrame(int i);

// What a decoder makes of a logo file: stream sizes and counts.
struct LogoProbe {
    int width = 0, height = 0;
    int videoFrames = 0;
    int audioSamples = 0, audioRate = 0, audioChannels = 0;
    double seconds = 0;
};
// Decodes the whole file with FFmpeg; false with a reason when it cannot.
bool ProbeLogoVideo(const std::string& path, LogoProbe* probe, std::string* error);

}  // namespace zoa::databuild
