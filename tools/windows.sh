#!/usr/bin/env bash
# The Windows build: cross-built here with MinGW-w64 and packed as a zip a
# player unpacks and plays.
#
#   bash tools/windows.sh          build-windows/zoa_noli-<version>-windows-x64.zip
#   bash tools/windows.sh --test   the same, then the Windows checks under Wine
#
# SDL2, SDL2_mixer, FFmpeg and GoogleTest come from Debian's source packages,
# built once into a cache (tools/deps.sh). The data set is the one the native
# build generates (the data builder writes the same bytes everywhere), so the
# native game and stage compiler are built first, in build-windows/native.
set -euo pipefail

ZOA_EXTRA_PACKAGES=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 libz-mingw-w64-dev zip unzip)
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
source "$ZOA_ROOT/tools/deps.sh"

OUT="$ZOA_ROOT/build-windows"
NATIVE="$OUT/native"
VERSION="$(sed -n 's/^project(zoa_noli VERSION \([0-9.]*\).*/\1/p' "$ZOA_ROOT/CMakeLists.txt")"
PACKAGE="zoa_noli-$VERSION-windows-x64"

# An .ico holding the data set's 32 x 32 PNG icon as its one picture (Windows
# reads PNG pictures in icons): the 6-byte header, one 16-byte entry, the PNG.
make_icon() {
  local png="$1" ico="$2" size
  size=$(stat -c %s "$png")
  {
    printf '\x00\x00\x01\x00\x01\x00'
    printf '\x20\x20\x00\x00\x01\x00\x20\x00'
    printf "\\x$(printf %02x $((size & 255)))\\x$(printf %02x $((size >> 8 & 255)))"
    printf "\\x$(printf %02x $((size >> 16 & 255)))\\x$(printf %02x $((size >> 24)))"
    printf '\x16\x00\x00\x00'
    cat "$png"
  } >"$ico"
}

# The DLLs the programs load: SDL's, FFmpeg's, and the compiler's thread
# library, which FFmpeg's DLLs were linked against.
runtime_dlls() {
  RUNTIME_DLLS=("$ZOA_DEPS_PREFIX"/bin/{SDL2,SDL2_mixer}.dll
    "$ZOA_DEPS_PREFIX"/bin/{avutil,swresample,swscale,avcodec,avformat}-*.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
}

build() {
  zoa_deps windows
  runtime_dlls
  cmake -S "$ZOA_ROOT" -B "$NATIVE" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOA_TESTS=OFF \
    -DZOA_BENCH=OFF -DZOA_WERROR=ON
  cmake --build "$NATIVE" -j "$(nproc)" --target zoa_noli zoa_stagec zoa_data zoa_stages
  mkdir -p "$OUT"
  make_icon "$NATIVE/data/icon.png" "$OUT/zoa_noli.ico"
  cmake -S "$ZOA_ROOT" -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ZOA_ROOT/cmake/mingw-w64-x86_64.cmake" -DZOA_DEPS_PREFIX="$ZOA_DEPS_PREFIX" \
    -DZOA_DATA=OFF -DZOA_BENCH=OFF -DZOA_WERROR=ON -DZOA_WINDOWS_DATA_DIR="$NATIVE"
  cmake --build "$OUT" -j "$(nproc)" --target zoa_noli zoa_stagec zoa_tests
  cp "${RUNTIME_DLLS[@]}" "$OUT/"
}

# The zip: the two programs, the DLLs they load, the data, the stage sources
# and a README.txt with the licence.
pack() {
  local stage="$OUT/zip/$PACKAGE"
  rm -rf "$OUT/zip" "$OUT/$PACKAGE.zip"
  mkdir -p "$stage"
  x86_64-w64-mingw32-strip -o "$stage/zoa_noli.exe" "$OUT/zoa_noli.exe"
  x86_64-w64-mingw32-strip -o "$stage/zoa_stagec.exe" "$OUT/zoa_stagec.exe"
  cp "${RUNTIME_DLLS[@]}" "$stage/"
  cp -r "$NATIVE/data" "$stage/data"
  rm -f "$stage/data/.generated"
  mkdir -p "$stage/stages"
  cp "$ZOA_ROOT"/stages/*.stage "$stage/stages/"
  # Notepad of old wants CR LF line ends.
  sed -e "s/@VERSION@/$VERSION/" -e "/@LICENSE@/{r $ZOA_ROOT/LICENSE" -e "d}" \
    "$ZOA_ROOT/packaging/windows/README.txt.in" | sed 's/$/\r/' >"$stage/README.txt"
  (cd "$OUT/zip" && zip -qrX9 "$OUT/$PACKAGE.zip" "$PACKAGE")
  echo "$OUT/$PACKAGE.zip: $(($(stat -c %s "$OUT/$PACKAGE.zip") / 1024)) KiB"
}

build
pack
if [ "${1:-}" = "--test" ]; then
  bash "$ZOA_ROOT/tools/windows_test.sh" "$OUT" "$NATIVE" "$OUT/$PACKAGE.zip"
fi
