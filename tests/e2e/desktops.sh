# The passes of play.sh on other desktops, sourced inside its virtual
# display with its helpers: GTK's Adwaita dark, Wayland under weston, and a
# screen of twice the density. Each prints what it measured; a check that
# fails is told and the pass goes on, so one run shows every figure.

problems=0
# Records a fault without stopping the pass.
fault() {
  echo "FAULT: $*"
  problems=$((problems + 1))
}
at_least_or_fault() { at_least "$1" "$2" || fault "$3: $1:1, less than $2:1"; }
end_pass() {
  ((problems == 0)) || fail "$problems fault(s) on the $desktop desktop"
  echo "PASS ($desktop)"
}

# The most frequent colour of the area W×H at X,Y (screen pixels) of
# screenshot NAME, as #RRGGBB: the background of a text.
mode_colour() {
  convert "$work/$1.png" -crop "${4}x${5}+$2+$3" +repage -depth 8 -format %c histogram:info:- |
    sort -rn | awk 'NR == 1 && match($0, /#[0-9A-Fa-f]+/) { print substr($0, RSTART, RLENGTH) }'
}

# The text of the area W×H at X,Y of screenshot NAME against its background:
# prints "ink background ratio".
text_contrast() {
  local back ink
  back=$(mode_colour "$@")
  ink=$(strongest_ink "$1" "$2" "$3" "$4" "$5" "$back")
  echo "$ink $back $(contrast "$ink" "$back")"
}

window_origin() {
  echo "$(geometry "$1" 'Absolute upper-left X') $(geometry "$1" 'Absolute upper-left Y')"
}

end_program() {
  kill -TERM "$pid"
  wait_for 10 program_ended || fail "the program did not end on SIGTERM"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}

