# Sourced by the end-to-end tests that play on a player's desktop inside a
# virtual display and a private session bus.

# Starts the AT-SPI bus and a window manager, logging into folder $1, and
# returns once both are up. Their processes join the caller's `helpers`;
# a window manager that will not start is the caller's `fail`.
start_desktop() {
  local work=$1 wm attempt i
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
  helpers+=($!)
  # The window manager, started again if it could not reach the display on
  # a machine busy starting other displays.
  for ((attempt = 0; attempt < 5; attempt++)); do
    openbox >>"$work/openbox.log" 2>&1 &
    wm=$!
    for ((i = 0; i < 60; i++)); do
      wm_up && break 2
      kill -0 "$wm" 2>/dev/null || break
      sleep 0.05
    done
    kill "$wm" 2>/dev/null || true
    sleep 0.5
  done
  wm_up || fail "openbox did not start: $(tail -3 "$work/openbox.log")"
  helpers+=("$wm")
  # The bus is up once the launcher owns its name (asking for the address
  # itself would have D-Bus start a second launcher).
  for ((i = 0; i < 100; i++)); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && return
    sleep 0.05
  done
}

wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Polls CMD every 50 ms until it succeeds or SECONDS seconds pass.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 20))
  while ((tries-- > 0)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}

process_ended() { ! kill -0 "$1" 2>/dev/null; }
