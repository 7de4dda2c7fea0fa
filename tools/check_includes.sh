#!/usr/bin/env bash
# House rules for includes, checked as a test. Each layer of src/ is a library
# of its own that sees only the headers of the layers it links (src/CMakeLists.txt),
# so the compiler already refuses most wrong includes; this check keeps the rules
# the build cannot see:
# - only src/platform/ includes SDL, only src/video/ includes FFmpeg, in the game
#   and in the tests, tools, benchmarks and fuzzers alike, but for the few files
#   named below;
# - the folders of src/ are layers, and a file includes only its own folder
#   or a layer below it. Folders on one level (gfx, sound, video) do not
#   include each other, so the folder graph has no cycle. A new folder must
#   be given its level here before anything may include it.
set -u
root="${1:-.}"
status=0
code_dirs=("$root/src" "$root/tests" "$root/tools" "$root/bench" "$root/fuzz")

# Outside the layer that wraps them, only these may use SDL or FFmpeg directly:
# the SDL backend's own tests feed it SDL events; the data builder writes the
# logo with FFmpeg, and the tests write logo files and read recordings with it.
sdl_allowed="^$root/(src/platform/|tests/test_sdl_input\.cpp$)"
ffmpeg_allowed="^$root/(src/video/|tools/databuild/|tests/(avi_writer|video_probe)\.cpp$)"

sdl=$(grep -rlE '#include *[<"]SDL' "${code_dirs[@]}" 2>/dev/null | grep -vE "$sdl_allowed")
if [ -n "$sdl" ]; then echo "SDL included outside src/platform/:"; echo "$sdl"; status=1; fi
ff=$(grep -rlE '#include *[<"]lib(av|sw)' "${code_dirs[@]}" 2>/dev/null | grep -vE "$ffmpeg_allowed")
if [ -n "$ff" ]; then echo "FFmpeg included outside src/video/:"; echo "$ff"; status=1; fi

# Lowest first; see docs/ARCHITECTURE.md.
level() {
    case "$1" in
        files) echo 0 ;;
        platform) echo 1 ;;
        gfx | sound | video) echo 2 ;;
        sim) echo 3 ;;
        play) echo 4 ;;
        editor) echo 5 ;;
        app) echo 6 ;;
        *) echo -1 ;;
    esac
}

while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/^[^"]*"([^"]+)".*$/\1/' <<<"${hit#*:}")
    rel=${file#"$root/src/"}
    from=${rel%%/*}
    to=${target%%/*}
    # Includes beside the file ("x.h") or of other folders' headers only.
    [ "$to" = "$target" ] && continue
    [ "$from" = "$to" ] && continue
    lf=$(level "$from")
    lt=$(level "$to")
    if [ "$lf" -lt 0 ]; then
        echo "$rel: folder src/$from/ has no layer in tools/check_includes.sh"; status=1
    elif [ "$lt" -lt 0 ]; then
        echo "$rel: includes $target, which is in no layer"; status=1
    elif [ "$lt" -ge "$lf" ]; then
        echo "$rel: includes $target, but $to is not below $from"; status=1
    fi
done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$root/src" --include='*.h' --include='*.cpp')

[ $status -eq 0 ] && echo "include rules hold"
exit $status
