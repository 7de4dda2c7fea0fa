#!/usr/bin/env bash
# Installs what building ZOA_NOLI needs on Debian 12 (only what is missing).
# Sourced by play.sh and test.sh.
set -euo pipefail

# clang and its runtime libraries (libFuzzer, the sanitizers; only recommended by
# clang, so named here) build the fuzz programs; clang-format and clang-tidy
# check the code's layout and its common faults. The install test checks the
# manual page, the AppStream file, the desktop entry and the .deb with the
# distribution's own tools (man, desktop-file-validate, appstreamcli, lintian);
# CPack computes the package's dependencies with dpkg-dev and file.
ZOA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libsdl2-mixer-dev zlib1g-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth time
  clang libclang-rt-14-dev clang-format clang-tidy
  man-db groff-base desktop-file-utils appstream lintian dpkg-dev file
)
# A script that needs more (tools/make_stills.sh: ffmpeg) names it here.
ZOA_PACKAGES+=(${ZOA_EXTRA_PACKAGES[@]+"${ZOA_EXTRA_PACKAGES[@]}"})

zoa_install_packages() {
  local missing=()
  for p in "${ZOA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# zoa_build DIR [cmake options...]: configures and builds into DIR.
zoa_build() {
  local dir="$1"; shift
  cmake -S "$ZOA_ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$(nproc)"
}

ZOA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
zoa_install_packages
