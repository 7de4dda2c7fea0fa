#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "app/command_line.h"
#include "app/game_app.h"
#include "avi_writer.h"
#include "platform/headless/headless_platform.h"
#include "sim/game_state.h"
#include "sound_fixture.h"
#include "video/logo_geometry.h"
#include "video/logo_player.h"

namespace zoa {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kRed = 0xFFFF0000u;

// Frame f: the left half's red channel is 20 f, the right half is blue.
uint32_t FrameColor(int f, int x, int) {
    return x < 160 ? uint32_t(20 * f) << 16 | 0x40 : 0x0000C0;
}
// Small frames, one flat colour each: green 20 f.
uint32_t FlatColor(int f, int, int) {
    return uint32_t(20 * f) << 8 | 0x10;
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 4) return false;
    }
    return true;
}

// The dispatch the tests hand to RunLogo: keeps the picture seen when a
// scheduled message arrives, then lets the player handle the message.
platform::HeadlessPlatform* g_watched = nullptr;
std::vector<uint32_t> g_seen;
void Watch(const platform::Message& m) {
    if (m.id == platform::MessageId::MouseMove) g_seen = g_watched->lastTrueColor();
    LogoMessage(m);
}

class LogoTest : public ::testing::Test {
  protected:
    void TearDown() override {
        CloseLogo();
        g_watched = nullptr;
        g_seen.clear();
    }
    std::string Avi(const test::TestAvi& avi, const std::string& name = "logo.avi") {
        std::string error;
        EXPECT_TRUE(test::WriteTestAvi(dir / name, avi, &error)) << error;
        return dir / name;
    }
    test::TempDir dir;
    platform::HeadlessPlatform headless;
};

TEST(LogoGeometry, SideFramesPositionsAndRounding) {
    EXPECT_EQ(SideFrameCount(640, 640), 0);
    EXPECT_EQ(SideFrameCount(640, 320), 0);
    EXPECT_EQ(SideFrameCount(640, 160), 1);
    EXPECT_EQ(SideFrameCount(640, 100), 2);
    EXPECT_EQ(SideFrameCount(640, 800), 0);
    EXPECT_EQ(SideFrameCount(640, 0), 0);
    EXPECT_EQ(FrameLeft(640, 0, 640), 0);
    EXPECT_EQ(FrameLeft(640, -1, 160), 80);
    EXPECT_EQ(FrameLeft(640, 1, 160), 400);
    EXPECT_EQ(RoundedMulDiv(5, 1, 2), 3);
    EXPECT_EQ(RoundedMulDiv(4, 1, 3), 1);
    for (int64_t t : {0, 1, 999, 1234, 2999, 3000}) {
        const int32_t p = PositionAtTime(500, 3000, 500 + t);
        EXPECT_LE(std::abs(TimeAtPosition(500, 3000, p) - (500 + t)), 1) << t;
    }
    EXPECT_EQ(PositionAtTime(0, 3000, 3000), 10000);
}

TEST_F(LogoTest, PlaysZoomedToTheWholePictureAndRunsPastShortAudio) {
    test::TestAvi avi;
    avi.color = FrameColor;
    avi.audioRate = 11025;
    avi.audioMs = 500;  // audio shorter than the one-second video
    ASSERT_TRUE(OpenLogo(&headless, 640, 480, 2, Avi(avi)));
    EXPECT_TRUE(LogoPlaying());
    EXPECT_EQ(g_logo.streamCount, 2);
    EXPECT_EQ(g_logo.videoStream, 0);
    EXPECT_EQ(g_logo.audioStream, 1);
    EXPECT_EQ(g_logo.timeStart, 0);
    EXPECT_EQ(g_logo.timeEnd, 1000);
    EXPECT_FALSE(g_logo.audioPlaying);  // no device in a headless run

    g_watched = &headless;
    headless.ScheduleMessage(550, {platform::MessageId::MouseMove, 0, 0});
    EXPECT_TRUE(RunLogo(&Watch));
    EXPECT_FALSE(LogoPlaying());
    EXPECT_GT(headless.Now(), 1000u);
    EXPECT_LT(headless.Now(), 1100u);
    EXPECT_GE(headless.presentCount(), 10u);

    // At 550 ms frame 5 fills the picture at twice its size: the left half of the
    // frame covers x 0..319, the right half 320..639; the outline lies outside.
    ASSERT_EQ(g_seen.size(), 640u * 480u);
    const uint32_t left = kOpaque | FrameColor(5, 0, 0), right = kOpaque | FrameColor(5, 200, 0);
    for (auto [x, y] : {std::pair{0, 0}, {319, 479}, {100, 240}}) {
        EXPECT_TRUE(Near(g_seen[y * 640 + x], left))
            << x << "," << y << " " << std::hex << g_seen[y * 640 + x];
    }
    for (auto [x, y] : {std::pair{320, 0}, {639, 479}}) {
        EXPECT_TRUE(Near(g_seen[y * 640 + x], right))
            << x << "," << y << " " << std::hex << g_seen[y * 640 + x];
    }
}

