#pragma once
#include <cstddef>
#include <cstdint>

namespace zoa::files {

// Address space for large buffers that live as long as their owner (the sheet
// surfaces of a display, say), handed out one after the other and given back
// all at once. Fresh memory costs a page fault per 4 KiB the first time it is
// touched, and megabytes of pictures make thousands of them; where the system
// offers huge pages the arena asks for them, so the same megabytes cost a
// handful. Only what is touched takes real memory.
class MemoryArena {
  public:
    // Reserves `capacity` bytes of address space (nothing is touched yet).
    explicit MemoryArena(size_t capacity);
    ~MemoryArena();
    MemoryArena(const MemoryArena&) = delete;
    MemoryArena& operator=(const MemoryArena&) = delete;

    // `bytes` of zeroed memory, 64-byte aligned; null when the arena is full or
    // the system gave it no address space (the caller then allocates as usual).
    uint8_t* Allocate(size_t bytes);

  private:
    void* mapping_ = nullptr;
    size_t mappingSize_ = 0;
    uint8_t* begin_ = nullptr;
    size_t capacity_ = 0;
    size_t used_ = 0;
};

}  // namespace zoa::files
