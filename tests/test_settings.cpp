#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message.h"
#include "platform/settings.h"
#include "test_support.h"

namespace zoa::platform {
namespace {

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(Settings, DefaultsAreTheGameAsItAlwaysWas) {
    const Settings s;
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.windowScale, 0);
    EXPECT_EQ(s.scaling, ScaleMode::Integer);
    EXPECT_EQ(s.filter, Filter::Nearest);
    EXPECT_EQ(s.musicVolume, 100);
    EXPECT_EQ(s.effectsVolume, 100);
    EXPECT_TRUE(s.keys.empty());
    // The written defaults read back as the same settings, without a warning.
    Settings parsed;
    parsed.fullscreen = false;
    parsed.musicVolume = 3;
    std::vector<std::string> warnings;
    ParseSettings(DefaultSettingsText(), parsed, &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_TRUE(parsed.fullscreen);
    EXPECT_EQ(parsed.musicVolume, 100);
    EXPECT_EQ(parsed.padButtons.size(), Settings::DefaultPadButtons().size());
}

TEST(Settings, ReadsEveryKindOfValueAndIgnoresCaseSpacesAndComments) {
    Settings s;
    std::vector<std::string> warnings;
    ParseSettings(
        "  FullScreen=No   # a window\n"
        "window_scale = 3\r\n"
        "scaling = Stretch ; whole screen\n"
        "filter = smooth\n"
        "vsync = on\n"
        "music_volume = 0\n"
        "effects_volume = 55\n"
        "\n"
        "# bind.Q = left\n"
        "bind.W = up\n"
        "bind.Left Shift = jump\n"
        "bind.w = fly\n"  // the same key again: the last one counts
        "pad.y = throw, refill\n"
        "pad.a = none\n"
        "gamepad = no",
        s, &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_FALSE(s.fullscreen);
    EXPECT_EQ(s.windowScale, 3);
    EXPECT_EQ(s.scaling, ScaleMode::Stretch);
    EXPECT_EQ(s.filter, Filter::Smooth);
    EXPECT_TRUE(s.vsync);
    EXPECT_EQ(s.musicVolume, 0);
    EXPECT_EQ(s.effectsVolume, 55);
    EXPECT_FALSE(s.gamepad);
    ASSERT_EQ(s.keys.size(), 2u);
    EXPECT_EQ(s.keys[0].key, "Left Shift");
    EXPECT_EQ(s.keys[0].vk, vk::Z);
    EXPECT_EQ(s.keys[1].key, "w");
    EXPECT_EQ(s.keys[1].vk, vk::Up);
    bool sawA = false, sawY = false;
    for (const PadBinding& b : s.padButtons) {
        sawA = sawA || b.button == "a";
        if (b.button == "y") {
            sawY = true;
            EXPECT_EQ(b.vks, (std::array<uint32_t, 2>{vk::X, vk::F1}));
        }
    }
    EXPECT_FALSE(sawA);
    EXPECT_TRUE(sawY);
}

TEST(Settings, BadLinesAreSkippedWithTheirLineNumbersAndNeverStopTheRest) {
    Settings s;
    std::vector<std::string> warnings;
    const std::string garbage("\x01\xff\xfe=\0=", 6);
    ParseSettings(
        "fullscreen = maybe\n"                        // 1
        "window_scale = 5\n"                          // 2
        "music_volume = -1\n"                         // 3
        "effects_volume = 40x\n"                      // 4
        "no equals sign here\n"                       // 5
        " = 3\n"                                      // 6
        "colour = blue\n"                             // 7
        "bind. = up\n"                                // 8
        "bind.W = teleport\n"                         // 9
        "pad.z = jump\n"                              // 10
        "pad.a = jump enter escape\n"                 // 11
            + garbage + "\n" +                        // 12
            "effects_volume = 70\n"                   // 13
            "window_scale = 99999999999999999999\n",  // 14
        s, &warnings, "my.ini");
    ASSERT_EQ(warnings.size(), 13u);
    const int lines[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14};
    for (size_t i = 0; i < warnings.size(); ++i) {
        EXPECT_EQ(warnings[i].rfind("my.ini:" + std::to_string(lines[i]) + ": ", 0), 0u)
            << warnings[i];
    }
    EXPECT_NE(warnings[6].find("unknown setting 'colour'"), std::string::npos) << warnings[6];
    // Everything bad kept its old value; the good line among them counted.
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.windowScale, 0);
    EXPECT_EQ(s.musicVolume, 100);
    EXPECT_EQ(s.effectsVolume, 70);
    EXPECT_TRUE(s.keys.empty());
    EXPECT_EQ(s.padButtons.size(), Settings::DefaultPadButtons().size());
}

TEST(Settings, PracticeToolsTakeControllerChordsAndTheFileShowsTheDefaults) {
    Settings s;
    std::vector<std::string> warnings;
    ParseSettings(
        "pad_rewind = LeftShoulder\n"      // 1: the button alone
        "pad_save_state = start+ x\n"      // 2
        "pad_overlay = none\n"             // 3
        "pad_load_state = back + back\n"   // 4: bad from here on
        "pad_step_frame = back + z\n"      // 5
        "pad_frame_advance = a + b + x\n"  // 6
        "pad_frame_advance = +\n",         // 7
        s, &warnings);
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0].rfind("settings:4: ", 0), 0u) << warnings[0];
    const auto defaults = Settings::DefaultPadTools();
    const auto tool = [&](PracticeTool t) { return s.padTools[static_cast<size_t>(t) - 1]; };
    EXPECT_EQ(tool(PracticeTool::Rewind), (PadChord{"", "leftshoulder"}));
    EXPECT_EQ(tool(PracticeTool::SaveState), (PadChord{"start", "x"}));
    EXPECT_EQ(tool(PracticeTool::Overlay), PadChord{});
    EXPECT_EQ(tool(PracticeTool::LoadState), defaults[1]);
    EXPECT_EQ(tool(PracticeTool::StepFrame), defaults[4]);
    EXPECT_EQ(tool(PracticeTool::FrameAdvance), (PadChord{"back", "x"}));

