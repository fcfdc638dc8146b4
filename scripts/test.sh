#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
# A short run of every fuzz target keeps them built and catches a crash
# early; CTest's summary comes last.
fuzz/smoke.sh
cd build
ctest --output-on-failure -j "$(nproc)"
