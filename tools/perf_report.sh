#!/usr/bin/env bash
# Measures what the game costs a player's machine and writes the performance
# report, docs/PERFORMANCE.md:
#   - a play frame (update, composition, flip) while the demo plays: median,
#     99th percentile and worst, and the ratio to memcpy of the bytes it writes;
#   - the demo headless, drawing every frame: frames per second;
#   - start-up to the title on the screen (no logo), in a window under Xvfb,
#     step by step (the game's --timings);
#   - peak resident memory, headless and in the window;
#   - the CPU share of the running game at its frame rate in a 640 x 480
#     window under Xvfb, playing the demo.
#   bash tools/perf_report.sh [REPORT]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
report=${1:-$ZOA_ROOT/docs/PERFORMANCE.md}
build=$ZOA_ROOT/build-bench
zoa_build "$build" -DCMAKE_BUILD_TYPE=Release -DZOA_TESTS=OFF -DZOA_BENCH=ON >/dev/null

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

value() { awk -v k="$1" '$1 == k { print $2 }' "$work/perf.txt"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# "yes" when $1 $2 $3 holds (e.g. 0.1 "<" 0.4).
meets() { [ -n "$1" ] || { echo NO; return; }; awk -v a="$1" -v b="$3" -v op="$2" 'BEGIN { ok = (op == "<") ? a < b : a >= b; print ok ? "yes" : "NO" }'; }

echo "Benchmarks..."
"$build/bench/zoa_bench" --benchmark_filter='BM_PlayFrame$|BM_MemcpyOfAPlayFrame|BM_KeyedBlitFullScreen' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
  grep -E '_(median|max|mean)' >"$work/bench.txt" || true

echo "The rewind history..."
"$build/bench/zoa_bench" --benchmark_filter='BM_SimulationFrame|BM_SixtySecondsOfHistory' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
  grep -E '_(median|mean)|SixtySeconds' >"$work/rewind.txt" || true

echo "The demo headless..."
"$build/bench/zoa_perf" --data "$build" >"$work/perf.txt"

# A settings file for a plain 640 x 480 window.
cat >"$work/settings.ini" <<'EOF'
fullscreen = no
window_scale = 1
EOF
# The title's demo item (right, right, Enter) and the whole demo, as keys.
"$build/bench/zoa_perf" --data "$build" --write-watch-keys "$work/title.av"

echo "Start-up and the window under Xvfb..."
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY=$display
game() { "$build/zoa_noli" --config "$work/settings.ini" --save-dir "$work" --data "$build" --no-logo "$@"; }
# Start-up to the title: launched from here, the game tells with --timings
# when its title was first on the screen (wall clock) and how long its steps
# took. One line per run: launch to title, launch to main (program start and
# linking), window, sheets, sounds (ms).
startup_run() {
  local start line
  start=$(date +%s%N)
  line=$(game --window --frames 1 --timings "$@" 2>/dev/null | grep '^startup ' || true)
  if [ -z "$line" ]; then
    echo "the game printed no start-up timings" >&2
    return 1
  fi
  awk -v start="$start" -v line="$line" 'BEGIN {
    n = split(line, field, " ")
    for (i = 2; i <= n; i++) { split(field[i], kv, "="); v[kv[1]] = kv[2] }
    launch_us = start / 1000
    printf "%.1f %.1f %s %s %s\n", (v["title_unix_us"] - launch_us) / 1000,
      (v["main_unix_us"] - launch_us) / 1000, v["window_ms"], v["sheets_ms"], v["sounds_ms"]
  }'
}
column_median() { awk -v c="$1" '{ print $c }' "$2" | median; }
# The first run warms the system's file cache; it is left out.
for _ in 1 2 3 4 5 6 7 8 9 10 11; do startup_run; done | tail -n 10 >"$work/startup_runs.txt"
# The same without opening a sound device.
for _ in 1 2 3 4 5 6 7 8 9 10 11; do startup_run --nosound; done | tail -n 10 >"$work/startup_nosound_runs.txt"
# The former measure: a whole one-frame run, to the program's end (its first
# paced frame and shutting down included).
for _ in 1 2 3 4 5 6 7 8 9 10 11; do
  start=$(date +%s%N)
  game --window --frames 1 >/dev/null 2>&1
  echo $((($(date +%s%N) - start) / 1000000))
done | tail -n 10 | median >"$work/whole_run.txt"
# The floor under it: starting the program and linking its shared libraries
# (SDL2, SDL2_mixer and what they pull in), without doing anything.
for _ in 1 2 3 4 5 6 7 8 9 10; do
  start=$(date +%s%N)
  "$build/zoa_noli" --version >/dev/null 2>&1
  echo $((($(date +%s%N) - start) / 1000000))
