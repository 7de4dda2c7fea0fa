#!/usr/bin/env bash
# Regenerates the README's pictures with the game's own screenshot path, from a
# headless run of a build (default: build/) on its generated data.
#   make_stills.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
ASAN_OPTIONS=detect_leaks=0 "$build/zoa_noli" --headless --no-logo --frames 30 --data "$build" \
  --config "$scratch/settings.ini" --save-dir "$scratch" --screenshot "$root/docs/title.png" 2>/dev/null
echo "wrote $root/docs/title.png"
