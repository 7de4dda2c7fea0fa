#pragma once
// The few POSIX calls the tests make, on Windows, where the same thing has
// another name (force-included into every test file of the Windows build).
// Tests whose facility Windows lacks altogether (a FIFO, /dev/full, a shell
// running the Linux programs) are listed in tests/linux_only.txt instead.
#include <cerrno>
#include <cstdlib>

// std::system returns the command's exit code itself.
#define WIFEXITED(status) ((status) != -1)
#define WEXITSTATUS(status) (status)

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv_s(name, value);
}

inline int mkfifo(const char*, int) {
    errno = ENOSYS;
    return -1;
}
