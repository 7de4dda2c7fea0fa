#include "app/practice.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/practice_history.h"
#include "app/practice_state_file.h"
#include "app/run_input.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
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
constexpr int32_t kSplitStages = 100;  // stages whose splits are kept
constexpr int kShownSplits = 3;
// A notice stays over the picture this many frames' turns (about two seconds).
constexpr uint32_t kNoticeTurns = 120;
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
    bool overlay = false;

    bool steppedBack = false;  // the held rewind has put play back

    bool leftHeld = false;  // the keys, as the player holds them now
    bool rightHeld = false;
    bool upHeld = false;
    bool downHeld = false;
    bool jumpHeld = false;
    bool throwHeld = false;

    // The run timer, in the recorded run's frames.
    int32_t timedLevel = 0;  // the stage being timed, 0 for none
    uint32_t stageStart = 0;
    uint32_t firstStageStart = 0;
    bool timing = false;
    struct Split {
        int32_t level = 0;
        uint32_t frames = 0;
    };
    std::vector<Split> splits;   // this game's finished stages, in order
    std::vector<uint32_t> best;  // the best split of each stage so far (0: none)

    std::string notice;
    uint32_t noticeTurns = 0;
    bool overlayChanged = false;  // since the picture was last shown

    uint64_t runId = 0;
    uint64_t nextSave = 1;
    std::vector<OwnSave> saves;
};

Practice practice;

// Said on stderr, and shown for a moment over the picture.
void Notice(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "zoa_noli: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    practice.notice = what;
    practice.noticeTurns = kNoticeTurns;
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
    post(platform::vk::Left, p.leftHeld, game.LeftHeld);
    post(platform::vk::Right, p.rightHeld, game.RightHeld);
}

void SaveState() {
    if (!practice.statesOn) return;
    if (!Playing()) return Notice("a state is saved only while a stage is played");
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
    if (!Playing()) return Notice("a state is loaded only while a stage is played");
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
    DrawStillPicture();
}

std::string SplitsPath() {
    const std::string user = practice.platform ? practice.platform->UserFolder() : "";
    return user.empty() ? "" : user + "/" + kSplitsFile;
}

// The best splits, one line a stage: "stage <n> best <frames>".
void LoadBestSplits() {
    Practice& p = practice;
    p.best.assign(kSplitStages, 0);
    const std::string path = SplitsPath();
    if (path.empty()) return;
    std::FILE* f = files::OpenFile(path, "r");
    if (!f) return;
    int level = 0;
    unsigned frames = 0;
    while (std::fscanf(f, " stage %d best %u", &level, &frames) == 2)
        if (level > 0 && level < kSplitStages) p.best[static_cast<size_t>(level)] = frames;
    std::fclose(f);
}

void SaveBestSplits() {
    const std::string path = SplitsPath();
    if (path.empty()) return;
    std::string text = "# The best time of each stage, in frames (practice overlay).\n";
    for (int32_t level = 1; level < kSplitStages; ++level) {
        const uint32_t b = practice.best[static_cast<size_t>(level)];
        if (b) text += "stage " + std::to_string(level) + " best " + std::to_string(b) + "\n";
    }
    std::string error;
    if (!platform::ReplaceFile(path, {text.begin(), text.end()}, &error))
        Notice("the best splits are not saved", error);
}

// Follows the stages of a game: a new level starts its clock, and the one
// before it, when it was the level just below, is a finished stage.
void TimeStages() {
    Practice& p = practice;
    if (game.TitleActive) {
        p.timing = false;
        p.timedLevel = 0;
        p.splits.clear();
        return;
    }
    if (game.Level == p.timedLevel) return;
    const uint32_t now = RunFramesPlayed();
    if (p.timing && game.Level == p.timedLevel + 1 && now >= p.stageStart) {
        const uint32_t frames = now - p.stageStart;
        p.splits.push_back({p.timedLevel, frames});
        if (p.timedLevel > 0 && p.timedLevel < kSplitStages) {
            uint32_t& b = p.best[static_cast<size_t>(p.timedLevel)];
            if (b == 0 || frames < b) {
                b = frames;
                SaveBestSplits();
            }
        }
    }
    if (!p.timing) p.firstStageStart = now;
    p.timing = true;
    p.timedLevel = game.Level;
    p.stageStart = now;
}

void SetLine(int line, const char* text) {
    std::string& shown = practice.platform->OverlayLine(line);
    if (shown == text) return;
    shown.assign(text);
    practice.overlayChanged = true;
}

// The overlay's lines: keys held, the timer, the last splits, a notice.
// Each line is made whole before it is compared with the one shown, so a
// line that stays the same is no change.
void UpdateOverlay() {
    Practice& p = practice;
    if (!p.platform) return;
    constexpr int kLines = platform::Platform::kOverlayLines;
    char text[kLines][96] = {};
    if (p.overlay) {
        std::snprintf(text[0], sizeof text[0], "KEYS %s %s %s %s %s %s", p.leftHeld ? "<" : ".",
                      p.rightHeld ? ">" : ".", p.upHeld ? "^" : ".", p.downHeld ? "V" : ".",
                      p.jumpHeld ? "JUMP" : "....", p.throwHeld ? "THROW" : ".....");
        if (p.timing) {
            const uint32_t now = RunFramesPlayed();
            std::snprintf(text[1], sizeof text[1], "STAGE %d %u  TOTAL %u", p.timedLevel,
                          now >= p.stageStart ? now - p.stageStart : 0,
                          now >= p.firstStageStart ? now - p.firstStageStart : 0);
        }
        const size_t shown = std::min<size_t>(p.splits.size(), kShownSplits);
        for (size_t i = 0; i < shown; ++i) {
            const auto& sp = p.splits[p.splits.size() - shown + i];
            const uint32_t b =
                sp.level > 0 && sp.level < kSplitStages ? p.best[static_cast<size_t>(sp.level)] : 0;
            std::snprintf(text[2 + i], sizeof text[0], "SPLIT %d %u  BEST %u", sp.level, sp.frames,
                          b);
        }
    }
    for (int line = 0; line < kLines - 1; ++line) SetLine(line, text[line]);
    const bool noticeShown = p.noticeTurns > 0;
    if (noticeShown) --p.noticeTurns;
    SetLine(kLines - 1, noticeShown ? p.notice.c_str() : "");
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
    practice.splits.reserve(kSplitStages);
    LoadBestSplits();
}

void EndPractice() {
    if (practice.platform)
        for (int line = 0; line < platform::Platform::kOverlayLines; ++line) SetLine(line, "");
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
            if (down && p.overlayOn) p.overlay = !p.overlay;
            UpdateOverlay();
            break;
    }
}

void PracticeNoteKey(uint32_t vk, bool down) {
    Practice& p = practice;
    switch (vk) {
        case platform::vk::Left:
            p.leftHeld = down;
            break;
        case platform::vk::Right:
            p.rightHeld = down;
            break;
        case platform::vk::Up:
            p.upHeld = down;
            break;
        case platform::vk::Down:
            p.downHeld = down;
            break;
        case platform::vk::Z:
            p.jumpHeld = down;
            break;
        case platform::vk::X:
            p.throwHeld = down;
            break;
        default:
            break;
    }
}

bool PracticeTakesFrame() {
    Practice& p = practice;
    UpdateOverlay();
    const bool overlayChanged = std::exchange(p.overlayChanged, false);
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
    if (p.platform && p.overlayOn) TimeStages();
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
