#!/usr/bin/env bash
# Builds the seed corpus of every fuzz program from our own data and runs them.
#
#   fuzz/run.sh [--ci | --time SECONDS] [--build DIR] [--data DIR] [--work DIR] [TARGET...]
#
#   --ci            a fixed number of runs per program (the test script's step)
#   --time SECONDS  each program for that long (default 600)
#   --build DIR     the fuzz build (default build-fuzz)
#   --data DIR      a build folder whose data/ the data builder made
#                   (default: the first of build-test, build)
#   --work DIR      corpora, findings and logs (default <fuzz build>/fuzz-work)
#   TARGET...       some of: stage_file tile_map tile_attributes sheet palette wave
#                   demo logo stage_source settings game (default: all)
#
# Exit status: 0 when no program found anything, 1 when one did (the input is
# in <work>/findings/<target>/), 2 when the programs could not be run at all.
# On a terminal a line tells the program, its executions and the time left;
# in a log (CI) only the results are written.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode=time
seconds=600
build="$root/build-fuzz"
data=""
work=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --ci) mode=ci ;;
    --time) mode=time; seconds="$2"; shift ;;
    --build) build="$2"; shift ;;
    --data) data="$2"; shift ;;
    --work) work="$2"; shift ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    -*) echo "fuzz/run.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1") ;;
  esac
  shift
done
all=(stage_file tile_map tile_attributes sheet palette wave demo logo stage_source settings game)
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
[ -n "$work" ] || work="$build/fuzz-work"
if [ -z "$data" ]; then
  for d in "$root/build-test" "$root/build"; do
    if [ -f "$d/data/.generated" ]; then data="$d"; break; fi
  done
fi
if [ -z "$data" ] || [ ! -d "$data/data" ]; then
  echo "fuzz/run.sh: no generated data found; build the game first or give --data" >&2
  exit 2
fi

# Largest input per program: big enough for its largest seed (the sheets and
# the logo are large), small enough to keep the runs fast.
declare -A max_len=(
  [stage_file]=440000 [tile_map]=330000 [tile_attributes]=8192 [sheet]=1400000
  [palette]=2048 [wave]=131072 [demo]=32768 [logo]=1048576 [stage_source]=131072
  [settings]=8192 [game]=4096
)
# Runs per program in CI mode: at most about half a minute each on a slow machine.
declare -A ci_runs=(
  [stage_file]=10000 [tile_map]=10000 [tile_attributes]=10000 [sheet]=1000 [palette]=10000
  [wave]=10000 [demo]=10000 [logo]=200 [stage_source]=10000 [settings]=10000 [game]=500
)

