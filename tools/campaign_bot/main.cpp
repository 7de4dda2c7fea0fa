// zoa_campaign_bot: plays one stage of the campaign headless and writes what it
// pressed as a recorded run (the demo input format), for --play N --replay FILE.
//
// It runs the game itself, in this process, exactly as a replay will: the
// stage starts as a new game, and before every frame the keys of that frame go
// to the game's key handlers. Every few frames it makes a plan: a first move
// (walk, jump, fly, throw, charge...) and a way to go on after it (head along
// the way to the next waypoint jumping at gaps and walls, the same with the jet
// pack or fighting, wait, or back off). It tries every plan on a copy of the
// game for a second or two ahead and follows the one that gets the hero
// furthest along its way without harm. The waypoints come from a route file
// (a few per stage, where the way is not plain); the last is the exit. On a
// terminal a line tells the stage, the frame, the waypoint and the time left.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <queue>
#include <sstream>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/menus.h"
#include "gfx/display.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "platform/message.h"
#include "play/background.h"
#include "play/run_frame.h"
#include "play/sheets.h"
#include "progress_line.h"
#include "sim/demo_input.h"
#include "sim/draw_sprites.h"
#include "sim/game_state.h"
#include "sim/random.h"
#include "sim/sprite_pool.h"
#include "sim/update_sprites.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa::bot {
namespace {

namespace vk = platform::vk;

constexpr int32_t kHeroType = 10000;
constexpr int32_t kExitTile = 153;
constexpr int32_t kHeroLeftProbe = 50;  // the hero's probe columns: x + 50, x + 71
constexpr int32_t kHeroRightProbe = 71;

// What the hero holds or presses in a frame.
struct Move {
    int horizontal = 0;   // 1 right, -1 left, 0 neither
    bool jump = false;    // press the jump key
    bool fly = false;     // hold the up key
    bool fire = false;    // press the throw key
    bool charge = false;  // press the down key
    const char* name = "";
};

const Move kFirstMoves[] = {
    {1, false, false, false, false, "right"},      {1, true, false, false, false, "right+jump"},
    {1, false, true, false, false, "right+fly"},   {-1, false, false, false, false, "left"},
    {-1, true, false, false, false, "left+jump"},  {-1, false, true, false, false, "left+fly"},
    {0, false, false, false, false, "wait"},       {0, true, false, false, false, "jump"},
    {0, false, true, false, false, "fly"},         {0, false, false, true, false, "throw"},
    {1, false, false, true, false, "right+throw"}, {-1, false, false, true, false, "left+throw"},
    {0, false, false, false, true, "charge"},
};
constexpr int kFirstMoveCount = static_cast<int>(std::size(kFirstMoves));

// How the hero goes on after its first move: toward the waypoint (jumping at
// gaps and walls), the same using the jet pack, the same fighting what comes
// in front of it with throws, or with the charge, standing still, backing off.
enum class Policy { kToward, kTowardFlying, kTowardThrowing, kTowardCharging, kWait, kAway };
const Policy kPolicies[] = {Policy::kToward,         Policy::kTowardFlying, Policy::kTowardThrowing,
                            Policy::kTowardCharging, Policy::kWait,         Policy::kAway};
const char* const kPolicyNames[] = {"toward",        "toward+fly", "toward+throw",
                                    "toward+charge", "wait",       "away"};

// A first move (none: -1) for one stretch, then a policy.
struct Plan {
    int first = -1;
    Policy policy = Policy::kToward;
};

struct Waypoint {
    int32_t x = 0;         // the hero's centre column, pixels
    int32_t y = 0;         // the hero's feet (the top of what it stands on), pixels
    bool air = false;      // passed in the air: reached without standing there
    bool walk = false;     // no flying on the way to it
    bool noThrow = false;  // no throwing on the way to it
    bool clear = false;    // reached only once no enemy is left alive near it
};

constexpr int32_t kClearDistance = 480;

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

SpriteRecord& Hero() {
    return pool[game.PlayerIndex];
}
int32_t HeroCentre() {
    return Hero().x + Hero().width / 2;
}
int32_t HeroFeet() {
    return Hero().y + Hero().height;
}
bool HeroStands() {
    return TileAttrAt(HeroCentre(), HeroFeet()) == kAttrSolid;
}

// The sum of every live enemy's life: less is better for the hero.
int64_t EnemyLife() {
    int64_t sum = 0;
    for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
        const SpriteRecord& s = pool[i];
        if (s.type >= 10001 && s.type <= 10006 && s.life > 0) sum += s.life;
    }
    return sum;
}

