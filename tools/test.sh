#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test (the code's layout and include rules among them); runs
# clang-tidy on src/; then builds the game for the browser and checks it in
# headless Chromium (tools/web/check_site.mjs); then builds the benchmarks and
# runs them once, briefly; then builds the fuzz programs with clang and runs
# each for a fixed number of inputs, seeded from the data the test build
# generated (fuzz/README.md); then cross-builds the Windows zip and checks it
# under Wine (tools/windows.sh). Warnings are errors here (ZOA_WERROR), not in
# a plain cmake build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
zoa_build "$ZOA_ROOT/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOA_SANITIZE=ON -DZOA_BENCH=OFF -DZOA_WERROR=ON
(cd "$ZOA_ROOT/build-test" && ctest --output-on-failure -j "$(nproc)")
bash "$ZOA_ROOT/tools/check_tidy.sh" "$ZOA_ROOT/build-test"
# The browser build (tools/web.sh: its libraries come from the dependency cache
# after the first time), checked in headless Chromium against the native build
# above: the title pixel for pixel, every committed run's dump byte for byte,
# keys, and a save that outlives a reload.
ZOA_WEB_NATIVE="$ZOA_ROOT/build-test" bash "$ZOA_ROOT/tools/web.sh"
node "$ZOA_ROOT/tools/web/check_site.mjs" "$ZOA_ROOT/build-web/site" "$ZOA_ROOT/build-test/zoa_noli" \
  "$ZOA_ROOT/build-test" "$ZOA_ROOT/stages/runs"
zoa_build "$ZOA_ROOT/build-bench" -DCMAKE_BUILD_TYPE=Release -DZOA_TESTS=OFF -DZOA_BENCH=ON -DZOA_WERROR=ON
"$ZOA_ROOT/build-bench/bench/zoa_bench" --benchmark_min_time=0.05
CC=clang CXX=clang++ zoa_build "$ZOA_ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZOA_FUZZ=ON -DZOA_TESTS=OFF -DZOA_BENCH=OFF -DZOA_DATA=OFF -DZOA_WERROR=ON
bash "$ZOA_ROOT/fuzz/run.sh" --ci --build "$ZOA_ROOT/build-fuzz" --data "$ZOA_ROOT/build-test"
bash "$ZOA_ROOT/tools/windows.sh" --test
