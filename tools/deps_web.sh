#!/usr/bin/env bash
# The browser target's libraries, built with emscripten from Debian's own
# source packages: nothing is downloaded from anywhere else (emscripten's
# "ports" would fetch from the internet). The recipes follow tools/deps.sh's
# contract: zoa_recipe_web_<library> builds the unpacked source in the current
# folder into $prefix, zoa_files_web_<library> lists what it must leave there,
# ZOA_DEPS_web gives the order; tools/deps.sh fetches, builds and stamps them.
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
# Fetching, stamping and the cache are tools/deps.sh's, shared with Windows.
source "$ZOA_ROOT/tools/deps.sh"
ZOA_DEPS_SOURCE[zlib]=zlib

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  zoa_deps web
  echo "$ZOA_DEPS_PREFIX"
fi