// Nothing solid under column x from the hero's feet all the way down: a fall
// there leaves the map.
bool AbyssBelow(int32_t x) {
    for (int32_t y = HeroFeet() - 2; y < game.Map_h * kTileSize; y += kTileSize / 2) {
        if (TileAttrAt(x, y) == kAttrSolid) return false;
    }
    return true;
}

bool OverTheAbyss() {
    return AbyssBelow(HeroCentre());
}

// How far every tile of the map lies from a waypoint for a hero that could
// fly: steps through tiles where its feet and head both fit, a climb costing
// twice a step across and four times a step down. It routes round walls and
// platforms the way the hero has to go, where a straight measure would lead it
// into them.
class DistanceField {
  public:
    void Build(const Waypoint& to) {
        width_ = game.Map_w;
        height_ = game.Map_h;
        cost_.assign(static_cast<size_t>(width_) * height_, kFar);
        using Entry = std::pair<int32_t, int32_t>;  // cost, cell
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
        const int32_t c0 = std::clamp(to.x / kTileSize, 0, width_ - 1);
        const int32_t r0 = std::clamp((to.y - 1) / kTileSize, 0, height_ - 1);
        cost_[Cell(c0, r0)] = 0;
        open.push({0, Cell(c0, r0)});
        while (!open.empty()) {
            const auto [cost, cell] = open.top();
            open.pop();
            if (cost > cost_[cell]) continue;
            const int32_t c = cell % width_, r = cell / width_;
            // Leaving (c, r) for a neighbour, seen from the waypoint: the hero
            // goes the other way, so a step down here is a climb for it.
            const int32_t steps[4][3] = {{1, 0, 2}, {-1, 0, 2}, {0, 1, 4}, {0, -1, 1}};
            for (const auto& st : steps) {
                const int32_t nc = c + st[0], nr = r + st[1];
                if (nc < 0 || nc >= width_ || nr < 0 || nr >= height_ || !Fits(nc, nr)) continue;
                const int32_t next = cost + st[2];
                if (next < cost_[Cell(nc, nr)]) {
                    cost_[Cell(nc, nr)] = next;
                    open.push({next, Cell(nc, nr)});
                }
            }
        }
    }

    // Half-steps from the hero's feet to the waypoint (kFar: no way).
    int32_t FromHero() const {
        const int32_t c = HeroCentre() / kTileSize, r = (HeroFeet() - 2) / kTileSize;
        int32_t best = kFar;
        for (int32_t dr = -1; dr <= 1; ++dr) {
            for (int32_t dc = -1; dc <= 1; ++dc) {
                const int32_t nc = c + dc, nr = r + dr;
                if (nc < 0 || nc >= width_ || nr < 0 || nr >= height_) continue;
                best = std::min(best, cost_[Cell(nc, nr)] + (dc != 0 || dr != 0 ? 2 : 0));
            }
        }
        return best;
    }

    // Where the way leads from the hero's feet after `steps` tiles: the
    // point (centre of the tile, feet on its bottom) the hero should head for.
    Waypoint Ahead(int32_t steps) const {
        int32_t c = std::clamp(HeroCentre() / kTileSize, 0, width_ - 1);
        int32_t r = std::clamp((HeroFeet() - 2) / kTileSize, 0, height_ - 1);
        for (int32_t k = 0; k < steps; ++k) {
            int32_t bestC = c, bestR = r, best = cost_[Cell(c, r)];
            const int32_t around[4][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}};
            for (const auto& d : around) {
                const int32_t nc = c + d[0], nr = r + d[1];
                if (nc < 0 || nc >= width_ || nr < 0 || nr >= height_) continue;
                if (cost_[Cell(nc, nr)] < best) {
                    best = cost_[Cell(nc, nr)];
                    bestC = nc;
                    bestR = nr;
                }
            }
            if (bestC == c && bestR == r) break;
            c = bestC;
            r = bestR;
        }
        return {c * kTileSize + kTileSize / 2, (r + 1) * kTileSize};
    }

    static constexpr int32_t kFar = 1 << 28;

  private:
    int32_t Cell(int32_t c, int32_t r) const { return r * width_ + c; }
    static bool Solid(int32_t c, int32_t r) {
        return TileAttrAt(c * kTileSize + 1, r * kTileSize + 1) == kAttrSolid;
    }
    static bool Fits(int32_t c, int32_t r) { return !Solid(c, r) && (r == 0 || !Solid(c, r - 1)); }

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<int32_t> cost_;
};

