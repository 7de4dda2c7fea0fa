// The player moving through stages made by the stage compiler: the numbers of
// its walk, fall, jumps, flight, charge and throw, the ledge and wall rules,
// the stage exit, and the defeat with its respawn or game over. Frames run
// whole (update, drawing, contact) on the headless display.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "app/input.h"
#include "platform/message.h"
#include "play/fade.h"
#include "play/run_frame.h"
#include "play/stage_loader.h"
#include "play/stage_source.h"
#include "sim/behaviours.h"
#include "sim/player_rules.h"
#include "sim/sprite_conventions.h"
#include "sim/sprite_types.h"
#include "stage_test_support.h"

namespace zoa::test {
namespace {

namespace key = platform::vk;

constexpr int32_t kStandRow = 13;  // floor rows 13 and 14 of a 15-row map
constexpr int32_t kPlayerHeight = 105;

// A stage's text: a map of '.' (empty), '#' (solid) and 'E' (exit) and the
// sprite lines, the player among them.
struct StageText {
    int32_t level = 1;
    int32_t lives = 3;
    std::vector<std::string> rows;
    std::string sprites;

    // An empty map with solid rows from `floorRow` down.
    StageText(int32_t width, int32_t height, int32_t floorRow) {
        for (int32_t r = 0; r < height; ++r)
            rows.push_back(std::string(static_cast<size_t>(width), r >= floorRow ? '#' : '.'));
    }
    void Fill(int32_t c0, int32_t r0, int32_t c1, int32_t r1, char tile) {
        for (int32_t r = r0; r <= r1; ++r)
            for (int32_t c = c0; c <= c1; ++c) rows[r][c] = tile;
    }
    void Add(int32_t type, int32_t x, int32_t y) {
        sprites += "sprite " + std::to_string(type) + " " + std::to_string(x) + " " +
                   std::to_string(y) + "\n";
    }
    std::string Source() const {
        std::string s = "stage 1\nLevel = " + std::to_string(level) +
                        "\nTime_Chai = 16\nLives = " + std::to_string(lives) +
                        "\ntile . = 0\ntile # = 1\ntile E = 153\nmap\n";
        for (const std::string& row : rows) s += row + "\n";
        return s + "end\n" + sprites;
    }
};

// y of a 105-pixel sprite standing on a floor whose top is tile row `row`.
int32_t StandingY(int32_t row) {
    return row * kTileSize - kPlayerHeight;
}

class PlayerTest : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        behaviours = BehaviourTable{};
    }

    // Compiles the stage and writes its two files where LoadStage looks.
    void Install(const StageText& text) {
        StageFile stage;
        TileMapFile map;
        std::string error;
        ASSERT_TRUE(CompileStageSource(text.Source(), stage, map, &error)) << error;
        WordWriter stageBytes, mapBytes;
        WriteStageFile(stage, stageBytes);
        WriteTileMapFile(map, mapBytes);
        ASSERT_TRUE(stageBytes.WriteFile(StageFilePath(text.level)));
        ASSERT_TRUE(mapBytes.WriteFile(TileMapFilePath(text.level)));
    }

    // Installs and starts the stage as a new game does.
    void Start(const StageText& text) {
        Install(text);
        ASSERT_EQ(LoadStage(text.level), 1);
        game.RestartX = P().x;
        game.RestartY = P().y;
        sounds_.events.clear();
    }

    static SpriteRecord& P() { return pool[game.PlayerIndex]; }

    static void Frames(int32_t n) {
        for (int32_t k = 0; k < n; ++k) RunFrame();
    }

    // Keys as the window hands them to the game.
    static void Press(uint32_t vk) { OnKeyDown(vk); }

    static int32_t CountOfType(int32_t type) {
        int32_t n = 0;
        for (int32_t k = 0; k < game.Sprite_Getsu; ++k) n += pool[k].type == type;
        return n;
    }
    int32_t TimesPlayed(int32_t sound) const {
        int32_t n = 0;
        for (const SoundEvent& e : sounds_.events) n += e.play && e.index == sound;
        return n;
    }
};

// A level floor 40 tiles wide with the player standing at x = 200.
StageText OpenGround() {
    StageText s(40, 15, kStandRow);
    s.Add(kPlayer, 200, StandingY(kStandRow));
    return s;
}

