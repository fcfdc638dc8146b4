#!/usr/bin/env bash
# The Windows installer as a player meets it, under Wine on a virtual
# display with a window manager, in Spanish: a silent install, the installed
# program started (with only the DLLs it was installed with), a puzzle
# chosen by keyboard, cells marked, a word crossed out, a colour changed in
# the settings, the program closed with "Sí"; the registry holds it all and
# a restart shows it again; a silent uninstall removes every installed file
# and the Start-menu entry and keeps the player's values.
#
#   real_window.sh INSTALLER SOURCE_DIR WORK_DIR
#
# Run inside a virtual display (xvfb-run). The screenshots stay in WORK_DIR.
set -euo pipefail
installer=$(realpath "${1:?installer}")
source_dir=$(realpath "${2:?source folder}")
work=${3:?work folder}
rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
export LANG=es_ES.UTF-8 LC_ALL=
data=$source_dir/data/zelvora.ini
key='HKCU\Software\Pinarejo\Zelvora'
program_dir="$WINEPREFIX/drive_c/Program Files/Zelvora"
pid=
helpers=()

fail() {
  echo "FAIL: $*"
  import -window root "$work/failure.png" 2>/dev/null || true
  exit 1
}
cleanup() {
  local status=$?
  [[ -n $pid ]] && kill "$pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  for helper in "${helpers[@]}"; do kill "$helper" 2>/dev/null || true; done
  exit $status
}
trap cleanup EXIT

