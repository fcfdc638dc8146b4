#!/usr/bin/env bash
# Zelvora for 64-bit Windows, from this Debian machine: installs what is
# missing, gets Qt for Windows, cross-builds the program, zelvora-maker and
# the tests, runs the tests under Wine, and makes the installer and a ZIP.
#
# Qt for Windows comes from, in this order: ZELVORA_WINDOWS_QT (a folder),
# the cache folder $XDG_CACHE_HOME/zelvora/qt6.4.2-mingw64, the shared copy
# ../shared/toolchains/qt6.4.2-mingw64.tar.xz beside this repository
# (unpacked into the cache), or else it is built once from Debian's source
# of qt6-base (about 35 minutes on 2 cores) into the cache.
#
# Options: --has-qt (exit 0 when Qt for Windows is at hand), --qt-only (get
# Qt and stop), --no-tests (neither the unit tests
# nor the installer's real-window test), --no-package.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

build=${ZELVORA_WINDOWS_BUILD:-$repo/build-win}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/zelvora
qt_version=6.4.2
qt=${ZELVORA_WINDOWS_QT:-$cache/qt$qt_version-mingw64}
# CI puts shared/ beside its clone; a worktree's clone is where its .git is.
shared_qt=""
for dir in "$repo/.." "$(git rev-parse --path-format=absolute --git-common-dir 2>/dev/null)/../.."; do
  [[ -f $dir/shared/toolchains/qt$qt_version-mingw64.tar.xz ]] || continue
  shared_qt=$(realpath "$dir/shared/toolchains/qt$qt_version-mingw64.tar.xz")
  break
done
toolchain=$repo/packaging/windows/mingw64-toolchain.cmake
mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

qt_only=0 tests=1 package=1
for arg in "$@"; do
  case $arg in
    # Whether Qt for Windows is at hand without building it: exits 0 or 1.
    --has-qt) [[ -x $qt/bin/qt-cmake || -n $shared_qt ]]; exit ;;
    --qt-only) qt_only=1 ;;
    --no-tests) tests=0 ;;
    --no-package) package=0 ;;
    *) echo "usage: $0 [--qt-only] [--no-tests] [--no-package]" >&2; exit 2 ;;
  esac
done

step() { echo "== $* ($(date +%T))"; }

step "Installing what is missing"
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 fonts-wine nsis python3-pefile \
  qt6-base-dev-tools qt6-translations-l10n

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)

# A deb-src entry for every deb entry of Debian's archive, so that
# `apt-get source` finds qt6-base.
add_deb_src() {
  local list=/etc/apt/sources.list.d/zelvora-deb-src.sources
  [[ -e $list ]] && return 0
  if grep -rqsE '^(Types:.*\bdeb-src\b|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  local entries=""
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -e $file ]] || continue
    entries+=$(awk 'BEGIN { RS = ""; ORS = "\n\n" }
      /Types:[^\n]*deb/ && /debian\.org/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file")
    entries+=$'\n\n'
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -e $file ]] || continue
    entries+=$(grep -E '^deb [^#]*debian\.org' "$file" | sed 's/^deb /deb-src /' | awk '{
      print "Types: deb-src\nURIs: " $2 "\nSuites: " $3 "\nComponents: " substr($0, index($0, $4)) "\n"}')
    entries+=$'\n'
  done
  echo "$entries" | "${sudo[@]}" tee "$list" >/dev/null
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
}

# Qt's own build of qtbase for Windows, with Debian's patches, installed
# into $qt; the folder is made movable as the shared copy is.
build_qt() {
  step "Building Qt $qt_version for Windows from Debian's source (about 35 minutes)"
  scripts/install-deps.sh dpkg-dev
  add_deb_src
  local work=$cache/qtbase-build
  rm -rf "$work"
  mkdir -p "$work"
  (cd "$work" && apt-get source qt6-base)
  local source
  source=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -1)
  cmake -G Ninja -S "$source" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DINPUT_opengl=no \
    -DFEATURE_dbus=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_sql=OFF \
    -DFEATURE_network=OFF -DFEATURE_printsupport=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF
  [[ ${ZELVORA_QT_CONFIGURE_ONLY:-0} == 1 ]] && { echo "configured in $work/build"; exit 0; }
  ninja -C "$work/build"
  ninja -C "$work/build" install
  cp "$toolchain" "$qt/lib/cmake/Qt6/"
  sed -i 's|^set(__qt_initially_configured_toolchain_file .*|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/mingw64-toolchain.cmake")|' \
    "$qt/lib/cmake/Qt6/qt.toolchain.cmake"
  rm -rf "$work"
}

