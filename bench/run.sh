#!/usr/bin/env bash
# Builds the benchmarks and prints Zelvora's speed and memory figures, each
# against a reference measured in the same run. By hand only:
#   bench/run.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target zelvora bench_startup bench_board bench_grid bench_inifile >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
runs=21

# One launch: prints "milliseconds peak_kb" of a process that ends at its
# first paint.
launch() {
  local start end peak
  start=$(date +%s%N)
  peak=$("$build/bench/bench_startup" "$1" 2>/dev/null | awk '/peak_kb/ {print $2}')
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 )) $peak"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Median launch time and peak memory of one kind of window: "ms kb".
measure() {
  local ms=() kb=()
  for ((i = 0; i < runs; i++)); do
    read -r t m < <(launch "$1"); ms+=("$t"); kb+=("$m")
  done
  echo "$(printf '%s\n' "${ms[@]}" | median) $(printf '%s\n' "${kb[@]}" | median)"
}

startup() {
  local platform=$1 zt zm et em mt mm
  read -r zt zm < <(measure zelvora)
  read -r et em < <(measure empty)
  read -r mt mm < <(measure menu)
  awk -v p="$platform" -v zt="$zt" -v et="$et" -v mt="$mt" -v zm="$zm" -v em="$em" -v mm="$mm" 'BEGIN {
    printf "| start-up to first paint (%s) | %.1f ms | empty QMainWindow %.1f ms | %.2fx | within 1.2x: %s |\n",
      p, zt / 1000, et / 1000, zt / et, (zt / et <= 1.2 ? "met" : "not met");
    printf "| start-up to first paint (%s) | %.1f ms | QMainWindow with a menu %.1f ms | %.2fx | within 1.2x: %s |\n",
      p, zt / 1000, mt / 1000, zt / mt, (zt / mt <= 1.2 ? "met" : "not met");
    printf "| peak memory at first paint (%s) | %.1f MB | empty QMainWindow %.1f MB | %.2fx | within 1.2x: %s |\n",
      p, zm / 1024, em / 1024, zm / em, (zm / em <= 1.2 ? "met" : "not met");
    printf "| peak memory at first paint (%s) | %.1f MB | QMainWindow with a menu %.1f MB | %.2fx | within 1.2x: %s |\n",
      p, zm / 1024, mm / 1024, zm / mm, (zm / mm <= 1.2 ? "met" : "not met") }'
}

echo "| figure | Zelvora | reference | ratio | goal |"
echo "|---|---|---|---|---|"
QT_QPA_PLATFORM=offscreen startup offscreen
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s '-screen 0 1280x800x24' bash -c "$(declare -f launch median measure startup); build=$build runs=$runs startup xvfb" ||
    echo "| start-up under Xvfb | not measured: Xvfb did not start | | | |"
fi
echo
QT_QPA_PLATFORM=offscreen "$build/bench/bench_board" 2>/dev/null
echo
cmake --build "$build" --target bench_store >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/bench_store" 2>/dev/null

# What a screen reader's user feels, with the accessibility bridge off and
# on in one session: a virtual display, a private D-Bus session with the
# AT-SPI bus, and a listener standing in for the reader (without one the
# bridge sends nothing). The bridge works through the X11 platform only.
bridge_figures() {
  local launcher listener figures='one mark toggled|choosing the largest'
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  launcher=$!
  for ((i = 0; i < 100; i++)); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && break
    sleep 0.05
  done
  /usr/bin/python3 bench/screen_reader_listener.py >"$work/listener.out" 2>/dev/null &
  listener=$!
  for ((i = 0; i < 100; i++)); do
    grep -q listening "$work/listener.out" 2>/dev/null && break
    sleep 0.05
  done
  QT_QPA_PLATFORM=xcb "$build/bench/bench_board" "$figures" >"$work/off.txt" 2>/dev/null
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$build/bench/bench_board" "$figures" >"$work/on.txt" 2>/dev/null
  kill "$listener" 2>/dev/null || true
  wait "$listener" 2>/dev/null || true
  kill "$launcher" 2>/dev/null || true
  echo "| figure (Xvfb, AT-SPI bus with a listening reader) | bridge $(awk -F': ' '/^accessibility bridge/ {print $2}' "$work/off.txt") | bridge $(awk -F': ' '/^accessibility bridge/ {print $2}' "$work/on.txt") | goal |"
  echo "|---|---|---|---|"
  local what goal off on
  for what in "one mark toggled and repainted:1" "choosing the largest bundled puzzle:16"; do
    goal=${what##*:} what=${what%:*}
    off=$(awk -v w="$what" 'index($0, w) == 1 { for (i = 1; i < NF; i++) if ($(i + 1) == "ms") { print $i; exit } }' "$work/off.txt")
    on=$(awk -v w="$what" 'index($0, w) == 1 { for (i = 1; i < NF; i++) if ($(i + 1) == "ms") { print $i; exit } }' "$work/on.txt")
    awk -v w="$what" -v off="$off" -v on="$on" -v goal="$goal" 'BEGIN {
      printf "| %s | %.3f ms | %.3f ms | < %s ms: %s |\n", w, off, on, goal,
        (off != "" && on != "" && off < goal && on < goal ? "met" : "not met") }'
  done
  echo "(the listening reader $(grep -o 'heard [0-9]* events' "$work/listener.out" || echo 'reported nothing'))"
}

echo
if command -v xvfb-run >/dev/null && command -v dbus-run-session >/dev/null &&
  [[ -x /usr/libexec/at-spi-bus-launcher ]] && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  cmake --build "$build" --target bench_board >/dev/null
  xvfb-run -a -s '-screen 0 1280x800x24' dbus-run-session -- \
    bash -c "$(declare -f bridge_figures); build=$build work=$work bridge_figures" 2>/dev/null ||
    echo "| accessibility bridge figures | not measured: the display or the bus did not start | | |"
else
  echo "| accessibility bridge figures | not measured: xvfb, dbus or at-spi2-core/python3-pyatspi missing | | |"
fi

# What a stored value or a data file at the edge of the limits costs, one
# process per figure so that each peak is its own.
echo
cmake --build "$build" --target bench_limits >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/bench_limits" font 2>/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/bench_limits" million 2>/dev/null | tail -n +3
