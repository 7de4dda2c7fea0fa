#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks that a desktop would
# find the game, its data, icon and menu entry, that the installed game finds
# its data when started from elsewhere, and that CPack makes a .deb of it.
#   check_install.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check_install: $*" >&2; exit 1; }

prefix="$scratch/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/zoa_noli share/applications/zoa_noli.desktop share/icons/hicolor/32x32/apps/zoa_noli.png \
         share/zoa_noli/data/nbm/SP.PAL share/zoa_noli/data/nbm/SPl.nbm share/zoa_noli/data/sound/4.WAV \
         share/zoa_noli/data/icon.bmp share/doc/zoa_noli/PORT.md; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ ! -e "$prefix/share/zoa_noli/data/.generated" ] || fail "the build's stamp file was installed"
grep -q '^Exec=zoa_noli$' "$prefix/share/applications/zoa_noli.desktop" || fail "desktop entry has no Exec"
grep -q '^Icon=zoa_noli$' "$prefix/share/applications/zoa_noli.desktop" || fail "desktop entry has no Icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/zoa_noli.desktop"
fi

# Started from another folder with a fresh home, the installed game finds its data.
export ASAN_OPTIONS=detect_leaks=0
home="$scratch/home"
mkdir -p "$home"
paths="$(cd / && HOME="$home" XDG_CONFIG_HOME= XDG_DATA_HOME= "$prefix/bin/zoa_noli" --paths)"
echo "$paths" | grep -qF "data:        $prefix/share/zoa_noli/data  (installed)" || fail "data not found: $paths"
echo "$paths" | grep -qF "settings:    $home/.config/zoa_noli/settings.ini" || fail "settings: $paths"
(cd / && HOME="$home" XDG_CONFIG_HOME= XDG_DATA_HOME= "$prefix/bin/zoa_noli" --headless --no-logo --frames 3 \
   --dump "$scratch/dump.json" 2>/dev/null) || fail "the installed game did not run"
grep -q '"frameCounter": 3' "$scratch/dump.json" || fail "the installed game ran no frames"

# The Debian package holds the same files under /usr.
(cd "$scratch" && cpack -G DEB -B "$scratch/package" --config "$build/CPackConfig.cmake" >/dev/null)
deb="$(ls "$scratch"/package/*.deb)"
[ -f "$deb" ] || fail "cpack made no .deb"
listing="$(dpkg-deb -c "$deb")"
for f in ./usr/bin/zoa_noli ./usr/share/applications/zoa_noli.desktop \
         ./usr/share/icons/hicolor/32x32/apps/zoa_noli.png ./usr/share/zoa_noli/data/nbm/SP.PAL; do
  echo "$listing" | grep -qF " $f" || fail "$f is not in the package"
done
[ "$(dpkg-deb -f "$deb" Package)" = "zoa-noli" ] || fail "the package has the wrong name"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "the package does not depend on SDL"
# The game loads FFmpeg only when it needs it, so nothing finds these by looking
# at what the program links: the package must name them itself.
depends="$(dpkg-deb -f "$deb" Depends)"
for p in libavformat libavcodec libavutil libswscale libswresample; do
  echo "$depends" | grep -qE "(^|, )$p[0-9]+" || fail "the package does not depend on $p: $depends"
done
echo "install and package checks passed: $(basename "$deb")"