TEST_F(PlayerTest, WalksFourPixelsAnUpdateUntilAWallStopsIt) {
    StageText s = OpenGround();
    s.Fill(16, 10, 16, 12, '#');  // a wall three tiles high at x = 512
    Start(s);
    Press(key::Right);
    for (int32_t k = 1; k <= 10; ++k) {
        RunFrame();
        ASSERT_EQ(P().x, 200 + 4 * k);
        EXPECT_EQ(P().row, kPlayerWalkRow);
        EXPECT_EQ(game.PlayerDx, 4);
    }
    // The right probe column (x + 71) may not enter the wall at x = 512.
    Frames(60);
    EXPECT_EQ(P().x, 440);
    EXPECT_EQ(P().row, kPlayerPushRow);
    EXPECT_EQ(game.PlayerDx, 0);
    EXPECT_EQ(P().y, StandingY(kStandRow));

    Press(key::Left);
    RunFrame();
    EXPECT_EQ(P().x, 436);
    EXPECT_EQ(P().dir, kPlayerFacesLeft);
    EXPECT_EQ(game.PlayerDx, -4);
}

TEST_F(PlayerTest, AWallOverlappingTheLeftSideIsPushedOutFourPixelsAnUpdate) {
    StageText s(40, 15, kStandRow);
    s.Fill(3, 10, 3, 12, '#');  // x 96..127; the left probe column starts at x + 50 = 110
    s.Add(kPlayer, 60, StandingY(kStandRow));
    Start(s);
    std::vector<int32_t> xs;
    for (int32_t k = 0; k < 7; ++k) {
        RunFrame();
        xs.push_back(P().x);
    }
    EXPECT_EQ(xs, (std::vector<int32_t>{64, 68, 72, 76, 80, 80, 80}));
}

TEST_F(PlayerTest, FallsFourPixelsAnUpdateAndLandsOnTheFloor) {
    StageText s(40, 15, kStandRow);
    s.Add(kPlayer, 200, StandingY(kStandRow) - 40);
    Start(s);
    game.JumpReady = 1;
    for (int32_t k = 1; k <= 10; ++k) {
        RunFrame();
        ASSERT_EQ(P().y, StandingY(kStandRow) - 40 + 4 * k);
        EXPECT_EQ(P().row, kPlayerAirRow);
        EXPECT_EQ(game.JumpReady, 0);
    }
    Frames(3);
    EXPECT_EQ(P().y, StandingY(kStandRow));
    EXPECT_EQ(P().row, kPlayerStandRow);
    EXPECT_EQ(game.JumpReady, 1);

    // Two pixels short of the floor: the fall is taken back, then the settle.
    P().y = StandingY(kStandRow) - 2;
    RunFrame();
    EXPECT_EQ(P().y, StandingY(kStandRow));
}

TEST_F(PlayerTest, FallingOutOfTheViewIsADefeat) {
    StageText s = OpenGround();
    s.Fill(10, kStandRow, 16, 14, '.');  // a pit at x 320..543, to the map's bottom
    Start(s);
    P().x = 360;
    int32_t updates = 0;
    while (P().life > 0 && updates++ < 100) {
        ASSERT_EQ(game.Scr.y, 0);
        const bool wasInView = P().y <= 480;
        RunFrame();
        EXPECT_TRUE(P().life > 0 || !wasInView) << "defeated only once out of view";
    }
    EXPECT_EQ(P().life, 0);
    EXPECT_EQ(P().row, kPlayerAirRow) << "the defeat starts on the next update";
    RunFrame();
    EXPECT_EQ(P().row, kDefeatRow);
    EXPECT_EQ(TimesPlayed(game.SoundF), 1);
}

