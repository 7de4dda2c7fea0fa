#include "editor/stage_edits.h"

#include "sim/catalogue_lookup.h"
#include "sim/enemy_kinds.h"
#include "sim/sprite_types.h"

namespace zoa {

namespace {

constexpr int32_t kLowestLevel = 1;
constexpr int32_t kHighestLevel = 8;

// The flying enemies (drones and bats) start in the open, where clicked.
bool Flies(int32_t type) {
    return IsEnemyType(type) && EnemyKindOf(type).family == EnemyFamily::kBomber;
}

int32_t CellEdge(int32_t x) {
    return kTileSize * (x / kTileSize);
}

}  // namespace

int32_t AttributeOf(const TileAttributes& attributes, int32_t tile) {
    return tile >= 0 && tile < kTileCount ? attributes[tile].attribute : kAttrEmpty;
}

int32_t AttributeAt(const EditedStage& s, const TileAttributes& attributes, int32_t x, int32_t y) {
    if (x < 0 || y < 0) return kAttrEmpty;
    const int32_t c = x / kTileSize;
    const int32_t r = y / kTileSize;
    if (c >= s.Width() || r >= s.Height()) return kAttrEmpty;
    return AttributeOf(attributes, s.Tile(c, r));
}

int32_t SpriteAt(const EditedStage& s, int32_t x, int32_t y) {
    int32_t found = -1;
    int32_t foundDepth = 0;
    for (size_t i = 0; i < s.stage.sprites.size(); ++i) {
        const SpriteRecord& sprite = s.stage.sprites[i];
        if (x < sprite.x || y < sprite.y || x >= sprite.x + sprite.width ||
            y >= sprite.y + sprite.height)
            continue;
        if (found < 0 || sprite.depth >= foundDepth) {
            found = static_cast<int32_t>(i);
            foundDepth = sprite.depth;
        }
    }
    return found;
}

int32_t StandingY(const EditedStage& s, const TileAttributes& attributes, int32_t x, int32_t width,
                  int32_t height, int32_t y) {
    const int32_t column = std::clamp((x + width / 2) / kTileSize, 0, s.Width() - 1);
    for (int32_t r = std::max(0, y / kTileSize); r < s.Height(); ++r) {
        if (AttributeOf(attributes, s.Tile(column, r)) == kAttrSolid) return r * kTileSize - height;
    }
    return CellEdge(y);
}

Resized ResizeStage(const EditedStage& s, int32_t width, int32_t height) {
    Resized out;
    EditedStage& after = out.stage;
    after.stage = s.stage;
    after.stage[kMap_w] = width;
    after.stage[kMap_h] = height;
    after.stage.tiles.assign(static_cast<size_t>(width) * height, 0);
    for (int32_t r = 0; r < s.Height(); ++r) {
        for (int32_t c = 0; c < s.Width(); ++c) {
            const int32_t tile = s.Tile(c, r);
            if (c < width && r < height) {
                after.Tile(c, r) = tile;
            } else if (tile != 0) {
                out.cuts = true;
            }
        }
    }
    after.stage.sprites.clear();
    const int32_t hero = s.stage[kPlayerIndex];
    for (size_t i = 0; i < s.stage.sprites.size(); ++i) {
        SpriteRecord sprite = s.stage.sprites[i];
        const bool outside = sprite.x >= width * kTileSize || sprite.y >= height * kTileSize;
        if (static_cast<int32_t>(i) == hero) {
            if (outside) out.cuts = true;
            sprite.x = std::min(sprite.x, width * kTileSize - sprite.width);
            sprite.y = std::min(sprite.y, height * kTileSize - sprite.height);
            after.stage[kPlayerIndex] = static_cast<int32_t>(after.stage.sprites.size());
        } else if (outside) {
            out.cuts = true;
            continue;
        }
        after.stage.sprites.push_back(sprite);
        after.spriteIds.push_back(s.spriteIds[i]);
    }
    after.stage[kSprite_Getsu] = static_cast<int32_t>(after.stage.sprites.size());
    return out;
}

Placed PlaceSprite(EditedStage& s, const TileAttributes& attributes, int32_t type, int32_t x,
                   int32_t y, int32_t id) {
    if (s.stage.sprites.size() >= static_cast<size_t>(kMaxStageSprites)) return Placed::kStageFull;
    SpriteRecord sprite;
    if (!CatalogueRecord(type, CellEdge(x), CellEdge(y), sprite)) return Placed::kUnknownType;
    if (!Flies(type)) sprite.y = StandingY(s, attributes, sprite.x, sprite.width, sprite.height, y);
    s.stage.sprites.push_back(sprite);
    s.spriteIds.push_back(id);
    s.stage[kSprite_Getsu] = static_cast<int32_t>(s.stage.sprites.size());
    return Placed::kPlaced;
}

void PlaceHero(EditedStage& s, const TileAttributes& attributes, int32_t x, int32_t y) {
    SpriteRecord& hero = s.stage.sprites[s.stage[kPlayerIndex]];
    hero.x = CellEdge(x);
    hero.y = StandingY(s, attributes, hero.x, hero.width, hero.height, y);
}

bool DeleteSprite(EditedStage& s, int32_t i) {
    if (i == s.stage[kPlayerIndex]) return false;
    s.stage.sprites.erase(s.stage.sprites.begin() + i);
    s.spriteIds.erase(s.spriteIds.begin() + i);
    s.stage[kSprite_Getsu] = static_cast<int32_t>(s.stage.sprites.size());
    if (s.stage[kPlayerIndex] > i) s.stage[kPlayerIndex] -= 1;
    return true;
}

void StepLevel(EditedStage& s, int32_t step) {
    int32_t level = s.stage.Level + step;
    if (level < kLowestLevel) level = kHighestLevel;
    if (level > kHighestLevel) level = kLowestLevel;
    s.stage.Level = level;
}

void StepFrameInterval(EditedStage& s, int32_t step) {
    s.stage[kTime_Chai] = std::clamp(s.stage[kTime_Chai] + step, 1, 1000);
}

void StepLives(EditedStage& s, int32_t step) {
    s.stage.Lives = std::clamp(s.stage.Lives + step, 1, 99);
}

}  // namespace zoa
