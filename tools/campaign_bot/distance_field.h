#pragma once
#include <cstdint>
#include <vector>

#include "route.h"

namespace zoa::bot {

// How far every tile of the map lies from a waypoint for a hero that could
// fly: steps through tiles where its feet and head both fit, a climb costing
// twice a step across and four times a step down. It routes round walls and
// platforms the way the hero has to go, where a straight measure would lead it
// into them.
class DistanceField {
  public:
    void Build(const Waypoint& to);

    // Half-steps from the hero's feet to the waypoint (kFar: no way).
    int32_t FromHero() const;

    // Where the way leads from the hero's feet after `steps` tiles: the
    // point (centre of the tile, feet on its bottom) the hero should head for.
    Waypoint Ahead(int32_t steps) const;

    static constexpr int32_t kFar = 1 << 28;

  private:
    int32_t Cell(int32_t c, int32_t r) const { return r * width_ + c; }
    static bool Solid(int32_t c, int32_t r);
    static bool Fits(int32_t c, int32_t r) { return !Solid(c, r) && (r == 0 || !Solid(c, r - 1)); }

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<int32_t> cost_;
};

}  // namespace zoa::bot