TEST_F(PlayerTest, AKeyJumpPeaks232HigherAfter26UpdatesAndLands58UpdatesLater) {
    Start(OpenGround());
    const int32_t ground = StandingY(kStandRow);
    Press(key::Z);
    std::vector<int32_t> ys{ground};
    for (int32_t k = 0; k < 100 && (k < 5 || ys.back() != ground); ++k) {
        RunFrame();
        ys.push_back(P().y);
    }
    std::vector<int32_t> rises;
    for (size_t k = 1; k <= 10; ++k) rises.push_back(ys[k - 1] - ys[k]);
    EXPECT_EQ(rises, (std::vector<int32_t>{16, 12, 11, 11, 11, 11, 10, 10, 10, 10}));
    EXPECT_EQ(ys[26], ground - 232);
    EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), ground - 232);
    EXPECT_GT(ys[25], ys[26]);
    EXPECT_EQ(ys[27], ys[26] + 4);
    EXPECT_EQ(ys.size() - 1, 26u + 58u) << "lands 58 updates after the top";
    EXPECT_EQ(game.JumpOn, 0);
    RunFrame();
    EXPECT_EQ(P().y, ground);
    EXPECT_EQ(game.JumpReady, 1) << "standing again";
}

TEST_F(PlayerTest, ACeilingStopsAKeyJumpWhereTheHeadMeetsIt) {
    StageText s = OpenGround();
    s.Fill(0, 6, 39, 6, '#');  // a ceiling whose underside is at y = 224
    Start(s);
    Press(key::Z);
    std::vector<int32_t> ys{P().y};
    while (game.JumpOn && ys.size() < 40) {
        RunFrame();
        ys.push_back(P().y);
    }
    const size_t stop = ys.size() - 1;
    ASSERT_LT(stop, 26u) << "the jump ends early";
    EXPECT_EQ(ys[stop], ys[stop - 1]) << "the update that meets the ceiling stays put";
    EXPECT_GE(ys[stop] + 72, 224) << "the head line is still below the ceiling";
    RunFrame();
    EXPECT_EQ(P().y, ys[stop] + 4) << "and the fall starts at once";
}

TEST_F(PlayerTest, FlyingClimbsOnTheGaugeAndFallsOnceItIsEmpty) {
    Start(OpenGround());
    const int32_t ground = StandingY(kStandRow);
    Press(key::Up);
    Press(key::Space);  // a throw request is dropped by the flight
    Frames(10);
    EXPECT_EQ(P().y, ground - 40);
    EXPECT_EQ(P().gauge, 490);
    EXPECT_EQ(P().row, kPlayerFlyRow);
    EXPECT_EQ(game.FireOn, 0);
    EXPECT_EQ(CountOfType(kPlayerShot), 0);

    P().gauge = 1;
    RunFrame();
    EXPECT_EQ(P().y, ground - 44);
    EXPECT_EQ(P().gauge, 0);
    Frames(3);
    EXPECT_EQ(P().y, ground - 32) << "falling with the key still held";
    EXPECT_EQ(P().row, kPlayerAirRow);
}

TEST_F(PlayerTest, AChargeFromOpenGroundRunsEightUpdatesAndCarriesThePlayer60Pixels) {
    for (const int32_t dir : {kPlayerFacesRight, kPlayerFacesLeft}) {
        SCOPED_TRACE(dir);
        Start(OpenGround());
        P().dir = dir;
        Press(key::Down);
        std::vector<int32_t> moves;
        for (int32_t k = 0; k < 8; ++k) {
            ASSERT_EQ(game.DownOn, 1) << "update " << k;
            const int32_t before = P().x;
            RunFrame();
            moves.push_back(P().x - before);
            if (k < 7) {
                EXPECT_EQ(P().row, kPlayerChargeRow);
            }
        }
        const int32_t sign = dir == kPlayerFacesRight ? 1 : -1;
        EXPECT_EQ(moves, (std::vector<int32_t>{4 * sign, 8 * sign, 8 * sign, 8 * sign, 8 * sign,
                                               8 * sign, 8 * sign, 8 * sign}));
        EXPECT_EQ(P().x, 200 + 60 * sign);
        EXPECT_EQ(game.DownOn, 0);
        EXPECT_EQ(game.LeftHeld + game.RightHeld, 0);
        RunFrame();
        EXPECT_EQ(P().x, 200 + 60 * sign) << "the charge's end stops the player";
    }
}