# ---- GTK's Adwaita dark ----
# Every text reads at 4.5:1, grid lines and marks show at 1.5:1, and the
# word list and the chooser take the palette's background like the board.
dark_pass() {
  local plugins
  plugins=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null ||
    echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
  [[ -e $plugins/platformthemes/libqgtk3.so ]] ||
    fail "Qt's gtk3 theme is not installed (scripts/install-deps.sh brings qt6-gtk-platformtheme)"
  export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
  start_program
  screenshot start
  local menu
  menu=$(pixel start "2 $((menu_height / 2))")
  at_least "$(contrast "$menu" "#FFFFFF")" 7 || fail "the menu bar is $menu: the dark theme did not take"

  # The chooser's list of titles.
  local chooser x y chooser_back ink back ratio
  open_chooser
  chooser=$(main_window "$chooser_title")
  sleep 0.3
  import -window root "$work/dark-chooser.png"
  read -r x y <<<"$(window_origin "$chooser")"
  # Below the first (current) row, left of the scroll bar.
  read -r ink chooser_back ratio <<<"$(text_contrast dark-chooser $((x + 6)) $((y + 46)) 250 150)"
  echo "chooser: titles $ink on $chooser_back, $ratio:1"
  at_least_or_fault "$ratio" 4.5 "the chooser's titles ($ink on $chooser_back)"
  xdotool key Escape
  wait_for 5 bash -c "! xdotool search --onlyvisible --name '$chooser_title' | grep -q ." ||
    fail "Esc did not close the chooser"

  choose_puzzle $puzzle
  screenshot dark-board
  local board_back line list_left list_width
  board_back=$(pixel dark-board "$(cell_background "${plain[0]}")")
  # The line right of column 3, beside row 3's letter.
  line=$(mode_colour dark-board $((window_x + border + 3 * cell - 1)) \
    $((window_y + menu_height + border + 2 * cell + 3)) 1 $((cell - 6)))
  ratio=$(contrast "$line" "$board_back")
  echo "board: $board_back, grid lines $line, $ratio:1"
  at_least_or_fault "$ratio" 1.5 "the grid lines ($line on $board_back)"
  [[ $chooser_back == "$board_back" ]] ||
    fault "the chooser's background $chooser_back is not the board's $board_back"

  # The word list: its header, then its words.
  list_left=$((window_x + board_width + 7))
  list_width=$(($(geometry "$wid" Width) - board_width - 7 - 22))
  read -r ink back ratio <<<"$(text_contrast dark-board "$list_left" $((window_y + menu_height + 4)) \
    "$list_width" 20)"
  echo "word list header: $ink on $back, $ratio:1"
  at_least_or_fault "$ratio" 4.5 "the word list's header ($ink on $back)"
  read -r ink back ratio <<<"$(text_contrast dark-board "$list_left" $((window_y + menu_height + 40)) \
    "$list_width" $((board_height - 50)))"
  echo "word list: words $ink on $back, $ratio:1"
  at_least_or_fault "$ratio" 4.5 "the word list's words ($ink on $back)"
  [[ $back == "$board_back" ]] || fault "the word list's background $back is not the board's $board_back"

  # Tab takes the keys to the list: its first word shows it, and the
  # board's current cell keeps only a frame.
  local active first_word before_tab
  active=$(pixel dark-board "$(cell_background "1 1")")
  first_word="$list_left $((window_y + menu_height + 34)) $list_width 8"
  before_tab=$(mode_colour dark-board $first_word)
  xdotool key Tab
  sleep 0.3
  screenshot dark-tab
  local after_tab cell_inside cell_frame
  after_tab=$(mode_colour dark-tab $first_word)
  cell_inside=$(pixel dark-tab "$(cell_background "1 1")")
  cell_frame=$(pixel dark-tab "$(cell_point "1 1" 1)")
  echo "Tab: first word $before_tab -> $after_tab; board's current cell $active -> $cell_inside framed by $cell_frame"
  [[ $after_tab == "$active" && $before_tab != "$active" ]] ||
    fault "the list's first word does not show the focus ($before_tab -> $after_tab, active $active)"
  [[ $cell_inside == "$board_back" && $cell_frame == "$active" ]] ||
    fault "the board's current cell looks the same without the focus ($cell_inside in $cell_frame)"

  for spot in "${marked[@]}"; do click "$(cell_centre "$spot")"; done
  screenshot dark-marks
  check_marks dark-marks "${marked[0]}" "${plain[0]}"

  # The about window's links.
  local about_title about link
  about_title="^$(message 10900) "
  menu_command "$help_letter" "$(access_letter 10411)"
  wait_for 5 other_window_is_open "$about_title" || fail "the about window did not open"
  about=$(other_window "$about_title")
  sleep 0.3
  import -window root "$work/dark-about.png"
  read -r x y <<<"$(window_origin "$about")"
  # The two links are the lowest lines of the window.
  local width height
  width=$(geometry "$about" Width) height=$(geometry "$about" Height)
  back=$(mode_colour dark-about "$x" $((y + height - 50)) "$width" 50)
  link=$(strongest_ink dark-about "$x" $((y + height - 50)) "$width" 50 "$back" blue)
  [[ -n $link ]] || fault "no link colour found in the about window"
  ratio=$(contrast "${link:-$back}" "$back")
  echo "about: links $link on $back, $ratio:1"
  at_least_or_fault "$ratio" 4.5 "the about window's links ($link on $back)"
  timeout 10 xdotool windowactivate --sync "$about"
  xdotool key Return
  end_program

  check_pickers "" GTK
  check_pickers de Qt
  end_pass
}

# Which toolkit drew window ID: GTK marks its windows with a theme variant,
# Qt's own do not carry one.
toolkit_of() {
  if xprop -id "$1" _GTK_THEME_VARIANT | grep -q '='; then echo GTK; else echo Qt; fi
}

# A window that is neither the main window nor SETTINGS has the keys.
picker_is_active() {
  local active
  active=$(xdotool getactivewindow 2>/dev/null) || return 1
  [[ -n $active && $active != "$1" && $active != "$wid" ]] &&
    xwininfo -id "$active" | grep -q 'IsViewable'
}

