#include "app/input.h"
#include "app/menus.h"
#include "flow_support.h"
#include "play/fade.h"
#include "play/menu_pictures.h"
#include "play/run_frame.h"
#include "play/stage_loader.h"
#include "stage_test_support.h"

namespace zoa::test {
namespace {

namespace key = platform::vk;

bool PaletteIsBlack(const Palette& p) {
    for (const PaletteEntry& e : p) {
        if (e.red || e.green || e.blue) return false;
    }
    return true;
}

class MenuTest : public StageTest {
  protected:
    void WriteStageOne() { WriteStageFiles(scratch.str(), 1, PlayerStage(1, 16, 300)); }
    SpriteRecord& Player() { return pool[game.PlayerIndex]; }
    void Keys(std::initializer_list<uint32_t> keys) {
        for (uint32_t vk : keys) OnKeyDown(vk);
    }
};

TEST_F(MenuTest, TitleArrowsStopAtEitherEndButAlwaysSound) {
    Keys({key::Left});
    EXPECT_EQ(game.TitleChoice, 0);
    Keys({key::Right, key::Right, key::Right, key::Right, key::Right});
    EXPECT_EQ(game.TitleChoice, 3);
    Keys({key::Up, key::Down, key::Space});  // not the title's keys
    EXPECT_EQ(game.TitleChoice, 3);
    EXPECT_EQ(sounds_.events, std::vector<SoundEvent>(6, SoundEvent{true, game.SoundB, 0}));
}

TEST_F(MenuTest, NewGameStartsStageOneWithThreeLivesAndFullMeters) {
    WriteStageOne();
    Keys({key::Enter});
    EXPECT_EQ(game.TitleActive, 0);
    EXPECT_EQ(game.TitleChoice, 0);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(game.Lives, 3) << "not the file's 5";
    EXPECT_EQ(game.PlayerIndex, 1);
    EXPECT_EQ(game.RestartX, 300);
    EXPECT_EQ(game.RestartY, 384);
    EXPECT_EQ(Player().life, 500);
    EXPECT_EQ(Player().gauge, 500);
    // The stage starts black and the timer brings it back.
    EXPECT_TRUE(PaletteIsBlack(display->ScreenPalette()));
    EXPECT_TRUE(platform.TimerRunning(kFadeInTimer));
}

TEST_F(MenuTest, WhatCannotLoadKeepsTheTitle) {
    Keys({key::Enter});  // no stage1.map
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(game.TitleChoice, 0);

    Keys({key::Right, key::Enter});  // no saved game
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.TitleChoice, 0);

    Keys({key::Right, key::Right, key::Enter});  // no demo stage
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.TitleChoice, 0);
    EXPECT_FALSE(platform.TimerRunning(kFadeInTimer));
}

TEST_F(MenuTest, QuitFadesOutClearsTheScreenAndClosesTheWindow) {
    game.Time_Chai = 3;
    display->Clear(0);
    display->BackBuffer()[1234] = 77;
    display->Flip();
    const uint32_t start = platform.Now();
    game.TitleChoice = 3;
    Keys({key::Enter});
    EXPECT_EQ(platform.Now() - start, 100u * 4);
    EXPECT_TRUE(PaletteIsBlack(display->ScreenPalette()));
    EXPECT_EQ(Front(1234 % kScreenWidth, 1234 / kScreenWidth), 0);
    EXPECT_EQ(Back(1234 % kScreenWidth, 1234 / kScreenWidth), 0);
    platform::Message m;
    ASSERT_TRUE(platform.PeekMessage(m));
    EXPECT_EQ(m.id, platform::MessageId::Close);
    EXPECT_EQ(game.TitleChoice, 3);
}

