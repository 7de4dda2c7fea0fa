#include "platform/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "platform/message.h"
#include "platform/user_folder.h"

namespace zoa::platform {

namespace {

struct NamedKey {
    const char* name;
    uint32_t vk;
};

// The game's keys by what they do; the first name of each key is the one
// written back.
constexpr NamedKey kGameKeys[] = {
    {"left", vk::Left},   {"right", vk::Right},   {"up", vk::Up},        {"fly", vk::Up},
    {"down", vk::Down},   {"charge", vk::Down},   {"jump", vk::Z},       {"throw", vk::X},
    {"enter", vk::Enter}, {"escape", vk::Escape}, {"pause", vk::Escape}, {"refill", vk::F1},
    {"sound", vk::F5},    {"ctrl", vk::Control},  {"space", vk::Space},
};

// Button names as game controller mappings write them.
constexpr const char* kPadButtonNames[] = {
    "a",
    "b",
    "x",
    "y",
    "back",
    "guide",
    "start",
    "leftstick",
    "rightstick",
    "leftshoulder",
    "rightshoulder",
    "dpup",
    "dpdown",
    "dpleft",
    "dpright",
};

// The settings of the practice tools' controller chords, in PracticeTool order.
constexpr const char* kPadToolSettings[Settings::kPracticeTools] = {
    "pad_save_state",    "pad_load_state", "pad_rewind",
    "pad_frame_advance", "pad_step_frame", "pad_overlay",
};

static_assert(static_cast<size_t>(PracticeTool::Overlay) == Settings::kPracticeTools);

constexpr std::string_view kBindPrefix = "bind.";
constexpr std::string_view kPadPrefix = "pad.";
constexpr std::string_view kNone = "none";

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

// The part of a line before its comment.
std::string_view StripComment(std::string_view line) {
    const size_t at = line.find_first_of("#;");
    return at == std::string_view::npos ? line : line.substr(0, at);
}

std::optional<bool> ParseSwitch(std::string_view value) {
    const std::string v = Lower(value);
    if (v == "yes" || v == "on" || v == "true" || v == "1") return true;
    if (v == "no" || v == "off" || v == "false" || v == "0") return false;
    return std::nullopt;
}

std::optional<int> ParseWhole(std::string_view value, int lowest, int highest) {
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || value.empty())
        return std::nullopt;
    if (n < lowest || n > highest) return std::nullopt;
    return n;
}

// Up to two game keys separated by spaces or commas; "none" for no key.
std::optional<std::array<uint32_t, 2>> ParseKeyList(std::string_view value) {
    std::array<uint32_t, 2> vks{};
    if (Lower(value) == kNone) return vks;
    size_t count = 0;
    size_t pos = 0;
    while (pos < value.size()) {
        const size_t end = value.find_first_of(" ,\t", pos);
        const std::string_view word =
            value.substr(pos, end == std::string_view::npos ? end : end - pos);
        pos = end == std::string_view::npos ? value.size() : end + 1;
        if (word.empty()) continue;
        const auto key = GameKeyFromName(word);
        if (!key || count == vks.size()) return std::nullopt;
        vks[count++] = *key;
    }
    if (count == 0) return std::nullopt;
    return vks;
}

bool IsPadButton(std::string_view name) {
    return std::any_of(std::begin(kPadButtonNames), std::end(kPadButtonNames),
                       [&](const char* b) { return name == b; });
}

// "none", one button, or a button to hold and one to press: "back + y".
std::optional<PadChord> ParsePadChord(std::string_view value) {
    const std::string v = Lower(value);
    if (v == kNone) return PadChord{};
    const size_t plus = v.find('+');
    PadChord chord;
    chord.button = std::string(Trim(plus == std::string::npos ? v : v.substr(plus + 1)));
    if (plus != std::string::npos)
        chord.hold = std::string(Trim(std::string_view(v).substr(0, plus)));
    if (!IsPadButton(chord.button) || chord.button == chord.hold) return std::nullopt;
    if (plus != std::string::npos && !IsPadButton(chord.hold)) return std::nullopt;
    return chord;
}

// Applies one "key = value"; the reason it cannot, or empty.
std::string ApplySetting(std::string_view key, std::string_view value, Settings& s) {
    const std::string k = Lower(key);
    const auto expect = [&](const char* what) {
        return "'" + std::string(value) + "' is not " + what + " for " + std::string(key);
    };
    if (k == "fullscreen" || k == "vsync" || k == "gamepad" || k == "pad_stick") {
        const auto on = ParseSwitch(value);
        if (!on) return expect("yes or no");
        (k == "fullscreen" ? s.fullscreen
         : k == "vsync"    ? s.vsync
         : k == "gamepad"  ? s.gamepad
                           : s.padStick) = *on;
    } else if (k == "practice" || k == "rewind" || k == "states" || k == "frame_advance" ||
               k == "overlay") {
        const auto on = ParseSwitch(value);
        if (!on) return expect("on or off");
        (k == "practice"        ? s.practice
         : k == "rewind"        ? s.rewind
         : k == "states"        ? s.states
         : k == "frame_advance" ? s.frameAdvance
                                : s.overlay) = *on;
    } else if (k == "window_scale") {
        if (Lower(value) == "auto") {
            s.windowScale = 0;
        } else if (const auto n = ParseWhole(value, 1, Settings::kLargestWindowScale)) {
            s.windowScale = *n;
        } else {
            return expect("auto or 1 to 4");
        }
    } else if (k == "scaling") {
        const std::string v = Lower(value);
        if (v == "integer")
            s.scaling = ScaleMode::Integer;
        else if (v == "aspect")
            s.scaling = ScaleMode::Aspect;
        else if (v == "stretch")
            s.scaling = ScaleMode::Stretch;
        else
            return expect("integer, aspect or stretch");
    } else if (k == "filter") {
        const std::string v = Lower(value);
        if (v == "nearest")
            s.filter = Filter::Nearest;
        else if (v == "smooth")
            s.filter = Filter::Smooth;
        else
            return expect("nearest or smooth");
    } else if (k == "music_volume" || k == "effects_volume") {
        const auto n = ParseWhole(value, 0, Settings::kLoudest);
        if (!n) return expect("a volume from 0 to 100");
        (k == "music_volume" ? s.musicVolume : s.effectsVolume) = *n;
    } else if (const auto tool =
                   std::find(std::begin(kPadToolSettings), std::end(kPadToolSettings), k);
               tool != std::end(kPadToolSettings)) {
        const auto chord = ParsePadChord(value);
        if (!chord) return expect("a controller button, a button to hold + a button, or none,");
        s.padTools[static_cast<size_t>(tool - std::begin(kPadToolSettings))] = *chord;
    } else if (k.starts_with(kBindPrefix)) {
        const std::string_view name = Trim(key.substr(kBindPrefix.size()));
        const auto vk = GameKeyFromName(value);
        if (name.empty()) return "bind. needs a key name, as in bind.W = up";
        if (!vk)
            return expect(
                "a game key (left, right, up, down, jump, throw, enter, escape, refill, sound)");
        const std::string lower = Lower(name);
        std::erase_if(s.keys, [&](const KeyBinding& b) { return Lower(b.key) == lower; });
        s.keys.push_back({std::string(name), *vk});
    } else if (k.starts_with(kPadPrefix)) {
        const std::string button = k.substr(kPadPrefix.size());
        if (!IsPadButton(button)) return "unknown controller button '" + button + "'";
        const auto vks = ParseKeyList(value);
        if (!vks) return expect("one or two game keys, or none,");
        std::erase_if(s.padButtons, [&](const PadBinding& b) { return b.button == button; });
        if ((*vks)[0] != 0) s.padButtons.push_back({button, *vks});
    } else {
        return "unknown setting '" + std::string(key) + "' ignored";
    }
    return {};
}

}  // namespace

