// The settings file parser, and the rewrite of one setting in the player's text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zoa::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Settings settings;
    std::vector<std::string> warnings;
    ParseSettings(text, settings, &warnings, "fuzz.cfg");
    ZOA_FUZZ_CHECK(settings.musicVolume >= 0 && settings.musicVolume <= Settings::kLoudest,
                   "music volume out of range");
    ZOA_FUZZ_CHECK(settings.effectsVolume >= 0 && settings.effectsVolume <= Settings::kLoudest,
                   "effects volume out of range");
    ZOA_FUZZ_CHECK(
        settings.windowScale >= 0 && settings.windowScale <= Settings::kLargestWindowScale,
        "window scale out of range");
    const std::string rewritten = SetSettingInText(text, "music_volume", "40");
    Settings again;
    warnings.clear();
    ParseSettings(rewritten, again, &warnings, "fuzz.cfg");
    return 0;
}
