#include "files/memory_arena.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zoa::files {

namespace {
#if defined(__linux__)
constexpr size_t kHugePage = size_t{2} << 20;
#endif
constexpr size_t kAlignment = 64;
}  // namespace

MemoryArena::MemoryArena(size_t capacity) {
#if defined(__linux__)
    // Huge pages need 2 MiB-aligned addresses: map a little more and start at
    // the first boundary inside.
    const size_t size = capacity + kHugePage;
    void* at = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (at == MAP_FAILED) return;
    mapping_ = at;
    mappingSize_ = size;
    const auto address = reinterpret_cast<uintptr_t>(at);
    begin_ = reinterpret_cast<uint8_t*>((address + kHugePage - 1) & ~(kHugePage - 1));
    capacity_ = capacity;
    // Only a wish: without huge pages the arena works the same, page by page.
    madvise(begin_, capacity_, MADV_HUGEPAGE);
#else
    // Zeroed memory the system hands out page by page as it is touched, like
    // the mapping above, started at the first aligned address inside.
    void* at = std::calloc(capacity + kAlignment, 1);
    if (!at) return;
    mapping_ = at;
    mappingSize_ = capacity + kAlignment;
    const auto address = reinterpret_cast<uintptr_t>(at);
    begin_ = reinterpret_cast<uint8_t*>((address + kAlignment - 1) & ~(kAlignment - 1));
    capacity_ = capacity;
#endif
}

MemoryArena::~MemoryArena() {
#if defined(__linux__)
    if (mapping_) munmap(mapping_, mappingSize_);
#else
    std::free(mapping_);
#endif
}

uint8_t* MemoryArena::Allocate(size_t bytes) {
    if (!begin_ || bytes > capacity_ - used_) return nullptr;
    uint8_t* block = begin_ + used_;
    const size_t rounded = (bytes + kAlignment - 1) & ~(kAlignment - 1);
    used_ = rounded < capacity_ - used_ ? used_ + rounded : capacity_;
    return block;
}

}  // namespace zoa::files