# The colour and file pickers of the settings dialog, opened by keys with
# the desktop speaking DESKTOP_LANGUAGE: the desktop's own (GTK's) where it
# speaks the program's language, Qt's in the program's language elsewhere.
check_pickers() {
  local desktop_language=$1 expected=$2 settings picker kind name shot spoken
  spoken=${desktop_language:-like the program}
  start_program "$desktop_language"
  menu_command "$options_letter" "$settings_letter"
  wait_for 5 window_is_open "^$(message 10700)\$" || fail "the settings dialog did not open"
  settings=$(main_window "^$(message 10700)\$")
  timeout 10 xdotool windowactivate --sync "$settings"
  # The first "..." is the background colour's, the sixth stop the picture's.
  for keys in "Tab" "Tab Tab Tab Tab Tab"; do
    # shellcheck disable=SC2086 # one key per word
    xdotool key $keys Return
    wait_for 10 picker_is_active "$settings" || fail "Enter on a \"...\" button opened no picker"
    sleep 0.5
    picker=$(xdotool getactivewindow)
    kind=$(toolkit_of "$picker")
    name=$(xdotool getwindowname "$picker")
    shot=picker-${desktop_language:-same}-$(wc -w <<<"$keys")
    import -window root "$work/$shot.png"
    echo "desktop language $spoken: \"$name\" is $kind's ($shot.png)"
    [[ $kind == "$expected" ]] || fault "a $kind picker where the desktop speaks $spoken"
    [[ -n $name ]] || fault "a $kind picker without a title"
    xdotool key Escape
    wait_for 5 bash -c "[[ \$(xdotool getactivewindow) == $settings ]]" || fail "Esc did not close the picker"
  done
  xdotool key Escape
  end_program
}

# ---- twice the density ----
# The banner is the 2× picture itself, at the same logical size.
scale2_pass() {
  export QT_SCALE_FACTOR=2
  LANG=$locale LC_ALL= LANGUAGE= "$program" >>"$work/program.log" 2>&1 &
  pid=$!
  wait_for 10 window_is_open '^Pinarejo - Zelvora$' || fail "the main window did not appear"
  wid=$(main_window '^Pinarejo - Zelvora$')
  sleep 0.5
  screenshot scale2
  local width height banner fine plain_scaled
  width=$(geometry "$wid" Width) height=$(geometry "$wid" Height)
  ((width == 780)) || fault "the window is $width pixels wide, not 2 × 390"
  convert "$work/scale2.png" -crop "780x150+$window_x+$((window_y + height - 150))" +repage \
    "$work/banner.png"
  # compare tells a difference by its exit status too.
  fine=$( (compare -metric RMSE "$work/banner.png" "$source_dir/resources/background@2x.png" null: 2>&1 || true) |
    sed -E 's/.*\((.*)\)/\1/')
  convert "$source_dir/resources/background.bmp" -filter point -resize 200% "$work/enlarged.png"
  plain_scaled=$( (compare -metric RMSE "$work/banner.png" "$work/enlarged.png" null: 2>&1 || true) |
    sed -E 's/.*\((.*)\)/\1/')
  echo "banner: ${width}x$height window; differs from the 2× picture by $fine, from the 1× one enlarged by $plain_scaled"
  awk -v d="$fine" 'BEGIN { exit !(d < 0.01) }' || fault "the banner is not the 2× picture ($fine)"
  end_program
  end_pass
}

