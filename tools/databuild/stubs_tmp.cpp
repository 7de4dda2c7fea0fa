#include "icon_file.h"
#include "logo_video.h"
#include "sheet_builders.h"
#include "sound_design.h"
namespace zoa::databuild {
std::vector<int16_t> SoundEffect(int) { return std::vector<int16_t>(100, 0); }
std::vector<int16_t> MusicTrack(int) { return std::vector<int16_t>(100, 0); }
bool WriteIconFile(const std::string&) { return true; }
bool WriteLogoVideo(const std::string&, std::string*) { return true; }
}
