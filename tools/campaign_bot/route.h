#pragma once
// The way through a stage: the waypoints of its route file, then its exit.
#include <cstdint>
#include <string>
#include <vector>

namespace zoa::bot {

struct Waypoint {
    int32_t x = 0;         // the hero's centre column, pixels
    int32_t y = 0;         // the hero's feet (the top of what it stands on), pixels
    bool air = false;      // passed in the air: reached without standing there
    bool walk = false;     // no flying on the way to it
    bool noThrow = false;  // no throwing on the way to it
    bool clear = false;    // reached only once no enemy is left alive near it
};

// Route file: lines "waypoint COLUMN ROW": the hero's centre over tile column
// COLUMN, standing on tile row ROW; "via COLUMN ROW": the same point, passed
// in the air (the top of a climb); either may add "walk" (no flying on the way
// to it), "nothrow" (no throwing) and "clear" (not reached while an enemy is
// alive near it: the hero fights); "play FRAMES": a run of that many frames
// that ends wherever it is (the demo), instead of one that ends at the exit.
// '#' starts a comment. False when the file cannot be opened, or (said on
// stderr) for a line that makes no sense.
bool ReadRoute(const std::string& path, std::vector<Waypoint>& route, int32_t& playFor);

// The exit tile of the loaded stage that lies furthest right: the end of the
// stage. False when the stage has none.
bool FindExit(Waypoint& exit);

}  // namespace zoa::bot
