#include "app/practice.h"

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/practice_history.h"
#include "app/practice_overlay.h"
#include "app/practice_run_timer.h"
#include "app/practice_state_file.h"
#include "app/run_input.h"
#include "platform/platform.h"
#include "platform/user_folder.h"
#include "play/fade.h"
#include "play/still_picture.h"
#include "sim/level_track.h"
#include "sim/simulation.h"
#include "sound/sound_system.h"

namespace zoa {

namespace {

using platform::PracticeTool;

constexpr const char* kSplitsFile = "splits.txt";
// A held rewind speeds up: one frame back per frame at first, then two, then four.
constexpr uint32_t kRewindTwiceAfter = 60;
constexpr uint32_t kRewindFourTimesAfter = 180;
// A held F9 runs a frame every sixth frame's turn: ten a second.
constexpr uint32_t kStepRepeatTurns = 6;

// A state saved in this run and still on the recorded timeline.
struct OwnSave {
    uint64_t id = 0;
    uint32_t runFrame = 0;
    uint64_t soundsLogged = 0;
};

struct Practice {
    platform::Platform* platform = nullptr;
    bool rewindOn = false;
    bool statesOn = false;
    bool frameAdvanceOn = false;
    bool overlayOn = false;

    std::unique_ptr<RewindHistory> history;
    std::unique_ptr<WorldMap> world;  // the map every moment of the history shares
    bool worldKnown = false;
    bool gap = true;  // frames went by that the history did not take
    int32_t level = 0;

    bool rewinding = false;
    uint32_t rewindTurns = 0;
    bool advancing = false;
    uint32_t stepsDue = 0;
    bool stepHeld = false;
    uint32_t stepHeldTurns = 0;

    bool steppedBack = false;  // the held rewind has put play back

    HeldKeys held;  // the keys, as the player holds them now
    RunTimer timer;
    PracticeOverlay overlay;

