#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks that a desktop would
# find the game, its data, icon and menu entry, that the manual page, the
# AppStream description and the desktop entry pass the distribution's own
# checks, that the installed game finds its data when started from elsewhere,
# and that CPack makes a .deb of it that lintian accepts (when installed).
#   check_install.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check_install: $*" >&2; exit 1; }

prefix="$scratch/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in games/zoa_noli share/applications/zoa_noli.desktop share/icons/hicolor/32x32/apps/zoa_noli.png \
         share/zoa_noli/data/nbm/SP.PAL share/zoa_noli/data/nbm/SPl.nbm share/zoa_noli/data/sound/4.WAV \
         share/zoa_noli/data/icon.bmp share/doc/zoa-noli/PORT.md share/doc/zoa-noli/copyright \
         share/doc/zoa-noli/changelog.gz share/man/man6/zoa_noli.6.gz \
         share/metainfo/org.zoa_noli.zoa_noli.metainfo.xml; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ ! -e "$prefix/share/zoa_noli/data/.generated" ] || fail "the build's stamp file was installed"
grep -q '^Exec=zoa_noli$' "$prefix/share/applications/zoa_noli.desktop" || fail "desktop entry has no Exec"
grep -q '^Icon=zoa_noli$' "$prefix/share/applications/zoa_noli.desktop" || fail "desktop entry has no Icon"
# tools/setup.sh installs these checkers.
desktop-file-validate "$prefix/share/applications/zoa_noli.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/org.zoa_noli.zoa_noli.metainfo.xml" >"$scratch/as.txt" ||
  fail "the AppStream description is not valid: $(cat "$scratch/as.txt")"
grep -q "<launchable type=\"desktop-id\">zoa_noli.desktop</launchable>" \
  "$prefix/share/metainfo/org.zoa_noli.zoa_noli.metainfo.xml" || fail "the AppStream description launches no desktop entry"
bash "$(dirname "${BASH_SOURCE[0]}")/check_manual.sh" "$prefix/share/man/man6/zoa_noli.6.gz" "$prefix/games/zoa_noli" >/dev/null

# Started from another folder with a fresh home, the installed game finds its data.
export ASAN_OPTIONS=detect_leaks=0
home="$scratch/home"
mkdir -p "$home"
paths="$(cd / && HOME="$home" XDG_CONFIG_HOME= XDG_DATA_HOME= "$prefix/games/zoa_noli" --paths)"
grep -qF "data:        $prefix/share/zoa_noli/data  (installed)" <<<"$paths" || fail "data not found: $paths"
grep -qF "settings:    $home/.config/zoa_noli/settings.ini" <<<"$paths" || fail "settings: $paths"
(cd / && HOME="$home" XDG_CONFIG_HOME= XDG_DATA_HOME= "$prefix/games/zoa_noli" --headless --no-logo --frames 3 \
   --dump "$scratch/dump.json" 2>/dev/null) || fail "the installed game did not run"
grep -q '"frameCounter": 3' "$scratch/dump.json" || fail "the installed game ran no frames"

# The Debian package holds the same files under /usr.
(cd "$scratch" && cpack -G DEB -B "$scratch/package" --config "$build/CPackConfig.cmake" >/dev/null)
deb="$(ls "$scratch"/package/*.deb)"
[ -f "$deb" ] || fail "cpack made no .deb"
listing="$(dpkg-deb -c "$deb")"
for f in ./usr/games/zoa_noli ./usr/share/applications/zoa_noli.desktop \
         ./usr/share/icons/hicolor/32x32/apps/zoa_noli.png ./usr/share/zoa_noli/data/nbm/SP.PAL \
         ./usr/share/man/man6/zoa_noli.6.gz ./usr/share/doc/zoa-noli/copyright ./usr/share/doc/zoa-noli/changelog.gz \
         ./usr/share/metainfo/org.zoa_noli.zoa_noli.metainfo.xml; do
  grep -qF " $f" <<<"$listing" || fail "$f is not in the package"
done
[ "$(dpkg-deb -f "$deb" Package)" = "zoa-noli" ] || fail "the package has the wrong name"
depends="$(dpkg-deb -f "$deb" Depends)"
grep -q libsdl2 <<<"$depends" || fail "the package does not depend on SDL: $depends"
# The game loads FFmpeg only when it needs it, so nothing finds these by looking
# at what the program links: the package must name them itself.
for p in libavformat libavcodec libavutil libswscale libswresample; do
  grep -qE "(^|, )$p[0-9]+" <<<"$depends" || fail "the package does not depend on $p: $depends"
done
maintainer="$(dpkg-deb -f "$deb" Maintainer)"
grep -qE '^[^<>]+ <[^@<> ]+@[^@<> ]+\.[a-z]+>$' <<<"$maintainer" || fail "the maintainer is no name and address: $maintainer"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 3 ] || fail "the package has no long description"
# Stripped: the program holds no debugging sections.
dpkg-deb -x "$deb" "$scratch/unpacked"
sections="$(readelf -S "$scratch/unpacked/usr/games/zoa_noli")"
! grep -q '\.debug_' <<<"$sections" || fail "the packaged program is not stripped"

# lintian: errors fail, warnings are shown. The package is made from this build,
# sanitizers included when it has them, which lintian does not mind.
if command -v lintian >/dev/null; then
  lintian --no-tag-display-limit "$deb" >"$scratch/lintian.txt" 2>&1 || true
  if grep -q '^E:' "$scratch/lintian.txt"; then
    cat "$scratch/lintian.txt" >&2
    fail "lintian reports errors"
  fi
  grep -E '^[WI]:' "$scratch/lintian.txt" || true
else
  echo "lintian is not installed: the package was not checked with it"
fi
echo "install and package checks passed: $(basename "$deb")"
