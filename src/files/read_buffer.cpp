#include "files/read_buffer.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/utf8_path.h"

namespace zoa::files {

namespace {
// Room grows in steps of a huge page, up to files of a gigabyte; larger ones
// (a damaged size, say) are read the ordinary way, or not at all.
constexpr size_t kStep = size_t{2} << 20;
constexpr size_t kLargestFile = size_t{1} << 30;
}  // namespace

bool ReadBuffer::Reserve(size_t bytes) {
    if (bytes <= capacity_ && block_) return true;
    if (bytes > kLargestFile) return false;
    const size_t capacity = (bytes / kStep + 1) * kStep;
    auto memory = std::make_unique<MemoryArena>(capacity);
    uint8_t* block = memory->Allocate(capacity);
    if (!block) return false;
    memory_ = std::move(memory);
    block_ = block;
    capacity_ = capacity;
    return true;
}

bool OpenWholeFile(const std::string& path, std::ifstream& file, std::streamoff& size) {
    std::error_code ec;
    if (std::filesystem::is_directory(files::FsPath(path), ec)) return false;
    file.open(files::FsPath(path), std::ios::binary);
    if (!file) return false;
    // A pipe cannot seek: its size stays unknown, and it is read from where it is.
    file.seekg(0, std::ios::end);
    size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    file.clear();
    file.seekg(0);
    file.clear();
    return true;
}

bool ReadBuffer::Read(const std::string& path) {
    data_ = nullptr;
    size_ = 0;
    std::ifstream file;
    std::streamoff size = -1;
    if (!OpenWholeFile(path, file, size)) return false;
    try {
        if (size >= 0 && Reserve(static_cast<size_t>(size))) {
            file.read(reinterpret_cast<char*>(block_), size);
            if (file.gcount() != size) return false;
            data_ = block_;
            size_ = static_cast<size_t>(size);
            return true;
        }
        // What cannot tell its size (a pipe), or where the system gives no
        // room, is read the ordinary way.
        ordinary_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad()) return false;
    } catch (const std::exception&) {
        // A read error, or a size no memory can hold.
        ordinary_.clear();
        return false;
    }
    data_ = ordinary_.data();
    size_ = ordinary_.size();
    return true;
}

}  // namespace zoa::files