# ---- Wayland under weston ----
# Weston runs in the virtual display, so that xdotool's keys reach it; the
# program's requests (WAYLAND_DEBUG) tell each window's owner and size.
wayland_requests() {
  awk '
    /get_toplevel\(new id xdg_toplevel@/ {
      match($0, /xdg_surface@[0-9]+/); s = substr($0, RSTART, RLENGTH)
      match($0, /xdg_toplevel@[0-9]+\)/); t = substr($0, RSTART, RLENGTH - 1)
      surface_of[t] = s; toplevel_of[s] = t; title[t] = ""
    }
    /-> xdg_toplevel@[0-9]+\.set_title\(/ {
      match($0, /xdg_toplevel@[0-9]+/); t = substr($0, RSTART, RLENGTH)
      match($0, /set_title\(".*"\)/); title[t] = substr($0, RSTART + 11, RLENGTH - 13)
    }
    /-> xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@/ {
      match($0, /xdg_toplevel@[0-9]+/); t = substr($0, RSTART, RLENGTH)
      match($0, /\(xdg_toplevel@[0-9]+/); p = substr($0, RSTART + 1, RLENGTH - 1)
      parent[t] = p
    }
    /-> xdg_surface@[0-9]+\.set_window_geometry\(/ {
      match($0, /xdg_surface@[0-9]+/); t = toplevel_of[substr($0, RSTART, RLENGTH)]
      match($0, /\(.*\)/); split(substr($0, RSTART + 1, RLENGTH - 2), g, ", ")
      if (title[t] != "") size[title[t]] = g[3] "x" g[4]
      if (t in parent && title[t] != "") owner[title[t]] = title[parent[t]]
    }
    END {
      for (w in size) print "size\t" w "\t" size[w]
      for (w in owner) print "owner\t" w "\t" owner[w]
    }' "$work/wayland.log"
}
request() { wayland_requests | awk -F'\t' -v kind="$1" -v window="$2" '$1 == kind && $2 == window { print $3 }'; }
titled() { grep -qF "set_title(\"$1\")" "$work/wayland.log"; }

wayland_pass() {
  local output_width=1024 output_height=600 panel=32 plugins
  plugins=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null ||
    echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
  [[ -e $plugins/platforms/libqwayland-generic.so ]] ||
    fail "Qt's Wayland plugin is not installed (scripts/install-deps.sh brings qt6-wayland)"
  weston --backend=x11-backend.so --use-pixman --width=$output_width --height=$output_height \
    --socket=wayland-zelvora --idle-time=0 >"$work/weston.log" 2>&1 &
  helpers+=($!)
  wait_for 10 test -S "$XDG_RUNTIME_DIR/wayland-zelvora" || { echo "SKIP: weston did not start"; exit $skip; }
  sleep 1 # its shell and panel
  QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-zelvora WAYLAND_DEBUG=client \
    LANG=$locale LC_ALL= LANGUAGE= "$program" >"$work/wayland.log" 2>&1 &
  pid=$!
  wait_for 10 titled "Pinarejo - Zelvora" || fail "the main window did not appear on Wayland"
  sleep 1

  # The largest puzzle, chosen with the keys.
  local largest chooser_name caption viewer_name
  largest=$(largest_puzzle)
  chooser_name=$(message 10600)
  xdotool key alt+"$options_letter"
  sleep 0.3
  xdotool key "$choose_letter"
  wait_for 5 titled "$chooser_name" || fail "the chooser did not open on Wayland"
  sleep 0.5
  import -window root "$work/wayland-chooser.png"
  for ((i = 1; i < largest; i++)); do xdotool key Down; done
  xdotool key Return
  caption=$(puzzle_caption "$largest")
  wait_for 5 titled "$caption" || fail "puzzle $largest did not open on Wayland"
  sleep 1
  import -window root "$work/wayland-puzzle.png"
  xdotool key alt+"$help_letter"
  sleep 0.3
  xdotool key "$solution_letter"
  viewer_name="$(message 10500) $largest - $(puzzle_value "$largest" Titulo)"
  wait_for 5 titled "$viewer_name" || fail "the solution did not open on Wayland"
  sleep 1
  import -window root "$work/wayland-solution.png"
  xdotool key Return
  sleep 0.5
  end_program

  local owner size width height free=$((output_height - panel))
  for window in "$chooser_name" "$viewer_name"; do
    owner=$(request owner "$window")
    echo "$window: owner ${owner:-none}"
    [[ $owner == "Pinarejo - Zelvora" || $owner == "$caption" ]] ||
      fault "$window has no main window as its owner (${owner:-none})"
  done
  for window in "$caption" "$viewer_name"; do
    size=$(request size "$window")
    width=${size%x*} height=${size#*x}
    echo "$window: ${size:-unknown} on a ${output_width}x$output_height output with $free free rows"
    [[ -n $size ]] && ((width <= output_width && height <= free)) ||
      fault "$window (${size:-unknown}) does not fit the ${output_width}x$free free area"
  done
  end_pass
}
