// The demo input reader: a recorded run is taken only at exactly the right
// size; the demo (DEMO.AV) takes any length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "sim/demo_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zoa::DemoInput demo;
    std::string error;
    ZOA_FUZZ_CHECK(
        zoa::ReadDemoBytes(data, size, demo, &error, "fuzz.av", zoa::DemoLength::kAnyLength),
        "the demo refused a file");
    if (!zoa::ReadDemoBytes(data, size, demo, &error, "fuzz.av")) return 0;
    ZOA_FUZZ_CHECK(size == zoa::kDemoFileSize, "a demo file of the wrong size was accepted");
    return 0;
}
