#pragma once
// The bot: every few frames it makes a plan, a first move (walk, jump, fly,
// throw, charge...) and a way to go on after it (head along the way to the
// next waypoint jumping at gaps and walls, the same with the jet pack or
// fighting, wait, or back off). It tries every plan on a copy of the game for
// a second or two ahead and follows the one that gets the hero furthest along
// its way without harm.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "distance_field.h"
#include "keys.h"
#include "progress_line.h"
#include "route.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa::bot {

struct Settings {
    int32_t stage = 1;
    std::string route;
    std::string out;
    std::string dataRoot = ".";
    uint32_t seed = 1;
    int32_t maxFrames = 20000;
    int32_t playFor = 0;   // from the route's "play FRAMES": a run of that length, no exit
    int32_t stretch = 8;   // frames per decision
    int32_t horizon = 96;  // frames looked ahead
    bool verbose = false;
};

// How the hero goes on after its first move: toward the waypoint (jumping at
// gaps and walls), the same using the jet pack, the same fighting what comes
// in front of it with throws, or with the charge, standing still, backing off.
enum class Policy { kToward, kTowardFlying, kTowardThrowing, kTowardCharging, kWait, kAway };

// A first move (none: -1) for one stretch, then a policy.
struct Plan {
    int first = -1;
    Policy policy = Policy::kToward;
};

class Bot {
  public:
    Bot(const Settings& settings, std::vector<Waypoint> route);

    // Plays until the stage is left (or for the route's fixed length); false
    // when the stage was not left or a life was lost on a fixed-length run.
    bool Play();

    // The run in the demo input format, ending `extra` frames after the last one played.
    bool Write(const std::string& path, uint32_t extra) const;

  private:
    struct Silence : SoundSink {
        int32_t Play(int32_t, int32_t) override { return 1; }
        int32_t Stop(int32_t) override { return 1; }
    };

    const Waypoint& Target() const { return route_[std::min(next_, route_.size() - 1)]; }
    void AdvanceRoute();
    Move PolicyMove(Policy policy, const Keys& keys) const;
    double Score(int32_t life, int32_t gauge, int64_t enemyLife) const;
    double Try(const Plan& plan);
    Plan Choose(const Plan& following);
    void ShowProgress(int32_t level, uint32_t frame, uint32_t frames);
    void Report(uint32_t frame, const Plan& plan) const;

    const Settings& s_;
    std::vector<Waypoint> route_;
    size_t next_ = 0;
    tools::ProgressLine progress_;
    DistanceField field_;
    size_t fieldFor_ = SIZE_MAX;
    Keys keys_;
    uint32_t end_ = 0;
    bool leftStage_ = false;
    Silence silence_;
    const WorldMap stageWorld_;
};

}  // namespace zoa::bot
