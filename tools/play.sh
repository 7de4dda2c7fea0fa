#!/usr/bin/env bash
# Sets up, builds and starts the game on our default data set.
# Extra arguments go to the game (for example --window).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
zoa_build "$ZOA_ROOT/build" -DCMAKE_BUILD_TYPE=Release -DZOA_TESTS=OFF -DZOA_BENCH=OFF
exec "$ZOA_ROOT/build/zoa_noli" --data "$ZOA_ROOT/build" "$@"
