#include "files/replace_file.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/utf8_path.h"

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// windows.h names its own ReplaceFile; ours is the one meant here.
#undef ReplaceFile
#else
#include <unistd.h>
#endif

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

// Creates (or empties) `path` for writing, in binary mode on Windows, not
// passed on to programs the game starts.
int CreateForWriting(const std::string& path) {
    if (Faulty(FileStep::kOpen)) return -1;
#ifdef _WIN32
    return ::_wopen(files::FsPath(path).c_str(),
                    _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
#endif
}

ssize_t WriteSome(int fd, const uint8_t* data, size_t size) {
    if (Faulty(FileStep::kWrite)) return -1;
    if (g_fault.active && g_fault.fault.mostPerWrite > 0)
        size = std::min(size, g_fault.fault.mostPerWrite);
#ifdef _WIN32
    return ::_write(fd, data, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
#else
    return ::write(fd, data, size);
#endif
}

int SyncFile(int fd) {
    if (Faulty(FileStep::kSync)) return -1;
#ifdef _WIN32
    return ::_commit(fd);  // FlushFileBuffers on the file's handle
#else
    return ::fsync(fd);
#endif
}

int CloseFile(int fd) {
    const bool fails = Faulty(FileStep::kClose);
    const int error = errno;
#ifdef _WIN32
    const int closed = ::_close(fd);
#else
    const int closed = ::close(fd);
#endif
    if (!fails) return closed;
    errno = error;
    return -1;
}

#ifdef _WIN32
// errno for the reasons a replace fails on Windows, for the message.
int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}
#endif

// Puts `from` in the place of `to` in one step. Windows renames over an
// existing file only when asked to, and writes the change through at once
// (there is no folder to sync there).
int RenameFile(const std::string& from, const std::string& to) {
    if (Faulty(FileStep::kRename)) return -1;
#ifdef _WIN32
    if (MoveFileExW(files::FsPath(from).c_str(), files::FsPath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    errno = ErrnoOf(GetLastError());
    return -1;
#else
    return std::rename(from.c_str(), to.c_str());
#endif
}

void RemoveFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(files::FsPath(path), ec);
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
void SyncFolderOf([[maybe_unused]] const std::string& path) {
#ifndef _WIN32
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#endif
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
    const int fd = CreateForWriting(temporary);
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
        RemoveFile(temporary);
        return false;
    }
    if (RenameFile(temporary, path) != 0) {
        Failed(error, "rename to", path);
        RemoveFile(temporary);
        return false;
    }
    SyncFolderOf(path);
    return true;
}

}  // namespace zoa::files