# --- seeds ---------------------------------------------------------------
seeds="$work/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
stage_sources=("$root/tools/stagec/example.stage")
for s in "$root"/stages/*.stage; do [ -f "$s" ] && stage_sources+=("$s"); done
if ! "$build/fuzz/zoa_fuzz_seeds" "$seeds/made" "${stage_sources[@]}"; then
  echo "fuzz/run.sh: the seed tool failed" >&2
  exit 2
fi
add() {  # add TARGET FILE...: copies the existing files that fit into the seed corpus
  local t="$1"; shift
  mkdir -p "$seeds/$t"
  local f n=0
  for f in "$@"; do
    [ -f "$f" ] || continue
    [ "$(stat -c %s "$f")" -le "${max_len[$t]}" ] || continue
    n=$((n + 1))  # files of the same name from different places both count
    cp "$f" "$seeds/$t/$n-$(basename "$f")"
  done
}
d="$data/data"
add stage_file "$seeds"/made/map/*.map "$d"/map/*.map "$d"/map/*.MAP
add tile_map "$seeds"/made/map/*.m "$d"/map/*.m
add tile_attributes "$d/map/Spt.T"
add sheet "$d"/nbm/*.nbm
add palette "$d"/nbm/*.PAL
add wave "$d"/sound/*.WAV
add demo "$seeds/made/DEMO.AV" "$d/map/DEMO.AV"
add logo "$d"/logo/*.avi
add stage_source "${stage_sources[@]}"
add settings "$seeds/made/settings.cfg"
add game "$seeds"/made/game/*
# The whole-game program plays on the data set the builder made.
export ZOA_FUZZ_GAME_DATA="$data"

# --- runs ----------------------------------------------------------------
status=0
mkdir -p "$work/logs"
show_progress=0
[ -t 2 ] && show_progress=1
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; exit 130' INT TERM
index=0
for t in "${targets[@]}"; do
  index=$((index + 1))
  program="$build/fuzz/zoa_fuzz_$t"
  if [ ! -x "$program" ]; then
    echo "fuzz/run.sh: $program is missing" >&2
    [ $status -eq 0 ] && status=2
    continue
  fi
  if [ -z "$(ls -A "$seeds/$t" 2>/dev/null)" ]; then
    echo "fuzz/run.sh: no seeds for $t in $d" >&2
    [ $status -eq 0 ] && status=2
    continue
  fi
  findings="$work/findings/$t"
  mkdir -p "$findings"
  if [ "$mode" = ci ]; then
    # A scratch corpus: every CI run starts from the same seeds.
    corpus="$work/ci-corpus/$t"
    rm -rf "$corpus"
    limit=(-runs="${ci_runs[$t]}" -seed=1)
  else
    corpus="$work/corpus/$t"
    limit=(-max_total_time="$seconds")
  fi
  mkdir -p "$corpus"
  log="$work/logs/$t.log"
  # What libFuzzer keeps for a finding; its slow-unit-* files are only notes.
  count_findings() { find "$findings" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
    -o -name 'oom-*' -o -name 'timeout-*' \) | wc -l; }
  before=$(count_findings)
  echo "fuzz: $t (${limit[*]}, max_len ${max_len[$t]})"
  # The game's own complaints about bad files go to stderr; libFuzzer keeps its
  # reports, the sanitizers' included, on a descriptor of its own.
  "$program" "$corpus" "$seeds/$t" "${limit[@]}" -max_len="${max_len[$t]}" \
    -rss_limit_mb=2560 -timeout=60 -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$findings/" >"$log" 2>&1 &
  pid=$!
  if [ $show_progress -eq 1 ]; then
    started=$SECONDS
    while kill -0 "$pid" 2>/dev/null; do
      sleep 1
      # libFuzzer's status lines start with the number of executions: "#4096 pulse ...".
      execs="$(tail -c 4096 "$log" | grep -aoE '^#[0-9]+' | tail -1 | tr -d '#')"
      if [ "$mode" = ci ]; then
        left="${execs:-0} of ${ci_runs[$t]} runs"
      else
        remaining=$((seconds - (SECONDS - started) + seconds * (${#targets[@]} - index)))
        [ $remaining -lt 0 ] && remaining=0
        left="${execs:-0} executions, about $((remaining / 60)) min $((remaining % 60)) s left in all"
      fi
      printf '\r\033[Kfuzz: %s (%d of %d): %s' "$t" "$index" "${#targets[@]}" "$left" >&2
    done
    printf '\r\033[K' >&2
  fi
  wait "$pid"
  code=$?
  pid=""
  after=$(count_findings)
  grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$log" | tail -1 | sed 's/^/      /'
  if [ "$after" -gt "$before" ]; then
    echo "fuzz: $t FOUND A FAULT (exit $code); input in $findings/, report in $log" >&2
    grep -m1 -E 'ERROR: |runtime error|fuzz check failed|deadly signal' "$log" >&2
    status=1
  elif [ $code -ne 0 ]; then
    echo "fuzz: $t did not run (exit $code); see $log" >&2
    tail -5 "$log" >&2
    [ $status -eq 0 ] && status=2
  fi
done
exit $status
