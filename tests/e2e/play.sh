#!/usr/bin/env bash
# A whole game through the real program on a virtual display, as a person
# plays it: choose a puzzle with the keyboard, mark cells and cross a word
# out with the mouse, close and answer Yes, start again and find it all back,
# on screen and in the settings file. Then once more, ended by SIGTERM, and
# once ended by SIGTERM while the game chooser is open.
#
#   play.sh PROGRAM SOURCE_DIR
#
# Exits 77 (skipped) where no virtual display can be had. ZELVORA_E2E_TRACE=1
# traces each command; ZELVORA_E2E_KEEP=1 keeps the screenshots and files.
set -euo pipefail
[[ -n ${ZELVORA_E2E_TRACE:-} ]] && set -x

program=${1:?program}
source_dir=${2:?source folder}
skip=77

if [[ ${ZELVORA_E2E_INSIDE:-} != 1 ]]; then
  for tool in xvfb-run xdotool xwininfo import convert; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh brings it)"
      exit $skip
    fi
  done
  work=$(mktemp -d)
  [[ -n ${ZELVORA_E2E_KEEP:-} ]] || trap 'rm -rf "$work"' EXIT
  status=0
  ZELVORA_E2E_INSIDE=1 ZELVORA_E2E_WORK=$work \
    timeout 120 xvfb-run -a -s '-screen 0 1280x800x24' bash "$0" "$program" "$source_dir" || status=$?
  if [[ ! -e $work/display-up ]]; then
    echo "SKIP: the virtual display could not be started (exit $status)"
    exit $skip
  fi
  exit $status
fi

# ---- inside the virtual display ----
work=$ZELVORA_E2E_WORK
touch "$work/display-up"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
store=$XDG_CONFIG_HOME/Pinarejo/Zelvora.conf
data=$(dirname "$program")/zelvora.ini
pid=

