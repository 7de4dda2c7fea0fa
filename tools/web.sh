#!/usr/bin/env bash
# The game as a static web page: installs what is missing (emscripten,
# chromium, node and the browser tests' node packages), builds the libraries
# from Debian's sources once (tools/deps_web.sh, cached), the data set natively
# and the game with emscripten, and writes the site into build-web/site/.
#   bash tools/web.sh            build the site
#   bash tools/web.sh --serve    build it, then serve it on 127.0.0.1 (ZOA_WEB_PORT, 8026)
# ZOA_WEB_NATIVE names the native build folder whose data the page carries
# (default build/, as tools/play.sh builds it).
set -euo pipefail
ZOA_EXTRA_PACKAGES=(emscripten chromium dpkg-dev python3)
command -v npm >/dev/null || ZOA_EXTRA_PACKAGES+=(nodejs npm)
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
source "$ZOA_ROOT/tools/deps_web.sh"

native="${ZOA_WEB_NATIVE:-$ZOA_ROOT/build}"
web="$ZOA_ROOT/build-web"
site="$web/site"

# The browser tests drive chromium with the node packages pinned in tools/web.
(cd "$ZOA_ROOT/tools/web" && { [ -d node_modules ] || npm ci --silent --no-audit --no-fund; })

# The page carries the data set the native build generates, the same bytes.
if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S "$ZOA_ROOT" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOA_TESTS=OFF -DZOA_BENCH=OFF
fi
cmake --build "$native" -j2 --target zoa_data zoa_stages

zoa_deps web
emcmake cmake -S "$ZOA_ROOT" -B "$web" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZOA_WEB_PREFIX="$ZOA_DEPS_PREFIX" -DZOA_WEB_DATA="$native" >/dev/null
cmake --build "$web" -j2
echo "The site: $site"

if [ "${1:-}" = "--serve" ]; then
  port="${ZOA_WEB_PORT:-8026}"
  echo "Serving at http://127.0.0.1:$port/ (add ?args=... for a command line; Ctrl+C ends)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
fi
