#!/usr/bin/env bash
# The files of the source, one per NUL, sorted, relative to the tree's root:
# in a git checkout the files git tracks, as they are now; in a tree without
# git (an unpacked release) every file and link but the build folders'.
# Untracked files never count.
#   scripts/arquivos.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# A release unpacked inside another checkout (make distcheck's) is not that
# checkout's.
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
    git ls-files -z | while IFS= read -r -d '' f; do
        if [ -f "$f" ]; then printf '%s\0' "$f"; fi
    done
else
    find . \( -path './build*' -o -path ./.git \) -prune -o \( -type f -o -type l \) -printf '%P\0'
fi | LC_ALL=C sort -z
