#!/usr/bin/env bash
# The Windows build's checks, under Wine, headless (no display, no sound card):
#   windows_test.sh BUILD NATIVE ZIP
# BUILD is the cross build (build-windows), NATIVE the Linux build beside it
# whose results the Windows programs must match byte for byte, ZIP the package.
set -euo pipefail

# One X display for every Wine program of the run: Wine's desktop process
# keeps the display it was started with, so windows need it from the start.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a bash "$0" "$@"

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$1" NATIVE="$2" ZIP="$3"
WORK="$BUILD/wine-test"
rm -rf "$WORK"
mkdir -p "$WORK"

export WINEPREFIX="$BUILD/wine-prefix" WINEDEBUG=-all SDL_AUDIODRIVER=dummy LC_ALL=C.UTF-8
# The Linux runs keep their settings and saves in the scratch folder.
export XDG_CONFIG_HOME="$WORK/linux-config" XDG_DATA_HOME="$WORK/linux-data"
# No Mono or Gecko install prompt when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# A server of this prefix left from an earlier run would know no display.
"$WINESERVER" -k 2>/dev/null || true
[ -d "$WINEPREFIX" ] || "$WINE" wineboot --init >/dev/null 2>&1

failures=0
check() {
  if "$@"; then echo "ok    $CHECK"; else echo "FAIL  $CHECK"; failures=$((failures + 1)); fi
}

# Tests that need a facility Windows lacks (see the list's comments).
LINUX_ONLY_FILE="$ROOT/tests/linux_only.txt"
mapfile -t linux_only < <(grep -v '^#' "$LINUX_ONLY_FILE" | grep -v '^$')
only="$(
  IFS=:
  echo "${linux_only[*]}"
)"
left_out=$("$WINE" "$BUILD/zoa_tests.exe" --gtest_list_tests "--gtest_filter=$only" | grep -c '^  ')
echo "The test suite under Wine; $left_out tests are Linux-only ($LINUX_ONLY_FILE)"
filter="-$only"
CHECK="the test suite (its output: $WORK/tests.log)"
run_tests() { "$WINE" "$BUILD/zoa_tests.exe" --gtest_brief=1 "--gtest_filter=$filter" >"$WORK/tests.log" 2>&1; }
check run_tests
grep -E '^\[  (PASSED|SKIPPED|FAILED) ' "$WORK/tests.log" || true

# Every committed run, replayed headless, ends in the same dump as on Linux.
game_args() {
  local run="$1" name
  name="$(basename "$run" .av)"
  echo "--headless --no-logo --nosound --seed 1"
  [[ "$name" =~ ^stage([0-9]+)$ ]] && echo "--play ${BASH_REMATCH[1]}"
  echo "--replay $run"
}
for run in "$ROOT"/stages/runs/*.av; do
  name="$(basename "$run" .av)"
  # shellcheck disable=SC2046
  "$NATIVE/zoa_noli" --data "$NATIVE" $(game_args "$run") --dump "$WORK/$name.linux.json" 2>/dev/null
  # shellcheck disable=SC2046
  "$WINE" "$BUILD/zoa_noli.exe" --data "$NATIVE" $(game_args "$run") --dump "$WORK/$name.windows.json" 2>/dev/null
  CHECK="$name.av replayed: the same dump as on Linux"
  check cmp -s "$WORK/$name.linux.json" "$WORK/$name.windows.json"
done

# The title in a real window (Xvfb, no window manager) as on Linux.
title_args=(--no-logo --nosound --frames 90)
"$NATIVE/zoa_noli" --data "$NATIVE" --headless "${title_args[@]}" --screenshot "$WORK/title.linux.png"
"$WINE" "$BUILD/zoa_noli.exe" --data "$NATIVE" --window "${title_args[@]}" \
  --screenshot "$WORK/title.windows.png" 2>/dev/null
CHECK="the title in a window: the same picture as on Linux"
check cmp -s "$WORK/title.linux.png" "$WORK/title.windows.png"

# The zip unpacked where a folder name has a space and a letter outside ASCII:
# it finds its data beside the program, and its settings under %APPDATA%.
folder="$WORK/Zoa Nöli"
mkdir -p "$folder"
unzip -q "$ZIP" -d "$folder"
game="$(find "$folder" -name zoa_noli.exe)"
# Text on the console ends its lines with CR LF, as Windows does.
"$WINE" "$game" --paths | tr -d "\r" >"$WORK/paths.txt"
CHECK="the unpacked game finds its data beside it, named with backslashes"
check grep -q "^data: .*Zoa Nöli\\\\zoa_noli-.*\\\\data  (beside the program)$" "$WORK/paths.txt"
CHECK="the unpacked game's settings are under %APPDATA%"
check grep -q '^settings: .*\\AppData\\Roaming\\zoa_noli\\settings.ini' "$WORK/paths.txt"
# A settings.ini beside the program makes the copy portable.
: >"$(dirname "$game")/settings.ini"
"$WINE" "$game" --paths | tr -d "\r" >"$WORK/portable.txt"
rm "$(dirname "$game")/settings.ini"
CHECK="a settings.ini beside the unpacked game makes it portable"
check grep -q "^settings: .*Zoa Nöli\\\\zoa_noli-.*\\\\settings.ini  (portable" "$WORK/portable.txt"
# FFmpeg is loaded when the logo plays, not with the program.
CHECK="zoa_noli.exe does not link FFmpeg's DLLs"
check bash -c "! x86_64-w64-mingw32-objdump -p '$game' | grep -E 'DLL Name: (av|sw)'"
"$NATIVE/zoa_noli" --data "$NATIVE" --headless --nosound --frames 120 --dump "$WORK/start.linux.json"
"$WINE" "$game" --headless --nosound --frames 120 --dump "$folder/start.json" 2>"$WORK/start.err"
CHECK="the unpacked game starts and plays as on Linux"
check cmp -s "$WORK/start.linux.json" "$folder/start.json"
CHECK="the unpacked game plays the logo with the FFmpeg DLLs beside it"
check bash -c "! grep 'logo is skipped' '$WORK/start.err'"

"$WINESERVER" -w
[ "$failures" -eq 0 ] || { echo "$failures Windows checks failed" >&2; exit 1; }
echo "Every Windows check passed"
