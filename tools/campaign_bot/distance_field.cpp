#include "distance_field.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

#include "game_view.h"

namespace zoa::bot {

void DistanceField::Build(const Waypoint& to) {
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

int32_t DistanceField::FromHero() const {
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

Waypoint DistanceField::Ahead(int32_t steps) const {
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

bool DistanceField::Solid(int32_t c, int32_t r) {
    return TileAttrAt(c * kTileSize + 1, r * kTileSize + 1) == kAttrSolid;
}

}  // namespace zoa::bot
