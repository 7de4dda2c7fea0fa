#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test (the code's layout and include rules among them); runs
# clang-tidy on src/; then builds the benchmarks and runs them once, briefly; then
# builds the fuzz programs with clang and runs each for a fixed number of inputs,
# seeded from the data the test build generated (fuzz/README.md); then
# cross-builds the Windows zip and checks it under Wine (tools/windows.sh).
# Warnings are errors here (ZOA_WERROR), not in a plain cmake build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
zoa_build "$ZOA_ROOT/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOA_SANITIZE=ON -DZOA_BENCH=OFF -DZOA_WERROR=ON
(cd "$ZOA_ROOT/build-test" && ctest --output-on-failure -j "$(nproc)")
bash "$ZOA_ROOT/tools/check_tidy.sh" "$ZOA_ROOT/build-test"
zoa_build "$ZOA_ROOT/build-bench" -DCMAKE_BUILD_TYPE=Release -DZOA_TESTS=OFF -DZOA_BENCH=ON -DZOA_WERROR=ON
"$ZOA_ROOT/build-bench/bench/zoa_bench" --benchmark_min_time=0.05
CC=clang CXX=clang++ zoa_build "$ZOA_ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZOA_FUZZ=ON -DZOA_TESTS=OFF -DZOA_BENCH=OFF -DZOA_DATA=OFF -DZOA_WERROR=ON
bash "$ZOA_ROOT/fuzz/run.sh" --ci --build "$ZOA_ROOT/build-fuzz" --data "$ZOA_ROOT/build-test"
bash "$ZOA_ROOT/tools/windows.sh" --test
