// The demo input reader (DEMO.AV): only a file of exactly the right size is taken.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/demo_input.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zoa::DemoInput demo;
    std::string error;
    if (!zoa::ReadDemoBytes(data, size, demo, &error, "fuzz.av")) return 0;
    ZOA_FUZZ_CHECK(size == zoa::kDemoFileSize, "a demo file of the wrong size was accepted");
    return 0;
}
