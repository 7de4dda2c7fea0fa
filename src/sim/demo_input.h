#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zoa {

// One recorded key event of the demo.
struct InputRecord {
    uint32_t frame = 0;    // fed once the replay has run this many frames
    uint32_t keyDown = 0;  // code for OnKeyDown
    uint32_t keyUp = 0;    // code for OnKeyUp
    uint32_t kind = 0;     // kKeyPress, kKeyRelease, anything else: nothing
};

constexpr uint32_t kKeyPress = 7777;
constexpr uint32_t kKeyRelease = 9999;
constexpr size_t kDemoRecords = 2000;
constexpr size_t kDemoFileSize = 4 + 16 * kDemoRecords;

struct DemoInput {
    uint32_t RecordEndFrame = 0;  // length of the replay in frames
    std::array<InputRecord, kDemoRecords> records{};
};

extern DemoInput demoInput;

// Reads data\map\DEMO.AV as the game always has: the first 32004 bytes of
// a longer file, and whatever a shorter one holds, the words it lacks being 0
// (a record of frame 0 and kind 0 does nothing). A missing file leaves the
// demo empty, so it ends at once.
void LoadDemoInput();

// How much of a file the readers take. Recorded runs, which this port writes
// itself, must be exactly 32004 bytes: a cut-off recording is refused rather
// than replayed short.
enum class DemoLength { kExact, kAnyLength };
bool ReadDemoFile(const std::string& path, DemoInput& out, std::string* error,
                  DemoLength length = DemoLength::kExact);
// The same from the file's bytes; `name` only goes into the error text.
bool ReadDemoBytes(const uint8_t* bytes, size_t size, DemoInput& out, std::string* error,
                   const std::string& name, DemoLength length = DemoLength::kExact);
// Replaces `path` with a complete file or, on failure (reason in *error), not at all.
bool WriteDemoFile(const std::string& path, const DemoInput& in, std::string* error);

}  // namespace zoa
