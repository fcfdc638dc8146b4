#!/usr/bin/env bash
# Builds the libFuzzer targets in a clang build of their own, beside the
# normal build: fuzz/build.sh [build-dir] (default build-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build-fuzz}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DZELVORA_FUZZ=ON -DBUILD_TESTING=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" --target fuzz_all -j "${ZELVORA_FUZZ_JOBS:-2}"