std::vector<PadBinding> Settings::DefaultPadButtons() {
    return {
        {"a", {vk::Z, vk::Enter}},  {"b", {vk::X, 0}},           {"x", {vk::Down, 0}},
        {"start", {vk::Escape, 0}}, {"dpup", {vk::Up, 0}},       {"dpdown", {vk::Down, 0}},
        {"dpleft", {vk::Left, 0}},  {"dpright", {vk::Right, 0}},
    };
}

std::array<PadChord, Settings::kPracticeTools> Settings::DefaultPadTools() {
    // With Back held: Y saves a state, the right shoulder loads it, the left
    // one rewinds; X switches frame advance, B steps, A shows the overlay.
    return {{
        {"back", "y"},
        {"back", "rightshoulder"},
        {"back", "leftshoulder"},
        {"back", "x"},
        {"back", "b"},
        {"back", "a"},
    }};
}

std::optional<uint32_t> GameKeyFromName(std::string_view name) {
    const std::string n = Lower(Trim(name));
    for (const NamedKey& k : kGameKeys) {
        if (n == k.name) return k.vk;
    }
    if (const auto number = ParseWhole(n, 1, 255)) return static_cast<uint32_t>(*number);
    return std::nullopt;
}

void ParseSettings(std::string_view text, Settings& settings, std::vector<std::string>* warnings,
                   std::string_view fileName) {
    const auto warn = [&](int line, const std::string& why) {
        if (warnings)
            warnings->push_back(std::string(fileName) + ":" + std::to_string(line) + ": " + why);
    };
    int lineNumber = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        const size_t end = text.find('\n', pos);
        const std::string_view raw =
            text.substr(pos, end == std::string_view::npos ? end : end - pos);
        pos = end == std::string_view::npos ? text.size() + 1 : end + 1;
        ++lineNumber;
        const std::string_view line = Trim(StripComment(raw));
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            warn(lineNumber, "expected 'key = value', found '" + std::string(line) + "'");
            continue;
        }
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        if (key.empty()) {
            warn(lineNumber, "a setting needs a name before '='");
            continue;
        }
        const std::string why = ApplySetting(key, value, settings);
        if (!why.empty()) warn(lineNumber, why);
    }
}