TEST_F(LogoTest, AudioLongerThanTheVideoSetsTheEndAndLeavesNoFrame) {
    test::TestAvi avi;
    avi.color = FrameColor;
    avi.audioRate = 8000;
    avi.audioMs = 1500;
    ASSERT_TRUE(OpenLogo(&headless, 640, 480, 2, Avi(avi)));
    EXPECT_EQ(g_logo.timeEnd, 1500);
    g_watched = &headless;
    headless.ScheduleMessage(1200, {platform::MessageId::MouseMove, 0, 0});
    EXPECT_TRUE(RunLogo(&Watch));
    EXPECT_GT(headless.Now(), 1500u);
    ASSERT_EQ(g_seen.size(), 640u * 480u);
    EXPECT_EQ(g_seen[240 * 640 + 320], 0xFF404040u);  // past the video's end: no frame
}

TEST_F(LogoTest, SmallFramesShowTheirNeighboursAndARedOutline) {
    test::TestAvi avi;
    avi.width = 80;
    avi.height = 60;
    avi.color = FlatColor;
    ASSERT_TRUE(OpenLogo(&headless, 640, 480, 2, Avi(avi)));
    g_watched = &headless;
    headless.ScheduleMessage(550, {platform::MessageId::MouseMove, 0, 0});
    EXPECT_TRUE(RunLogo(&Watch));
    ASSERT_EQ(g_seen.size(), 640u * 480u);
    const auto at = [](int x, int y) { return g_seen[y * 640 + x]; };
    // Frames are 160 x 120 on screen: frame 4 at x 80..239, 5 at 240..399, 6 at 400..559.
    EXPECT_TRUE(Near(at(160, 60), kOpaque | FlatColor(4, 0, 0))) << std::hex << at(160, 60);
    EXPECT_TRUE(Near(at(320, 60), kOpaque | FlatColor(5, 0, 0))) << std::hex << at(320, 60);
    EXPECT_TRUE(Near(at(480, 60), kOpaque | FlatColor(6, 0, 0))) << std::hex << at(480, 60);
    EXPECT_EQ(at(239, 60), kRed);    // just left of the centre frame
    EXPECT_EQ(at(400, 60), kRed);    // just right of it
    EXPECT_EQ(at(320, 120), kRed);   // just below it
    EXPECT_EQ(at(20, 60), kOpaque);  // beyond the side frames
    EXPECT_EQ(at(320, 300), kOpaque);
}

