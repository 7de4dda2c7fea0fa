#include "app/input.h"

#include "app/menus.h"
#include "platform/message.h"
#include "sim/game_state.h"
#include "sim/level_track.h"
#include "sim/sprite_conventions.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sound/sound_calls.h"
#include "sound/sound_system.h"

namespace zoa {

namespace {

namespace key = platform::vk;

constexpr int32_t kRefillStep = 2;

// The player's record, or null while PlayerIndex names no slot of the pool.
SpriteRecord* Player() {
    return IsPoolSlot(game.PlayerIndex) ? &pool[game.PlayerIndex] : nullptr;
}

void Jump(SpriteRecord& p) {
    if (!game.JumpReady) return;
    game.JumpOn = 1;
    game.JumpReady = 0;
    RestartAnimation(p);
    p.step = -1;  // no move step in progress
}

void Fire() {
    if (!game.FireReady) return;
    game.FireOn = 1;
    game.FireReady = 0;
}

void Fly(const SpriteRecord& p) {
    if (p.gauge <= 0) return;
    game.UpHeld = 1;
    game.JumpOn = 0;
    if (game.DownOn) {
        game.LeftHeld = 0;
        game.RightHeld = 0;
        game.DownOn = 0;
    }
}

void Charge(SpriteRecord& p) {
    if (game.DownOn || !game.DownReady) return;
    game.DownOn = 1;
    game.DownReady = 0;
    if (game.JumpOn) return;
    RestartAnimation(p);
    if (p.type == kPlayer) PlaySound(game.SoundB, 0);
}

// value + 2, at most `cap` (without overflowing whatever a stage file stored).
int32_t Refilled(int32_t value, int32_t cap) {
    return value >= cap - kRefillStep ? cap : value + kRefillStep;
}

void Refill(SpriteRecord& p) {
    p.life = Refilled(p.life, kPlayerMaxLife);
    p.gauge = Refilled(p.gauge, kPlayerMaxGauge);
}

void SwitchSound() {
    if (!g_soundSystem) return;
    g_soundSystem->soundOn = g_soundSystem->soundOn ? 0 : 1;
    if (g_soundSystem->soundOn) {
        PlaySound(LevelTrack(game.Level), 1);
    } else {
        StopLevelTracks();
    }
}

void PlayKey(uint32_t vk) {
    SpriteRecord* p = Player();
    if (!p) return;
    if (IsJumpKey(vk)) return Jump(*p);
    if (IsThrowKey(vk)) return Fire();
    switch (vk) {
        case key::Left:
            game.LeftHeld = 1;
            game.RightHeld = 0;
            p->dir = kFacingLeft;
            break;
        case key::Up:
            Fly(*p);
            break;
        case key::Right:
            game.RightHeld = 1;
            game.LeftHeld = 0;
            p->dir = kFacingRight;
            break;
        case key::Down:
            Charge(*p);
            break;
        case key::F1:
            Refill(*p);
            break;
        case key::F5:
            SwitchSound();
            break;
        default:
            break;
    }
}

}  // namespace

bool IsJumpKey(uint32_t vk) {
    return vk == key::Control || vk == key::Z;
}
bool IsThrowKey(uint32_t vk) {
    return vk == key::Space || vk == key::X;
}

void OnKeyDown(uint32_t vk) {
    if (!game.InputActive) return;
    if (vk == key::Escape) {
        // The pause menu never opens on the title screen or in the demo.
        if (game.Level != 0 && game.TitleActive == 0) game.PauseActive = !game.PauseActive;
        return;
    }
    if (game.PauseActive) {
        PauseMenuKey(vk);
    } else if (game.TitleActive) {
        TitleMenuKey(vk);
    } else {
        PlayKey(vk);
    }
}

// Releases are taken whatever shows, so a key held across a menu lets go
// cleanly. They never clear JumpOn or FireOn: the player's behaviour does.
void OnKeyUp(uint32_t vk) {
    if (!game.InputActive) return;
    if (IsJumpKey(vk)) {
        game.JumpReady = 1;
        return;
    }
    if (IsThrowKey(vk)) {
        game.FireReady = 1;
        return;
    }
    switch (vk) {
        case key::Left:
            game.LeftHeld = 0;
            break;
        case key::Up:
            game.UpHeld = 0;
            break;
        case key::Right:
            game.RightHeld = 0;
            break;
        case key::Down:
            game.DownReady = 1;
            break;  // DownOn stays
        default:
            break;
    }
}

void OnMouseMove(int32_t lParam) {
    if (!game.InputActive) return;
    const auto packed = static_cast<uint32_t>(lParam);
    game.CursorX = static_cast<int32_t>(packed & 0xFFFF);
    game.CursorY = static_cast<int32_t>(packed >> 16);
}

void OnLButtonDown() {
    if (game.InputActive) game.MouseLeftDown = 1;
}

void OnLButtonUp() {
    if (game.InputActive) game.MouseLeftDown = 0;
}

void OnRButtonDown(int32_t) {}

}  // namespace zoa