done | median >"$work/bare.txt"
libraries=$(ldd "$build/zoa_noli" | wc -l)
/usr/bin/time -f '%U %S %e %M' -o "$work/window.txt" \
  "$build/zoa_noli" --config "$work/settings.ini" --save-dir "$work" --data "$build" --no-logo \
  --window --replay "$work/title.av" >/dev/null 2>&1
read -r user system elapsed window_kib <"$work/window.txt"
cpu=$(awk -v u="$user" -v s="$system" -v e="$elapsed" 'BEGIN { printf "%.1f", 100 * (u + s) / e }')

frame_median=$(value play_frame_median_ms)
fps=$(value demo_frames_per_second)
startup=$(column_median 1 "$work/startup_runs.txt")
mkdir -p "$(dirname "$report")"
{
  echo "# Performance"
  echo
  echo "Made by \`bash tools/perf_report.sh\` on $(date -u +%Y-%m-%d) at commit" \
    "$(git -C "$ZOA_ROOT" rev-parse --short HEAD 2>/dev/null || echo unknown)," \
    "on $(nproc) cores of $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)."
  echo "Release build; the demo is the one the title's demo item plays. Xvfb has no graphics"
  echo "driver, so there the window draws with SDL's software renderer (the game chooses it by itself)."
  echo
  echo "| Measure | Result | Target | Met |"
  echo "| --- | --- | --- | --- |"
  echo "| Play frame, median (update, composition, flip) | $frame_median ms | under 0.4 ms | $(meets "$frame_median" "<" 0.4) |"
  echo "| Play frame, 99th percentile | $(value play_frame_p99_ms) ms | | |"
  echo "| Play frame, worst | $(value play_frame_worst_ms) ms | | |"
  echo "| memcpy of the $(value frame_bytes) bytes a frame writes, median | $(value memcpy_median_ms) ms | | |"
  echo "| Play frame median / memcpy | $(value play_frame_over_memcpy) x | | |"
  echo "| The demo headless, every frame drawn | $fps frames/s ($(value demo_frames) frames in $(value demo_seconds) s) | 2,500 frames/s or more | $(meets "$fps" ">=" 2500) |"
  echo "| Start-up to the title on the screen, no logo (median of 10, from launch) | $startup ms | under 200 ms | $(meets "$startup" "<" 200) |"
  echo "| Of that: starting the program and linking its $libraries shared libraries | $(column_median 2 "$work/startup_runs.txt") ms | | |"
  echo "| Of that: the video system and the window | $(column_median 3 "$work/startup_runs.txt") ms | | |"
  echo "| Of that: the ten sheets | $(column_median 4 "$work/startup_runs.txt") ms | | |"
  echo "| Of that: the sound device and the nineteen sounds | $(column_median 5 "$work/startup_runs.txt") ms | | |"
  echo "| Start-up to the title with \`--nosound\` (no sound device looked for) | $(column_median 1 "$work/startup_nosound_runs.txt") ms | | |"
  echo "| A whole one-frame run, to the program's end (\`--frames 1\`) | $(cat "$work/whole_run.txt") ms | | |"
  echo "| Starting the program alone (\`--version\`) | $(cat "$work/bare.txt") ms | | |"
  echo "| Peak resident memory, the demo headless | $(($(value peak_resident_kib) / 1024)) MiB | | |"
  echo "| Peak resident memory, the demo in a window | $((window_kib / 1024)) MiB | | |"
  echo "| CPU share, the demo in a 640 x 480 window under Xvfb | $cpu % of a core ($elapsed s) | under 10 % | $(meets "$cpu" "<" 10) |"
  echo
  echo "Composition alone (Google Benchmark, \`build-bench/bench/zoa_bench\`, 5 repetitions; a"
  echo "synthetic full play frame with 100 sprites; x_memcpy is the time over memcpy of the same bytes):"
  echo
  echo '```'
  cat "$work/bench.txt"
  echo '```'
  echo
  echo "The rewind history (Google Benchmark, the same program): the largest campaign stage with"
  echo "its pool filled to 1000 moving sprites, one simulation frame alone and with its moment"
  echo "taken into the history (the difference is a snapshot's cost; target under 0.05 ms), and"
  echo "sixty seconds at 60 frames a second taken into one history (target under 64 MB in all):"
  echo
  echo '```'
  cat "$work/rewind.txt"
  echo '```'
} >"$report"
echo "Wrote $report"
cat "$report"