// A video that leaves room below it: the audio is drawn there, one
// millisecond per pixel around the current time, with a red mark at the
// time and the time written below. The square wave switches every 5 ms
// between +8000 (y 345) and -8000 (y 359) in its 64-pixel band at y 320.
TEST_F(LogoTest, RoomBelowTheVideoShowsTheAudioWithItsTime) {
    test::TestAvi avi;
    avi.height = 160;
    avi.color = FrameColor;
    avi.audioRate = 10000;
    avi.audioMs = 1000;
    ASSERT_TRUE(OpenLogo(&headless, 640, 480, 2, Avi(avi)));
    g_watched = &headless;
    headless.ScheduleMessage(550, {platform::MessageId::MouseMove, 0, 0});
    EXPECT_TRUE(RunLogo(&Watch));
    ASSERT_EQ(g_seen.size(), 640u * 480u);
    const auto at = [](int x, int y) { return g_seen[y * 640 + x]; };
    constexpr uint32_t kTrace = 0xFF00FF00u;
    // Each switch is joined by a column from one level to the other.
    int high = 0, low = 0, joins = 0, elsewhere = 0;
    for (int x = 0; x < 640; ++x) {
        if (x == 320) continue;  // the mark
        high += at(x, 345) == kTrace;
        low += at(x, 359) == kTrace;
        joins += at(x, 352) == kTrace;
        for (int y : {321, 340, 364, 383}) elsewhere += at(x, y) == kTrace;
    }
    EXPECT_NEAR(joins, 128, 2);
    EXPECT_NEAR(high, 320 + joins / 2, 6);
    EXPECT_NEAR(low, 320 + joins / 2, 6);
    EXPECT_EQ(elsewhere, 0);
    for (int y = 320; y < 384; ++y) EXPECT_EQ(at(320, y), kRed) << y;
    int textLeft = 640, textRight = -1;
    for (int y = 384; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (at(x, y) == kOpaque) continue;
            textLeft = std::min(textLeft, x);
            textRight = std::max(textRight, x);
        }
    }
    // "0.550s" or so: six glyphs of 8 pixels centred under the mark.
    EXPECT_NEAR(textLeft, 320 - 24, 2);
    EXPECT_NEAR(textRight, 320 + 24, 3);
    // The video itself is as before, twice its size at the top.
    EXPECT_TRUE(Near(at(100, 100), kOpaque | FrameColor(5, 0, 0))) << std::hex << at(100, 100);
}

// A further video stream is painted below the first: beside its current frame
// it shows the frames a frame width (160) of milliseconds before and after.
// Below both, the audio's strip.
TEST_F(LogoTest, AFurtherVideoStreamShowsItsFramesAFrameWidthOfTimeApart) {
    test::TestAvi avi;
    avi.width = 80;
    avi.height = 60;
    avi.color = FlatColor;
    avi.secondVideo = true;
    avi.audioRate = 10000;
    avi.audioMs = 1000;
    ASSERT_TRUE(OpenLogo(&headless, 640, 480, 2, Avi(avi)));
    EXPECT_EQ(g_logo.streamCount, 3);
    g_watched = &headless;
    headless.ScheduleMessage(550, {platform::MessageId::MouseMove, 0, 0});
    EXPECT_TRUE(RunLogo(&Watch));
    ASSERT_EQ(g_seen.size(), 640u * 480u);
    const auto at = [](int x, int y) { return g_seen[y * 640 + x]; };
    for (auto [x, frame] : {std::pair{160, 4}, {320, 5}, {480, 6}})
        EXPECT_TRUE(Near(at(x, 60), kOpaque | FlatColor(frame, 0, 0)))
            << x << std::hex << " " << at(x, 60);
    for (auto [x, frame] : {std::pair{160, 3}, {320, 5}, {480, 7}})
        EXPECT_TRUE(Near(at(x, 180), kOpaque | FlatColor(frame, 0, 0)))
            << x << std::hex << " " << at(x, 180);
    EXPECT_EQ(at(320, 240), kRed);  // the outline under the second row, and the strip's mark
    EXPECT_EQ(at(320, 300), kRed);
    int trace = 0;
    for (int y = 240; y < 304; ++y) trace += at(100, y) == 0xFF00FF00u;
    EXPECT_GE(trace, 1);
}

