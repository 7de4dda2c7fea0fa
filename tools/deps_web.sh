#!/usr/bin/env bash
# The browser target's libraries, built with emscripten from Debian's own
# source packages: nothing is downloaded from anywhere else (emscripten's
# "ports" would fetch from the internet). The recipes follow tools/deps.sh's
# contract: zoa_recipe_web_<library> builds the unpacked source in the current
# folder into $prefix, zoa_files_web_<library> lists what it must leave there,
# ZOA_DEPS_web gives the order. Where tools/deps.sh is not there, the few
# helpers below fetch, build and stamp the same way, into the same cache.
#
#   bash tools/deps_web.sh                  builds what is missing, prints the prefix
#   source tools/deps_web.sh; zoa_deps web  the same, and sets ZOA_DEPS_PREFIX
set -euo pipefail
# A failed step inside $(...) stops the script as it would outside.
shopt -s inherit_errexit

ZOA_ROOT="${ZOA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
ZOA_DEPS_CACHE="${ZOA_DEPS_CACHE:-$HOME/.cache/zoa_noli/deps}"
# emcc needs Debian's own JavaScript modules (acorn) even when another node is first on PATH.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"

# -------------------------------------------------------------------- web ----
ZOA_DEPS_web=(zlib sdl2 sdl2_mixer ffmpeg)

