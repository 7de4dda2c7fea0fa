#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zoa::platform {

// How the 640 x 480 picture fills the window or screen.
enum class ScaleMode {
    Integer,  // the largest whole multiple that fits (sharp, even pixels), centred
    Aspect,   // as large as fits, proportions kept
    Stretch,  // the whole output
};
enum class Filter { Nearest, Smooth };

// A further key that sends one of the game's keys. `key` is the key's name as
// written in the settings file (the window backend knows the names).
struct KeyBinding {
    std::string key;
    uint32_t vk = 0;
};

// A game controller button and the game keys it sends (up to two, in order:
// the pad's A sends jump and then Enter, so it confirms in the menus too).
struct PadBinding {
    std::string button;
    std::array<uint32_t, 2> vks{};
};

// A game controller chord for a practice tool: `button` pressed while `hold`
// is held, or alone when `hold` is empty. An empty `button` is no chord.
// Names as for PadBinding.
struct PadChord {
    std::string hold;
    std::string button;
    bool operator==(const PadChord&) const = default;
};

// Every comfort around the game. The defaults are the game as it always was:
// full screen, sharp pixels, full volume, only the original keys.
struct Settings {
    static constexpr int kLargestWindowScale = 4;
    static constexpr int kLoudest = 100;

    bool fullscreen = true;
    int windowScale = 0;  // 0: the largest that fits the desktop
    ScaleMode scaling = ScaleMode::Integer;
    Filter filter = Filter::Nearest;
    bool vsync = false;
    int musicVolume = kLoudest;  // percent
    int effectsVolume = kLoudest;
    bool gamepad = true;
    bool padStick = true;  // the left stick moves like the arrows
    // The practice tools, each on its own, and `practice` over all of them.
    bool practice = true;
    bool rewind = true;
    bool states = true;
    bool frameAdvance = true;
    bool overlay = true;
    std::vector<KeyBinding> keys;
    std::vector<PadBinding> padButtons = DefaultPadButtons();
    // The controller chord of each practice tool, by its PracticeTool number
    // less one (save state, load state, rewind, frame advance, step, overlay).
    static constexpr size_t kPracticeTools = 6;
    std::array<PadChord, kPracticeTools> padTools = DefaultPadTools();

    static std::vector<PadBinding> DefaultPadButtons();
    static std::array<PadChord, kPracticeTools> DefaultPadTools();
};

// The game keys a binding may name: "left", "jump", "enter", ... Also takes a
// virtual-key number. Nothing for an unknown name.
std::optional<uint32_t> GameKeyFromName(std::string_view name);

// Parses settings text over `settings`: lines "key = value", blank lines and
// comments ("#" or ";" to the end of the line) between them. What the text
// does not set keeps its value. Never fails: a bad line or value is skipped
// with a warning naming its line; so is an unknown key.
void ParseSettings(std::string_view text, Settings& settings, std::vector<std::string>* warnings,
                   std::string_view fileName = "settings");

// `text` with `key` set to `value`: the line that sets it is rewritten in place,
// keeping its comment; otherwise a line is added at the end. The rest of the
// text stays as the player wrote it.
std::string SetSettingInText(std::string_view text, std::string_view key, std::string_view value);

// The text of a new settings file: every setting at its default, explained.
std::string DefaultSettingsText();

// The settings file of this run: read once at start, written back (whole, by
// replacing the file) whenever a setting changes.
class SettingsFile {
  public:
    // Reads `path`; a missing file gives the defaults. Warnings go to *warnings.
    void Load(const std::string& path, std::vector<std::string>* warnings);
    // Sets one setting, here and in the file; false (with the reason) when the
    // file cannot be written. An empty path keeps the change in memory only.
    bool Set(std::string_view key, std::string_view value, std::string* error);

    const std::string& path() const { return path_; }
    bool exists() const { return exists_; }

    Settings settings;

  private:
    std::string path_;
    std::string text_;
    bool exists_ = false;
};

}  // namespace zoa::platform
