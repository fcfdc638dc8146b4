#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zelvora with the bundled puzzles.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/zelvora "$@"
