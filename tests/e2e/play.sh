#!/usr/bin/env bash
# A whole game through the real program on a desktop as a player has it: a
# window manager (openbox) on a virtual display, an accessibility bus, and
# the program in Spanish, then once more in English.
#
# In Spanish: choose a puzzle with the keyboard, mark cells and cross a word
# out with the mouse, close and answer Yes, start again and find it all back,
# on screen and in the settings file. Then once more, ended by SIGTERM, and
# once ended by SIGTERM while the game chooser is open. In both languages:
# the exit question's buttons read "Sí"/"No" ("Yes"/"No"), a marked cell
# stands out from an unmarked one (1.5:1) while its letter stays readable
# (4.5:1), and the solution of the largest puzzle lies wholly on the screen
# with its close button in sight, at the usual size and at 24 points chosen
# through the font picker with the keyboard. The English screen is wider,
# so there the 24-point solution is too tall but not too wide.
#
# The button texts are read from the accessibility bus, the way a screen
# reader reads them; the screenshot shows that each button has a text drawn
# on it and that the two differ.
#
#   play.sh PROGRAM SOURCE_DIR [dark|wayland|scale2]
#
# With a third argument, one pass on another desktop instead (desktops.sh):
# GTK's Adwaita dark, Wayland under weston, or a screen of twice the density.
#
# Exits 77 (skipped) where no virtual display or window manager can be had.
# ZELVORA_E2E_TRACE=1 traces each command; ZELVORA_E2E_KEEP=1 keeps the
# screenshots and files.
set -Eeuo pipefail
[[ -n ${ZELVORA_E2E_TRACE:-} ]] && set -x
# A command that fails outside a check still says where.
trap 'echo "FAIL: line $LINENO of ${BASH_SOURCE[0]##*/} exited with status $?"' ERR

program=${1:?program}
source_dir=${2:?source folder}
here=$(cd "$(dirname "$0")" && pwd)
skip=77

# One pass in LANGUAGE (a locale) on a screen of SIZE, in a display, window
# manager and bus of its own.
run_pass() {
  local locale=$1 size=$2 folder=$work/${1%%.*}${3:-} status=0
  mkdir -p "$folder"
  echo "---- $locale on a $size screen ${3:-} ----"
  ZELVORA_E2E_INSIDE=1 ZELVORA_E2E_WORK=$folder ZELVORA_E2E_LOCALE=$locale \
    ZELVORA_E2E_DESKTOP=${3:-} \
    timeout 150 xvfb-run -a -s "-screen 0 ${size}x24" \
    dbus-run-session -- bash "$0" "$program" "$source_dir" 2>&1 |
    grep -v 'Failed to set fd limit' || status=${PIPESTATUS[0]}
  if [[ ! -e $folder/display-up ]]; then
    echo "SKIP: the virtual display could not be started (exit $status)"
    exit $skip
  fi
  [[ $status == "$skip" ]] && exit $skip
  return "$status"
}

if [[ ${ZELVORA_E2E_INSIDE:-} != 1 ]]; then
  for tool in xvfb-run openbox; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh brings it)"
      exit $skip
    fi
  done
  for tool in xdotool xwininfo xprop import convert compare dbus-run-session \
    /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null ||
      { echo "FAIL: $tool is not installed (scripts/install-deps.sh brings it)"; exit 1; }
  done
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "FAIL: /usr/bin/python3 has no pyatspi (scripts/install-deps.sh brings it)"; exit 1; }
  work=$(mktemp -d)
  [[ -n ${ZELVORA_E2E_KEEP:-} ]] && echo "keeping the screenshots in $work" ||
    trap 'rm -rf "$work"' EXIT
  case ${3:-} in
  "")
    run_pass es_ES.UTF-8 1280x800
    run_pass en_US.UTF-8 1600x800
    ;;
  dark) run_pass es_ES.UTF-8 1280x800 dark ;;
  scale2) run_pass es_ES.UTF-8 1600x1000 scale2 ;;
  wayland)
    command -v weston >/dev/null ||
      { echo "SKIP: weston is not installed (scripts/install-deps.sh brings it)"; exit $skip; }
    run_pass es_ES.UTF-8 1024x600 wayland
    ;;
  *) echo "unknown pass ${3:-}"; exit 2 ;;
  esac
  echo "PASS"
  exit 0
