#!/usr/bin/env bash
# Builds the libraries the game needs for a target Debian ships no build of them
# for (Windows now; the browser can add its own), from Debian's own source
# packages, once, into a cache that outlives build folders and is shared between
# targets: the sources are fetched once into <cache>/src, and each target builds
# them into <cache>/<target>/ (its install prefix).
#
#   bash tools/deps.sh TARGET      builds what is missing, prints the prefix
#   source tools/deps.sh; zoa_deps TARGET   the same, and sets ZOA_DEPS_PREFIX
#
# Each library built has a stamp, <cache>/<target>/stamps/<library>, written last,
# holding the source package's version, the recipe (so the build options) and
# the files the recipe must leave behind. A library is reused only while its
# stamp matches and every listed file is there; anything else (a build that was
# stopped, a file deleted, a new recipe or source version) is built again.
#
# A target adds, for each library, a function zoa_recipe_<target>_<library>
# that builds the unpacked source in the current folder into $prefix, a list of
# the files it installs (zoa_files_<target>_<library>) and the libraries it
# needs first (ZOA_DEPS_<target>).
set -euo pipefail

ZOA_ROOT="${ZOA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
ZOA_DEPS_CACHE="${ZOA_DEPS_CACHE:-$HOME/.cache/zoa_noli/deps}"

# Debian source package of each library.
declare -gA ZOA_DEPS_SOURCE=(
  [sdl2]=libsdl2
  [sdl2_mixer]=libsdl2-mixer
  [ffmpeg]=ffmpeg
  [googletest]=googletest
)

# ---------------------------------------------------------------- windows ----
# In build order. The compiler runtime of the DLLs is the one the game ships
# (libwinpthread-1.dll beside them).
ZOA_DEPS_windows=(sdl2 sdl2_mixer ffmpeg googletest)

zoa_windows_cmake() {
  cmake -S . -B _build -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ZOA_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DZOA_DEPS_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
  cmake --build _build -j "$(nproc)"
  cmake --install _build --strip
}

zoa_recipe_windows_sdl2() {
  zoa_windows_cmake -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
  # SDL's pkg-config file would rename every program's main to SDL_main and make
  # each a GUI program (-mwindows), tests and the stage compiler included. The
  # game has a main of its own and chooses its subsystem itself.
  sed -i -e 's/ -Dmain=SDL_main//' -e 's/^Libs: .*/Libs: -L${libdir} -lSDL2/' \
    "$prefix/lib/pkgconfig/sdl2.pc"
}
zoa_files_windows_sdl2=(bin/SDL2.dll lib/libSDL2.dll.a lib/pkgconfig/sdl2.pc include/SDL2/SDL.h)

# WAV only: the game's sounds are wave files.
zoa_recipe_windows_sdl2_mixer() {
  local codec off=()
  for codec in CMD FLAC MOD MP3 MIDI OPUS VORBIS SAMPLES; do off+=("-DSDL2MIXER_$codec=OFF"); done
  zoa_windows_cmake -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_WAVE=ON \
    -DSDL2_DIR="$prefix/lib/cmake/SDL2" "${off[@]}"
}
zoa_files_windows_sdl2_mixer=(bin/SDL2_mixer.dll lib/libSDL2_mixer.dll.a lib/pkgconfig/SDL2_mixer.pc
  include/SDL2/SDL_mixer.h)

# The least the game uses: the logo (AVI, MPEG-4 video, 16-bit PCM sound) and
# --video (MPEG-4 into MP4). Shared, because the game loads them only when it
# plays the logo or records, and plays on without them.
zoa_recipe_windows_ffmpeg() {
  ./configure --prefix="$prefix" --enable-cross-compile --target-os=mingw32 --arch=x86_64 \
    --cross-prefix=x86_64-w64-mingw32- --cc=x86_64-w64-mingw32-gcc-posix \
    --enable-shared --disable-static --disable-programs --disable-doc --disable-network \
    --disable-autodetect --disable-everything --disable-avdevice --disable-avfilter \
    --disable-postproc --disable-x86asm --disable-debug --enable-protocol=file \
    --enable-demuxer=avi --enable-decoder=mpeg4,pcm_s16le --enable-encoder=mpeg4 \
    --enable-muxer=mp4 --enable-swscale --enable-swresample
  make -j "$(nproc)"
  make install
  x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll
}
zoa_files_windows_ffmpeg=(bin/avutil-57.dll bin/swresample-4.dll bin/swscale-6.dll bin/avcodec-59.dll
  bin/avformat-59.dll lib/pkgconfig/libavformat.pc include/libavformat/avformat.h)

zoa_recipe_windows_googletest() {
  zoa_windows_cmake -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF
}
zoa_files_windows_googletest=(lib/libgtest.a lib/libgtest_main.a lib/libgmock.a
  lib/cmake/GTest/GTestConfig.cmake)

# ------------------------------------------------------------- the cache ----

