#!/bin/sh
# Plays every stage of the campaign with the bot and writes the committed runs
# (stages/runs/stageN.av, and demo.av, which the build makes data/map/DEMO.AV).
# Run it after changing a stage or the game's rules; the tests replay the runs.
#   sh tools/campaign_bot/make_runs.sh [BUILD]
# BUILD is a build folder with the data set (default: build; a Release build is
# much faster). Every run is recorded with seed 1, the seed the tests use.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
bot=$build/tools/zoa_campaign_bot
runs=$root/stages/runs
for n in 1 2 3 4 5 6 7 8 9; do
  route=$runs/stage$n.route
  [ -f "$route" ] || route=-
  "$bot" "$n" "$route" "$runs/stage$n.av" --data "$build" --seed 1
done
"$bot" 0 "$runs/demo.route" "$runs/demo.av" --data "$build" --seed 1
