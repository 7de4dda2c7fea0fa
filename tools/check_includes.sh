#!/usr/bin/env bash
# House rule: only src/platform/ includes SDL, only src/video/ and tools/ include FFmpeg.
set -u
root="${1:-.}"
status=0
sdl=$(grep -rlE '#include *[<"]SDL' "$root/src" | grep -v "^$root/src/platform/")
if [ -n "$sdl" ]; then echo "SDL included outside src/platform/:"; echo "$sdl"; status=1; fi
ff=$(grep -rlE '#include *[<"]lib(av|sw)' "$root/src" | grep -v "^$root/src/video/")
if [ -n "$ff" ]; then echo "FFmpeg included outside src/video/:"; echo "$ff"; status=1; fi
[ $status -eq 0 ] && echo "include rules hold"
exit $status
