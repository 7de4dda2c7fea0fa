#!/usr/bin/env bash
# Fails on any C++ file of ours that .clang-format would change, naming each.
# Checked as a test; `clang-format -i FILE` mends one.
set -u
root="${1:-.}"
cd "$root" || exit 2
mapfile -t files < <(find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | sort)
differ=()
for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (clang-format -i mends them):"
    printf '  %s\n' "${differ[@]}"
    exit 1
fi
echo "${#files[@]} files formatted"