    // The new file's commented-out chords are the defaults, all of them.
    std::string text = DefaultSettingsText();
    int chords = 0;
    for (size_t at = 0; (at = text.find("# pad_", at)) != std::string::npos; ++chords)
        text.erase(at, 2);
    EXPECT_EQ(chords, 6);
    Settings fromFile;
    fromFile.padTools = {};
    ParseSettings(text, fromFile, &warnings);
    EXPECT_EQ(warnings.size(), 4u);
    EXPECT_EQ(fromFile.padTools, defaults);
}

TEST(Settings, ChangingOneSettingKeepsTheRestOfTheFileAsWritten) {
    const std::string text =
        "# my settings\n"
        "  Fullscreen = yes   # as I like it\n"
        "bind.W = up\n"
        "fullscreen = yes\n";  // a second line for the same key is left alone
    const std::string changed = SetSettingInText(text, "fullscreen", "no");
    EXPECT_EQ(changed,
              "# my settings\n"
              "  Fullscreen = no  # as I like it\n"
              "bind.W = up\n"
              "fullscreen = yes\n");
    // A key that is not there yet goes at the end, also after a last line
    // without its line break.
    EXPECT_EQ(SetSettingInText("vsync = on", "fullscreen", "no"), "vsync = on\nfullscreen = no\n");
    EXPECT_EQ(SetSettingInText("", "fullscreen", "no"), "fullscreen = no\n");
    // A commented-out line is not the setting.
    EXPECT_EQ(SetSettingInText("# fullscreen = yes\n", "fullscreen", "no"),
              "# fullscreen = yes\nfullscreen = no\n");
}

