#pragma once
#include <string>

namespace zoa {

// The run's state as one JSON object:
// {"frameCounter": n, "state": {...}, "sprites": [...], "sounds": [...]}.
// Appends to `out` (callers reuse one buffer from frame to frame).
void AppendStateJson(std::string& out);

}  // namespace zoa