std::string SetSettingInText(std::string_view text, std::string_view key, std::string_view value) {
    const std::string wanted = Lower(key);
    std::string out;
    bool done = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view raw = text.substr(pos, next - pos);
        pos = next;
        const std::string_view content = raw.substr(0, raw.find_first_of("\r\n"));
        const std::string_view body = StripComment(content);
        const size_t eq = body.find('=');
        if (!done && eq != std::string_view::npos && Lower(Trim(body.substr(0, eq))) == wanted) {
            // Keep what stands around the value: the indentation, the key as
            // written and the comment behind it.
            const std::string_view comment = content.substr(body.size());
            out += body.substr(0, eq + 1);
            out += ' ';
            out += value;
            if (!comment.empty()) {
                out += "  ";
                out += comment;
            }
            out += raw.substr(content.size());
            done = true;
            continue;
        }
        out += raw;
    }
    if (!done) {
        if (!out.empty() && !out.ends_with('\n')) out += '\n';
        out += key;
        out += " = ";
        out += value;
        out += '\n';
    }
    return out;
}

std::string DefaultSettingsText() {
    return "# ZOA_NOLI settings: one 'key = value' a line; '#' or ';' starts a comment.\n"
           "# The game changes this file itself only to remember full screen or window\n"
           "# (Alt+Enter or F11); everything else is yours to edit.\n"
           "\n"
           "# yes: full screen; no: a window\n"
           "fullscreen = yes\n"
           "# the window's size: auto (the largest that fits) or 1 to 4 times 640 x 480\n"
           "window_scale = auto\n"
           "# integer: whole multiples, sharp and even; aspect: as large as fits; stretch: fill\n"
           "scaling = integer\n"
           "# nearest: sharp pixels; smooth: blended\n"
           "filter = nearest\n"
           "# on: show each picture at the screen's refresh (no tearing)\n"
           "vsync = off\n"
           "\n"
           "# 0 to 100\n"
           "music_volume = 100\n"
           "effects_volume = 100\n"
           "\n"
           "# Game controllers: the d-pad and the left stick move, A jumps (and confirms in\n"
           "# the menus), B throws, X charges, Start pauses. Buttons: pad.a, pad.b, pad.x,\n"
           "# pad.y, pad.back, pad.start, pad.leftshoulder, pad.rightshoulder, pad.dpup, ...\n"
           "gamepad = yes\n"
           "pad_stick = yes\n"
           "# pad.y = throw\n"
           "\n"
           "# Practice tools: F6 saves a state of the stage, F7 loads it, Backspace held\n"
           "# rewinds, F8 holds the game and F9 steps one frame, F10 shows the keys held.\n"
           "# practice = off turns them all off; each can also be turned off alone.\n"
           "practice = on\n"
           "# rewind = off\n"
           "# states = off\n"
           "# frame_advance = off\n"
           "# overlay = off\n"
           "# On a game controller, a button pressed while another is held (or a button\n"
           "# alone, or none); the held button's own game keys still go to the game.\n"
           "# pad_save_state = back + y\n"
           "# pad_load_state = back + rightshoulder\n"
           "# pad_rewind = back + leftshoulder\n"
           "# pad_frame_advance = back + x\n"
           "# pad_step_frame = back + b\n"
           "# pad_overlay = back + a\n"
           "\n"
           "# Further keys for the game's keys (the original keys always work):\n"
           "#   left right up down jump throw enter escape refill sound\n"
           "# bind.A = left\n"
           "# bind.D = right\n"
           "# bind.W = up\n"
           "# bind.S = down\n"
           "# bind.K = jump\n"
           "# bind.J = throw\n";
}

void SettingsFile::Load(const std::string& path, std::vector<std::string>* warnings) {
    path_ = path;
    settings = Settings{};
    text_.clear();
    exists_ = false;
    if (path.empty()) return;
    std::ifstream file(files::FsPath(path), std::ios::binary);
    if (!file) return;
    std::ostringstream all;
    all << file.rdbuf();
    text_ = all.str();
    exists_ = true;
    ParseSettings(text_, settings, warnings, path);
}

bool SettingsFile::Set(std::string_view key, std::string_view value, std::string* error) {
    std::vector<std::string> warnings;
    ParseSettings(std::string(key) + " = " + std::string(value), settings, &warnings);
    if (!warnings.empty()) {
        if (error) *error = warnings.front();
        return false;
    }
    if (path_.empty()) return true;
    const std::string folder = files::Utf8(files::FsPath(path_).parent_path());
    if (!folder.empty() && !MakeFolders(folder)) {
        if (error) *error = "cannot create " + folder;
        return false;
    }
    const std::string text = SetSettingInText(exists_ ? text_ : DefaultSettingsText(), key, value);
    if (!files::ReplaceFile(path_, std::vector<uint8_t>(text.begin(), text.end()), error))
        return false;
    text_ = text;
    exists_ = true;
    return true;
}

}  // namespace zoa::platform
