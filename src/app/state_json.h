#pragma once
#include <cstdint>
#include <string>

namespace zoa {

// The run's state as one JSON object:
// {"frameCounter": n, "state": {...}, "sprites": [...], "sounds": [...]}.
// Appends to `out` (callers reuse one buffer from frame to frame).
// "sounds" lists the plays and stops of the sound log numbered `soundsFrom` and
// later ({"frame": f, "op": "play"|"stop", "index": i, "loop": 0|1}); a trace
// passes the count it had seen, so each line holds only the new ones.
void AppendStateJson(std::string& out, uint64_t soundsFrom = 0);

// How many plays and stops have been logged so far.
uint64_t SoundLogTotal();

}  // namespace zoa
