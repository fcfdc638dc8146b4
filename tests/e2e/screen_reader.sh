#!/usr/bin/env bash
# The game played by keyboard through a real accessibility bus, as a blind
# player with a screen reader plays it: a private D-Bus session, the AT-SPI
# bus, a window manager on a virtual display, the real program with its
# accessibility bridge on, and screen_reader.py reading the bus. Once in
# Spanish and once in English; the marks made by keyboard must also reach
# the settings store.
#
#   screen_reader.sh PROGRAM SOURCE_DIR
#
# Exits 77 (skipped) where the display or the bus cannot be had.
set -euo pipefail
[[ -n ${ZELVORA_E2E_TRACE:-} ]] && set -x

program=${1:?program}
source_dir=${2:?source folder}
here=$(cd "$(dirname "$0")" && pwd)
skip=77
launcher=/usr/libexec/at-spi-bus-launcher

if [[ ${ZELVORA_E2E_INSIDE:-} != 1 ]]; then
  for tool in xvfb-run dbus-run-session openbox xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh brings it)"
      exit $skip
    fi
  done
  if [[ ! -x $launcher ]] || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: at-spi2-core or python3-pyatspi is missing (scripts/install-deps.sh brings them)"
    exit $skip
  fi
  work=$(mktemp -d)
  [[ -n ${ZELVORA_E2E_KEEP:-} ]] || trap 'rm -rf "$work"' EXIT
  status=0
  ZELVORA_E2E_INSIDE=1 ZELVORA_E2E_WORK=$work \
    timeout 150 xvfb-run -a -s '-screen 0 1280x800x24' \
    dbus-run-session -- bash "$0" "$program" "$source_dir" || status=$?
  if [[ ! -e $work/bus-up ]]; then
    echo "SKIP: the virtual display or the session bus could not be started (exit $status)"
    exit $skip
  fi
  exit $status
fi

# ---- inside the virtual display and the session bus ----
work=$ZELVORA_E2E_WORK
touch "$work/bus-up"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY
store=$XDG_CONFIG_HOME/Pinarejo/Zelvora.conf
data=$(dirname "$program")/zelvora.ini
puzzle=2
pid=
helpers=()

finish() {
  [[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null
  for helper in "${helpers[@]}"; do kill "$helper" 2>/dev/null || true; done
}
trap finish EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

source "$here/desktop.sh"
start_desktop "$work"

columns=$(awk -F= -v s="[$puzzle]" '$0 == s { in_s = 1; next } /^\[/ { in_s = 0 } in_s && $1 == "CantAncho" { print $2 }' "$data")

for language in es en; do
  rm -f "$store"
  locale=es_ES.UTF-8
  [[ $language == en ]] && locale=en_US.UTF-8
  LANG=$locale "$program" >"$work/program-$language.log" 2>&1 &
  pid=$!
  for ((i = 0; i < 600; i++)); do
    [[ -n $(xdotool search --onlyvisible --name 'Zelvora' 2>/dev/null) ]] && break
    sleep 0.05
  done
  wid=$(xdotool search --onlyvisible --name 'Zelvora' 2>/dev/null | head -1 || true)
  [[ -n $wid ]] || fail "the main window did not appear ($language)"
  # The window manager may not have taken the new window yet.
  for ((i = 0; i < 20; i++)); do
    timeout 10 xdotool windowactivate --sync "$wid" 2>/dev/null && break
    sleep 0.1
  done
  LANG=$locale /usr/bin/python3 "$here/screen_reader.py" "$source_dir" "$data" "$language" "$puzzle" ||
    fail "the screen reader's game failed ($language); program log: $(tail -5 "$work/program-$language.log")"
  import -window root "$work/screen-$language.png" 2>/dev/null || true
  kill -TERM "$pid"
  wait "$pid" || fail "the program ended with status $? ($language)"
  pid=
  # Row 2, column 2 marked by keyboard; the first word crossed out.
  saved=$(grep -E "^$puzzle\\\\Save=" "$store" | cut -d= -f2-)
  words=$(grep -E "^$puzzle\\\\Palabras=" "$store" | cut -d= -f2-)
  [[ $saved == "$(printf '%03d' $((columns + 2)))" ]] || fail "stored marks $saved ($language)"
  [[ $words == 01 ]] || fail "stored crossed-out words $words ($language)"
  echo "stored ($language): Save=$saved Palabras=$words"
done
echo "PASS"
