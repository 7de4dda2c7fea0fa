#include "editor/stage_checks.h"

#include <algorithm>

namespace zoa {

namespace {

constexpr int32_t kFirstPastSheet = 551;  // tiles from here on are blank on the sheet

// True when a solid tile lies under the hero's body, tested every 8 pixels.
bool InsideAWall(const EditedStage& s, const TileAttributes& attributes, int32_t left, int32_t top,
                 const SpriteRecord& hero) {
    for (int32_t y = top; y < top + hero.height; y += 8) {
        for (int32_t x = left; x < left + hero.width; x += 8) {
            if (AttributeAt(s, attributes, x, y) == kAttrSolid) return true;
        }
    }
    return false;
}

// A solid cell one tile above a floor, with an open cell under it: it looks
// like a wall, but the hero is stopped by walls only at his feet and walks
// through it. The first such cell, or false.
bool BlockTheHeroWalksThrough(const EditedStage& s, const TileAttributes& attributes,
                              int32_t* column, int32_t* row) {
    const auto solid = [&](int32_t c, int32_t r) {
        return AttributeOf(attributes, s.Tile(c, r)) == kAttrSolid;
    };
    for (int32_t c = 0; c < s.Width(); ++c) {
        for (int32_t r = 0; r + 2 < s.Height(); ++r) {
            if (solid(c, r) && !solid(c, r + 1) && solid(c, r + 2)) {
                *column = c;
                *row = r;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool OpenToTheSky(const EditedStage& s, const TileAttributes& attributes, SkySearch& search) {
    const SpriteRecord& hero = s.stage.sprites[s.stage[kPlayerIndex]];
    const int32_t w = s.Width(), h = s.Height();
    const auto open = [&](int32_t c, int32_t r) {
        return AttributeOf(attributes, s.Tile(c, r)) != kAttrSolid;
    };
    const int32_t c0 = std::clamp((hero.x + hero.width / 2) / kTileSize, 0, w - 1);
    const int32_t r0 = std::clamp((hero.y + hero.height - 1) / kTileSize, 0, h - 1);
    if (!open(c0, r0)) return false;
    std::vector<uint8_t>& seen = search.seen;
    std::vector<int32_t>& todo = search.todo;
    seen.assign(static_cast<size_t>(w) * h, 0);
    todo.assign(1, r0 * w + c0);
    seen[static_cast<size_t>(r0) * w + c0] = 1;
    while (!todo.empty()) {
        const int32_t cell = todo.back();
        todo.pop_back();
        const int32_t c = cell % w, r = cell / w;
        if (r == 0) return true;
        const int32_t next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
        for (const auto& [nc, nr] : next) {
            if (nc < 0 || nc >= w || nr < 0 || nr >= h) continue;
            const size_t i = static_cast<size_t>(nr) * w + nc;
            if (seen[i] || !open(nc, nr)) continue;
            seen[i] = 1;
            todo.push_back(nr * w + nc);
        }
    }
    return false;
}

std::string StageWarnings(const EditedStage& s, const TileAttributes& attributes,
                          SkySearch& search) {
    bool exit = false;
    bool pastSheet = false;
    for (int32_t tile : s.stage.tiles) {
        exit = exit || AttributeOf(attributes, tile) == kAttrExit;
        pastSheet = pastSheet || tile >= kFirstPastSheet;
    }
    std::string warnings;
    if (!exit) warnings += " - NO EXIT TILE";
    if (pastSheet) warnings += " - A TILE PAST THE SHEET";
    if (OpenToTheSky(s, attributes, search)) warnings += " - OPEN TO THE SKY";
    const SpriteRecord& hero = s.stage.sprites[s.stage[kPlayerIndex]];
    if (InsideAWall(s, attributes, hero.x, hero.y, hero)) warnings += " - HERO INSIDE A WALL";
    int32_t c = 0, r = 0;
    if (BlockTheHeroWalksThrough(s, attributes, &c, &r)) {
        warnings +=
            " - THE HERO WALKS THROUGH THE BLOCK AT " + std::to_string(c) + " " + std::to_string(r);
    }
    for (const SpriteRecord& sprite : s.stage.sprites) {
        if (sprite.x < 0 || sprite.y < 0 || sprite.x >= s.Width() * kTileSize ||
            sprite.y >= s.Height() * kTileSize) {
            warnings += " - A SPRITE OUTSIDE THE MAP";
            break;
        }
    }
    return warnings;
}

bool StandingPlaceInView(const EditedStage& s, const TileAttributes& attributes,
                         const SpriteRecord& hero, const WorldView& view, int32_t* x, int32_t* y) {
    const int32_t centreX = view.x + view.width / 2;
    const int32_t centreY = view.y + view.height / 2;
    int64_t best = -1;
    for (int32_t c = view.x / kTileSize; c * kTileSize + hero.width <= view.x + view.width; ++c) {
        const int32_t left = c * kTileSize;
        const int32_t foot = left + hero.width / 2;
        for (int32_t r = view.y / kTileSize + 1; r * kTileSize <= view.y + view.mapHeight; ++r) {
            const int32_t top = r * kTileSize - hero.height;
            if (top < view.y || AttributeAt(s, attributes, foot, r * kTileSize) != kAttrSolid)
                continue;
            if (InsideAWall(s, attributes, left, top, hero)) continue;
            const int64_t dx = foot - centreX, dy = r * kTileSize - centreY;
            if (best < 0 || dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                *x = left;
                *y = top;
            }
        }
    }
    return best >= 0;
}

}  // namespace zoa