wait_for() {
  local tries=$(($1 * 10))
  shift
  while ((tries-- > 0)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
window() { xdotool search --onlyvisible --name "$1" | head -1; }
window_is_open() { [[ -n $(window "$1") ]]; }
window_is_gone() { [[ -z $(window "$1") ]]; }
program_ended() { ! kill -0 "$pid" 2>/dev/null; }
message() {
  grep -E "^\s*\{$1, \"" "$source_dir/outside/MessageCatalogue.cpp" |
    sed -E 's/^[^"]*"([^"]*)".*/\1/'
}
access_letter() { message "$1" | sed -E 's/^[^&]*&(.).*/\1/' | tr '[:upper:]' '[:lower:]'; }
puzzle_value() {
  awk -v section="[$1]" -v key="$2" -F= '
    $0 == section { inside = 1; next } /^\[/ { inside = 0 }
    inside && $1 == key { sub(/\r$/, "", $2); print $2; exit }' "$data"
}
# A value under the program's key, as `reg query` shows it ("" when none).
stored() {
  { wine reg query "$key\\$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
    awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
shot() { import -window root "$work/$1.png"; }
key() { xdotool key --delay 120 "$@"; sleep 0.3; }

echo "== Wine prefix"
wine wineboot -i >/dev/null 2>&1
wineserver -w
openbox --sm-disable >"$work/openbox.log" 2>&1 &
helpers+=($!)
wait_for 5 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
  fail "openbox did not start"

# The player's window colour (system colour 5), which the board takes as
# long as no colour of its own is chosen.
wine reg add 'HKCU\Control Panel\Colors' /v Window /d '255 255 192' /f >/dev/null

echo "== Silent install"
wine "$installer" /S
wineserver -w
for file in zelvora.exe zelvora.ini Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll \
  libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll \
  imageformats/qjpeg.dll translations/qtbase_es.qm Uninstall.exe; do
  [[ -f $program_dir/$file ]] || fail "the installer did not put $file in Program Files\\Zelvora"
done
menu_entry=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Zelvora/Zelvora.lnk' | head -1)
[[ -n $menu_entry ]] || fail "no Start-menu entry Zelvora\\Zelvora.lnk"
find "$program_dir" -type f | sed "s|$program_dir/||" | sort >"$work/installed.txt"
echo "installed $(wc -l <"$work/installed.txt") files; Start menu: ${menu_entry#"$WINEPREFIX/drive_c/"}"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
  tr -d '\r' | grep -E 'DisplayName|UninstallString' | sed 's/^ */Apps: /'

main_title='^Pinarejo - Zelvora$'
start_program() {
  (cd "$program_dir" && exec wine 'C:\Program Files\Zelvora\zelvora.exe') >>"$work/program.log" 2>&1 &
  pid=$!
  wait_for 20 window_is_open "$main_title" || fail "the main window did not appear"
  wid=$(window "$main_title")
  xdotool windowactivate --sync "$wid" 2>/dev/null || true
  sleep 0.5
}
menu() {
  xdotool windowactivate --sync "$wid" 2>/dev/null || true
  key alt+"$options_letter"
  key "$1"
}

options_letter=$(access_letter 10404)
choose_letter=$(access_letter 10405)
settings_letter=$(access_letter 10406)
exit_letter=$(access_letter 10407)
puzzle=2
title="^$(message 10400) $puzzle - $(puzzle_value $puzzle Titulo)\$"
choose_puzzle() {
  menu "$choose_letter"
  wait_for 10 window_is_open "^$(message 10600)\$" || fail "the chooser did not open"
  xdotool windowactivate --sync "$(window "^$(message 10600)\$")" 2>/dev/null || true
  key Down Return
  wait_for 10 window_is_open "$title" || fail "puzzle $puzzle did not open"
  sleep 0.5
}

echo "== Playing in Spanish"
start_program
shot started
choose_puzzle
shot chosen
# Share of the window in the system's window colour (#FFFFC0).
read -r x y width height < <(xwininfo -id "$wid" | awk -F: '/Absolute upper-left X/ { x = $2 }
  /Absolute upper-left Y/ { y = $2 } /Width/ { w = $2 } /Height/ { h = $2 } END { print x, y, w, h }')
share=$(convert "$work/chosen.png" -crop "${width}x$height+$x+$y" -fill black +opaque '#FFFFC0' \
  -fill white -opaque '#FFFFC0' -colorspace gray -format '%[fx:mean]' info:)
echo "board in the system's window colour: $share of the window"
awk -v share="$share" 'BEGIN { exit !(share > 0.2) }' ||
  fail "the board does not take the system's window colour"
# Marks by keyboard: Space marks the current cell and the arrows move.
key space Right Right space Down Down space
# The word list, reached by Tab, starts on its first word: crossed out.
key Tab space
shot played
menu "$settings_letter"
settings_title="^$(message 10700)\$"
wait_for 10 window_is_open "$settings_title" || fail "the settings dialog did not open"
xdotool windowactivate --sync "$(window "$settings_title")" 2>/dev/null || true
# The board's colour before: stored, or the system's window colour (white).
before_colour=$(stored Configuracion ColorFondo)
before_colour=${before_colour:-16777215}
key Return # the board's colour
sleep 1
shot colour-picker
picker=$(xdotool search --onlyvisible --name '.' | grep -vx "$wid" |
  grep -vx "$(window "$settings_title")" | tail -1)
# Qt's colour picker starts on the current colour among the basic ones:
# the arrows move, Space chooses, Enter is "Aceptar".
xdotool windowactivate --sync "$picker" 2>/dev/null || true
key Up Left space
shot colour-chosen
key Return
wait_for 10 bash -c "! xdotool search --onlyvisible --name . | grep -qx '$picker'" ||
  fail "the colour picker did not close"
key Tab Tab Tab Tab Tab Tab Tab Return # Aceptar
wait_for 10 window_is_gone "$settings_title" || fail "the settings dialog did not close"
shot settings-applied
menu "$exit_letter"
sleep 1
shot question
key Return # "Sí" is the default answer
wait_for 15 program_ended || fail "the program did not end after Sí"
pid=
wineserver -w

save=$(stored "Juegos\\$puzzle" Save)
words=$(stored "Juegos\\$puzzle" Palabras)
colour=$(stored Configuracion ColorFondo)
echo "registry: Save=$save Palabras=$words ColorFondo=$colour (was $before_colour)"
[[ -n $save ]] || fail "no Save under $key\\Juegos\\$puzzle"
[[ $words == 01 ]] || fail "Palabras is \"$words\", not 01"
[[ -n $colour && $colour != "$before_colour" ]] || fail "the colour was not stored"
wine reg query "$key" /s | tr -d '\r' >"$work/registry.txt"

echo "== Restart"
start_program
choose_puzzle
shot restarted
[[ $(stored "Juegos\\$puzzle" Save) == "$save" ]] || fail "the marks changed on restart"
menu "$exit_letter"
sleep 1
key Return
wait_for 15 program_ended || fail "the program did not end after Sí"
pid=
wineserver -w

echo "== Silent uninstall"
wine "$program_dir/Uninstall.exe" /S
wineserver -w
# The uninstaller runs a copy of itself from the temporary folder.
wait_for 30 bash -c "[[ ! -e '$program_dir/zelvora.exe' ]]" || fail "the uninstall left zelvora.exe"
left=$(find "$program_dir" -type f 2>/dev/null || true)
[[ -z $left ]] || fail "the uninstall left: $left"
[[ ! -e $menu_entry ]] || fail "the uninstall left the Start-menu entry"
[[ $(stored "Juegos\\$puzzle" Save) == "$save" ]] || fail "the uninstall removed the player's progress"
[[ $(stored Configuracion ColorFondo) == "$colour" ]] || fail "the uninstall removed the settings"
echo "uninstalled: no file left, no Start-menu entry; the player's values kept"
echo "PASS"
