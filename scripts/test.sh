#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#
# The sanitizer smoke pass (fuzz/smoke.sh, a clang build of its own in
# build-fuzz/) runs only when what it covers changed since its last passing
# run, so always in a clean clone, as in CI. ZELVORA_FUZZ_SMOKE=1 runs it
# anyway, ZELVORA_FUZZ_SMOKE=0 skips it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build

# What the fuzz targets are built from and run over, and the compiler.
smoke_sources() {
  local dirs=() dir
  for dir in CMakeLists.txt app board core dialogs outside wordlist resources fuzz; do
    [[ -e $dir ]] && dirs+=("$dir")
  done
  { find "${dirs[@]}" -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum
    clang++ --version || true; } | sha256sum | cut -d' ' -f1
}
smoke_stamp=build-fuzz/smoke-passed
smoke=${ZELVORA_FUZZ_SMOKE:-changed}
sources=$(smoke_sources)
if [[ $smoke == 1 || ($smoke != 0 && $(cat "$smoke_stamp" 2>/dev/null) != "$sources") ]]; then
  # A short run of every fuzz target keeps them built and catches a crash
  # early; CTest's summary comes last.
  fuzz/smoke.sh
  echo "$sources" >"$smoke_stamp"
else
  echo "== Sanitizer smoke pass skipped: nothing it covers changed since it last passed" \
    "(ZELVORA_FUZZ_SMOKE=1 runs it)"
fi
cd build
ctest --output-on-failure -j "$(nproc)"