zoa_recipe_web_zlib() {
  local f
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
    inftrees trees uncompr zutil; do
    emcc -O2 -DHAVE_UNISTD_H -c "$f.c" -o "$f.o"
  done
  mkdir -p "$prefix/lib" "$prefix/include"
  rm -f "$prefix/lib/libz.a"
  emar rcs "$prefix/lib/libz.a" ./*.o
  cp zlib.h zconf.h "$prefix/include/"
}
zoa_files_web_zlib=(lib/libz.a include/zlib.h include/zconf.h)

zoa_web_cmake() {
  emcmake cmake -S . -B _build -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" "$@"
  cmake --build _build -j2
  cmake --install _build
}

zoa_recipe_web_sdl2() {
  zoa_web_cmake -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
}
zoa_files_web_sdl2=(lib/libSDL2.a lib/cmake/SDL2/SDL2Config.cmake include/SDL2/SDL.h)

# WAV only: the game's sounds and music are wave files.
zoa_recipe_web_sdl2_mixer() {
  local codec off=()
  for codec in CMD FLAC MOD MP3 MIDI OPUS VORBIS SAMPLES; do off+=("-DSDL2MIXER_$codec=OFF"); done
  zoa_web_cmake -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_WAVE=ON \
    -DSDL2_DIR="$prefix/lib/cmake/SDL2" "${off[@]}"
}
zoa_files_web_sdl2_mixer=(lib/libSDL2_mixer.a include/SDL2/SDL_mixer.h)

# What the logo needs and nothing more: the AVI demuxer, the MPEG-4 video and
# PCM audio decoders, the scaler and the resampler, linked into the page.
zoa_recipe_web_ffmpeg() {
  emconfigure ./configure --cc=emcc --cxx=em++ --ar=emar --ranlib=emranlib --nm=llvm-nm-14 \
    --prefix="$prefix" --target-os=none --arch=x86_32 --enable-cross-compile --disable-asm \
    --disable-inline-asm --disable-x86asm --disable-pthreads --disable-w32threads \
    --disable-os2threads --disable-programs --disable-doc --disable-network --disable-autodetect \
    --disable-iconv --disable-everything --disable-avdevice --disable-avfilter --disable-postproc \
    --enable-small --enable-protocol=file --enable-demuxer=avi --enable-decoder=mpeg4,pcm_s16le \
    --enable-swscale --enable-swresample --disable-debug
  emmake make -j2 install
}
zoa_files_web_ffmpeg=(lib/libavformat.a lib/libavcodec.a lib/libswscale.a lib/libswresample.a
  lib/libavutil.a include/libavformat/avformat.h)

# ------------------------------------------------------------- the cache ----
if [ -f "$ZOA_ROOT/tools/deps.sh" ]; then
  source "$ZOA_ROOT/tools/deps.sh"
  ZOA_DEPS_SOURCE[zlib]=zlib
else
  declare -gA ZOA_DEPS_SOURCE=([zlib]=zlib [sdl2]=libsdl2 [sdl2_mixer]=libsdl2-mixer [ffmpeg]=ffmpeg)

  zoa_deps_sudo() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

  zoa_deps_version() {
    apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n 1
  }

  # apt-get source needs the archive's source index: one deb-src entry for bookworm.
  zoa_deps_enable_sources() {
    echo "Adding Debian's source packages to apt's sources"
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
      "Suites: bookworm bookworm-updates" "Components: main" \
      "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
      zoa_deps_sudo tee /etc/apt/sources.list.d/zoa-noli-deb-src.sources >/dev/null
    zoa_deps_sudo apt-get update -qq
  }

  # zoa_deps_source LIBRARY: the unpacked source folder of LIBRARY, fetched
  # first when it is not there whole (.version is written once it is unpacked).
  zoa_deps_source() {
    local package="${ZOA_DEPS_SOURCE[$1]}" version
    local folder="$ZOA_DEPS_CACHE/src/$package"
    version="$(zoa_deps_version "$package")"
    if [ -z "$version" ]; then
      zoa_deps_enable_sources >&2
      version="$(zoa_deps_version "$package")"
    fi
    if [ "$(cat "$folder/.version" 2>/dev/null)" != "$version" ]; then
      echo "Fetching Debian's source of $package $version" >&2
      rm -rf "$folder"
      mkdir -p "$folder"
      (cd "$folder" && apt-get source -qq "$package=$version" >&2 && rm -f ./*.dsc ./*.tar.*)
      echo "$version" >"$folder/.version"
    fi
    find "$folder" -mindepth 1 -maxdepth 1 -type d | head -n 1
  }

  # A stamp names what was built: the source's version, the recipes (so the
  # build options) and the stamps of what the library was built against, as
  # one checksum; then the checksum of every file the library must leave, so a
  # damaged file is built again, never trusted.
  zoa_deps_stamp_text() {
    local target="$1" library="$2" source="$3" before order="ZOA_DEPS_$1[@]"
    echo "source $(basename "$source") $(cat "$(dirname "$source")/.version")"
    declare -f "zoa_recipe_${target}_${library}" "zoa_${target}_cmake"
    for before in "${!order}"; do
      [ "$before" = "$library" ] && break
      cat "$ZOA_DEPS_CACHE/$target/stamps/$before"
    done
  }

  # zoa_deps TARGET: builds what is missing or stale; sets ZOA_DEPS_PREFIX.
  zoa_deps() {
    local target="$1" library source wanted build lock files
    local prefix="$ZOA_DEPS_CACHE/$target" order="ZOA_DEPS_$1[@]"
    mkdir -p "$prefix/stamps" "$ZOA_DEPS_CACHE/src"
    # One builder at a time per cache: the targets share it.
    exec {lock}>"$ZOA_DEPS_CACHE/.lock"
    flock "$lock"
    for library in "${!order}"; do
      source="$(zoa_deps_source "$library")"
      wanted="$(zoa_deps_stamp_text "$target" "$library" "$source")"
      files="zoa_files_${target}_${library}[@]"
      wanted="recipe $(sha256sum <<<"$wanted" | cut -d' ' -f1)"
      if [ "$(head -n 1 "$prefix/stamps/$library" 2>/dev/null)" = "$wanted" ] &&
        (cd "$prefix" && tail -n +2 "stamps/$library" | sha256sum --quiet -c - >/dev/null 2>&1); then
        continue
      fi
      echo "Building $library for $target (${source##*/}, once: cached in $prefix)"
      rm -f "$prefix/stamps/$library"
      build="$ZOA_DEPS_CACHE/build/$target/$library"
      rm -rf "$build"
      mkdir -p "$(dirname "$build")"
      cp -a "$source" "$build"
      # In the background so that set -e holds inside the recipe.
      (cd "$build" && set -ex && "zoa_recipe_${target}_${library}") >"$build.log" 2>&1 &
      wait $! || {
        tail -n 40 "$build.log"
        echo "Building $library for $target failed; the whole log: $build.log" >&2
        return 1
      }
      { echo "$wanted"; (cd "$prefix" && sha256sum "${!files}"); } >"$prefix/stamps/$library.part"
      mv "$prefix/stamps/$library.part" "$prefix/stamps/$library"
      rm -rf "$build" "$build.log"
    done
    flock -u "$lock"
    exec {lock}>&-
    export ZOA_DEPS_PREFIX="$prefix"
  }
fi

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  zoa_deps web
  echo "$ZOA_DEPS_PREFIX"
fi