if [[ ! -x $qt/bin/qt-cmake ]]; then
  if [[ -n ${ZELVORA_WINDOWS_QT:-} ]]; then
    echo "ZELVORA_WINDOWS_QT=$ZELVORA_WINDOWS_QT holds no Qt for Windows (no bin/qt-cmake)" >&2
    exit 1
  elif [[ -n $shared_qt ]]; then
    step "Unpacking $shared_qt into $qt"
    mkdir -p "$cache"
    rm -rf "$cache/unpack"
    mkdir "$cache/unpack"
    tar -xJf "$shared_qt" -C "$cache/unpack"
    mv "$cache/unpack/qt6-mingw64" "$qt"
    rmdir "$cache/unpack"
  else
    build_qt
  fi
fi
# Qt's own translations are the same files on every platform; the program
# looks for them in Qt's translations folder.
if [[ ! -e $qt/translations/qtbase_es.qm && -w $qt ]]; then
  mkdir -p "$qt/translations"
  cp /usr/share/qt6/translations/qtbase_{es,en}.qm "$qt/translations/"
fi
echo "Qt for Windows: $qt"
((qt_only)) && exit 0

step "Building for Windows in $build"
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
"$qt/bin/qt-cmake" --no-warn-unused-cli -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$repo/packaging/windows/wine-run.sh" \
  -DZELVORA_WINDOWS_RUNTIME="$(IFS=';'; echo "${mingw_runtime[*]}")" >/dev/null
cmake --build "$build" -j "$(nproc)"

# Wine in a prefix of its own, kept with the build.
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPATH="$(windows_path "$qt/bin")"
for dir in "${mingw_runtime[@]}"; do WINEPATH+=";$(windows_path "$dir")"; done
export WINEPATH
export QT_QPA_FONTDIR=$(windows_path /usr/share/fonts/truetype/dejavu)
if [[ ! -e $WINEPREFIX/system.reg ]]; then
  step "Preparing a Wine prefix"
  xvfb-run -a sh -c 'wine wineboot -i && wineserver -w'
fi

failed=0
if ((tests)); then
  step "Running the tests under Wine"
  set +e
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600 |
    tee "$build/windows-tests.log"
  failed=${PIPESTATUS[0]}
  set -e
  wineserver -k 2>/dev/null || true
fi

step "What Windows reads from zelvora.exe"
/usr/bin/python3 packaging/windows/check_exe.py "$build/zelvora.exe" || failed=1

made=()
if ((package)); then
  step "Making the installer and the ZIP"
  rm -f "$build"/Zelvora-*-win64.{exe,zip}
  (cd "$build" && cpack -G NSIS && cpack -G ZIP) >"$build/cpack.log" ||
    { cat "$build/cpack.log"; exit 1; }
  mapfile -t made < <(find "$build" -maxdepth 1 -name 'Zelvora-*-win64.*')
  if ((tests)); then
    step "The installer played for real under Wine (screenshots in $build/real-window)"
    xvfb-run -a -s "-screen 0 1280x800x24" packaging/windows/real_window.sh \
      "$build"/Zelvora-*-win64.exe "$repo" "$build/real-window" || failed=1
  fi
fi

step "Made"
for file in "$build/zelvora.exe" "$build/tools/zelvora-maker.exe" "${made[@]}"; do
  [[ -e $file ]] && printf '%8s  %s\n' "$(du -h "$file" | cut -f1)" "$file"
done
if ((tests)); then
  ((failed == 0)) && echo "Tests under Wine: all passed" ||
    echo "Tests under Wine: FAILED (see above and $build/windows-tests.log)"
fi
exit "$failed"
