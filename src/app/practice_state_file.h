#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/simulation.h"

namespace zoa {

// A saved moment of play (F6 / F7): the whole simulation but the user folder's
// name, plus where the run that saved it stood, so that a recording can tell
// a state of its own timeline from a foreign one. The file starts with a tag
// and a format version and ends with a checksum over everything before it;
// a file that is damaged, cut short, of another version or not a state at
// all is refused whole.
struct SavedState {
    uint64_t runId = 0;     // the run that saved it
    uint64_t saveId = 0;    // this save within that run
    uint32_t runFrame = 0;  // the recorded run's frame count when it was saved
};

constexpr uint32_t kStateFormatVersion = 1;

// The file's bytes for simulation `s`.
std::vector<uint8_t> EncodeStateFile(const Simulation& s, const SavedState& info);
// Reads a state file's bytes into `s` and `info`, leaving `s.game.WindowsDir`
// as it is. False, with the reason in *error and `s` untouched, when the
// bytes are not a complete state file of this version.
bool DecodeStateFile(const uint8_t* bytes, size_t size, Simulation& s, SavedState& info,
                     std::string* error);

// Writes and reads state files at `path` (through the file replacer when writing).
bool WriteStateFile(const std::string& path, const Simulation& s, const SavedState& info,
                    std::string* error);
bool ReadStateFile(const std::string& path, Simulation& s, SavedState& info, std::string* error);

}  // namespace zoa