TEST_F(MenuTest, PauseArrowsStopAtEitherEndAndResumeLeavesEverythingAsItWas) {
    WriteStageOne();
    Keys({key::Enter, key::Escape});
    sounds_.events.clear();
    Keys({key::Up});
    EXPECT_EQ(game.PauseChoice, 0);
    Keys({key::Down, key::Down, key::Down});
    EXPECT_EQ(game.PauseChoice, 2);
    EXPECT_EQ(sounds_.events, std::vector<SoundEvent>(4, SoundEvent{true, game.SoundB, 0}));
    Keys({key::Enter});
    EXPECT_EQ(game.PauseActive, 0);
    EXPECT_EQ(game.PauseChoice, 0);
    EXPECT_EQ(game.TitleActive, 0);
    EXPECT_FALSE(std::filesystem::exists(Path("home/temp/USER.MAP")));

    // Only an open pause menu in a stage takes keys.
    game.PauseActive = 1;
    game.Level = 0;
    PauseMenuKey(key::Down);
    EXPECT_EQ(game.PauseChoice, 0);
}

TEST_F(MenuTest, QuitToTheTitleStopsTheFourTracksAndShowsTheTitleNextFrame) {
    WriteStageOne();
    Keys({key::Enter, key::Escape, key::Down});
    sounds_.events.clear();
    Keys({key::Enter});
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.PauseActive, 0);
    EXPECT_EQ(game.PauseChoice, 0);
    EXPECT_EQ(sounds_.events, (std::vector<SoundEvent>{{false, game.Sound1, 0},
                                                       {false, game.Sound2, 0},
                                                       {false, game.Sound3, 0},
                                                       {false, game.Sound4, 0}}));
    RunFrame();
    const int title = SheetOf(game.SurfaceSPm);
    EXPECT_EQ(Front(5, 5), SheetPixel(title, 5, 5));
    EXPECT_EQ(Front(600, 100), SheetPixel(title, 600, 100));
}

TEST_F(MenuTest, ThePauseMenuShowsItsItemsCursorAndHighlight) {
    const int mi = SheetOf(game.SurfaceSPmi);
    display->Clear(0);
    game.PauseChoice = 1;
    DrawPauseMenu();
    // Items at (243, 186 + 37 i): normal pictures from (485, 1 + 37 i), the
    // chosen one from 111 pixels lower; each 154 x 36.
    EXPECT_EQ(Back(243, 186), SheetPixel(mi, 485, 1));
    EXPECT_EQ(Back(243 + 153, 186 + 35), SheetPixel(mi, 485 + 153, 1 + 35));
    EXPECT_EQ(Back(243, 223), SheetPixel(mi, 485, 149));
    EXPECT_EQ(Back(243 + 153, 223 + 35), SheetPixel(mi, 485 + 153, 149 + 35));
    EXPECT_EQ(Back(243, 260), SheetPixel(mi, 485, 75));
    EXPECT_EQ(Back(243 + 154, 223), 0);
    EXPECT_EQ(Back(300, 222), 0) << "one free row between items";
    // The 36 x 36 cursor from (448, 1), left of the chosen item only.
    EXPECT_EQ(Back(207, 223), SheetPixel(mi, 448, 1));
    EXPECT_EQ(Back(242, 223 + 35), SheetPixel(mi, 483, 36));
    EXPECT_EQ(Back(206, 223), 0);
    EXPECT_EQ(Back(207, 186), 0);
    EXPECT_EQ(Back(207, 260), 0);
}

TEST_F(MenuTest, AFrameWithThePauseOpenEndsWithTheMenu) {
    WriteStageOne();
    Keys({key::Enter, key::Escape, key::Down, key::Down});
    RunFrame();
    const int mi = SheetOf(game.SurfaceSPmi);
    EXPECT_EQ(Front(243, 186 + 74), SheetPixel(mi, 485, 186));
    EXPECT_EQ(Front(207, 186 + 74), SheetPixel(mi, 448, 1));
    Keys({key::Escape});
    RunFrame();
    EXPECT_NE(Front(207, 186 + 74), SheetPixel(mi, 448, 1));
}

