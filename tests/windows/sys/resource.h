#pragma once
// Windows cannot cap the size of the files a process writes: the calls fail,
// and the test that fills the disk this way is Linux-only (tests/linux_only.txt).
#include <cerrno>

struct rlimit {
    unsigned long long rlim_cur;
    unsigned long long rlim_max;
};
#define RLIMIT_FSIZE 1
#define SIGXFSZ 25  // no such signal: std::signal refuses it

inline int getrlimit(int, rlimit*) {
    errno = ENOSYS;
    return -1;
}
inline int setrlimit(int, const rlimit*) {
    errno = ENOSYS;
    return -1;
}
