#include "app/input.h"
#include "platform/audio_out.h"
#include "sound/sound_system.h"
#include "stage_test_support.h"

namespace zoa::test {
namespace {

namespace key = platform::vk;

// A stage in play: the player is record 2, standing, with room on both meters.
class KeyMapTest : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        game.TitleActive = 0;
        game.Level = 1;
        game.Sprite_Getsu = 3;
        game.PlayerIndex = 2;
        P().type = 10000;
        P().life = 300;
        P().gauge = 200;
        P().tick = 3;
        P().frame = 2;
        P().step = 5;
    }
    SpriteRecord& P() { return pool[2]; }
};

TEST_F(KeyMapTest, JumpAndFireTakeOnePressEachUntilTheKeyIsReleased) {
    OnKeyDown(key::Space);
    EXPECT_EQ(game.FireOn, 1);
    EXPECT_EQ(game.FireReady, 0);
    game.FireOn = 0;        // the shot leaves
    OnKeyDown(key::Space);  // the keyboard repeats the held key
    OnKeyDown(key::X);
    EXPECT_EQ(game.FireOn, 0) << "a held fire key throws one shot";
    OnKeyUp(key::X);
    EXPECT_EQ(game.FireReady, 1);
    EXPECT_EQ(game.FireOn, 0) << "a release never touches FireOn";
    OnKeyDown(key::Space);
    EXPECT_EQ(game.FireOn, 1);

    OnKeyDown(key::Z);
    EXPECT_EQ(game.JumpOn, 1);
    EXPECT_EQ(game.JumpReady, 0);
    EXPECT_EQ(P().tick, 30);
    EXPECT_EQ(P().frame, -1);
    EXPECT_EQ(P().step, -1);
    game.JumpOn = 0;
    P().step = 7;
    OnKeyDown(key::Control);
    EXPECT_EQ(game.JumpOn, 0);
    EXPECT_EQ(P().step, 7);
    OnKeyUp(key::Control);
    EXPECT_EQ(game.JumpReady, 1);
    OnKeyDown(key::Control);
    EXPECT_EQ(game.JumpOn, 1);
}

TEST_F(KeyMapTest, TheLastArrowPressedWinsAndItsReleaseStopsBoth) {
    OnKeyDown(key::Right);
    EXPECT_EQ(game.RightHeld, 1);
    EXPECT_EQ(P().dir, 0);
    OnKeyDown(key::Left);  // Right still held
    EXPECT_EQ(game.LeftHeld, 1);
    EXPECT_EQ(game.RightHeld, 0);
    EXPECT_EQ(P().dir, 2);
    OnKeyUp(key::Left);
    EXPECT_EQ(game.LeftHeld, 0);
    EXPECT_EQ(game.RightHeld, 0);
    EXPECT_EQ(P().dir, 2);
    OnKeyDown(key::Right);
    EXPECT_EQ(P().dir, 0);
}

TEST_F(KeyMapTest, UpFliesOnlyWhileTheGaugeLastsAndEndsACharge) {
    P().gauge = 0;
    game.JumpOn = 1;
    OnKeyDown(key::Up);
    EXPECT_EQ(game.UpHeld, 0);
    EXPECT_EQ(game.JumpOn, 1);

    P().gauge = 1;
    game.DownOn = 1;
    game.RightHeld = 1;
    OnKeyDown(key::Up);
    EXPECT_EQ(game.UpHeld, 1);
    EXPECT_EQ(game.JumpOn, 0);
    EXPECT_EQ(game.DownOn, 0);
    EXPECT_EQ(game.RightHeld, 0);
    OnKeyUp(key::Up);
    EXPECT_EQ(game.UpHeld, 0);

    // Without a charge the walking keys stay as they are.
    game.LeftHeld = 1;
    OnKeyDown(key::Up);
    EXPECT_EQ(game.LeftHeld, 1);
}

TEST_F(KeyMapTest, DownChargesOncePerPressWithItsSoundOnlyOnTheGround) {
    OnKeyDown(key::Down);
    EXPECT_EQ(game.DownOn, 1);
    EXPECT_EQ(game.DownReady, 0);
    EXPECT_EQ(P().tick, 30);
    EXPECT_EQ(P().frame, -1);
    EXPECT_EQ(sounds_.events, (std::vector<SoundEvent>{{true, game.SoundB, 0}}));

    OnKeyUp(key::Down);
    EXPECT_EQ(game.DownReady, 1);
    EXPECT_EQ(game.DownOn, 1) << "the release leaves the charge on";
    P().tick = 4;
    OnKeyDown(key::Down);  // still charging: nothing
    EXPECT_EQ(P().tick, 4);
    EXPECT_EQ(sounds_.events.size(), 1u);

    // In the air the charge starts silently, without restarting the animation.
    game.DownOn = 0;
    game.JumpOn = 1;
    OnKeyDown(key::Down);
    EXPECT_EQ(game.DownOn, 1);
    EXPECT_EQ(P().tick, 4);
    EXPECT_EQ(sounds_.events.size(), 1u);
}