TEST_F(PlayerTest, AChargeIntoAWallItAlreadyTouchesIsPushedBack16) {
    StageText s(40, 15, kStandRow);
    s.Fill(8, 12, 8, 12, '#');  // a block at x 256..287; the right column x + 71 is in it
    s.Add(kPlayer, 190, StandingY(kStandRow));
    Start(s);
    Press(key::Down);
    RunFrame();
    // The right wall push-out takes 4; the charge's step into the block puts the
    // player back where the update started, still in it, so it pushes back 16.
    EXPECT_EQ(P().x, 190 - 16);
}

TEST_F(PlayerTest, AFirePressWhileStandingMakesTheShotOnTheSecondUpdate) {
    Start(OpenGround());
    Press(key::Right);
    Press(key::Space);
    RunFrame();
    EXPECT_EQ(P().row, kPlayerThrowRow);
    EXPECT_EQ(CountOfType(kPlayerShot), 0);
    EXPECT_EQ(game.FireOn, 1);
    RunFrame();
    EXPECT_EQ(CountOfType(kPlayerShot), 1);
    EXPECT_EQ(game.FireOn, 0);
    EXPECT_EQ(TimesPlayed(game.SoundC), 1);
    EXPECT_EQ(P().row, kPlayerThrowRow);
    EXPECT_EQ(game.PlayerDx, 0) << "a throw on the ground stops the walk";
    Frames(3);
    EXPECT_EQ(TimesPlayed(game.SoundC), 1) << "one shot per press";
}

TEST_F(PlayerTest, StandingOverADropShowsTheLedgeRowFacingTheDrop) {
    StageText s(40, 15, kStandRow);
    s.Fill(10, kStandRow, 12, 14, '.');         // a gap at x 320..415
    s.Add(kPlayer, 252, StandingY(kStandRow));  // right column 323 over the gap
    Start(s);
    P().dir = kPlayerFacesLeft;
    RunFrame();
    EXPECT_EQ(P().row, kPlayerLedgeRow);
    EXPECT_EQ(P().dir, kPlayerFacesRight);
    EXPECT_EQ(P().y, StandingY(kStandRow));

    P().x = 360;  // left column 410 over the gap, the rest on the far side
    RunFrame();
    EXPECT_EQ(P().row, kPlayerLedgeRow);
    EXPECT_EQ(P().dir, kPlayerFacesLeft);
}

// A pad's launch as the pad drives it: the contact restarts the jump step, then
// for four updates the pad sets the launch flag and holds the player's clock.
std::vector<int32_t> PadLaunch(int32_t& launchFlag, int32_t padUpdates) {
    SpriteRecord& p = pool[game.PlayerIndex];
    p.step = -1;
    std::vector<int32_t> rises;
    for (int32_t k = 0; k < 60 && (k < padUpdates || launchFlag); ++k) {
        if (k < padUpdates) {
            p.tick = 30;
            p.frame = 0;
            launchFlag = 1;
            game.JumpOn = 0;
        }
        const int32_t before = p.y;
        RunFrame();
        rises.push_back(before - p.y);
        if (launchFlag) {
            EXPECT_EQ(game.DownReady, 0);
        }
    }
    return rises;
}

TEST_F(PlayerTest, PadJumpsClimbAtFullHeightWhileThePadHoldsTheClock) {
    Start(OpenGround());
    std::vector<int32_t> spring = PadLaunch(game.SpringJumpOn, 4);
    ASSERT_GE(spring.size(), 7u);
    EXPECT_EQ(std::vector<int32_t>(spring.begin(), spring.begin() + 7),
              (std::vector<int32_t>{17, 13, 13, 13, 13, 12, 12}));
    Frames(120);
    Start(OpenGround());
    std::vector<int32_t> pad = PadLaunch(game.PadJumpOn, 4);
    ASSERT_GE(pad.size(), 7u);
    EXPECT_EQ(std::vector<int32_t>(pad.begin(), pad.begin() + 7),
              (std::vector<int32_t>{13, 9, 9, 9, 9, 8, 8}));
    EXPECT_EQ(pad.size(), 5u + 6u * 4u + 1u)
        << "five updates at step -1, four at each of steps 0..5, then the one that ends it";
    EXPECT_EQ(pad.back(), -4) << "the update that ends it only falls";
    EXPECT_EQ(game.DownReady, 1) << "given back when the launch ends by its length";

    // A ceiling with its underside at y = 288 ends a launch in the update whose
    // head line (y + 72) would enter it.
    StageText s = OpenGround();
    s.Fill(0, 8, 39, 8, '#');
    Start(s);
    std::vector<int32_t> blocked = PadLaunch(game.SpringJumpOn, 4);
    EXPECT_EQ(blocked, (std::vector<int32_t>{17, 13, 13, 13, 13, 12, 12, 0}));
    EXPECT_EQ(game.SpringJumpOn, 0);
}