TEST_F(MenuTest, SaveFromThePauseMenuThenContinueFromTheTitleRestoresTheGame) {
    WriteStageOne();
    Keys({key::Enter});
    // Play a while: the player walks on, the rest changes too.
    Player().x = 700;
    Player().life = 222;
    pool[2].x = 1111;
    game.Lives = 2;
    CenterCameraOn(Player().x, Player().y, Player().width);
    const SpritePool saved = pool;
    const int32_t scrX = game.Scr.x;
    const int32_t scrY = game.Scr.y;
    ASSERT_GT(scrX, 0);

    Keys({key::Escape, key::Enter});  // save and resume
    EXPECT_EQ(game.PauseActive, 0);
    EXPECT_EQ(game.TitleActive, 0);
    Keys({key::Escape, key::Down, key::Enter});  // quit to the title
    ASSERT_EQ(game.TitleActive, 1);

    pool = SpritePool{};
    game.Lives = 9;
    game.Level = 4;
    game.Scr.x = 0;
    Keys({key::Right, key::Enter});  // continue
    EXPECT_EQ(game.TitleActive, 0);
    EXPECT_EQ(game.TitleChoice, 0);
    ASSERT_EQ(game.Sprite_Getsu, 3);
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(pool[i], saved[i]) << "record " << i;
    EXPECT_EQ(game.Lives, 2);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(game.Scr.x, scrX);
    EXPECT_EQ(game.Scr.y, scrY);
    EXPECT_EQ(game.RestartX, 700);
    EXPECT_EQ(game.RestartY, 384);
}

// A headless platform that notes the clock at every picture it shows.
class TimedPlatform : public platform::HeadlessPlatform {
  public:
    std::vector<uint32_t> shownAt;
    std::vector<Palette> palettes;

  protected:
    void ShowPicture(const uint8_t* pixels, const Palette& palette) override {
        HeadlessPlatform::ShowPicture(pixels, palette);
        shownAt.push_back(Now());
        palettes.push_back(palette);
    }
};

TEST(Fade, EachOfTheHundredAndOneStepsWaitsPastTheFrameInterval) {
    game = GameState{};
    TimedPlatform platform;
    platform::SetCurrent(&platform);
    Display display(&platform);
    g_display = &display;
    for (int i = 0; i < kPaletteSize; ++i)
        display.palette[i] = {200, 100, static_cast<uint8_t>(i), 7};
    game.Time_Chai = 10;
    platform.AdvanceClock(5000);

    FadeScreen(kFadeOut);
    ASSERT_EQ(platform.shownAt.size(), 101u);
    EXPECT_EQ(platform.shownAt.front(), 5000u) << "the first step does not wait";
    for (size_t i = 1; i < 101; ++i)
        EXPECT_EQ(platform.shownAt[i] - platform.shownAt[i - 1], 11u) << i;
    EXPECT_EQ(platform.palettes[0][9].red, 200);  // k = 100: the whole colour
    EXPECT_EQ(platform.palettes[50][9].red, 100);
    EXPECT_EQ(platform.palettes[99][255].blue, 2);  // 255 x 1 / 100
    EXPECT_EQ(platform.palettes[0][9].flags, 0);
    EXPECT_TRUE(PaletteIsBlack(platform.palettes[100]));

    platform.shownAt.clear();
    platform.palettes.clear();
    FadeScreen(kFadeIn);
    ASSERT_EQ(platform.shownAt.size(), 101u);
    EXPECT_TRUE(PaletteIsBlack(platform.palettes[0]));
    EXPECT_EQ(platform.palettes[100][9].green, 100);
    EXPECT_EQ(platform.palettes[100][9].flags, 0);
    FadeScreen(kFadeRestore);
    EXPECT_EQ(display.ScreenPalette()[9].flags, 7) << "restore shows the loaded palette itself";
    EXPECT_EQ(platform.shownAt.size(), 102u);
    EXPECT_EQ(platform.shownAt.back(), 5000u + 2 * 1100) << "restoring does not wait";

    g_display = nullptr;
    platform::SetCurrent(nullptr);
}

}  // namespace
}  // namespace zoa::test
