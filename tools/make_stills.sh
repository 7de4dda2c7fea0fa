#!/usr/bin/env bash
# Makes the README's pictures again from a build (default: build/) and its
# generated data, with the game's and the stage compiler's own output:
#   docs/title.png   the title screen (--screenshot of a headless run)
#   docs/play.webp   a few seconds of the title's demo, recorded by the game
#                    itself (--video of a headless run that picks the demo),
#                    made into an animated WebP by ffmpeg, kept under 2 MB
#   docs/stages.png  the campaign's eight stages seen whole (zoa_stagec render),
#                    one under another
# Run it again after the stages or the art change; it replaces the three.
#   make_stills.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
if ! command -v ffmpeg >/dev/null; then
  ZOA_EXTRA_PACKAGES=(ffmpeg)
  source "$root/tools/setup.sh"
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=detect_leaks=0
game() {
  "$build/zoa_noli" --headless --no-logo --seed 1 --data "$build" \
    --config "$scratch/settings.ini" --save-dir "$scratch" "$@" 2>/dev/null
}

game --frames 30 --screenshot "$root/docs/title.png"
echo "wrote docs/title.png ($(stat -c %s "$root/docs/title.png") bytes)"

# The keys a player presses to watch the demo: right twice to the demo item,
# Enter, then nothing; the replay ends after `frames` frames, demo included.
# A recorded run is the frame count, then 2000 records of four numbers (frame,
# key down, key up, 7777 press or 9999 release), all 32-bit little-endian.
le32() { printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24)))"; }
frames=420
{
  le32 $((5 + frames))
  for record in "1 39 0 7777" "2 0 39 9999" "3 39 0 7777" "4 0 39 9999" "5 13 0 7777" "6 0 13 9999"; do
    for n in $record; do le32 "$n"; done
  done
  head -c $((16 * (2000 - 6))) /dev/zero
} >"$scratch/watch.av"
game --replay "$scratch/watch.av" --video "$scratch/play.mp4"
# From a second in (the title's menu), at 15 pictures a second, halved to 640 x 480.
quality=70
while :; do
  ffmpeg -loglevel error -y -ss 1 -i "$scratch/play.mp4" -vf "fps=15,scale=640:480:flags=area" \
    -c:v libwebp_anim -loop 0 -quality "$quality" -compression_level 6 "$scratch/play.webp"
  size=$(stat -c %s "$scratch/play.webp")
  [ "$size" -lt 2000000 ] || [ "$quality" -le 20 ] && break
  quality=$((quality - 15))
done
[ "$size" -lt 2000000 ] || { echo "make_stills: the clip is $size bytes, over 2 MB" >&2; exit 1; }
cp "$scratch/play.webp" "$root/docs/play.webp"
echo "wrote docs/play.webp ($size bytes, quality $quality)"

# Every stage drawn whole, scaled to one width, one under another with a gap.
inputs=()
filters=""
for n in 1 2 3 4 5 6 7 8; do
  "$build/tools/zoa_stagec" render "$build/data/map/stage$n.map" "$build/data/map/$n.m" \
    "$scratch/stage$n.png" --data "$build" >/dev/null
  inputs+=(-i "$scratch/stage$n.png")
  filters+="[$((n - 1)):v]scale=960:-2:flags=area,pad=iw:ih+8:0:0:color=0x404040[s$n];"
done
ffmpeg -loglevel error -y "${inputs[@]}" \
  -filter_complex "${filters}[s1][s2][s3][s4][s5][s6][s7][s8]vstack=inputs=8,format=rgb24" \
  -frames:v 1 "$scratch/stages.png"
cp "$scratch/stages.png" "$root/docs/stages.png"
echo "wrote docs/stages.png ($(stat -c %s "$root/docs/stages.png") bytes)"