    uint64_t runId = 0;
    uint64_t nextSave = 1;
    std::vector<OwnSave> saves;
};

Practice practice;

// Said on stderr, and shown for a moment over the picture.
void Notice(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "zoa_noli: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    practice.overlay.Notice(what);
}

uint64_t SoundsLogged() {
    return g_soundSystem ? g_soundSystem->log.Total() : 0;
}

// A stage is being played: not the title, not paused, not fading, not a replay.
bool Playing() {
    const Practice& p = practice;
    return p.platform && game.InputActive && !game.TitleActive && !game.PauseActive &&
           !p.platform->TimerRunning(kFadeInTimer) && !ReplayingRun();
}

// Why a state cannot be saved or loaded now: in the pause menu the way on is
// to close it, elsewhere (title, demo, a fade) to be in a stage.
std::string NotPlayingReason(const char* done) {
    if (game.PauseActive) return "close the menu first";
    return std::string("a state is ") + done + " only while a stage is played";
}

std::string StatePath() {
    const std::string user = practice.platform ? practice.platform->UserFolder() : "";
    return user.empty() ? "" : user + "/states/" + kPracticeStateFile;
}

// Play was put back to a moment of another stage whose track differs: the
// music follows as a stage start would, but the log already holds that
// start, so the output alone changes (see SoundSystem::FollowTrack).
void FollowLevelTrack(int32_t trackBefore) {
    const int32_t track = LevelTrack(game.Level);
    if (track == trackBefore || !g_soundSystem) return;
    g_soundSystem->FollowTrack({game.Sound1, game.Sound2, game.Sound3, game.Sound4}, track);
}

// Puts `s` in force but keeps what belongs to the running program rather than
// to play: whether it is in the foreground, the frame clock, the user folder.
void PutInForce(const Simulation& s) {
    const GameState live = game;
    const int32_t trackBefore = LevelTrack(game.Level);
    sim.game = s.game;
    sim.pool = s.pool;
    sim.demo = s.demo;
    if (&s.world != &sim.world) sim.world = s.world;
    game.AppActive = live.AppActive;
    game.InputActive = live.InputActive;
    game.DisplayReady = live.DisplayReady;
    game.LastFrameTime = live.LastFrameTime;
    game.Time2 = live.Time2;
    game.WindowsDir = live.WindowsDir;
    FollowLevelTrack(trackBefore);
}

// Play is back at the recorded run's frame `runFrame`: the recording and the
// sound log forget what came after, and so do the states saved after it.
void BackTo(uint32_t runFrame, uint64_t soundsLogged) {
    CutRecordingBack(runFrame);
    if (g_soundSystem) g_soundSystem->log.TruncateTo(soundsLogged);
    std::erase_if(practice.saves, [&](const OwnSave& s) { return s.runFrame > runFrame; });
}

// The moment put back holds the walking keys as they were then; the player
// holds them as they are now. Where the two differ the key goes to the game
// now, through the window's messages, so a recording takes it too.
void HandOverHeldKeys() {
    Practice& p = practice;
    auto post = [&](uint32_t vk, bool held, int32_t gameHeld) {
        if (held == (gameHeld != 0)) return;
        p.platform->PostMessage(
            {held ? platform::MessageId::KeyDown : platform::MessageId::KeyUp, vk, 0});
    };
    post(platform::vk::Left, p.held.left, game.LeftHeld);
    post(platform::vk::Right, p.held.right, game.RightHeld);
}

void SaveState() {
    if (!practice.statesOn) return;
    if (!Playing()) return Notice(NotPlayingReason("saved").c_str());
    const std::string path = StatePath();
    std::string error = "no user folder";
    const SavedState info{practice.runId, practice.nextSave++, RunFramesPlayed()};
    if (path.empty() || !platform::MakeFolders(path.substr(0, path.rfind('/'))) ||
        !WriteStateFile(path, sim, info, &error)) {
        return Notice("the state is not saved", error);
    }
    practice.saves.push_back({info.saveId, info.runFrame, SoundsLogged()});
    Notice("state saved", path);
}

void LoadState() {
    if (!practice.statesOn) return;
    if (!Playing()) return Notice(NotPlayingReason("loaded").c_str());
    const std::string path = StatePath();
    auto loaded = std::make_unique<Simulation>();
    SavedState info;
    std::string error = "no user folder";
    if (path.empty() || !ReadStateFile(path, *loaded, info, &error))
        return Notice("no state loaded", error + " (" + path + ")");
    const OwnSave* own = nullptr;
    for (const OwnSave& s : practice.saves)
        if (info.runId == practice.runId && s.id == info.saveId) own = &s;
    if (own) {
        BackTo(own->runFrame, own->soundsLogged);
    } else {
        EndRecordingHere("a state saved in an earlier run was loaded");
    }
    PutInForce(*loaded);
    // The history's moments lead to the state left behind, not to this one.
    if (practice.history) practice.history->Clear();
    practice.gap = true;
    HandOverHeldKeys();
    Notice("state loaded", path);
}

// One turn of a held rewind: a few moments back, shown still.
void RewindTurn() {
    Practice& p = practice;
    ++p.rewindTurns;
    const int steps = p.rewindTurns > kRewindFourTimesAfter ? 4
                      : p.rewindTurns > kRewindTwiceAfter   ? 2
                                                            : 1;
    auto& at = *p.history;
    RewindHistory::Stamp stamp;
    const GameState live = game;
    const int32_t trackBefore = LevelTrack(game.Level);
    for (int i = 0; i < steps; ++i)
        if (!at.StepBack(sim, &stamp)) break;
    game.AppActive = live.AppActive;
    game.InputActive = live.InputActive;
    game.DisplayReady = live.DisplayReady;
    game.LastFrameTime = live.LastFrameTime;
    game.Time2 = live.Time2;
    BackTo(stamp.runFrame, stamp.soundsLogged);
    FollowLevelTrack(trackBefore);
    p.steppedBack = true;
    // Shown while the key is held (a turn at a time, so not on standard error).
    p.overlay.Notice("rewinding (release to play on)");
    DrawStillPicture();
}

std::string SplitsPath() {
    const std::string user = practice.platform ? practice.platform->UserFolder() : "";
    return user.empty() ? "" : user + "/" + kSplitsFile;
}

// The overlay's lines for this frame's turn.
void UpdateOverlay() {
    Practice& p = practice;
    if (p.platform) p.overlay.Update(*p.platform, p.held, p.timer, RunFramesPlayed());
}

}  // namespace

void StartPractice(platform::Platform& platform) {
    practice = Practice{};
    practice.platform = &platform;
    const platform::Settings& s = platform.settingsFile().settings;
    practice.rewindOn = s.practice && s.rewind;
    practice.statesOn = s.practice && s.states;
    practice.frameAdvanceOn = s.practice && s.frameAdvance;
    practice.overlayOn = s.practice && s.overlay;
    if (practice.rewindOn) {
        practice.history = std::make_unique<RewindHistory>();
        practice.world = std::make_unique<WorldMap>();
    }
    practice.runId = (uint64_t{std::random_device{}()} << 32) ^ std::random_device{}();
    practice.timer.Start(SplitsPath());
}

void EndPractice() {
    if (practice.platform) practice.overlay.Clear(*practice.platform);
    practice = Practice{};
}

void PracticeKey(PracticeTool tool, bool down) {
    Practice& p = practice;
    if (!p.platform || ReplayingRun()) return;
    switch (tool) {
        case PracticeTool::SaveState:
            if (down) SaveState();
            break;
        case PracticeTool::LoadState:
            if (down) LoadState();
            break;
        case PracticeTool::Rewind:
            p.rewinding = down && p.rewindOn;
            p.rewindTurns = 0;
            if (!p.rewinding && p.steppedBack) HandOverHeldKeys();
            p.steppedBack = false;
            break;
        case PracticeTool::FrameAdvance:
            if (!down || !p.frameAdvanceOn) break;
            p.advancing = !p.advancing;
            p.stepsDue = 0;
            Notice(p.advancing ? "frame advance on (F9: one frame)" : "frame advance off");
            break;
        case PracticeTool::StepFrame:
            p.stepHeld = down;
            p.stepHeldTurns = 0;
            if (down && p.advancing) ++p.stepsDue;
            break;
        case PracticeTool::Overlay:
            if (down && p.overlayOn) p.overlay.Toggle();
            UpdateOverlay();
            break;
    }
}

void PracticeNoteKey(uint32_t vk, bool down) {
    Practice& p = practice;
    if (IsJumpKey(vk)) p.held.jump = down;
    if (IsThrowKey(vk)) p.held.throws = down;
    switch (vk) {
        case platform::vk::Left:
            p.held.left = down;
            break;
        case platform::vk::Right:
            p.held.right = down;
            break;
        case platform::vk::Up:
            p.held.up = down;
            break;
        case platform::vk::Down:
            p.held.down = down;
            break;
        default:
            break;
    }
}

bool PracticeTakesFrame() {
    Practice& p = practice;
    UpdateOverlay();
    const bool overlayChanged = p.overlay.TakeChanged();
    if (p.rewinding && p.history && !p.history->empty() && Playing()) {
        RewindTurn();
        return true;
    }
    if (!p.advancing || game.TitleActive) return false;
    if (p.stepHeld && ++p.stepHeldTurns % kStepRepeatTurns == 0) ++p.stepsDue;
    if (p.stepsDue == 0) {
        // The game holds still, but the overlay goes on: the keys held now,
        // a notice coming and going. The picture is shown again with it.
        if (overlayChanged && Playing()) DrawStillPicture();
        return true;
    }
    --p.stepsDue;
    return false;
}

void PracticeFrameDone() {
    Practice& p = practice;
    std::string error;
    if (p.platform && p.overlayOn &&
        !p.timer.Follow(game.TitleActive, game.Level, RunFramesPlayed(), &error))
        Notice("the best splits are not saved", error);
    if (!p.history) return;
    if (!Playing()) {
        p.gap = true;
        if (game.TitleActive) p.history->Clear();
        return;
    }
    // The map changes only when a stage loads, which never happens without a
    // fade or a new level: only then is it compared.
    if (p.gap || game.Level != p.level) {
        if (!p.worldKnown || !(sim.world == *p.world)) {
            *p.world = sim.world;
            p.worldKnown = true;
            p.history->Clear();
        }
        p.gap = false;
        p.level = game.Level;
    }
    p.history->Push(sim, {RunFramesPlayed(), SoundsLogged()});
}

}  // namespace zoa
