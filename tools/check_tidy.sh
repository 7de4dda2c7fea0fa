#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy on every source file of src/,
# using the compile commands of a build; any finding fails it.
# Usage: tools/check_tidy.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?usage: check_tidy.sh BUILD_DIR}"
# The build's flags are GCC's; clang does not know a few of its warnings.
run-clang-tidy -p "$build" -quiet -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option \
    "$root/src/" > "$build/clang-tidy.log" 2>&1 || {
    grep -E '(warning|error): ' "$build/clang-tidy.log" | sort -u
    echo "clang-tidy found the above (whole log: $build/clang-tidy.log)"
    exit 1
}
echo "clang-tidy: no finding in src/"