TEST_F(PlayerTest, TheExitLoadsTheNextStageCarryingLifeGaugeAndLives) {
    StageText first = OpenGround();
    first.Fill(12, 12, 12, 12, 'E');
    Install(first);
    StageText second(30, 15, 12);
    second.level = 2;
    second.lives = 3;
    second.Add(1004, 320, 300);  // scenery first: the player is record 1
    second.Add(kPlayer, 96, StandingY(12));
    Install(second);

    ASSERT_EQ(LoadStage(1), 1);
    game.Lives = 6;
    P().life = 321;
    P().gauge = 123;
    sounds_.events.clear();
    platform.KillTimer(kFadeInTimer);
    Press(key::Right);
    for (int32_t k = 0; k < 100 && game.Level == 1; ++k) RunFrame();
    ASSERT_EQ(game.Level, 2);
    EXPECT_EQ(game.Map_w, 30);
    EXPECT_EQ(game.PlayerIndex, 1);
    EXPECT_EQ(game.Lives, 6);
    EXPECT_EQ(P().life, 321);
    EXPECT_EQ(P().gauge, 123);
    EXPECT_EQ(game.RestartX, 96);
    EXPECT_EQ(game.RestartY, StandingY(12));
    EXPECT_EQ(TimesPlayed(game.SoundJ), 1);
    EXPECT_EQ(game.TitleActive, 0);
    EXPECT_TRUE(platform.TimerRunning(kFadeInTimer));

    // Stage 2 has an exit too, and there is no stage 3.
    StageText last = second;
    last.Fill(10, 11, 10, 11, 'E');
    Install(last);
    ASSERT_EQ(LoadStage(2), 1);
    Press(key::Right);
    for (int32_t k = 0; k < 100 && game.TitleActive == 0; ++k) RunFrame();
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.Level, 0);
}

// A map 40 rows tall: the camera can follow the defeat down to y = 800.
StageText TallStage() {
    StageText s(40, 40, 38);
    s.Add(kPlayer, 400, StandingY(38));
    return s;
}

TEST_F(PlayerTest, ADefeatSwaysAndFollowsTheArcUntilItLeavesTheView) {
    Start(TallStage());
    const int32_t x0 = P().x;
    const int32_t y0 = P().y;
    P().life = -20;
    RunFrame();
    EXPECT_EQ(P().life, 0);
    EXPECT_EQ(P().row, kDefeatRow);
    EXPECT_EQ(P().frames[kFallOriginWord], y0);
    EXPECT_EQ(P().y, y0 - 39);  // t = 4: (256 - 16000) / 400 = -39.36
    EXPECT_EQ(P().x, x0 + 8);
    EXPECT_EQ(TimesPlayed(game.SoundF), 1);

    const int32_t index = game.PlayerIndex;
    std::vector<int32_t> xs{P().x};
    auto t = [&] { return pool[index].frames[kDefeatClockWord]; };
    while (t() < 250) {
        RunFrame();
        xs.push_back(pool[index].x);
        if (t() == 125) {
            EXPECT_EQ(pool[index].y, y0 - 625);
            EXPECT_EQ(game.Scr.y, y0 - 625 - 240) << "the camera follows";
        }
    }
    EXPECT_EQ(pool[index].y, y0);
    EXPECT_EQ(xs[20] - xs[0], 20 * 8) << "t 4..24 sway right";
    EXPECT_EQ(xs[44] - xs[21], -23 * 8) << "t 25..47 sway left";
    EXPECT_EQ(xs[47] - xs[45], 2 * 8) << "and right again from t = 48";
    EXPECT_EQ(TimesPlayed(game.SoundF), 1);

    // Down past the bottom of the map, where the camera stops at 800 (the
    // defeat moves it only vertically).
    EXPECT_EQ(game.Scr.x, 400 + 60 - 320);
    int32_t lastY = pool[index].y;
    while (game.Lives == 3 && t() < 600) {
        lastY = pool[index].y;
        RunFrame();
    }
    EXPECT_EQ(game.Lives, 2);
    EXPECT_LE(lastY, 800 + 480) << "removed on the first update out of view";
    EXPECT_EQ(CountOfType(kPlayer), 1);
    EXPECT_EQ(P().life, 500);
}