fi

# ---- inside the virtual display and the session bus ----
work=$ZELVORA_E2E_WORK
touch "$work/display-up"
locale=$ZELVORA_E2E_LOCALE
language=${locale%%_*}
helpers=()
stop_helpers() {
  local status=$? helper
  for helper in "${helpers[@]}"; do kill "$helper" 2>/dev/null || true; done
  exit $status
}
trap stop_helpers EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
helpers+=($!)
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY
store=$XDG_CONFIG_HOME/Pinarejo/Zelvora.conf
data=$(dirname "$program")/zelvora.ini
pid=

fail() {
  echo "FAIL: $*"
  [[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null
  exit 1
}

source "$here/desktop.sh" # wait_for, wm_up

# Catalogue message NUMBER in the language the program is started in, and
# the access letter it carries.
message() {
  local line column=1
  [[ $language == en ]] && column=2
  line=$(grep -E "^\s*\{$1, \"[^\"]*\", \"" "$source_dir/outside/MessageCatalogue.cpp") ||
    fail "message $1 is not in the catalogue"
  sed -E 's/^[^"]*"([^"]*)", "([^"]*)".*/\'$column'/' <<<"$line"
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
program_ended() { process_ended "$pid"; }
# "Juego 2 - Title" for puzzle NUMBER.
puzzle_caption() { echo "$(message 10400) $1 - $(puzzle_value "$1" Titulo)"; }

# Starts the program; the desktop speaks DESKTOP_LANGUAGE when given, else
# the program's own.
start_program() {
  LANG=$locale LC_ALL= LANGUAGE=${1:-} "$program" >>"$work/program.log" 2>&1 &
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
  wait_for 5 window_is_open "^$(puzzle_caption "$row")\$" || fail "puzzle $row did not open"
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

# The contrast ratio of two colours given as #RRGGBB (1 to 21).
contrast() {
  local a=${1#\#} b=${2#\#}
  awk -v r1=$((16#${a:0:2})) -v g1=$((16#${a:2:2})) -v b1=$((16#${a:4:2})) \
    -v r2=$((16#${b:0:2})) -v g2=$((16#${b:2:2})) -v b2=$((16#${b:4:2})) '
    function lin(v) { v /= 255; return v <= 0.03928 ? v / 12.92 : exp(2.4 * log((v + 0.055) / 1.055)) }
    function lum(r, g, b) { return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b) + 0.05 }
    BEGIN { x = lum(r1, g1, b1); y = lum(r2, g2, b2); printf "%.2f\n", (x > y ? x / y : y / x) }'
}

at_least() { awk -v value="$1" -v least="$2" 'BEGIN { exit !(value >= least) }'; }

# The pixel of the area W×H at X,Y (screen pixels) of screenshot NAME that
# contrasts most with colour BACK, as #RRGGBB: a letter's ink. With "blue"
# last, only bluish pixels count: a link's ink.
strongest_ink() {
  local name=$1 back=${6#\#}
  convert "$work/$name.png" -crop "${4}x${5}+$2+$3" -depth 8 txt:- |
    awk -v r0=$((16#${back:0:2})) -v g0=$((16#${back:2:2})) -v b0=$((16#${back:4:2})) -v blue="${7:-}" '
      function lin(v) { v /= 255; return v <= 0.03928 ? v / 12.92 : exp(2.4 * log((v + 0.055) / 1.055)) }
      function lum(r, g, b) { return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b) + 0.05 }
      BEGIN { back = lum(r0, g0, b0) }
      match($0, /\([0-9]+,[0-9]+,[0-9]+/) {
        split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
        if (blue && (c[3] < c[1] + 40 || c[3] < c[2] + 40)) next
        l = lum(c[1], c[2], c[3]); ratio = l > back ? l / back : back / l
        if (ratio > best) { best = ratio; colour = sprintf("#%02X%02X%02X", c[1], c[2], c[3]) }
      }
      END { print colour }'
}

# Marked cell MARKED against unmarked cell PLAIN in screenshot NAME: the
# marks must stand out, the marked letter must stay readable.
check_marks() {
  local name=$1 marked_colour plain_colour ink x y
  marked_colour=$(pixel "$name" "$(cell_background "$2")")
  plain_colour=$(pixel "$name" "$(cell_background "$3")")
  read -r x y <<<"$(cell_point "$2" 3)"
  ink=$(strongest_ink "$name" $((window_x + x)) $((window_y + y)) $((cell - 6)) $((cell - 6)) \
    "$marked_colour")
  local marks letter
  marks=$(contrast "$marked_colour" "$plain_colour")
  letter=$(contrast "$ink" "$marked_colour")
  echo "marks: $marked_colour on $plain_colour, $marks:1; letter $ink on the mark, $letter:1"
  at_least "$marks" 1.5 || fail "a marked cell ($marked_colour) hardly shows on the board ($plain_colour): $marks:1"
  at_least "$letter" 4.5 || fail "the letter ($ink) on a marked cell ($marked_colour) is hard to read: $letter:1"
}

# Outer geometry "left top right bottom" (screen pixels, right and bottom
# exclusive) of window WID, its window manager's frame included.
outer_geometry() {
  local left right top bottom x y width height
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS |
    sed -nE 's/.*= *([0-9]+), *([0-9]+), *([0-9]+), *([0-9]+).*/\1 \2 \3 \4/p')
  [[ -n $bottom ]] || fail "window $1 has no frame: is the window manager running?"
  x=$(geometry "$1" 'Absolute upper-left X') y=$(geometry "$1" 'Absolute upper-left Y')
  width=$(geometry "$1" Width) height=$(geometry "$1" Height)
  echo "$((x - left)) $((y - top)) $((x + width + right)) $((y + height + bottom))"
}

screen_size() { xwininfo -root | awk -F: '/^ *Width/ { w = $2 } /^ *Height/ { h = $2 } END { print w + 0, h + 0 }'; }

# How much of the area W×H at X,Y of screenshot NAME is dark ink (0 to 1).
ink_share() {
  convert "$work/$1.png" -crop "${4}x${5}+$2+$3" -colorspace gray -threshold 50% \
    -format '%[fx:1-mean]' info:
}

# The buttons of window TITLE as the accessibility bus shows them:
# "x y width height name" lines.
bus_buttons() {
  /usr/bin/python3 "$here/buttons.py" "$pid" "$1" 2>>"$work/at-spi.log"
}

# The exit question: its two buttons carry the player's Yes and No, each
# button drawn with its text, inside the question's window on the screen.
check_question() {
  local title=$1 question lines names expected left top right bottom
  question=$(other_window "$title")
  wait_for 5 bus_buttons "$title" || fail "the accessibility bus shows no buttons of the exit question"
  lines=$(bus_buttons "$title")
  names=$(cut -d' ' -f5- <<<"$lines" | sort | paste -sd/)
  expected=$([[ $language == en ]] && echo "No/Yes" || echo "No/Sí")
  [[ $names == "$expected" ]] || fail "the exit question's buttons read $names, not $expected"
  read -r left top right bottom <<<"$(outer_geometry "$question")"
  read -r screen_width screen_height <<<"$(screen_size)"
  import -window root "$work/question.png"
  local x y width height name crops=()
  while read -r x y width height name; do
    ((x >= left && y >= top && x + width <= right && y + height <= bottom)) ||
      fail "button $name at $x,$y ${width}x$height lies outside the question ($left,$top-$right,$bottom)"
    ((right <= screen_width && bottom <= screen_height && left >= 0 && top >= 0)) ||
      fail "the exit question runs off the screen"
    at_least "$(ink_share question $((x + 4)) $((y + 4)) $((width - 8)) $((height - 8)))" 0.02 ||
      fail "button $name shows no text on the screen"
    convert "$work/question.png" -crop "${width}x${height}+$x+$y" +repage "$work/button-${#crops[@]}.png"
    crops+=("$work/button-${#crops[@]}.png")
  done <<<"$lines"
  [[ $(compare -metric AE "${crops[0]}" "${crops[1]}" null: 2>&1 || true) != 0 ]] ||
    fail "the two buttons of the exit question look the same"
  echo "exit question: buttons $names, on the screen and drawn with their texts"
}

close_and_answer_yes() {
  local title="^$(xdotool getwindowname "$wid")\$"
  xdotool windowfocus --sync "$wid"
  xdotool key --window "$wid" alt+"$options_letter"
  sleep 0.2
  xdotool key "$exit_letter"
  wait_for 5 other_window_is_open "$title" || fail "the exit question did not appear"
  check_question "$title"
  timeout 10 xdotool windowactivate --sync "$(other_window "$title")"
  xdotool key Return
  wait_for 10 program_ended || fail "the program did not end after Yes"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}

stored() { grep -E "^$puzzle\\\\$1=" "$store" | cut -d= -f2-; }

# The main window's menu MENU_LETTER, then its item ITEM_LETTER, by keys.
menu_command() {
  timeout 10 xdotool windowactivate --sync "$wid"
  xdotool key --window "$wid" alt+"$1"
  sleep 0.2
  xdotool key "$2"
}

# The solution of puzzle NUMBER, open in the viewer: wholly on the screen,
# its close button inside it, shown and drawn. EXPECT says how it must fit:
# "fits" (smaller than the screen), "tall" (as tall as the screen, not as
# wide) or "both" (the whole screen).
check_solution() {
  local number=$1 expect=$2 title viewer left top right bottom screen_width screen_height
  title="^$(message 10500) $number - $(puzzle_value "$number" Titulo)\$"
  menu_command "$help_letter" "$solution_letter"
  wait_for 5 window_is_open "$title" || fail "the solution of puzzle $number did not open"
  viewer=$(main_window "$title")
  read -r screen_width screen_height <<<"$(screen_size)"
  on_screen() {
    read -r left top right bottom <<<"$(outer_geometry "$viewer")"
    ((left >= 0 && top >= 0 && right <= screen_width && bottom <= screen_height))
  }
  # The window manager frames the window once it is shown; give it a moment.
  wait_for 3 on_screen || fail "the solution of puzzle $number runs off the ${screen_width}x$screen_height screen: $left,$top-$right,$bottom"
  sleep 0.3
  on_screen || fail "the solution of puzzle $number moved off the screen: $left,$top-$right,$bottom"
  local width=$((right - left)) height=$((bottom - top))
  case $expect in
  fits) ((width < screen_width && height < screen_height)) ;;
  tall) ((width < screen_width && height == screen_height)) ;;
  both) ((width == screen_width && height == screen_height)) ;;
  esac || fail "the solution of puzzle $number is ${width}x$height on a ${screen_width}x$screen_height screen, not '$expect'"

  local x y bw bh cx cy cw ch
  # The close button as the bus shows it, inside the window's client area.
  close_button_inside() {
    local name
    x= y= bw= bh=
    while read -r cx cy cw ch name; do
      [[ $name == "$(message 10002)" ]] && x=$cx y=$cy bw=$cw bh=$ch
    done < <(bus_buttons "$title")
    cx=$(geometry "$viewer" 'Absolute upper-left X') cy=$(geometry "$viewer" 'Absolute upper-left Y')
    cw=$(geometry "$viewer" Width) ch=$(geometry "$viewer" Height)
    [[ -n $x ]] && ((x >= cx && y >= cy && x + bw <= cx + cw && y + bh <= cy + ch))
  }
  wait_for 3 close_button_inside
  close_button_inside ||
    fail "the close button at ${x:-nowhere},$y ${bw}x$bh is cut off by the window ($cx,$cy ${cw}x$ch)"
  import -window root "$work/solution-$expect.png"
  at_least "$(ink_share "solution-$expect" $((x + 4)) $((y + 4)) $((bw - 8)) $((bh - 8)))" 0.02 ||
    fail "the close button shows no text"
  echo "solution of puzzle $number: ${width}x$height at $left,$top on ${screen_width}x$screen_height ($expect), close button at $x,$y"
  timeout 10 xdotool windowactivate --sync "$viewer"
  xdotool key Return
  wait_for 5 bash -c "! xdotool search --onlyvisible --name '$title' | grep -q ." ||
    fail "Enter did not close the solution"
}

# The letters at 24 points, chosen with the keyboard alone: Enter on the
# font's "..." opens the picker, the last size is 24, Enter in the size list
# confirms it, and Enter in the path box accepts the settings.
choose_24_points() {
  local settings_title="^$(message 10700)\$" picker_title="^$(message 11650)\$"
  timeout 10 xdotool windowactivate --sync "$wid"
  xdotool key --window "$wid" alt+"$options_letter"
  sleep 0.2
  xdotool key "$settings_letter"
  wait_for 5 window_is_open "$settings_title" || fail "the settings dialog did not open"
  timeout 10 xdotool windowactivate --sync "$(main_window "$settings_title")"
  xdotool key Tab Tab Tab Tab Return
  wait_for 5 window_is_open "$picker_title" || fail "Enter on the font's button did not open the font picker"
  timeout 10 xdotool windowactivate --sync "$(main_window "$picker_title")"
  sleep 0.2
  import -window root "$work/font-picker.png"
  xdotool key Tab Tab Tab End Return
  wait_for 5 bash -c "! xdotool search --onlyvisible --name '$picker_title' | grep -q ." ||
    fail "Enter in the font picker did not confirm it"
  window_is_open "$settings_title" || fail "the settings dialog closed with the font picker"
  xdotool key Tab Return
  wait_for 5 bash -c "! xdotool search --onlyvisible --name '$settings_title' | grep -q ." ||
    fail "Enter in the path box did not accept the settings"
  sleep 0.5 # the board grows
}

# The puzzle with the most cells in the data file.
largest_puzzle() {
  awk -F= '/^\[[0-9]+\]/ { section = substr($1, 2, length($1) - 2) }
    $1 == "CantAncho" { w[section] = $2 } $1 == "CantAlto" { h[section] = $2 }
    END { for (s in w) if (w[s] * h[s] > most) { most = w[s] * h[s]; which = s }; print which }' "$data"
}

# What a player sees on this desktop: marks, the largest solution at the
# usual size and at 24 points, and the exit question.
desktop_checks() {
  local largest
  largest=$(largest_puzzle)
  [[ -n $largest ]] || fail "no puzzle in $data"
  choose_puzzle "$largest"
  check_solution "$largest" fits
  choose_24_points
  check_solution "$largest" "$1"
  close_and_answer_yes
}

# Once in a while openbox cannot reach a display that has only just come
# up; it is given three tries.
start_window_manager() {
  local try
  for try in 1 2 3; do
    echo "try $try on $DISPLAY" >>"$work/openbox.log"
    openbox --sm-disable >>"$work/openbox.log" 2>&1 &
    helpers+=($!)
    wait_for 5 wm_up && return 0
    sleep 0.5
  done
  return 1
}
desktop=${ZELVORA_E2E_DESKTOP:-}
[[ -n $desktop ]] && source "$here/desktops.sh"
# Wayland brings its own window manager, weston.
[[ $desktop == wayland ]] || start_window_manager || { echo "SKIP: openbox did not start"; exit $skip; }

options_letter=$(access_letter 10404)
choose_letter=$(access_letter 10405)
settings_letter=$(access_letter 10406)
exit_letter=$(access_letter 10407)
help_letter=$(access_letter 10408)
solution_letter=$(access_letter 10410)
chooser_title="^$(message 10600)\$"
puzzle=2
columns=$(puzzle_value $puzzle CantAncho)
rows=$(puzzle_value $puzzle CantAlto)
[[ -n $columns && -n $rows ]] || fail "puzzle $puzzle is not in $data"
echo "menu letters: $options_letter $choose_letter $exit_letter; puzzle $puzzle is ${columns}x$rows"
marked=("3 2" "5 4" "$columns $rows")
plain=("2 3" "6 6")
[[ $desktop == dark ]] && { dark_pass; exit 0; }
[[ $desktop == wayland ]] && { wayland_pass; exit 0; }
[[ $desktop == scale2 ]] && { scale2_pass; exit 0; }

if [[ $language == en ]]; then
  # ---- in English: marks, the solution on a wider screen, the question ----
  start_program
  choose_puzzle $puzzle
  for spot in "${marked[@]}"; do click "$(cell_centre "$spot")"; done
  screenshot marks
  check_marks marks "${marked[0]}" "${plain[0]}"
  desktop_checks tall
  echo "PASS ($locale)"
  exit 0
fi

# ---- first run: play and close ----
start_program
choose_puzzle $puzzle
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
check_marks after "${marked[0]}" "${plain[0]}"
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

# ---- the largest solution, at the usual size and at 24 points ----
start_program
desktop_checks both
echo "PASS ($locale)"
exit 0
