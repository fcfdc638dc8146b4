#!/usr/bin/env bash
# Builds the Debian package zelvora_<version>_<arch>.deb from a Release build
# in build-release/ (or the folder given as $1), with Debian's hardening
# flags, and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
scripts/install-deps.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
# The package needs only the program: CPack must not build every test first.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$build" --target zelvora zelvora_docs
(cd "$build" && cpack -G DEB >/dev/null 2>&1) || { echo "cpack failed" >&2; exit 1; }
ls "$PWD/$build"/zelvora_*.deb
