#include "sim/spawn_sprite.h"

#include "sim/catalogue.h"
#include "sim/game_state.h"
#include "sim/random.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sim/wrap32.h"

namespace zoa {

namespace {

constexpr int32_t kCellSize = 32;
constexpr int32_t kHalfCellSize = 16;

bool NeedsParent(const CatalogueEntry& entry) {
    return entry.placement.kind != PlaceKind::kCell32 && entry.placement.kind != PlaceKind::kCell16;
}

// The corner of the grid cell of the given size under the mouse.
int32_t CellUnderMouse(int32_t cursor, int32_t scroll, int32_t cell) {
    return Wrap32((int64_t{cursor} + scroll) / cell * cell);
}

int32_t CentredOn(const SpriteRecord& parent, int32_t width) {
    return WrapAdd(parent.x, parent.width / 2, -(width / 2));
}

void Place(SpriteRecord& r, const Placement& placement, const SpriteRecord& parent) {
    switch (placement.kind) {
        case PlaceKind::kCell32:
            r.x = CellUnderMouse(game.CursorX, game.Scr.x, kCellSize);
            r.y = CellUnderMouse(game.CursorY, game.Scr.y, kCellSize);
            break;
        case PlaceKind::kCell16:
            r.x = CellUnderMouse(game.CursorX, game.Scr.x, kHalfCellSize);
            r.y = CellUnderMouse(game.CursorY, game.Scr.y, kHalfCellSize);
            break;
        case PlaceKind::kCentred:
            r.x = CentredOn(parent, r.width);
            r.y = WrapAdd(parent.y, placement.dy);
            break;
        case PlaceKind::kDrop: {
            const int32_t dy = game.Level >= kDropLateLevel ? kDropLateDy : placement.dy;
            r.x = CentredOn(parent, r.width);
            r.y = WrapAdd(parent.y, dy);
            break;
        }
        case PlaceKind::kFlame:
            r.x =
                WrapAdd(parent.x, parent.dir == kFacingRight ? kFlameAheadRight : kFlameAheadLeft);
            r.y = WrapAdd(parent.y, kFlameDy);
            break;
        case PlaceKind::kSparkle:
            r.x = parent.x;
            r.y = WrapSub(parent.y, kSparkleRise);
            break;
    }
}

int32_t FacingOf(Facing facing, const SpriteRecord& parent) {
    switch (facing) {
        case Facing::kParent:
            return parent.dir;
        case Facing::kRandom:
            return kFacingLeft * (Random() % 2);
        case Facing::kRight:
            break;
    }
    return 0;
}

}  // namespace

void SpawnSprite(int32_t parent, int32_t type) {
    if (game.Sprite_Getsu > kPoolCapacity - 1 || game.Sprite_Getsu < 0) return;
    const CatalogueEntry* entry = FindCatalogueEntry(type);
    if (!entry) return;
    // Types placed on the mouse's cell never look at their parent; callers
    // without one pass 0.
    static const SpriteRecord kNoParent{};
    if (NeedsParent(*entry) && !IsPoolSlot(parent)) return;
    const SpriteRecord& from = NeedsParent(*entry) ? pool[parent] : kNoParent;

    if (type == kPlayer) game.PlayerIndex = game.Sprite_Getsu;
    SpriteRecord r = CatalogueBase(*entry);
    Place(r, entry->placement, from);
    r.dir = FacingOf(entry->facing, from);
    if (entry->extra == Extra::kStartY) r.frames[2] = r.y;
    if (entry->extra == Extra::kLifeCopy) r.life = from.life;
    AddSpriteRecord(r);
}

}  // namespace zoa
