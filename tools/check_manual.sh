#!/usr/bin/env bash
# The manual page renders without a warning and names every option that the
# game's --help prints, so the two cannot drift apart.
#   check_manual.sh MANUAL_PAGE GAME_BINARY
set -euo pipefail
page="$1"
game="$2"
fail() { echo "check_manual: $*" >&2; exit 1; }

# Wide lines, so that no option is broken by hyphenation.
warnings="$(mktemp)"
trap 'rm -f "$warnings"' EXIT
text="$(LC_ALL=C.UTF-8 MANWIDTH=250 man --warnings -l "$page" 2>"$warnings")" || fail "man cannot render $page"
[ ! -s "$warnings" ] || fail "$page renders with warnings: $(cat "$warnings")"
grep -q "^SYNOPSIS" <<<"$text" || fail "$page has no SYNOPSIS"

options="$(ASAN_OPTIONS=detect_leaks=0 "$game" --help | grep -oE '^ +--[a-z-]+' | tr -d ' ')"
[ "$(echo "$options" | wc -l)" -ge 10 ] || fail "--help lists too few options: $options"
missing=""
for option in $options; do
  grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$text" || missing="$missing $option"
done
[ -z "$missing" ] || fail "$page does not name:$missing"
echo "the manual page renders and names all $(echo "$options" | wc -l) options of --help"