// Key presses and releases, fed to the game and, for the real run, recorded.
class Keys {
  public:
    explicit Keys(bool recording) : recording_(recording) {}

    bool Held(uint32_t key) const { return held_[key]; }
    // Takes `key` as held already, without an event (a trial starts from the run's keys).
    void Force(uint32_t key) { held_[key] = true; }
    const std::vector<InputRecord>& Records() const { return records_; }

    // The taps of the frame before go up again, so that they can be taken again.
    void LetGoOfTaps(uint32_t frame) {
        for (uint32_t key : {vk::Z, vk::X, vk::Down}) Release(key, frame);
    }

    // The events that make the game hold and press what `move` says.
    void Apply(const Move& move, uint32_t frame) {
        if (move.horizontal >= 0) Release(vk::Left, frame);
        if (move.horizontal <= 0) Release(vk::Right, frame);
        // A charge lets go of both walking flags: press again to walk on.
        if (move.horizontal > 0 && (!Held(vk::Right) || !game.RightHeld)) Press(vk::Right, frame);
        if (move.horizontal < 0 && (!Held(vk::Left) || !game.LeftHeld)) Press(vk::Left, frame);
        if (move.fly && (!Held(vk::Up) || !game.UpHeld)) Press(vk::Up, frame);
        if (!move.fly) Release(vk::Up, frame);
        if (move.jump && game.JumpReady) Press(vk::Z, frame);
        if (move.fire && game.FireReady) Press(vk::X, frame);
        if (move.charge && game.DownReady && !game.DownOn) Press(vk::Down, frame);
    }

  private:
    void Press(uint32_t key, uint32_t frame) {
        Feed(key, true, frame);
        held_[key] = true;
    }
    void Release(uint32_t key, uint32_t frame) {
        if (!held_[key]) return;
        Feed(key, false, frame);
        held_[key] = false;
    }
    void Feed(uint32_t key, bool down, uint32_t frame) {
        if (down) {
            OnKeyDown(key);
        } else {
            OnKeyUp(key);
        }
        if (recording_)
            records_.push_back(
                {frame, down ? key : 0, down ? 0 : key, down ? kKeyPress : kKeyRelease});
    }

    bool recording_;
    bool held_[256] = {};
    std::vector<InputRecord> records_;
};

struct Silence : SoundSink {
    int32_t Play(int32_t, int32_t) override { return 1; }
    int32_t Stop(int32_t) override { return 1; }
};

class Bot {
  public:
    Bot(const Settings& settings, std::vector<Waypoint> route)
        : s_(settings), route_(std::move(route)), keys_(true), stageWorld_(world) {}

    // Plays until the stage is left (or for the route's fixed length); false
    // when the stage was not left or a life was lost on a fixed-length run.
    bool Play() {
        const int32_t level = game.Level;
        const int32_t lives = game.Lives;
        const uint32_t frames = static_cast<uint32_t>(s_.playFor > 0 ? s_.playFor : s_.maxFrames);
        const uint32_t stretch = static_cast<uint32_t>(s_.stretch);
        Plan plan;
        uint32_t planStart = 0;
        for (uint32_t frame = 0; frame < frames; ++frame) {
            AdvanceRoute();
            keys_.LetGoOfTaps(frame);
            if (frame % stretch == 0) {
                plan = Choose(plan);
                planStart = frame;
                if (s_.verbose) Report(frame, plan);
                ShowProgress(level, frame, frames);
            }
            if (plan.first >= 0 && frame < planStart + stretch) {
                if (frame == planStart) keys_.Apply(kFirstMoves[plan.first], frame);
            } else {
                keys_.Apply(PolicyMove(plan.policy, keys_), frame);
            }
            RunFrame();
            if (game.Level != level || game.TitleActive) {
                end_ = frame + 1;
                progress_.Clear();
                std::fprintf(stderr,
                             "stage %d left after %u frames, %zu key events, lives %d -> %d\n",
                             level, end_, keys_.Records().size(), lives, game.Lives);
                return true;
            }
        }
        end_ = frames;
        progress_.Clear();
        if (s_.playFor > 0) {
            std::fprintf(stderr, "played %u frames, %zu key events, lives %d -> %d\n", end_,
                         keys_.Records().size(), lives, game.Lives);
            return game.Lives >= lives;
        }
        std::fprintf(stderr,
                     "stage %d not left after %u frames; the hero is at (%d, %d), waypoint %zu\n",
                     level, end_, HeroCentre(), HeroFeet(), next_);
        return false;
    }

