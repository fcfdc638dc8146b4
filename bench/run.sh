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
