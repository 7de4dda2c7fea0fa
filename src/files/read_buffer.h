#pragma once
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "files/memory_arena.h"

namespace zoa::files {

// Opens `path` to read all of it, positioned at its start; `size` is its
// length, or -1 when it cannot tell (a pipe). False for what cannot be opened
// and for a folder, which opens like a file and fails only when read.
bool OpenWholeFile(const std::string& path, std::ifstream& file, std::streamoff& size);

// Holds one file at a time: file after file is read into the same memory. A
// loader that reads many large files (the sheets, the sounds) thus touches
// fresh memory once rather than once per file, and touching fresh memory is
// most of what reading a file from the system's cache costs.
class ReadBuffer {
  public:
    // Reads all of `path`; false when it cannot be opened or read. The bytes an
    // earlier Read gave are gone.
    bool Read(const std::string& path);

    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    bool Reserve(size_t bytes);

    std::unique_ptr<MemoryArena> memory_;
    uint8_t* block_ = nullptr;
    size_t capacity_ = 0;
    std::vector<uint8_t> ordinary_;  // for what cannot go into the block
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace zoa::files