    // The run in the demo input format, ending `extra` frames after the last one played.
    bool Write(const std::string& path, uint32_t extra) const {
        if (keys_.Records().size() > kDemoRecords) {
            std::fprintf(stderr, "zoa_campaign_bot: %zu key events do not fit in a run of %zu\n",
                         keys_.Records().size(), kDemoRecords);
            return false;
        }
        DemoInput run;
        run.RecordEndFrame = end_ + extra;
        std::copy(keys_.Records().begin(), keys_.Records().end(), run.records.begin());
        std::string why;
        if (!WriteDemoFile(path, run, &why)) {
            std::fprintf(stderr, "zoa_campaign_bot: %s\n", why.c_str());
            return false;
        }
        return true;
    }

  private:
    const Waypoint& Target() const { return route_[std::min(next_, route_.size() - 1)]; }

    static bool Reached(const Waypoint& w) {
        return std::abs(HeroCentre() - w.x) <= 24 && std::abs(HeroFeet() - w.y) <= 40 &&
               (w.air || HeroStands()) && (!w.clear || EnemyLifeNear(w) == 0);
    }

    // The life of the live enemies within reach of a waypoint.
    static int64_t EnemyLifeNear(const Waypoint& w) {
        int64_t sum = 0;
        for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
            const SpriteRecord& e = pool[i];
            if (e.type > kHeroType && e.type <= 10006 && e.life > 0 &&
                std::abs(e.x + e.width / 2 - w.x) < kClearDistance &&
                std::abs(e.y + e.height - w.y) < kClearDistance)
                sum += e.life;
        }
        return sum;
    }

    void AdvanceRoute() {
        while (next_ + 1 < route_.size() && Reached(route_[next_])) ++next_;
        if (fieldFor_ != next_) {
            field_.Build(Target());
            fieldFor_ = next_;
        }
    }

    // What `policy` does in the frame about to run.
    Move PolicyMove(Policy policy, const Keys& keys) const {
        Move m;
        if (policy == Policy::kWait) return m;
        // Head for where the way leads a few tiles on, not straight at the
        // waypoint: round the end of a platform, not into it.
        const Waypoint w = field_.Ahead(4);
        const int32_t cx = HeroCentre(), feet = HeroFeet();
        int toward = w.x > cx + 12 ? 1 : (w.x < cx - 12 ? -1 : 0);
        const bool standing = HeroStands();
        // Right over a waypoint that lies below: step off the way the hero faces.
        if (toward == 0 && standing && w.y > feet + 40) toward = Hero().dir == 0 ? 1 : -1;
        if (policy == Policy::kAway) toward = toward == 0 ? -1 : -toward;
        // Coming down with firm ground below and the abyss ahead: land first,
        // then jump the gap from its edge.
        const bool rising = game.JumpOn || game.SpringJumpOn || game.PadJumpOn || game.UpHeld;
        if (!standing && !rising && toward != 0 && !OverTheAbyss() && AbyssBelow(cx + toward * 24))
            toward = 0;
        m.horizontal = toward;
        const int32_t ahead =
            toward >= 0 ? Hero().x + kHeroRightProbe + 12 : Hero().x + kHeroLeftProbe - 12;
        const bool wall = toward != 0 && TileAttrAt(ahead, feet - 2) == kAttrSolid;
        const bool gap = toward != 0 && TileAttrAt(cx + toward * 40, feet + 4) != kAttrSolid;
        const bool above = w.y < feet - 40 && std::abs(w.x - cx) < 200;
        m.jump = standing && (wall || gap || above);
        if (policy == Policy::kTowardFlying) {
            // Over the abyss, keep about level with the way ahead: start
            // below it, stop a little above (so the up key is not tapped on
            // every frame).
            const bool flying = keys.Held(vk::Up);
            const int32_t band = flying ? -24 : 8;
            m.fly = w.y < feet - (flying ? -8 : 16) ||
                    (!standing && OverTheAbyss() && feet > w.y + band) || (wall && !standing);
        }
        if (policy == Policy::kTowardThrowing || policy == Policy::kTowardCharging) {
            const int32_t facing = Hero().dir == 0 ? 1 : -1;
            const int32_t reach = policy == Policy::kTowardThrowing ? 320 : 72;
            const int32_t nearest = NearestEnemyAhead(facing, reach);
            if (nearest >= 0 && standing) {
                m.horizontal = policy == Policy::kTowardThrowing ? 0 : facing;
                m.jump = false;
                m.fire = policy == Policy::kTowardThrowing;
                m.charge = policy == Policy::kTowardCharging;
            }
        }
        return m;
    }

    // The pool index of the nearest live enemy in front of the hero within
    // `reach` pixels, about level with it; -1 when there is none.
    static int32_t NearestEnemyAhead(int32_t facing, int32_t reach) {
        int32_t best = -1, bestDistance = reach + 1;
        for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
            const SpriteRecord& e = pool[i];
            if (e.type <= kHeroType || e.type > 10006 || e.life <= 0) continue;
            const int32_t ahead = (e.x + e.width / 2 - HeroCentre()) * facing;
            if (ahead < -16 || ahead > reach || std::abs(e.y + e.height - HeroFeet()) > 96)
                continue;
            if (ahead < bestDistance) {
                bestDistance = ahead;
                best = i;
            }
        }
        return best;
    }

    // How good the game as it now stands is for the hero after a trial.
    double Score(int32_t life, int32_t gauge, int64_t enemyLife) const {
        const Waypoint& w = Target();
        // The way still to go, in pixels, and a little of the straight distance
        // to tell apart places in the same tile.
        double score = -16.0 * std::min(field_.FromHero(), 100000) -
                       0.1 * (std::abs(HeroCentre() - w.x) + std::abs(HeroFeet() - w.y));
        score -= 2.0 * std::max(0, life - Hero().life);
        score -= 0.3 * std::max(0, gauge - Hero().gauge);
        // Fighting pays; where the way is to be cleared, it pays well.
        score += (w.clear ? 6.0 : 0.5) * static_cast<double>(enemyLife - EnemyLife());
        if (OverTheAbyss()) score -= 5000;
        return score;
    }

    // Follows `plan` on the game as it stands, to the horizon and then on until
    // the hero stands (at most two seconds more). Its value is the best place
    // it reached on the way, a little less the later it got there: what lies
    // past that is judged again at the next decision, nearer.
    double Try(const Plan& plan) {
        const int32_t level = game.Level, lives = game.Lives, life = Hero().life;
        const int32_t gauge = Hero().gauge;
        const int64_t enemyLife = EnemyLife();
        Keys trial(false);
        for (uint32_t key : {vk::Right, vk::Left, vk::Up}) {
            if (keys_.Held(key)) trial.Force(key);
        }
        constexpr int32_t kSettleFrames = 320;
        constexpr double kPerFrame = 0.5;
        double best = -1e18;
        for (int32_t f = 0; f < s_.horizon + kSettleFrames; ++f) {
            // Past the horizon only to see where a jump or a flight comes down.
            if (f >= s_.horizon && (HeroStands() || (f >= s_.horizon + 120 && !OverTheAbyss())))
                break;
            trial.LetGoOfTaps(0);
            if (plan.first >= 0 && f < s_.stretch) {
                if (f == 0) trial.Apply(kFirstMoves[plan.first], 0);
            } else {
                trial.Apply(PolicyMove(plan.policy, trial), 0);
            }
            RunFrame();
            if (game.Level != level || game.TitleActive) {
                leftStage_ = true;
                // A run of fixed length (the demo) must not end the stage.
                return s_.playFor > 0 ? -1e9 : 1e9 - f;
            }
            if (game.Lives < lives || Hero().type != kHeroType || Hero().life <= 0) return -1e9 + f;
            // Places in the air count only where the hero can stand.
            if (f + 1 >= s_.stretch && (f % 4 == 3 || f + 1 == s_.horizon) && HeroStands())
                best = std::max(best, Score(life, gauge, enemyLife) - kPerFrame * f);
        }
        return std::max(best, Score(life, gauge, enemyLife) - kPerFrame * s_.horizon - 200);
    }

    Plan Choose(const Plan& following) {
        const GameState startGame = game;
        const SpritePool startPool = pool;
        // Each plan is tried on the game's own frame, silent and undrawn.
        SoundSink* sink = CurrentSoundSink();
        SetSoundSink(&silence_);
        g_display->SetDrawing(false);
        const Waypoint& w = Target();
        const auto allowed = [&w](int m, Policy p) {
            if (w.walk && (p == Policy::kTowardFlying || (m >= 0 && kFirstMoves[m].fly)))
                return false;
            return !(w.noThrow && m >= 0 && kFirstMoves[m].fire);
        };
        std::vector<Plan> plans;
        for (int m = -1; m < kFirstMoveCount; ++m) {
            for (Policy p : kPolicies) {
                if (allowed(m, p)) plans.push_back({m, p});
            }
        }
        double best = -1e18;
        Plan chosen = plans.front();
        for (const Plan& plan : plans) {
            leftStage_ = false;
            double value = Try(plan);
            // Keeping to the plan being followed is worth a little; a throw or a
            // charge must earn its keep.
            if (plan.first < 0 && plan.policy == following.policy) value += 12;
            if (plan.first >= 0 && (kFirstMoves[plan.first].fire || kFirstMoves[plan.first].charge))
                value -= 6;
            game = startGame;
            pool = startPool;
            if (leftStage_) world = stageWorld_;
            if (value > best) {
                best = value;
                chosen = plan;
            }
        }
        g_display->SetDrawing(true);
        SetSoundSink(sink);
        return chosen;
    }

    // The progress line; the time left is for the longest the run may take.
    void ShowProgress(int32_t level, uint32_t frame, uint32_t frames) {
        if (!progress_.Due() || frame == 0 || s_.verbose) return;
        char left[32];
        tools::FormatSeconds(progress_.Elapsed() * (frames - frame) / frame, left, sizeof left);
        progress_.Show(
            "bot: stage %d, frame %u of at most %u, waypoint %zu of %zu, %zu key events, "
            "lives %d, at most %s left",
            level, frame, frames, std::min(next_ + 1, route_.size()), route_.size(),
            keys_.Records().size(), game.Lives, left);
    }

    void Report(uint32_t frame, const Plan& plan) const {
        std::fprintf(
            stderr,
            "%6u %-12s then %-10s hero (%d, %d) row %d life %d gauge %d waypoint %zu way %d", frame,
            plan.first >= 0 ? kFirstMoves[plan.first].name : "-",
            kPolicyNames[static_cast<int>(plan.policy)], HeroCentre(), HeroFeet(), Hero().row,
            Hero().life, Hero().gauge, next_, field_.FromHero());
        for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
            const SpriteRecord& e = pool[i];
            if (e.type > kHeroType && e.type <= 10006 && std::abs(e.x - Hero().x) < 640)
                std::fprintf(stderr, " [%d (%d, %d) %d]", e.type, e.x + e.width / 2, e.y + e.height,
                             e.life);
        }
        std::fputc('\n', stderr);
    }

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