zoa_deps_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian's source packages need a deb-src line; added once, for bookworm.
zoa_deps_enable_sources() {
  if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Adding Debian's source packages to apt's sources"
    zoa_deps_sudo tee /etc/apt/sources.list.d/zoa-noli-deb-src.sources >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  fi
  zoa_deps_sudo apt-get update -qq
}

zoa_deps_version() {
  apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n 1
}

# zoa_deps_source LIBRARY: echoes the unpacked source folder of LIBRARY,
# fetching it first when it is not there whole. Its stamp (.version) holds the
# source package's version and is written once it is unpacked. (Run in a
# command substitution, where set -e does not hold: each step says if it failed.)
zoa_deps_source() {
  local package="${ZOA_DEPS_SOURCE[$1]}"
  local folder="$ZOA_DEPS_CACHE/src/$package"
  local version
  version="$(zoa_deps_version "$package")"
  if [ -z "$version" ]; then
    zoa_deps_enable_sources >&2 || return 1
    version="$(zoa_deps_version "$package")"
    [ -n "$version" ] || { echo "apt knows no source package $package" >&2; return 1; }
  fi
  if [ "$(cat "$folder/.version" 2>/dev/null)" != "$version" ]; then
    echo "Fetching Debian's source of $package $version" >&2
    rm -rf "$folder" && mkdir -p "$folder" || return 1
    (cd "$folder" && apt-get source -qq "$package=$version" >&2 && rm -f ./*.dsc ./*.tar.*) || return 1
    echo "$version" >"$folder/.version" || return 1
  fi
  find "$folder" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

# zoa_deps_list TARGET LIBRARY: the files LIBRARY's recipe installs.
zoa_deps_files() {
  local list="zoa_files_$1_$2[@]"
  echo "${!list}"
}

# What a library's stamp must say: the source's version, the target's recipes
# and helpers (so the build options), the files it installs, and the stamps of
# what it was built against.
zoa_deps_stamp_text() {
  local target="$1" library="$2" source="$3" function before
  local order="ZOA_DEPS_${target}[@]"
  echo "source $(basename "$source") $(cat "$(dirname "$source")/.version")"
  for function in $(declare -F | awk '{print $3}' | grep -E "^zoa_(recipe_${target}_${library}|${target}_.*)$"); do
    declare -f "$function"
  done
  echo "files $(zoa_deps_files "$target" "$library")"
  for before in "${!order}"; do
    [ "$before" = "$library" ] && break
    cat "$ZOA_DEPS_CACHE/$target/stamps/$before"
  done
}

zoa_deps_whole() {
  local prefix="$1" file; shift
  for file in "$@"; do [ -e "$prefix/$file" ] || return 1; done
}

# zoa_deps TARGET: builds what is missing or stale; sets ZOA_DEPS_PREFIX.
zoa_deps() {
  local target="$1" library source wanted build lock
  local prefix="$ZOA_DEPS_CACHE/$target" order="ZOA_DEPS_${target}[@]"
  mkdir -p "$prefix/stamps" "$ZOA_DEPS_CACHE/src"
  # One builder at a time per cache: the browser and Windows builds share it.
  exec {lock}>"$ZOA_DEPS_CACHE/.lock"
  flock "$lock"
  for library in "${!order}"; do
    source="$(zoa_deps_source "$library")"
    wanted="$(zoa_deps_stamp_text "$target" "$library" "$source")"
    # shellcheck disable=SC2046 # the file names hold no spaces
    if [ "$(cat "$prefix/stamps/$library" 2>/dev/null)" = "$wanted" ] &&
      zoa_deps_whole "$prefix" $(zoa_deps_files "$target" "$library"); then
      continue
    fi
    echo "Building $library for $target (${source##*/})"
    rm -f "$prefix/stamps/$library"
    build="$ZOA_DEPS_CACHE/build/$target/$library"
    rm -rf "$build"
    mkdir -p "$(dirname "$build")"
    cp -a "$source" "$build"
    # In the background so that set -e holds inside the recipe (it would not
    # in the condition of an if or ||).
    (cd "$build" && set -ex && "zoa_recipe_${target}_${library}") >"$build.log" 2>&1 &
    wait $! || {
      tail -n 40 "$build.log"
      echo "Building $library for $target failed; the whole log: $build.log" >&2
      return 1
    }
    # shellcheck disable=SC2046
    zoa_deps_whole "$prefix" $(zoa_deps_files "$target" "$library") || {
      echo "$library for $target did not install all of: $(zoa_deps_files "$target" "$library")" >&2
      return 1
    }
    rm -rf "$build" "$build.log"
    echo "$wanted" >"$prefix/stamps/$library"
  done
  flock -u "$lock"
  exec {lock}>&-
  export ZOA_DEPS_PREFIX="$prefix"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  [ $# -eq 1 ] || { echo "usage: $0 TARGET (one of: windows)" >&2; exit 2; }
  zoa_deps "$1"
  echo "$ZOA_DEPS_PREFIX"
fi
