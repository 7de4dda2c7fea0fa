#include "sim/draw_sprites.h"

#include <array>

#include "gfx/display.h"
#include "sim/frame_rect.h"
#include "sim/game_state.h"
#include "sim/sprite_conventions.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sim/wrap32.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

// Contact boxes are half-open rectangles of world pixels; two overlap when
// each starts before the other ends, on both axes.
struct Box {
    int64_t left, top, right, bottom;
};

bool Overlap(const Box& a, const Box& b) {
    return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

// The sprite's frame, with the given insets from each edge.
Box Inset(const SpriteRecord& s, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {int64_t{s.x} + left, int64_t{s.y} + top, int64_t{s.x} + s.width - right,
            int64_t{s.y} + s.height - bottom};
}

Box FullFrame(const SpriteRecord& s) {
    return Inset(s, 0, 0, 0, 0);
}
Box PlayerBody(const SpriteRecord& p) {
    return Inset(p, 40, 35, 40, 8);
}
Box PlayerFeet(const SpriteRecord& p) {
    return Inset(p, 40, 95, 40, 4);
}
Box SpringPadBox(const SpriteRecord& s) {
    return Inset(s, 8, 4, 8, 68);
}
Box JumpPadBox(const SpriteRecord& s) {
    return Inset(s, 14, 4, 14, 57);
}

Box View() {
    return {game.Scr.x, game.Scr.y, int64_t{game.Scr.x} + kScreenWidth,
            int64_t{game.Scr.y} + kScreenHeight};
}

// How each enemy type is hit: its box's side margin and top inset (the bottom
// inset is 8 for all), and the life it loses to a shot or the charge.
struct EnemyBody {
    int32_t margin;
    int32_t top;
    int32_t damage;
};
constexpr int32_t kEnemyBoxBottom = 8;
constexpr std::array<EnemyBody, 6> kEnemyBodies = {{
    {20, 55, 25},  // 10001
    {20, 55, 30},  // 10002
    {10, 70, 20},  // 10003
    {10, 55, 5},   // 10004
    {25, 55, 20},  // 10005
    {20, 55, 10},  // 10006
}};

const EnemyBody& BodyOf(const SpriteRecord& enemy) {
    return kEnemyBodies[static_cast<size_t>(enemy.type - kFirstEnemyType)];
}

Box EnemyBox(const SpriteRecord& e) {
    const EnemyBody& body = BodyOf(e);
    return Inset(e, body.margin, body.top, body.margin, kEnemyBoxBottom);
}

// What each pick-up gives the player when its body touches it.
struct PickUp {
    int32_t type;
    int32_t life;
    int32_t gauge;
    int32_t lives;
};
constexpr std::array<PickUp, 6> kPickUps = {{
    {kLifePickUp, 100, 0, 0},
    {kSmallLifePickUp, 50, 0, 0},
    {kGaugePickUp, 0, 150, 0},
    {kLifePickUpB, 100, 0, 0},
    {kBigLifePickUp, 300, 0, 0},
    {kExtraLifePickUp, 0, 0, 1},
}};

constexpr int32_t kChargeRow = 3;  // the player's row while charging
constexpr int32_t kCrawlerTouchDamage = 5;
constexpr int32_t kFlameDamage = 5;
constexpr int32_t kEnemyShotDamage = 10;
constexpr int32_t kJumpStartStep = -1;  // a pad starts the player's jump count again

// The enemies met on screen so far in this pass.
struct OnScreenEnemies {
    std::array<int32_t, kOnScreenEnemySlots> index{};
    int32_t count = 0;

    void Add(int32_t enemy) {
        index[static_cast<size_t>(count)] = enemy;
        if (count < kOnScreenEnemyLimit) count += 1;
    }
};
OnScreenEnemies onScreen;

SpriteRecord& Player() {
    return pool[game.PlayerIndex];
}

bool PlayerInAJumpOrFlying() {
    return game.JumpOn || game.SpringJumpOn || game.PadJumpOn || game.UpHeld;
}

void TouchPickUpOrPad(SpriteRecord& s) {
    SpriteRecord& p = Player();
    for (const PickUp& pickUp : kPickUps) {
        if (s.type != pickUp.type) continue;
        if (!Overlap(PlayerBody(p), FullFrame(s))) return;
        s.life = 0;
        MoveBy(p.life, pickUp.life);
        MoveBy(p.gauge, pickUp.gauge);
        if (pickUp.lives != 0) {
            MoveBy(game.Lives, pickUp.lives);
            if (game.Lives > kMaxLives) game.Lives = kMaxLives;
        }
        return;
    }
    const bool spring = s.type == kSpringPad;
    const bool jumpPad = s.type >= kFirstJumpPad && s.type <= kLastJumpPad;
    if (!spring && !jumpPad) return;  // scenery and the sparkle touch nothing
    if (PlayerInAJumpOrFlying()) return;
    if (!Overlap(PlayerFeet(p), spring ? SpringPadBox(s) : JumpPadBox(s))) return;
    s.life = 0;
    p.step = kJumpStartStep;
    p.tick = kRestartTick;
    p.frame = 0;
    if (spring) {
        PlaySound(game.SoundD, 0);
        PlaySound(game.SoundA, 0);
    } else {
        PlaySound(game.SoundE, 0);
    }
}

void TouchEnemy(int32_t index) {
    SpriteRecord& e = pool[index];
    if (!IsEnemyType(e.type) || !Overlap(FullFrame(e), View())) return;
    onScreen.Add(index);
    SpriteRecord& p = Player();
    if (e.life <= 0 || !Overlap(EnemyBox(e), PlayerBody(p))) return;
    if (p.row == kChargeRow) {
        MoveBy(e.life, -BodyOf(e).damage);
    } else if (e.type == kCrawler) {
        MoveBy(p.life, -kCrawlerTouchDamage);
    }
}

void HitEnemiesWithShot(SpriteRecord& shot) {
    if (shot.type != kPlayerShot) return;
    for (int32_t k = 0; k < onScreen.count; ++k) {
        SpriteRecord& e = pool[onScreen.index[static_cast<size_t>(k)]];
        if (!IsEnemyType(e.type) || !Overlap(EnemyBox(e), FullFrame(shot))) continue;
        MoveBy(e.life, -BodyOf(e).damage);
        shot.life = 0;
        PlaySound(game.SoundH, 0);
    }
}

void HitPlayerWithShot(SpriteRecord& shot) {
    const bool flame = shot.type == kFlame;
    if (!flame && shot.type != kWalkerShot && shot.type != kBombShot && shot.type != kWalkerShotB) {
        return;
    }
    SpriteRecord& p = Player();
    if (!Overlap(PlayerBody(p), FullFrame(shot))) return;
    if (flame) {
        MoveBy(p.life, -kFlameDamage);  // the flame stays and burns again next pass
    } else {
        MoveBy(p.life, -kEnemyShotDamage);
        shot.life = 0;
    }
    PlaySound(game.SoundH, 0);
}

// Every bonus and hit of the pass comes before the player (depth 40), so the
// player's own turn keeps them within bounds.
void KeepPlayerInBounds(SpriteRecord& s) {
    if (s.type != kPlayer || s.life <= 0) return;
    if (s.life > kPlayerMaxLife) s.life = kPlayerMaxLife;
    if (s.gauge > kPlayerMaxGauge) s.gauge = kPlayerMaxGauge;
}

void ApplyContact(int32_t index) {
    SpriteRecord& s = pool[index];
    switch (s.depth) {
        case kItemDepth:
            TouchPickUpOrPad(s);
            break;
        case kEnemyDepth:
            TouchEnemy(index);
            break;
        case kPlayerShotDepth:
            HitEnemiesWithShot(s);
            break;
        case kEnemyShotDepth:
            HitPlayerWithShot(s);
            break;
        default:
            KeepPlayerInBounds(s);
            break;
    }
}

bool FitsInt32(int64_t v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

void DrawSprite(const SpriteRecord& s) {
    Point at;
    Rect source;
    if (!SpriteBlit(s, at, source)) return;
    const int32_t sheet = s.dir == kFacingRight ? s.sheetA : s.sheetB;
    // A surface index outside the display's is refused there, as is a
    // rectangle that leaves the sheet or the screen.
    if (sheet < 0 || !g_display) return;
    g_display->Blit(at, static_cast<uint32_t>(sheet), source);
}

}  // namespace

bool SpriteBlit(const SpriteRecord& s, Point& at, Rect& source) {
    int64_t sx = int64_t{s.x} - game.Scr.x;
    int64_t sy = int64_t{s.y} - game.Scr.y;
    int64_t leftClip = 0, topClip = 0, rightClip = 0, bottomClip = 0;
    if (sx < 0) {
        leftClip = -sx;
        sx = 0;
    }
    if (sy < 0) {
        topClip = -sy;
        sy = 0;
    }
    if (sx > kScreenWidth - int64_t{s.width}) rightClip = kScreenWidth - int64_t{s.width} - sx;
    if (sy > kScreenHeight - int64_t{s.height}) {
        bottomClip = kScreenHeight - int64_t{s.height} - sy;
    }
    const FrameSpan frame = FrameSourceSpan(s.srcX, s.srcY, s.width, s.height, s.row, s.frame);
    const FrameSpan cut{frame.left + leftClip, frame.top + topClip, frame.right + rightClip,
                        frame.bottom + bottomClip};
    if (!FitsInt32(sx) || !FitsInt32(sy) || !FitsInt32(cut.left) || !FitsInt32(cut.top) ||
        !FitsInt32(cut.right) || !FitsInt32(cut.bottom)) {
        return false;
    }
    at = {static_cast<int32_t>(sx), static_cast<int32_t>(sy)};
    source = {static_cast<int32_t>(cut.left), static_cast<int32_t>(cut.top),
              static_cast<int32_t>(cut.right), static_cast<int32_t>(cut.bottom)};
    return true;
}

void DrawSprites() {
    onScreen.count = 0;
    const int32_t playerLife = IsPoolSlot(game.PlayerIndex) ? Player().life : 0;
    for (int32_t j = 0; j < LiveSpriteCount(); ++j) {
        const int32_t index = pool.DrawList[static_cast<size_t>(j)].index;
        if (!IsPoolSlot(index)) continue;
        DrawSprite(pool[index]);
        // While the pause menu is open the world stands still: nothing touches
        // anything (no damage, pick-up, pad or sound every paused frame).
        if (playerLife < 1 || game.PauseActive) continue;
        ApplyContact(index);
    }
}

}  // namespace zoa