const char* const kUsage =
    "usage: zoa_campaign_bot STAGE ROUTE OUT [--data DIR] [--seed N] [--max-frames N]\n"
    "                        [--stretch N] [--horizon N] [--verbose]\n"
    "  plays stage STAGE (0 = the demo stage) from data/map under DIR, heading for the\n"
    "  waypoints of ROUTE and then the exit, and writes its keys to OUT as a recorded run\n"
    "  for zoa_noli --play STAGE --replay OUT --seed N\n";

bool ParseNumber(const std::string& text, int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// Route file: lines "waypoint COLUMN ROW": the hero's centre over tile column
// COLUMN, standing on tile row ROW; "via COLUMN ROW": the same point, passed
// in the air (the top of a climb); either may add "walk" (no flying on the way
// to it), "nothrow" (no throwing) and "clear" (not reached while an enemy is
// alive near it: the hero fights); "play FRAMES": a run of that many frames
// that ends wherever it is (the demo), instead of one that ends at the exit.
// '#' starts a comment.
bool ReadRoute(const std::string& path, std::vector<Waypoint>& route, int32_t& playFor) {
    std::ifstream file(path);
    if (!file) return false;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        int32_t column = 0, row = 0;
        if (word == "play" && words >> playFor && playFor > 0) continue;
        if ((word != "waypoint" && word != "via") || !(words >> column >> row)) {
            std::fprintf(stderr,
                         "zoa_campaign_bot: %s: line %d: expected waypoint or via COLUMN ROW, or "
                         "play FRAMES\n",
                         path.c_str(), number);
            return false;
        }
        Waypoint w{column * kTileSize + kTileSize / 2, row * kTileSize, word == "via"};
        std::string flag;
        while (words >> flag) {
            if (flag == "walk") {
                w.walk = true;
            } else if (flag == "nothrow") {
                w.noThrow = true;
            } else if (flag == "clear") {
                w.clear = true;
            } else {
                std::fprintf(stderr, "zoa_campaign_bot: %s: line %d: unknown flag %s\n",
                             path.c_str(), number, flag.c_str());
                return false;
            }
        }
        route.push_back(w);
    }
    return true;
}

