// The character the user steers. The input handlers only set flags; here they
// become movement through the map, one update at a time, in whole pixels and
// with no stored speeds: walking and falling move a fixed step, a jump rises by
// an amount that shrinks by one each time the animation clock advances.
// Collisions are single map pixels probed around the record, and a move that
// lands a probe in a solid tile is undone.
#include "sim/behaviours.h"
#include "sim/game_state.h"
#include "sim/player_rules.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_conventions.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

bool HeadHitsCeiling(const SpriteRecord& p) {
    return IsSolidAt(RightColumn(p), HeadLine(p)) || IsSolidAt(LeftColumn(p), HeadLine(p));
}

// Standing over a drop shows the ledge row; the player will face the drop.
// Returns that facing (the record's own when there is no drop).
int32_t LookForLedge(SpriteRecord& p) {
    if (IsEmptyAt(RightColumn(p), LedgeLine(p))) {
        p.row = kPlayerLedgeRow;
        return kPlayerFacesRight;
    }
    if (IsEmptyAt(LeftColumn(p), LedgeLine(p))) {
        p.row = kPlayerLedgeRow;
        return kPlayerFacesLeft;
    }
    return p.dir;
}

// A step into a wall is taken back and shows the pushing row.
void WalkLeft(SpriteRecord& p, int32_t x0) {
    if (!game.LeftHeld) return;
    MoveBy(p.x, -int64_t{game.Scr.h});
    p.row = kPlayerWalkRow;
    if (IsSolidAt(LeftColumn(p), FootLine(p))) {
        p.x = x0;
        p.row = kPlayerPushRow;
    }
}

void WalkRight(SpriteRecord& p, int32_t x0) {
    if (!game.RightHeld) return;
    MoveBy(p.x, game.Scr.h);
    p.row = kPlayerWalkRow;
    if (IsSolidAt(RightColumn(p), FootLine(p))) {
        p.x = x0;
        p.row = kPlayerPushRow;
    }
}

// On every update, held keys or not: a wall overlapping the body pushes it out.
void PushOutOfLeftWall(SpriteRecord& p) {
    if (IsSolidAt(LeftColumn(p), WallLine(p))) MoveBy(p.x, kWallPushOut);
}

void PushOutOfRightWall(SpriteRecord& p) {
    if (IsSolidAt(RightColumn(p), WallLine(p))) MoveBy(p.x, -kWallPushOut);
}

// Climbing on the gauge ends any key jump and cancels a throw request.
void Fly(SpriteRecord& p, int32_t y0) {
    MoveBy(p.y, -int64_t{game.Scr.h});
    game.JumpOn = 0;
    game.FireOn = 0;
    MoveBy(p.gauge, -1);
    if (HeadHitsCeiling(p)) p.y = y0;
    p.row = kPlayerFlyRow;
}

// The fall is a constant step; ground under the feet takes it back, and a floor
// a little lower is settled onto.
void FallOrStand(SpriteRecord& p, int32_t y0) {
    MoveBy(p.y, game.Scr.h);
    if (IsSolidAt(CentreColumn(p), FootLine(p))) {
        p.y = y0;
        game.JumpReady = 1;
        if (IsEmptyAt(CentreColumn(p), SettleLine(p))) MoveBy(p.y, kSettleDrop);
    } else {
        p.row = kPlayerAirRow;
        game.JumpReady = 0;
    }
}

// The charge dashes the way the player faces, through its held flag (so the
// walk adds a second step from the next update on), and ends with its
// animation, which runs at double speed.
void Charge(SpriteRecord& p, int32_t x0, int32_t y0) {
    if (p.y == y0) {
        if (p.dir == kPlayerFacesLeft) {
            game.LeftHeld = 1;
            MoveBy(p.x, -int64_t{game.Scr.h});
            if (IsSolidAt(LeftColumn(p), FootLine(p))) {
                p.x = x0;
                if (IsSolidAt(LeftColumn(p), FootLine(p))) MoveBy(p.x, kChargePushOut);
            }
        }
        if (p.dir == kPlayerFacesRight) {
            game.RightHeld = 1;
            MoveBy(p.x, game.Scr.h);
            if (IsSolidAt(RightColumn(p), FootLine(p))) {
                p.x = x0;
                if (IsSolidAt(RightColumn(p), FootLine(p))) MoveBy(p.x, -kChargePushOut);
            }
        }
    }
    if (int64_t{p.frame} < int64_t{p.frames[kPlayerChargeRow]} - 1) {
        MoveBy(p.tick, 1);
        p.row = kPlayerChargeRow;
    } else {
        game.DownOn = 0;
        game.LeftHeld = 0;
        game.RightHeld = 0;
    }
    if (game.JumpOn || game.FireOn) {
        game.LeftHeld = 0;
        game.RightHeld = 0;
        game.DownOn = 0;
    }
}