TEST(SettingsFile, RemembersAChangeAcrossRunsAndCreatesItsFolder) {
    test::TempDir dir;
    const std::string path = dir.str() + "/config/zoa_noli/settings.ini";
    {
        SettingsFile first;
        std::vector<std::string> warnings;
        first.Load(path, &warnings);
        EXPECT_FALSE(first.exists());
        EXPECT_TRUE(first.settings.fullscreen);
        std::string error;
        ASSERT_TRUE(first.Set("fullscreen", "no", &error)) << error;
        EXPECT_FALSE(first.settings.fullscreen);
    }
    // A new file is the explained default file with the change in it.
    const std::string written = ReadText(path);
    EXPECT_NE(written.find("fullscreen = no"), std::string::npos);
    EXPECT_NE(written.find("# Further keys"), std::string::npos);
    SettingsFile second;
    std::vector<std::string> warnings;
    second.Load(path, &warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(second.exists());
    EXPECT_FALSE(second.settings.fullscreen);
    std::string error;
    ASSERT_TRUE(second.Set("fullscreen", "yes", &error)) << error;
    EXPECT_EQ(ReadText(path), SetSettingInText(written, "fullscreen", "yes"));
    // A bad value changes neither the settings nor the file.
    EXPECT_FALSE(second.Set("window_scale", "9", &error));
    EXPECT_NE(error.find("window_scale"), std::string::npos);
    EXPECT_EQ(second.settings.windowScale, 0);
    EXPECT_EQ(ReadText(path).find("window_scale = 9"), std::string::npos);
}

TEST(SettingsFile, AFileThatCannotBeWrittenLeavesTheOldOneAndSaysWhy) {
    test::TempDir dir;
    const std::string path = dir.str() + "/settings.ini";
    test::WriteBytes(path, {'v', 's', 'y', 'n', 'c', '=', 'o', 'n', '\n'});
    SettingsFile file;
    file.Load(path, nullptr);
    EXPECT_TRUE(file.settings.vsync);
    // Its folder turns into a file: no temporary file can go there.
    SettingsFile blocked;
    blocked.Load(dir.str() + "/settings.ini/inner.ini", nullptr);
    std::string error;
    EXPECT_FALSE(blocked.Set("fullscreen", "no", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadText(path), "vsync=on\n");
}

TEST(Settings, GameKeysHaveNamesAndNumbers) {
    EXPECT_EQ(GameKeyFromName("JUMP"), vk::Z);
    EXPECT_EQ(GameKeyFromName(" throw "), vk::X);
    EXPECT_EQ(GameKeyFromName("charge"), vk::Down);
    EXPECT_EQ(GameKeyFromName("pause"), vk::Escape);
    EXPECT_EQ(GameKeyFromName("116"), vk::F5);
    EXPECT_FALSE(GameKeyFromName("256"));
    EXPECT_FALSE(GameKeyFromName("0"));
    EXPECT_FALSE(GameKeyFromName("dance"));
}

}  // namespace
}  // namespace zoa::platform

namespace zoa::platform {
namespace {

// Whatever bytes a settings file holds, reading it and rewriting one of its
// lines neither crashes nor reads out of bounds (the sanitizers watch).
TEST(Settings, ArbitraryBytesNeverBreakTheReaderOrTheWriter) {
    uint32_t state = 12345;
    const auto next = [&] {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    };
    const char pieces[] = "=#;\n\r\t .,bind.pad.a fullscreen music_volume 0123456789yesno\xff";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const uint32_t length = next() % 200;
        for (uint32_t i = 0; i < length; ++i) {
            text += next() % 4 == 0 ? static_cast<char>(next() & 0xFF)
                                    : pieces[next() % (sizeof pieces - 1)];
        }
        Settings s;
        std::vector<std::string> warnings;
        ParseSettings(text, s, &warnings);
        EXPECT_GE(s.musicVolume, 0);
        EXPECT_LE(s.musicVolume, 100);
        EXPECT_GE(s.windowScale, 0);
        EXPECT_LE(s.windowScale, Settings::kLargestWindowScale);
        const std::string rewritten = SetSettingInText(text, "fullscreen", "no");
        Settings after;
        ParseSettings(rewritten, after, nullptr);
        EXPECT_FALSE(after.fullscreen) << text;
    }
}

}  // namespace
}  // namespace zoa::platform
