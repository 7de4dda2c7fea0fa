#include "files/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zoa::files {

namespace {

// The fault tests have set, and how many calls of its step have been made.
struct FaultState {
    bool active = false;
    FileFault fault;
    int32_t calls = 0;
};
FaultState g_fault;

// True (with errno set) when this call of `step` is the one that fails.
bool Faulty(FileStep step) {
    if (!g_fault.active || g_fault.fault.step != step) return false;
    if (++g_fault.calls != g_fault.fault.nth) return false;
    errno = g_fault.fault.error;
    return true;
}

int OpenFile(const char* path, int flags, mode_t mode) {
    if (Faulty(FileStep::kOpen)) return -1;
    return ::open(path, flags, mode);
}

ssize_t WriteSome(int fd, const uint8_t* data, size_t size) {
    if (Faulty(FileStep::kWrite)) return -1;
    if (g_fault.active && g_fault.fault.mostPerWrite > 0)
        size = std::min(size, g_fault.fault.mostPerWrite);
    return ::write(fd, data, size);
}

int SyncFile(int fd) {
    if (Faulty(FileStep::kSync)) return -1;
    return ::fsync(fd);
}

int CloseFile(int fd) {
    const bool fails = Faulty(FileStep::kClose);
    const int error = errno;
    const int closed = ::close(fd);
    if (!fails) return closed;
    errno = error;
    return -1;
}

int RenameFile(const char* from, const char* to) {
    if (Faulty(FileStep::kRename)) return -1;
    return std::rename(from, to);
}

bool Failed(std::string* error, const std::string& what, const std::string& path) {
    if (error) *error = "cannot " + what + " " + path + ": " + std::strerror(errno);
    return false;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself survive a crash.
void SyncFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void SetFileFault(const FileFault& fault) {
    g_fault = FaultState{true, fault, 0};
}

void ClearFileFault() {
    g_fault = FaultState{};
}

bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    const std::string temporary = path + ".new";
    const int fd = OpenFile(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Failed(error, "create", temporary);
    const bool written = WriteAll(fd, bytes) && SyncFile(fd) == 0;
    const int savedErrno = errno;
    const bool closed = CloseFile(fd) == 0;
    if (!written || !closed) {
        if (written) {
            Failed(error, "close", temporary);
        } else {
            errno = savedErrno;
            Failed(error, "write", temporary);
        }
        std::remove(temporary.c_str());
        return false;
    }
    if (RenameFile(temporary.c_str(), path.c_str()) != 0) {
        Failed(error, "rename to", path);
        std::remove(temporary.c_str());
        return false;
    }
    SyncFolderOf(path);
    return true;
}

}  // namespace zoa::files