fail() {
  echo "FAIL: $*"
  [[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null
  exit 1
}

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

# Catalogue message NUMBER in Spanish, the language the program is started
# in, and the access letter it carries.
message() {
  local line
  line=$(grep -E "^\s*\{$1, \"" "$source_dir/outside/MessageCatalogue.cpp") ||
    fail "message $1 is not in the catalogue"
  sed -E 's/^[^"]*"([^"]*)".*/\1/' <<<"$line"
}
access_letter() { message "$1" | sed -E 's/^[^&]*&(.).*/\1/' | tr '[:upper:]' '[:lower:]'; }

# A value of puzzle NUMBER in the data file.
puzzle_value() {
  awk -v section="[$1]" -v key="$2" -F= '
    $0 == section { inside = 1; next }
    /^\[/ { inside = 0 }
    inside && $1 == key { print $2; exit }' "$data"
}

main_window() { xdotool search --onlyvisible --name "$1" | head -1; }
window_is_open() { [[ -n $(main_window "$1") ]]; }
# A window titled TITLE besides the main one (the exit question carries the
# main window's title).
other_window() { xdotool search --onlyvisible --name "$1" | grep -vx "$wid" | head -1; }
other_window_is_open() { [[ -n $(other_window "$1") ]]; }
geometry() { xwininfo -id "$1" | awk -v what="$2" -F: '$1 ~ what { gsub(/ /, "", $2); print $2 }'; }
program_ended() { ! kill -0 "$pid" 2>/dev/null; }

start_program() {
  LANG=es_ES.UTF-8 "$program" >"$work/program.log" 2>&1 &
  pid=$!
  wait_for 10 window_is_open '^Pinarejo - Zelvora$' || fail "the main window did not appear"
  wid=$(main_window '^Pinarejo - Zelvora$')
  # No puzzle yet: the client area is 75 pixels high, the rest is the menu.
  menu_height=$(($(geometry "$wid" Height) - 75))
  xdotool windowfocus --sync "$wid"
}

# Opens the chooser through the menu, with the keyboard.
open_chooser() {
  xdotool windowfocus --sync "$wid"
  xdotool key --window "$wid" alt+"$options_letter"
  sleep 0.2
  xdotool key "$choose_letter"
  wait_for 5 window_is_open "$chooser_title" || fail "the chooser did not open"
}

# Chooses the puzzle in row ROW of the chooser with the keyboard.
choose_puzzle() {
  local row=$1 chooser
  open_chooser
  chooser=$(main_window "$chooser_title")
  xdotool windowfocus --sync "$chooser"
  for ((i = 1; i < row; i++)); do xdotool key Down; done
  xdotool key Return
  wait_for 5 window_is_open "^$puzzle_title\$" || fail "puzzle $row did not open"
  sleep 0.3 # let it paint
  board_height=$(($(geometry "$wid" Height) - menu_height))
  cell=$((board_height / rows))
  border=$(((board_height - cell * rows) / 2))
  board_width=$((cell * columns + 2 * border))
}

# Cells are given as "COLUMN ROW", points as "X Y" in window coordinates.
# The centre of a cell, and a point of its background near its top-left
# corner, away from the letter.
cell_point() {
  local column row
  read -r column row <<<"$1"
  echo "$((border + (column - 1) * cell + $2)) $((menu_height + border + (row - 1) * cell + $2))"
}
cell_centre() { cell_point "$1" $((cell / 2)); }
cell_background() { cell_point "$1" 3; }
cell_index() {
  local column row
  read -r column row <<<"$1"
  printf '%03d\n' $(((row - 1) * columns + column))
}

click() {
  local x y
  read -r x y <<<"$1"
  xdotool mousemove --window "$wid" "$x" "$y" click 1
  sleep 0.1
}

screenshot() {
  import -window root "$work/$1.png"
  read -r window_x window_y < <(xwininfo -id "$wid" |
    awk -F: '/Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 } END { print x + 0, y + 0 }')
}

# Colour of window point POINT in screenshot NAME, as #RRGGBB.
pixel() {
  local x y
  read -r x y <<<"$2"
  convert "$work/$1.png" -crop "1x1+$((window_x + x))+$((window_y + y))" -depth 8 txt:- |
    grep -oE '#[0-9A-Fa-f]{6}' | head -1
}

# The first word of the list as "top bottom": the first run of image lines
# with letters on them below the header, whose background is not white.
first_word_lines() {
  local left=$((board_width + 5)) width=$(($(geometry "$wid" Width) - board_width - 5 - 20))
  convert "$work/$1.png" -crop "${width}x${board_height}+$((window_x + left))+$((window_y + menu_height))" \
    -colorspace gray -resize "1x${board_height}!" -depth 8 txt:- |
    awk -F'[,:]' 'NR > 1 {
        match($0, /gray\([0-9]+\)/); v = substr($0, RSTART + 5, RLENGTH - 6) + 0
        if (!body) { body = (v >= 250); next }
        if (v < 235 && !inside) { top = $2; inside = 1 }
        else if (v >= 235 && inside) { print top, $2 - 1; exit }
      }'
}

# How dark the list's row TOP..BOTTOM is in screenshot NAME (0 white, 1 black).
row_ink() {
  local left=$((board_width + 5)) width=$(($(geometry "$wid" Width) - board_width - 5 - 20))
  convert "$work/$1.png" -crop "${width}x$(($3 - $2 + 1))+$((window_x + left))+$((window_y + menu_height + $2))" \
    -colorspace gray -format '%[fx:1-mean]' info:
}

close_and_answer_yes() {
  xdotool windowfocus --sync "$wid"
  xdotool key --window "$wid" alt+"$options_letter"
  sleep 0.2
  xdotool key "$exit_letter"
  wait_for 5 other_window_is_open "^$puzzle_title\$" || fail "the exit question did not appear"
  xdotool windowfocus --sync "$(other_window "^$puzzle_title\$")"
  xdotool key Return
  wait_for 10 program_ended || fail "the program did not end after Yes"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}

stored() { grep -E "^$puzzle\\\\$1=" "$store" | cut -d= -f2-; }

options_letter=$(access_letter 10404)
choose_letter=$(access_letter 10405)
exit_letter=$(access_letter 10407)
chooser_title="^$(message 10600)\$"
puzzle=2
columns=$(puzzle_value $puzzle CantAncho)
rows=$(puzzle_value $puzzle CantAlto)
puzzle_title="$(message 10400) $puzzle - $(puzzle_value $puzzle Titulo)"
[[ -n $columns && -n $rows ]] || fail "puzzle $puzzle is not in $data"
echo "menu letters: $options_letter $choose_letter $exit_letter; puzzle $puzzle is ${columns}x$rows"

# ---- first run: play and close ----
start_program
choose_puzzle $puzzle
marked=("3 2" "5 4" "$columns $rows")
plain=("2 3" "6 6")
screenshot before
read -r word_top word_bottom < <(first_word_lines before) || fail "no word found in the list"
ink_before=$(row_ink before "$word_top" "$word_bottom")
plain_colour=$(pixel before "$(cell_background "${plain[0]}")")
for spot in "${marked[@]}"; do click "$(cell_centre "$spot")"; done
click "$((board_width + 5 + ($(geometry "$wid" Width) - board_width - 5) / 2)) \
$((menu_height + (word_top + word_bottom) / 2))"
close_and_answer_yes

expected_save=$(for spot in "${marked[@]}"; do cell_index "$spot"; done | sort | tr -d '\n')
[[ $(stored Save) == "$expected_save" ]] || fail "stored marks $(stored Save), expected $expected_save"
[[ $(stored Palabras) == 01 ]] || fail "stored crossed-out words $(stored Palabras), expected 01"
echo "stored after closing: Save=$(stored Save) Palabras=$(stored Palabras)"

# ---- second run: all of it is back ----
start_program
choose_puzzle $puzzle
screenshot after
marked_colour=$(pixel after "$(cell_background "${marked[0]}")")
for spot in "${marked[@]}"; do
  colour=$(pixel after "$(cell_background "$spot")")
  [[ $colour == "$marked_colour" ]] || fail "cell $spot shows $colour, not the marked $marked_colour"
done
for spot in "${plain[@]}"; do
  colour=$(pixel after "$(cell_background "$spot")")
  [[ $colour == "$plain_colour" ]] || fail "unmarked cell $spot shows $colour, not $plain_colour"
done
[[ $marked_colour != "$plain_colour" ]] || fail "marked cells look unmarked ($marked_colour)"
ink_after=$(row_ink after "$word_top" "$word_bottom")
awk -v before="$ink_before" -v after="$ink_after" 'BEGIN { exit !(after > before * 1.05) }' ||
  fail "the crossed-out word is not struck through on screen (ink $ink_before, now $ink_after)"
echo "on screen: marked $marked_colour, unmarked $plain_colour; word ink $ink_before -> $ink_after"

# ---- the same program ended by SIGTERM keeps a new mark ----
click "$(cell_centre "${plain[1]}")"
kill -TERM "$pid"
wait_for 10 program_ended || fail "the program did not end on SIGTERM"
wait "$pid" || fail "the program ended on SIGTERM with status $?"
pid=
with_new=$( (fold -w3 <<<"$expected_save" && cell_index "${plain[1]}") | sort | tr -d '\n')
[[ $(stored Save) == "$with_new" ]] || fail "after SIGTERM stored $(stored Save), expected $with_new"
echo "stored after SIGTERM: Save=$(stored Save)"

# ---- SIGTERM while the chooser is open: the program still ends cleanly ----
start_program
choose_puzzle $puzzle
open_chooser
kill -TERM "$pid"
wait_for 10 program_ended || fail "the program did not end on SIGTERM with the chooser open"
wait "$pid" || fail "the program ended on SIGTERM with the chooser open with status $?"
pid=
[[ $(stored Save) == "$with_new" ]] || fail "with the chooser open, SIGTERM stored $(stored Save)"
echo "ended by SIGTERM with the chooser open; Save=$(stored Save)"
echo "PASS"
