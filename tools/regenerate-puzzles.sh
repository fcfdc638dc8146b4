#!/bin/sh
# Rebuilds data/zelvora.ini from the word lists in data/puzzles, each with
# the seed written in it, so the same lists always give the same file.
# Usage: tools/regenerate-puzzles.sh [path/to/zelvora-maker]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
maker=${1:-$root/build/tools/zelvora-maker}
if [ ! -x "$maker" ]; then
    echo "No zelvora-maker at $maker; build it first:" >&2
    echo "  cmake -S . -B build -G Ninja && cmake --build build --target zelvora-maker" >&2
    exit 2
fi
cd "$root"
exec "$maker" --output data/zelvora.ini data/puzzles/*.txt
