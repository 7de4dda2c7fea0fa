#include "bot.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <utility>

#include "game_view.h"
#include "gfx/display.h"
#include "platform/message.h"
#include "play/run_frame.h"
#include "sim/demo_input.h"
#include "sim/player_rules.h"

namespace zoa::bot {

namespace {

namespace vk = platform::vk;

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

const Policy kPolicies[] = {Policy::kToward,         Policy::kTowardFlying, Policy::kTowardThrowing,
                            Policy::kTowardCharging, Policy::kWait,         Policy::kAway};
const char* const kPolicyNames[] = {"toward",        "toward+fly", "toward+throw",
                                    "toward+charge", "wait",       "away"};

constexpr int32_t kClearDistance = 480;

// The life of the live enemies within reach of a waypoint.
int64_t EnemyLifeNear(const Waypoint& w) {
    int64_t sum = 0;
    for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
        const SpriteRecord& e = pool[i];
        if (IsEnemyType(e.type) && e.life > 0 &&
            std::abs(e.x + e.width / 2 - w.x) < kClearDistance &&
            std::abs(e.y + e.height - w.y) < kClearDistance)
            sum += e.life;
    }
    return sum;
}

bool Reached(const Waypoint& w) {
    return std::abs(HeroCentre() - w.x) <= 24 && std::abs(HeroFeet() - w.y) <= 40 &&
           (w.air || HeroStands()) && (!w.clear || EnemyLifeNear(w) == 0);
}

// The pool index of the nearest live enemy in front of the hero within
// `reach` pixels, about level with it; -1 when there is none.
int32_t NearestEnemyAhead(int32_t facing, int32_t reach) {
    int32_t best = -1, bestDistance = reach + 1;
    for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
        const SpriteRecord& e = pool[i];
        if (!IsEnemyType(e.type) || e.life <= 0) continue;
        const int32_t ahead = (e.x + e.width / 2 - HeroCentre()) * facing;
        if (ahead < -16 || ahead > reach || std::abs(e.y + e.height - HeroFeet()) > 96) continue;
        if (ahead < bestDistance) {
            bestDistance = ahead;
            best = i;
        }
    }
    return best;
}

}  // namespace

Bot::Bot(const Settings& settings, std::vector<Waypoint> route)
    : s_(settings), route_(std::move(route)), keys_(true), stageWorld_(world) {}

bool Bot::Play() {
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
            std::fprintf(stderr, "stage %d left after %u frames, %zu key events, lives %d -> %d\n",
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

bool Bot::Write(const std::string& path, uint32_t extra) const {
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

void Bot::AdvanceRoute() {
    while (next_ + 1 < route_.size() && Reached(route_[next_])) ++next_;
    if (fieldFor_ != next_) {
        field_.Build(Target());
        fieldFor_ = next_;
    }
}

// What `policy` does in the frame about to run.
Move Bot::PolicyMove(Policy policy, const Keys& keys) const {
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
    // A wall a little past the probe column the game tests on that side.
    const int32_t ahead = toward >= 0 ? RightColumn(Hero()) + 12 : LeftColumn(Hero()) - 12;
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

// How good the game as it now stands is for the hero after a trial.
double Bot::Score(int32_t life, int32_t gauge, int64_t enemyLife) const {
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
double Bot::Try(const Plan& plan) {
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
        if (f >= s_.horizon && (HeroStands() || (f >= s_.horizon + 120 && !OverTheAbyss()))) break;
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
        if (game.Lives < lives || Hero().type != kPlayer || Hero().life <= 0) return -1e9 + f;
        // Places in the air count only where the hero can stand.
        if (f + 1 >= s_.stretch && (f % 4 == 3 || f + 1 == s_.horizon) && HeroStands())
            best = std::max(best, Score(life, gauge, enemyLife) - kPerFrame * f);
    }
    return std::max(best, Score(life, gauge, enemyLife) - kPerFrame * s_.horizon - 200);
}

Plan Bot::Choose(const Plan& following) {
    const GameState startGame = game;
    const SpritePool startPool = pool;
    // Each plan is tried on the game's own frame, silent and undrawn.
    SoundSink* sink = CurrentSoundSink();
    SetSoundSink(&silence_);
    g_display->SetDrawing(false);
    const Waypoint& w = Target();
    const auto allowed = [&w](int m, Policy p) {
        if (w.walk && (p == Policy::kTowardFlying || (m >= 0 && kFirstMoves[m].fly))) return false;
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
void Bot::ShowProgress(int32_t level, uint32_t frame, uint32_t frames) {
    if (!progress_.Due() || frame == 0 || s_.verbose) return;
    char left[32];
    tools::FormatSeconds(progress_.Elapsed() * (frames - frame) / frame, left, sizeof left);
    progress_.Show(
        "bot: stage %d, frame %u of at most %u, waypoint %zu of %zu, %zu key events, "
        "lives %d, at most %s left",
        level, frame, frames, std::min(next_ + 1, route_.size()), route_.size(),
        keys_.Records().size(), game.Lives, left);
}

void Bot::Report(uint32_t frame, const Plan& plan) const {
    std::fprintf(stderr,
                 "%6u %-12s then %-10s hero (%d, %d) row %d life %d gauge %d waypoint %zu way %d",
                 frame, plan.first >= 0 ? kFirstMoves[plan.first].name : "-",
                 kPolicyNames[static_cast<int>(plan.policy)], HeroCentre(), HeroFeet(), Hero().row,
                 Hero().life, Hero().gauge, next_, field_.FromHero());
    for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
        const SpriteRecord& e = pool[i];
        if (IsEnemyType(e.type) && std::abs(e.x - Hero().x) < 640)
            std::fprintf(stderr, " [%d (%d, %d) %d]", e.type, e.x + e.width / 2, e.y + e.height,
                         e.life);
    }
    std::fputc('\n', stderr);
}

}  // namespace zoa::bot