// One update of a jump: rise by (top - step) while step is below the jump's
// length; step moves on only when the animation clock has just advanced.
// Returns false when the jump ended by its length.
bool RiseOneStep(SpriteRecord& p, int32_t top) {
    const bool rising = int64_t{p.step} < int64_t{p.frames[kPlayerAirRow]} - 1;
    if (rising) MoveBy(p.y, -(int64_t{top} - p.step));
    if (p.tick < 1) MoveBy(p.step, 1);
    return rising;
}

// A jump launched by a pad (spring or jump pad): it holds the down key off
// while it lasts.
void PadLaunchedJump(SpriteRecord& p, int32_t y0, int32_t top, int32_t& launchFlag) {
    game.DownReady = 0;
    game.DownOn = 0;
    if (RiseOneStep(p, top)) {
        game.JumpOn = 0;
    } else {
        launchFlag = 0;
        game.DownReady = 1;
    }
    if (HeadHitsCeiling(p)) {
        p.y = y0;
        launchFlag = 0;
    }
    p.row = kPlayerAirRow;
}

void KeyJump(SpriteRecord& p, int32_t y0) {
    if (!RiseOneStep(p, kKeyJumpTop)) game.JumpOn = 0;
    if (HeadHitsCeiling(p)) {
        p.y = y0;
        game.JumpOn = 0;
    }
    p.row = kPlayerAirRow;
}

// A throw starts by showing its row; a press while a throw is already showing
// restarts it one frame on.
void RequestThrow(SpriteRecord& p, int32_t r0) {
    p.row = kPlayerThrowRow;
    RestartAnimation(p);
    if (r0 == kPlayerThrowRow) MoveBy(p.frame, 1);
}

// The update after the throw started releases the shot; the throw row then
// plays to its end, and on the ground the player stands still meanwhile.
void ThrowInProgress(int32_t i, int32_t x0) {
    if (game.FireOn) {
        SpawnSprite(i, kPlayerShot);
        game.FireOn = 0;
        PlaySound(game.SoundC, 0);
    }
    SpriteRecord& p = pool[i];
    if (int64_t{p.frame} < int64_t{p.frames[kPlayerThrowRow]} - 1) p.row = kPlayerThrowRow;
    if (IsSolidAt(CentreColumn(p), ThrowGroundLine(p))) p.x = x0;
    if (game.DownOn) p.row = kPlayerChargeRow;
    if (game.JumpOn) MoveBy(p.frame, 1);
}

}  // namespace

void UpdatePlayer(int32_t i) {
    if (i < 0 || i >= LiveSpriteCount()) return;
    SpriteRecord& p = pool[i];

    // Where the update starts from: a blocked move goes back to these.
    int32_t r0 = p.row;
    const int32_t x0 = p.x;
    const int32_t y0 = p.y;
    const int32_t g0 = p.gauge;

    // Defeated: the defeat runs instead.
    if (p.life <= 0) {
        RunPlayerDefeat(i, g0);
        return;
    }

    // The two frame counts a defeat borrows, back in place.
    p.frames[kPlayerFlyRow] = kFlyRowFrames;
    p.frames[kPlayerLedgeRow] = kLedgeRowFrames;

    // Out of the view: defeated, from the next update on.
    if (IsOffScreen(p)) {
        p.life = 0;
        return;
    }

    // Feet on an exit tile: on to the next stage, nothing else this update.
    if (TileAttrAt(CentreColumn(p), FootLine(p)) == kAttrExit) {
        RunStageExit(p.life, g0);
        return;
    }

    // Standing, unless a drop lies beside the feet: then at a ledge.
    p.row = kPlayerStandRow;
    const int32_t ledgeFacing = LookForLedge(p);

    // Walking left, then right, each followed by its wall pushing back.
    WalkLeft(p, x0);
    PushOutOfLeftWall(p);
    WalkRight(p, x0);
    PushOutOfRightWall(p);

    // Flying while the gauge lasts, otherwise falling or standing.
    if (game.UpHeld && p.gauge > 0) {
        Fly(p, y0);
        r0 = kPlayerFlyRow;  // no throw goes on while flying
    } else {
        FallOrStand(p, y0);
    }

    // The charge: it dashes only where the fall was taken back, on the ground.
    if (game.DownOn) Charge(p, x0, y0);

    // The three jumps: the spring, a jump pad, the jump key.
    if (game.SpringJumpOn) PadLaunchedJump(p, y0, kSpringJumpTop, game.SpringJumpOn);
    if (game.PadJumpOn) PadLaunchedJump(p, y0, kPadJumpTop, game.PadJumpOn);
    if (game.JumpOn) KeyJump(p, y0);

    // Throwing: a new throw shows its row, one already going releases its shot.
    if (game.FireOn) RequestThrow(p, r0);
    if (r0 == kPlayerThrowRow) ThrowInProgress(i, x0);

    // At a ledge the player turns towards the drop.
    if (p.row == kPlayerLedgeRow) p.dir = ledgeFacing;

    // How far the player moved across (the background scrolls only after a
    // move), and the camera follows the player.
    game.PlayerDx = WrapSub(p.x, x0);
    CenterCameraOn(p.x, p.y, p.width);
}

}  // namespace zoa
