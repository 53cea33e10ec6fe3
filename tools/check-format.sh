#!/usr/bin/env bash
# Fails when a C++ source of the tree is not as .clang-format lays it out; names the files.
# `tools/check-format.sh --fix` lays them out instead.
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
if ! command -v "$format" >/dev/null; then
    echo "$format is not installed (apt-get install clang-format)" >&2
    exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests tools bench -name '*.cpp' -o -name '*.h' -o -name)
fi
if [ "${1:-}" = --fix ]; then
    "$format" -i "${files[@]}"
    exit 0
fi
"$format" --dry-run -Werror "${files[@]}"