// The exit tile that lies furthest right: the end of the stage.
bool FindExit(Waypoint& exit) {
    bool found = false;
    for (int32_t c = 0; c < game.Map_w; ++c) {
        for (int32_t r = 0; r + 1 < game.Map_h; ++r) {
            if (world.At(c, r) == kExitTile) {
                exit = {c * kTileSize + kTileSize / 2, (r + 1) * kTileSize};
                found = true;
            }
        }
    }
    return found;
}

int Run(Settings settings) {
    platform::HeadlessPlatform screen;
    platform::SetCurrent(&screen);
    SetDataRoot(settings.dataRoot);
    auto display = std::make_unique<Display>(&screen);
    g_display = display.get();
    game.DisplayReady = 1;
    if (!LoadSheets()) return 1;
    SeedRandom(settings.seed);
    SetUpWorld();
    if (!StartNewGame(settings.stage)) {
        std::fprintf(stderr, "zoa_campaign_bot: stage %d does not load\n", settings.stage);
        return 1;
    }
    std::vector<Waypoint> route;
    if (!settings.route.empty() && !ReadRoute(settings.route, route, settings.playFor)) return 1;
    Waypoint exit;
    if (settings.playFor == 0 && FindExit(exit)) route.push_back(exit);
    if (route.empty()) {
        std::fprintf(stderr, "zoa_campaign_bot: nowhere to go: no route and no exit\n");
        return 1;
    }
    auto bot = std::make_unique<Bot>(settings, route);
    const bool done = bot->Play();
    // A second more after the exit, so the replay sees the next stage start.
    if (!bot->Write(settings.out, settings.playFor > 0 ? 0 : 60)) return 1;
    g_display = nullptr;
    platform::SetCurrent(nullptr);
    return done ? 0 : 3;
}

}  // namespace
}  // namespace zoa::bot

