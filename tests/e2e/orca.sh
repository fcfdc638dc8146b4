#!/usr/bin/env bash
# The game as a blind player hears it: Debian's screen reader Orca, with
# its default settings, on a real accessibility bus inside a virtual
# display with a window manager, speaking through speech-dispatcher into a
# file instead of a sound card. orca_game.py presses the keys as a person
# does and checks what was said after each step, in Spanish and English.
#
#   orca.sh PROGRAM SOURCE_DIR
#
# Exits 77 (skipped) where Orca, the display or the bus cannot be had.
set -euo pipefail
[[ -n ${ZELVORA_E2E_TRACE:-} ]] && set -x

program=${1:?program}
source_dir=${2:?source folder}
here=$(cd "$(dirname "$0")" && pwd)
skip=77
launcher=/usr/libexec/at-spi-bus-launcher

if [[ ${ZELVORA_E2E_INSIDE:-} != 1 ]]; then
  for tool in xvfb-run dbus-run-session openbox xdotool orca speech-dispatcher; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh brings it)"
      exit $skip
    fi
  done
  if [[ ! -x $launcher || ! -x /usr/lib/speech-dispatcher-modules/sd_generic ]]; then
    echo "SKIP: at-spi2-core or speech-dispatcher's generic module is missing"
    exit $skip
  fi
  work=$(mktemp -d)
  [[ -n ${ZELVORA_E2E_KEEP:-} ]] && echo "work folder: $work"
  [[ -n ${ZELVORA_E2E_KEEP:-} ]] || trap 'rm -rf "$work"' EXIT
  status=0
  ZELVORA_E2E_INSIDE=1 ZELVORA_E2E_WORK=$work \
    timeout 400 xvfb-run -a -s '-screen 0 1280x800x24' \
    dbus-run-session -- bash "$0" "$program" "$source_dir" || status=$?
  if [[ ! -e $work/bus-up ]]; then
    echo "SKIP: the virtual display or the session bus could not be started (exit $status)"
    exit $skip
  fi
  [[ $status == "$skip" ]] && echo "SKIP: Orca did not start: $(tail -3 "$work"/orca-*.log 2>/dev/null)"
  exit $status
fi

# ---- inside the virtual display and the session bus ----
work=$ZELVORA_E2E_WORK
touch "$work/bus-up"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/runtime
export XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$XDG_RUNTIME_DIR" "$work/py" "$work/orca"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY
data=$(dirname "$program")/zelvora.ini
speech=$work/speech.txt
pid=
orca=
helpers=()

finish() {
  [[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null
  [[ -n $orca ]] && kill "$orca" 2>/dev/null
  # The speech server Orca started for this session ends with it.
  local server=$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid
  [[ -f $server ]] && kill "$(cat "$server")" 2>/dev/null
  for helper in "${helpers[@]}"; do kill "$helper" 2>/dev/null || true; done
}
trap finish EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

# No sound card: speech goes to a null device, and the synthesizer is a
# command that appends what it is given to a file.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
{
  grep -v '^#' /etc/speech-dispatcher/speechd.conf | grep -Ev '^\s*(AddModule|DefaultModule|AudioOutputMethod)'
  echo 'AudioOutputMethod "alsa"'
  echo 'AddModule "capture" "sd_generic" "capture.conf"'
  echo 'DefaultModule capture'
} >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/modules/capture.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \'\$DATA\' >> $speech"
GenericLanguage "es" "es" "utf-8"
GenericLanguage "en" "en" "utf-8"
AddVoice "es" "MALE1" "es"
AddVoice "en" "MALE1" "en"
CONF
# Orca's debug log, line by line, so nothing is lost when Orca is ended.
cat >"$work/py/sitecustomize.py" <<'PY'
import builtins, os
_open, _log = builtins.open, os.environ.get("ZELVORA_ORCA_LOG")
def _line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if _log and file == _log and "w" in mode:
        buffering = 1
    return _open(file, mode, buffering, *args, **kwargs)
builtins.open = _line_buffered
PY

source "$here/desktop.sh"
start_desktop "$work"

for language in es en; do
  locale=es_ES.UTF-8
  [[ $language == en ]] && locale=en_US.UTF-8
  rm -rf "$XDG_CONFIG_HOME/Pinarejo" "$work/orca"
  mkdir -p "$work/orca"
  log=$work/orca-$language.log
  # Orca in the player's language, with its default settings.
  LANG=$locale LANGUAGE= LC_ALL= PYTHONPATH=$work/py ZELVORA_ORCA_LOG=$log \
    orca --replace -u "$work/orca" --debug-file="$log" >"$work/orca-$language.out" 2>&1 &
  orca=$!
  for ((i = 0; i < 200; i++)); do
    grep -q "SPEECH OUTPUT\|Orca: Startup complete\|startup complete" "$log" 2>/dev/null && break
    kill -0 "$orca" 2>/dev/null || exit $skip
    sleep 0.1
  done
  sleep 2
  : >"$speech"
  LANG=$locale "$program" >"$work/program-$language.log" 2>&1 &
  pid=$!
  for ((i = 0; i < 600; i++)); do
    [[ -n $(xdotool search --onlyvisible --name 'Zelvora' 2>/dev/null) ]] && break
    sleep 0.05
  done
  wid=$(xdotool search --onlyvisible --name 'Zelvora' 2>/dev/null | head -1 || true)
  [[ -n $wid ]] || fail "the main window did not appear ($language)"
  /usr/bin/python3 "$here/orca_game.py" "$source_dir" "$data" "$language" "$speech" "$log" "$wid" ||
    fail "what Orca said is not what the player needs ($language)"
  kill -TERM "$pid" 2>/dev/null || true
  wait_for 20 process_ended "$pid" || fail "the game did not end within 20 s of SIGTERM ($language)"
  wait "$pid" || true
  pid=
  # Orca sometimes hangs on its way out; the next language starts a new one.
  kill "$orca" 2>/dev/null || true
  wait_for 5 process_ended "$orca" || kill -KILL "$orca" 2>/dev/null || true
  wait "$orca" 2>/dev/null || true
  orca=
done
echo "PASS"