TEST_F(LogoTest, MissingGarbageAndDamagedFilesNeverCrash) {
    EXPECT_FALSE(OpenLogo(&headless, 640, 480, 2, dir / "none.avi"));
    EXPECT_FALSE(LogoPlaying());

    std::mt19937 random(7);
    std::vector<char> garbage(20000);
    for (char& c : garbage) c = static_cast<char>(random());
    std::ofstream(dir / "garbage.avi", std::ios::binary).write(garbage.data(), garbage.size());
    EXPECT_FALSE(OpenLogo(&headless, 640, 480, 2, dir / "garbage.avi"));

    test::TestAvi avi;
    avi.color = FrameColor;
    avi.audioRate = 8000;
    avi.audioMs = 1000;
    const std::string whole = Avi(avi);
    std::vector<char> bytes(std::filesystem::file_size(whole));
    std::ifstream(whole, std::ios::binary).read(bytes.data(), bytes.size());
    // Cut short at several places, then with bytes overwritten all through.
    for (size_t cut :
         {size_t{12}, size_t{200}, bytes.size() / 3, bytes.size() * 2 / 3, bytes.size() - 9}) {
        std::ofstream(dir / "cut.avi", std::ios::binary | std::ios::trunc).write(bytes.data(), cut);
        if (OpenLogo(&headless, 640, 480, 2, dir / "cut.avi")) {
            EXPECT_TRUE(RunLogo(nullptr)) << cut;
        }
        EXPECT_FALSE(LogoPlaying());
    }
    for (size_t i = 300; i < bytes.size(); i += 97) bytes[i] = static_cast<char>(random());
    std::ofstream(dir / "damaged.avi", std::ios::binary | std::ios::trunc)
        .write(bytes.data(), bytes.size());
    if (OpenLogo(&headless, 640, 480, 2, dir / "damaged.avi")) {
        EXPECT_TRUE(RunLogo(nullptr));
    }
    EXPECT_LT(headless.Now(), 60000u * 8);
}

// Through start-up: keys during the logo do nothing, the game starts after it.
class LogoStartupTest : public LogoTest {
  protected:
    int Run(const std::vector<platform::Message>& at200, uint32_t afterMs) {
        test::WriteFixtureData(dir.str());
        std::filesystem::create_directories(dir / "data/logo");
        test::TestAvi avi;
        avi.color = FrameColor;
        Avi(avi, "data/logo/__Logo.avi");
        std::string error;
        auto options = ParseCommandLine(
            {"--headless", "--data", dir.str(), "--frames", "300", "--dump", dir / "dump.json"},
            &error);
        auto platform = std::make_unique<platform::HeadlessPlatform>();
        platform->SetUserFolder(dir / "home");
        for (const auto& m : at200) platform->ScheduleMessage(200, m);
        platform->ScheduleMessage(afterMs, {platform::MessageId::KeyDown, platform::vk::Right, 0});
        return RunGame(*options, std::move(platform));
    }
};

TEST_F(LogoStartupTest, KeysAndClicksDuringTheLogoDoNothing) {
    using platform::MessageId;
    ASSERT_EQ(Run({{MessageId::KeyDown, platform::vk::Right, 0},
                   {MessageId::LButtonDown, 0, 0},
                   {MessageId::KeyDown, platform::vk::Escape, 0}},
                  1150),
              kExitOk);
    const std::string dump = test::ReadText(dir / "dump.json");
    EXPECT_NE(dump.find("\"frameCounter\": 300"), std::string::npos);  // activated after the logo
    EXPECT_NE(dump.find("\"TitleChoice\": 1,"), std::string::npos) << dump;  // only the later press
    EXPECT_NE(dump.find("\"MouseLeftDown\": 0,"), std::string::npos);
    const size_t first = dump.find("\"op\": \"play\"");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(dump.find("\"op\": \"play\"", first + 1), std::string::npos);
}

TEST_F(LogoStartupTest, ClosingTheWindowDuringTheLogoEndsTheGame) {
    ASSERT_EQ(Run({{platform::MessageId::Close, 0, 0}}, 1150), kExitOk);
    EXPECT_NE(test::ReadText(dir / "dump.json").find("\"frameCounter\": 0,"), std::string::npos);
}

}  // namespace
}  // namespace zoa