int main(int argc, char** argv) {
    using zoa::bot::Settings;
    std::vector<std::string> args(argv + 1, argv + argc);
    Settings settings;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        int64_t value = 0;
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--verbose") {
            settings.verbose = true;
        } else if (args[i] == "--data" && hasValue) {
            settings.dataRoot = args[++i];
        } else if (args[i].rfind("--", 0) == 0 && hasValue &&
                   zoa::bot::ParseNumber(args[i + 1], value) && value > 0 &&
                   value < (int64_t{1} << 31)) {
            const std::string option = args[i++];
            if (option == "--seed")
                settings.seed = static_cast<uint32_t>(value);
            else if (option == "--max-frames")
                settings.maxFrames = static_cast<int32_t>(value);
            else if (option == "--stretch")
                settings.stretch = static_cast<int32_t>(value);
            else if (option == "--horizon")
                settings.horizon = static_cast<int32_t>(value);
            else
                files.clear(), files.resize(9);
        } else {
            files.push_back(args[i]);
        }
    }
    int64_t stage = 0;
    if (files.size() != 3 || !zoa::bot::ParseNumber(files[0], stage) || stage < 0 || stage > 99) {
        std::fputs(zoa::bot::kUsage, stderr);
        return 2;
    }
    settings.stage = static_cast<int32_t>(stage);
    settings.route = files[1] == "-" ? "" : files[1];
    settings.out = files[2];
    return zoa::bot::Run(settings);
}