TEST_F(PlayerTest, ARespawnComesBackAtTheRestartPointWithTheGaugeRule) {
    for (const auto& [gauge, expected] : {std::pair{250, 500}, std::pair{400, 400}}) {
        SCOPED_TRACE(gauge);
        Start(TallStage());
        game.RestartX = 200;
        game.RestartY = StandingY(38);
        P().gauge = gauge;
        P().life = 0;
        FadeScreen(kFadeRestore);
        platform.KillTimer(kFadeInTimer);
        int32_t frames = 0;
        uint64_t presents = 0;
        while (game.Lives == 3 && frames++ < 600) {
            presents = platform.presentCount();
            RunFrame();
        }
        ASSERT_EQ(game.Lives, 2);
        EXPECT_EQ(platform.presentCount() - presents, 101u + 2u)
            << "the fade-out's 101 steps, a whole frame inside the frame, and the frame";
        EXPECT_EQ(CountOfType(kPlayer), 1);
        EXPECT_EQ(P().type, kPlayer);
        EXPECT_EQ(game.PlayerIndex, game.Sprite_Getsu - 1);
        EXPECT_EQ(P().x, 200);
        EXPECT_EQ(P().y, StandingY(38));
        EXPECT_EQ(P().life, 500);
        EXPECT_EQ(P().gauge, expected);
        EXPECT_EQ(game.TitleActive, 0);
        EXPECT_TRUE(platform.TimerRunning(kFadeInTimer));
        EXPECT_EQ(display->ScreenPalette()[200].red, 0) << "faded out";
        EXPECT_EQ(TimesPlayed(game.SoundF), 1);
    }
}

TEST_F(PlayerTest, LosingTheLastLifeReturnsToTheTitle) {
    StageText s = OpenGround();
    s.lives = 1;
    s.Add(1004, 600, 300);
    Start(s);
    P().life = 0;
    int32_t updates = 0;
    while (game.TitleActive == 0 && updates < 600) {
        RunFrame();
        ++updates;
    }
    EXPECT_EQ(game.Lives, 0);
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(CountOfType(kPlayer), 0);
    EXPECT_EQ(CountOfType(1004), 1);
    // Thrown up out of the top of a view that cannot follow: gone well before
    // the top of the arc (t = 125).
    EXPECT_LT(updates, 122);
}

TEST_F(PlayerTest, RecordsOutsideTheMapAndExtremeWordsDoNotBreakTheUpdate) {
    Start(OpenGround());
    UpdatePlayer(-1);
    UpdatePlayer(game.Sprite_Getsu);
    UpdatePlayer(kPoolCapacity);

    game.Scr.h = INT_MAX;
    game.RightHeld = 1;
    game.UpHeld = 1;
    game.JumpOn = 1;
    game.SpringJumpOn = 1;
    game.DownOn = 1;
    game.FireOn = 1;
    P().width = INT_MAX;
    P().step = INT_MIN;
    P().frames[kPlayerAirRow] = INT_MIN;
    P().frames[kPlayerChargeRow] = INT_MAX;
    P().tick = INT_MAX;
    P().gauge = INT_MAX;
    UpdatePlayer(game.PlayerIndex);
    EXPECT_EQ(P().gauge, INT_MAX - 1) << "it flew";

    // A defeat clock at the end of its range.
    const int32_t index = game.PlayerIndex;
    P().life = 0;
    P().frames[kDefeatClockWord] = INT_MAX;
    UpdatePlayer(index);
    EXPECT_EQ(CountOfType(kPlayer), 1);
    if (game.Lives == 3) {
        EXPECT_EQ(pool[index].frames[kDefeatClockWord], INT_MIN);
    } else {
        EXPECT_EQ(game.Lives, 2) << "out of view at once: respawned";
    }
}

}  // namespace
}  // namespace zoa::test
