#pragma once
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zoa::files {

// Replaces the file at `path` with `bytes` so that it never holds anything but
// its old contents or the complete new ones: the bytes go to a temporary file
// in the same folder, are flushed to the disk, and the temporary file is then
// renamed over `path`. On failure the temporary file is removed, `path` is
// untouched, and *error says why.
bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

// For tests: a disk that fails. The steps of ReplaceFile are counted from the
// moment a fault is set, and the nth call of the faulty step fails with `error`
// as the operating system would report it (a failed close still closes). Each
// write may also pass fewer bytes than asked, as a nearly full disk does.
enum class FileStep { kOpen, kWrite, kSync, kClose, kRename };
struct FileFault {
    FileStep step = FileStep::kWrite;
    int32_t nth = 1;
    int error = EIO;
    size_t mostPerWrite = 0;  // 0: writes are not shortened
};
void SetFileFault(const FileFault& fault);
void ClearFileFault();

}  // namespace zoa::files