TEST_F(KeyMapTest, F1RefillsBothMetersUpTo500) {
    P().life = 499;
    P().gauge = 120;
    OnKeyDown(key::F1);
    EXPECT_EQ(P().life, 500);
    EXPECT_EQ(P().gauge, 122);
    OnKeyDown(key::F1);
    EXPECT_EQ(P().life, 500);
    P().gauge = 2147483647;  // whatever a stage file held
    OnKeyDown(key::F1);
    EXPECT_EQ(P().gauge, 500);
}

TEST_F(KeyMapTest, F5TwiceStopsTheFourTracksThenRestartsTheLevelsTrack) {
    SoundSystem system(platform::CreateSilentAudioOut());
    g_soundSystem = &system;
    SetSoundSink(&sounds_);
    system.soundOn = 1;
    game.Level = 5;
    OnKeyDown(key::F5);
    EXPECT_EQ(system.soundOn, 0);
    OnKeyDown(key::F5);
    EXPECT_EQ(system.soundOn, 1);
    g_soundSystem = nullptr;
    EXPECT_EQ(sounds_.events, (std::vector<SoundEvent>{{false, game.Sound1, 0},
                                                       {false, game.Sound2, 0},
                                                       {false, game.Sound3, 0},
                                                       {false, game.Sound4, 0},
                                                       {true, game.Sound3, 1}}));
}

TEST_F(KeyMapTest, EscapeOpensAndClosesThePauseOnlyInAStage) {
    OnKeyDown(key::Escape);
    EXPECT_EQ(game.PauseActive, 1);
    OnKeyDown(key::Escape);
    EXPECT_EQ(game.PauseActive, 0);

    game.TitleActive = 1;  // the title
    OnKeyDown(key::Escape);
    EXPECT_EQ(game.PauseActive, 0);
    EXPECT_EQ(game.TitleChoice, 0);

    game.TitleActive = 0;  // the demo
    game.Level = 0;
    OnKeyDown(key::Escape);
    EXPECT_EQ(game.PauseActive, 0);
}

TEST_F(KeyMapTest, WhileAMenuShowsPressesGoToItAndReleasesStillCount) {
    OnKeyDown(key::Right);
    OnKeyDown(key::Space);
    OnKeyDown(key::Escape);
    ASSERT_EQ(game.PauseActive, 1);
    OnKeyDown(key::Left);
    OnKeyDown(key::Down);
    EXPECT_EQ(game.LeftHeld, 0) << "a press in the pause menu is the menu's";
    EXPECT_EQ(game.DownOn, 0);
    EXPECT_EQ(game.PauseChoice, 1);
    OnKeyUp(key::Right);
    OnKeyUp(key::Space);
    EXPECT_EQ(game.RightHeld, 0);
    EXPECT_EQ(game.FireReady, 1);

    game.PauseActive = 0;
    game.TitleActive = 1;
    OnKeyDown(key::Right);
    EXPECT_EQ(game.RightHeld, 0);
    EXPECT_EQ(game.TitleChoice, 1);
    game.LeftHeld = 1;
    OnKeyUp(key::Left);
    EXPECT_EQ(game.LeftHeld, 0);
}

TEST_F(KeyMapTest, NothingIsTakenWhileTheGameIsInTheBackground) {
    game.InputActive = 0;
    game.RightHeld = 1;
    game.FireReady = 0;
    OnKeyDown(key::Left);
    OnKeyDown(key::Escape);
    OnKeyDown(key::F1);
    OnKeyUp(key::Right);
    OnKeyUp(key::Space);
    OnMouseMove(platform::PackPoint(10, 20));
    OnLButtonDown();
    EXPECT_EQ(game.LeftHeld, 0);
    EXPECT_EQ(game.RightHeld, 1) << "a release in the background leaves the flag set";
    EXPECT_EQ(game.FireReady, 0);
    EXPECT_EQ(game.PauseActive, 0);
    EXPECT_EQ(P().life, 300);
    EXPECT_EQ(game.CursorX, 0);
    EXPECT_EQ(game.MouseLeftDown, 0);

    game.InputActive = 1;
    OnMouseMove(platform::PackPoint(639, 479));
    EXPECT_EQ(game.CursorX, 639);
    EXPECT_EQ(game.CursorY, 479);
    OnLButtonDown();
    EXPECT_EQ(game.MouseLeftDown, 1);
    OnLButtonUp();
    EXPECT_EQ(game.MouseLeftDown, 0);
}

}  // namespace
}  // namespace zoa::test
