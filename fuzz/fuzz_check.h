#pragma once
#include <cstdio>
#include <cstdlib>

// A broken promise between the readers and the writers is a finding like a
// crash: the fuzzer stops and keeps the input.
#define ZOA_FUZZ_CHECK(condition, what)                                             \
    do {                                                                            \
        if (!(condition)) {                                                         \
            std::fprintf(stderr, "fuzz check failed: %s (%s)\n", what, #condition); \
            std::abort();                                                           \
        }                                                                           \
    } while (0)
