# Shared helpers of the end-to-end scripts. A script sources this file, calls
# e2e_init with its name, then start_vortal / open_window, drives the window
# with the helpers below, records each check with `report ok|fail TEXT [WHY]`
# and ends with `finish`, which prints "e2e: N passed, N failed".
#
# The Windows build runs under Wine on its own virtual display (Xvfb) with the
# built-in virtual mouse in a temporary folder and tells its state in a log
# (app/state_log.h) that the helpers wait on; screenshots go to
# ${VORTAL_E2E_SHOTS:-build/e2e-shots}/NAME-*.png, the state log of the last
# start to NAME-state.log, Wine's messages to NAME-wine.log and vortalctl's
# output to NAME-vortalctl.log.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${VORTAL_WINDOWS_BUILD:-$root/build/windows}
shots=${VORTAL_E2E_SHOTS:-$root/build/e2e-shots}
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

# The display scale the checks run at: Wine's DPI (VORTAL_E2E_DPI, default 96
# = 100 %). The program lays its windows out in units of 96 DPI and draws them
# at this scale; px turns units into pixels by the program's rounding (to the
# nearest pixel, halves up), for the points a check clicks that the program
# does not publish.
e2e_dpi=${VORTAL_E2E_DPI:-96}
px() { echo $((($1 * e2e_dpi + 48) / 96)); }
# Where the Wine system tray puts its first icon (no desktop tray on Xvfb).
tray_icon=("$(px 12)" "$(px 32)")
# The main window's size: as the program published it ("rect window"; a
# window too large for the screen at its scale is drawn at a smaller one),
# else the skin's 880 x 645 at the scale.
main_size="$(px 880)x$(px 645)"
window_size() {
  local r=""
  # Without a log (a real mouse's program keeps none) awk must not read stdin.
  [ -z "$state_log" ] || [ ! -s "$state_log" ] ||
    r=$(awk '$1 == "rect" && $2 == "window" { box = $3 " " $4 " " $5 " " $6 } END { print box }' "$state_log")
  if [ -n "$r" ]; then set -- $r; echo "$(($3 - $1))x$(($4 - $2))"; else echo "$main_size"; fi
}
# Apply's command order as the mouse sees it: opcodes of the feature reports.
apply_opcodes="01 90 10 0D 11 13 93 12"

e2e_name=""
passed=0
failed=0
work=""
run=""
mouse=""
xvfb_pid=""
vortal_pid=""

report() {
  if [ "$1" = ok ]; then passed=$((passed + 1)); echo "ok   $e2e_name: $2"; else failed=$((failed + 1)); echo "FAIL $e2e_name: $2${3:+: $3}"; fi
}
stop_vortal() {
  [ -z "$vortal_pid" ] || kill "$vortal_pid" 2>/dev/null
  "$wineserver" -k 2>/dev/null
  # A program started while the old server is still going down can hang on it.
  timeout 30 "$wineserver" -w 2>/dev/null
  vortal_pid=""
  # The next start must not find the old tray (it goes with the wineserver).
  [ -z "${DISPLAY:-}" ] || wait_for 10 bash -c "! xwininfo -root -tree 2>/dev/null | grep -q 'Wine System Tray'"
}
cleanup() {
  # The program's state log of the last start goes beside the screenshots,
  # with what Wine said (the window's and the wine server's messages) and
  # what vortalctl.exe printed.
  [ -z "$state_log" ] || [ -z "$e2e_name" ] || cp "$state_log" "$shots/$e2e_name-state.log" 2>/dev/null
  if [ -n "$work" ] && [ -n "$e2e_name" ]; then
    for log in wine vortalctl; do
      rm -f "$shots/$e2e_name-$log.log"
      [ ! -s "$work/$log.log" ] || cp "$work/$log.log" "$shots/$e2e_name-$log.log"
    done
  fi
  stop_vortal
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
  [ -z "$work" ] || rm -rf "$work"
}
finish() {
  cleanup
  echo "e2e: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

# Polls a condition (a command) every 0.2 s for up to $1 seconds, times
# e2e_time_scale on a machine that runs the program slowly (an emulated one).
# The condition runs in this shell, so it may set variables.
e2e_time_scale=${e2e_time_scale:-1}
# The step between two looks: the benchmarks look more often (poll_for).
e2e_poll_step=0.2
wait_for() {
  local seconds=$(($1 * e2e_time_scale)); shift
  local end=$((SECONDS + seconds))
  while ! "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep "$e2e_poll_step"
  done
}
# wait_for with a finer step, for timing.
poll_for() { e2e_poll_step=0.02 wait_for "$@"; }

# ---- The program's state log (app/state_log.h): under the virtual mouse the
# program appends a line for everything these checks wait for. A wait counts
# only the lines after the mark, which mark_state sets to the end of the log
# (the helpers that act set it before they act) and each wait that is met
# moves past the line it met, so an old line never satisfies a new wait.
state_log=""
state_mark=0
state_line=""  # the line the last wait met
state_count() { if [ -s "$state_log" ]; then wc -l <"$state_log"; else echo 0; fi; }
# Also notes the program's windows on the screen, to tell a window that opens.
marked_windows=""
mark_state() {
  state_mark=$(state_count)
  marked_windows=" $(other_windows | cut -d' ' -f1 | tr '\n' ' ')"
}
# The first line after the mark matching the extended pattern $1; moves the
# mark past it.
state_met() {
  local found
  found=$(pattern=$1 awk -v from="$state_mark" 'NR > from && $0 ~ ENVIRON["pattern"] { print NR ":" $0; exit }' "$state_log" 2>/dev/null)
  [ -n "$found" ] || return 1
  state_mark=${found%%:*}
  state_line=${found#*:}
}
# wait_state SECONDS PATTERN: waits for a line after the mark that matches
# PATTERN (anchored: the whole line).
wait_state() { wait_for "$1" state_met "^($2)\$"; }
# The newest line matching $1 (anchored), whatever the mark.
last_state() { grep -E -- "^($1)\$" "$state_log" 2>/dev/null | tail -n 1; }
# A control's rectangle as this run of the program published it: "LEFT TOP
# RIGHT BOTTOM" in its window's client coordinates (names in app/state_log.cpp).
rect_of() {
  local box
  box=$(awk -v n="$1" '$1 == "rect" && $2 == n { box = $3 " " $4 " " $5 " " $6 } END { print box }' "$state_log" 2>/dev/null)
  [ -n "$box" ] || echo "e2e: the program published no rectangle \"$1\"" >&2
  echo "$box"
}
# The middle "X Y" of a published rectangle.
centre_of() { local r; read -r -a r <<<"$(rect_of "$1")"; echo "$(((r[0] + r[2]) / 2)) $(((r[1] + r[3]) / 2))"; }

windows() { xwininfo -root -tree 2>/dev/null; }
tray_shown() { windows | grep '"Wine System Tray"' >/dev/null; }
mapped() { xwininfo -id "$1" 2>/dev/null | grep 'Map State: IsViewable' >/dev/null; }
# Lines of the program's windows that are on the screen (a hidden window keeps its X window).
program_windows() {
  windows | grep '"vortal.exe"' | grep -v 'Default IME' | while read -r id rest; do
    if mapped "$id"; then echo "$id $rest"; fi
  done
}
# The main window's line while its X window is on the screen: '0x.. (has no
# name): (...)  880x645+X+Y  +X+Y'.
main_window() { program_windows | grep " $(window_size)+"; }
main_geometry() { main_window | grep -o '[0-9]*x[0-9]*+[0-9-]*+[0-9-]*' | head -n 1; }
# What the program last said of its window: "window shown PAGE", "page PAGE"
# or "window hidden".
window_state() { last_state 'window (shown|hidden).*|page .*'; }
# The window is shown (as the program says, and its X window is on the
# screen, so a click reaches it) or hidden. (Under Wine the X window of a
# window hidden at its first paint can stay mapped: only the program knows.)
main_shown() { [[ "$(window_state)" =~ ^(window\ shown|page) ]] && [ -n "$(main_window)" ]; }
main_hidden() { [ "$(window_state)" = "window hidden" ]; }
# The page shown: basic, advanced or none.
shown_page() { window_state | awk '{ print $NF }'; }
# The program's windows other than the main window (message boxes, sub-dialogs, menus).
other_windows() { program_windows | grep -v " $(window_size)+"; }
other_window_shown() { [ -n "$(other_windows)" ]; }
# Keys: with no window manager the X server gives a key to the window under
# the pointer, and Wine hands it to the program's active window. So a key is
# typed with the pointer over one of the program's windows (what was clicked
# last, usually), once the window that should take it is open.
# Wine shows a balloon as a window of its explorer just under the tray.
balloon_shown() { windows | grep '("explorer.exe"' | grep -E ' [0-9]{3}x[4-9][0-9]\+[0-9]+\+(3[0-9]|4[0-9])' >/dev/null; }
# Waits for the balloon whose text matches $2 (the program tells each one) and
# for Wine to show it.
wait_balloon() { wait_state "$1" "balloon $2" && wait_for "$1" balloon_shown; }
# Waits for a modal window the program opened: the state line $2 ("dialog
# opened NAME", "message opened TEXT", "menu opened"), then a window of the
# program on the screen that was not there at the mark; opened_id is its X
# window and opened_origin its top-left corner "X Y" on the screen.
opened_id=""
opened_origin=""
new_window_shown() {
  local line
  while read -r line; do
    [ -n "$line" ] || continue
    [[ "$marked_windows" == *" ${line%% *} "* ]] && continue
    opened_id=${line%% *}
    opened_origin=$(origin_of <<<"$line")
    return 0
  done <<<"$(other_windows)"
  return 1
}
wait_opened() { wait_state "$1" "$2" && wait_for "$1" new_window_shown; }
# Closes the message box the program opened ($1 names its screenshot; $2,
# if given, is the text it must show) with its OK button (a key could reach
# what is behind it), and waits until it is gone.
close_box() {
  wait_opened 10 "message opened ${2:-.*}" || return 1
  shot "box-$1"
  local size
  size=$(xwininfo -id "$opened_id" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
  click_in "$opened_origin" $((${size% *} / 2)) $((${size#* } - $(px 22)))
  wait_closed 10 'message closed'
}
# Waits for the program to say that a modal window closed ($2), then for its
# X window ($3, default the last one opened) to leave the screen, so that the
# next click reaches what is under it.
unmapped() { ! mapped "$1"; }
wait_closed() { wait_state "$1" "$2" && wait_for "$1" unmapped "${3:-$opened_id}"; }
shot() { import -window root "$shots/$e2e_name-$1.png" 2>/dev/null; }
first_byte() { od -An -tu1 -N1 "$1" 2>/dev/null | tr -d ' '; }
# Byte values (decimal) of a file: bytes_at FILE OFFSET COUNT.
bytes_at() { od -An -tu1 -j "$2" -N "$3" "$1" 2>/dev/null | tr -s ' ' | sed 's/^ //; s/ $//'; }
config_saved() { [ "$(first_byte "$run/config.bin")" = 1 ]; }
# Bytes of the settings record in config.bin (the first-run flag comes
# first): record_bytes OFFSET [COUNT].
record_bytes() { bytes_at "$run/config.bin" $((1 + $1)) "${2:-1}"; }
# One check of record bytes: check_record TEXT OFFSET EXPECTED [COUNT].
check_record() {
  local got
  got=$(record_bytes "$2" "${4:-1}")
  if [ "$got" = "$3" ]; then report ok "$1"; else report fail "$1" "config.bin at $2: $got, expected $3"; fi
}
# The data phase (output reports) that followed the last command "OPCODE ARG": the bytes of
# its output reports without their report ID, upper-case hex.
data_after() {
  awk -v cmd="$1" '
    $2 == "SET_FEATURE" { active = index($3 " " $4 " " $5 " ", "00 " cmd " ") == 1; if (active) data = ""; next }
    $2 == "WRITE" && active { for (i = 4; i <= NF; i++) data = data " " $i; next }
    { active = 0 }
    END { sub(/^ /, "", data); print data }' "$mouse/traffic.log"
}
# Clicks Apply and waits for the program to finish it; a failure is reported
# and ends the script.
apply_and_wait() {
  click_control apply
  if ! wait_state 15 applied || ! config_saved; then
    report fail "Apply saves config.bin" "first-run flag $(first_byte "$run/config.bin")"
    finish
  fi
}
# The opcodes of the feature reports sent after line $1 of the traffic log
# (default: all), in order, repeats merged.
opcodes_sent() { tail -n +"$((${1:-0} + 1))" "$mouse/traffic.log" 2>/dev/null | awk '$2 == "SET_FEATURE" { print $4 }' | uniq | tr '\n' ' ' | sed 's/ $//'; }
traffic_lines() { wc -l <"$mouse/traffic.log" 2>/dev/null || echo 0; }
# What the program sent in an Apply after line $1 of the traffic log: its
# commands and output reports from its first command on, without the times
# (the mouse's answers tell what it held before).
apply_traffic() {
  tail -n +"$((${1:-0} + 1))" "$mouse/traffic.log" 2>/dev/null |
    awk -v first="${apply_opcodes%% *}" '$2 == "SET_FEATURE" && $4 == first { on = 1 }
      on && ($2 == "SET_FEATURE" || $2 == "WRITE") { $1 = ""; print }'
}

# The same changes made with vortalctl.exe (the same core, under Wine, on the
# same virtual mouse) on the folder as it was before the window made them:
# keep_folder before the window starts, then ctl_set NAME VALUE... for each
# change and ctl_matches_window LINE WHAT after the window's Apply (LINE: the
# traffic log's length before it). The Apply traffic, config.bin (but for
# the page the window last showed) and str.ini's button texts must be the
# window's.
keep_folder() { rm -rf "$work/before" && mkdir -p "$work/before" && cp "$run"/*.bin "$run"/*.ini "$work/before/"; }
# vortalctl_in DIR ARGUMENTS... runs vortalctl.exe from the run folder on
# DIR; its output goes to $work/vortalctl.out (and is added to
# $work/vortalctl.log), its exit code is returned and ctl_said tells both
# for a failure's text: "exit CODE: LAST LINE" or "exit CODE, no output"
# (a code above 128 names the signal that ended Wine's process).
ctl_said=""
vortalctl_in() {
  local code=0 how
  (cd "$run" && "$wine" "$run/vortalctl.exe" --dir "$@") >"$work/vortalctl.out" 2>&1 || code=$?
  cat "$work/vortalctl.out" >>"$work/vortalctl.log"
  how="exit $code"
  [ "$code" -le 128 ] || how="$how (signal $(kill -l $((code - 128)) 2>/dev/null || echo $((code - 128))))"
  if [ -s "$work/vortalctl.out" ]; then
    ctl_said="$how: $(tail -n 1 "$work/vortalctl.out")"
  else
    ctl_said="$how, no output"
  fi
  return "$code"
}
ctl_set() {
  [ -d "$work/ctl" ] || { cp -r "$work/before" "$work/ctl"; ctl_problems=""; }
  vortalctl_in "$work/ctl" set "$@" || ctl_problems="$ctl_problems; set $*: $ctl_said"
}
ctl_matches_window() {
  local window ctl from
  window=$(apply_traffic "$1")
  from=$(traffic_lines)
  vortalctl_in "$work/ctl" apply || ctl_problems="$ctl_problems; apply: $ctl_said"
  ctl=$(apply_traffic "$from")
  if [ -z "$ctl_problems" ] && [ -n "$window" ] && [ "$window" = "$ctl" ]; then
    report ok "vortalctl set then apply sends what the window sent for $2"
  else
    report fail "vortalctl set then apply sends what the window sent for $2" \
      "${ctl_problems:-$(diff <(echo "$window") <(echo "$ctl") | head -n 6 | tr '\n' ' ')}"
  fi
  # The edited mode is where the window's page was, not a setting.
  if cmp -s <(head -c 1961 "$run/config.bin") <(head -c 1961 "$work/ctl/config.bin") &&
    cmp -s <(tail -c +1963 "$run/config.bin") <(tail -c +1963 "$work/ctl/config.bin"); then
    report ok "vortalctl saves the config.bin the window saved for $2"
  else
    report fail "vortalctl saves the config.bin the window saved for $2" "$(cmp "$run/config.bin" "$work/ctl/config.bin" 2>&1 | head -n 1)"
  fi
  if cmp -s "$run/str.ini" "$work/ctl/str.ini"; then
    report ok "vortalctl writes the button texts the window wrote for $2"
  else
    report fail "vortalctl writes the button texts the window wrote for $2" \
      "$(diff <(iconv -f UTF-16 -t UTF-8 "$run/str.ini" 2>/dev/null || cat "$run/str.ini") <(iconv -f UTF-16 -t UTF-8 "$work/ctl/str.ini" 2>/dev/null || cat "$work/ctl/str.ini") | head -n 4 | tr '\n' ' ')"
  fi
  rm -rf "$work/ctl"
}

# The top-left corner "X Y" on the screen of the window on an xwininfo line
# read from the input.
origin_of() { grep -o '+[0-9-]*+[0-9-]*$' | head -n 1 | tr '+' ' ' | sed 's/^ //'; }
# The size "W H" of the window on an xwininfo line read from the input.
size_of() { grep -o '[0-9]*x[0-9]*+' | head -n 1 | tr 'x+' '  ' | sed 's/ *$//'; }
# The screen area "WxH+X+Y" of a rectangle of a window given by its corner:
# area_in "X Y" X Y W H.
area_in() { echo "$4x$5+$((${1% *} + $2))+$((${1#* } + $3))"; }
# The main window's top-left corner on the screen: "X Y".
main_origin() { main_window | origin_of; }
# Moves the pointer to a point of a window given by its top-left corner on the
# screen: move_in "X Y" X Y.
move_in() { xdotool mousemove $((${1% *} + $2)) $((${1#* } + $3)); }
# Clicks a point of a window given by its corner (button $4, default the
# left), the pointer moved there first as a user's would. Marks the state log
# first: what the click brings is what comes after.
click_in() {
  mark_state
  move_in "$1" "$2" "$3"
  xdotool click "${4:-1}"
}
# The same in the main window's client coordinates.
click_at() { click_in "$(main_origin)" "$@"; }
move_to() { move_in "$(main_origin)" "$@"; }
# Clicks a point of the main window and waits until the program has handled
# the click (a modal window it opened has ended by then).
click_handled() { click_at "$@" && wait_state 10 'clicked .*'; }
# An open list selects and highlights the line under the pointer. measure_list
# ORIGIN X Y moves the pointer onto the point X Y of the window with that
# corner (X at the list's right end, where text rarely reaches) and reads the
# highlighted band from the screen: list_top and list_height, in the window's
# coordinates, are the line's top and height. Fails when no highlighted line
# is there.
list_top=0
list_height=0
measure_list() {
  # Two moves: the pointer may already rest at the point, and a move to
  # where it is tells the program nothing.
  move_in "$1" $(($2 - 12)) "$3"
  move_in "$1" $(($2 - 10)) "$3"
  wait_for 5 highlighted_band "$@"
}
# Reads the band once: eight pixel columns of the screen ending at X; a row is
# highlighted where one of its pixels is the selection's blue (not the cyan of
# a frame), and the band is the run of such rows through Y.
highlighted_band() {
  local from=$(($3 > 40 ? $3 - 40 : 0)) band
  band=$(import -window root -crop "8x81+$((${1% *} + $2 - 7))+$((${1#* } + from))" +repage -depth 8 txt:- 2>/dev/null |
    sed -n 's/^[0-9]*,\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
    awk -v at=$(($3 - from)) '
      $4 - $2 > 100 && $4 - $3 > 50 { blue[$1] = 1 }
      END {
        if (!blue[at]) exit 1
        top = at; while (blue[top - 1]) top--
        bottom = at; while (blue[bottom + 1]) bottom++
        print top, bottom - top + 1
      }') || return 1
  list_top=$((from + ${band% *}))
  list_height=${band#* }
  [ "$list_height" -ge 8 ] && [ "$list_height" -le 40 ]
}
# The middle of line $1 of the list measured last (0 the line measured).
list_line_y() { echo $((list_top + $1 * list_height + list_height / 2)); }
# Clicks the middle of a client rectangle of the main window.
click_rect() { click_at $((($1 + $3) / 2)) $((($2 + $4) / 2)); }
# Clicks the middle of a control the program published (rect_of).
click_control() { click_rect $(rect_of "$1"); }

# Opens button $1's function list (its pane's list, 40 + $1) and measures
# its lines at the first one.
open_function_list() {
  local pane
  read -r -a pane <<<"$(rect_of "pane$1")"
  click_rect "${pane[@]}"
  wait_state 10 "list opened $((40 + $1))" &&
    measure_list "$(main_origin)" $((pane[2] - $(px 8))) $((pane[1] + $(px 27))) && return
  report fail "button $1's function list highlights the line under the pointer"
  return 1
}

# e2e_init NAME [LANGUAGE]: a delivered run folder, the virtual mouse and a
# virtual display. LANGUAGE "zh" runs Wine in Simplified Chinese (own prefix);
# another scale than 100 % has a prefix of its own too.
e2e_init() {
  e2e_name=$1
  local language=${2:-en}
  trap 'report fail "interrupted"; finish' INT TERM
  if [ "$language" = zh ]; then
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    export WINEPREFIX=${VORTAL_E2E_WINEPREFIX_ZH:-$root/build/e2e-wineprefix-zh}
  else
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    export WINEPREFIX=${VORTAL_E2E_WINEPREFIX:-$root/build/e2e-wineprefix}
  fi
  if [ "$e2e_dpi" != 96 ]; then
    export WINEPREFIX="$WINEPREFIX-$e2e_dpi"
    e2e_name="$e2e_name-$e2e_dpi"
  fi
  for tool in Xvfb xdotool xwininfo import; do
    command -v "$tool" >/dev/null || { report fail "tool $tool is installed"; finish; }
  done
  work=$(mktemp -d)
  run="$work/run"
  mouse="$work/mouse"
  mkdir -p "$shots"
  rm -f "$shots/$e2e_name"-*.png
  "$root/scripts/delivered-folder.sh" "$build" "$run" 2>/dev/null || {
    report fail "Vortal.exe is built" "none under $build"
    finish
  }
  export VORTAL_VIRTUAL_MOUSE="$mouse"
  state_log="$work/state.log"
  export VORTAL_STATE_LOG="$state_log"
  "$root/scripts/wine-fonts.sh" || report fail "Chinese font faces are set up in the Wine prefix"
  "$root/scripts/wine-dpi.sh" "$e2e_dpi" || report fail "the Wine prefix is set to $e2e_dpi DPI"
  start_display || finish
}

# A virtual display of its own (Xvfb) for the program, as large for its scale
# as 1024 x 768 is at 100 % (VORTAL_E2E_SCREEN, "WIDTHxHEIGHT", sets another).
start_display() {
  local display=99
  while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 "${VORTAL_E2E_SCREEN:-$(px 1024)x$(px 768)}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  wait_for 10 xdpyinfo >/dev/null 2>&1 || { report fail "virtual display starts"; return 1; }
}

# Starts Vortal.exe in the run folder, its state log empty; launch_vortal
# does not wait, start_vortal waits for the end of its start-up.
launch_vortal() {
  [ -z "$state_log" ] || : >"$state_log"
  state_mark=0
  marked_windows=" "
  (cd "$run" && exec "$wine" "$run/Vortal.exe") >>"$work/wine.log" 2>&1 &
  vortal_pid=$!
}
# The end of the start-up: the tray icon added, the mouse greeted, the
# window hidden at its first paints (a tray click before that would be
# undone by the start-up hiding, as it is on Windows).
start_vortal() {
  launch_vortal
  started || {
    shot no-start
    report fail "starts in the tray" "not started within 60 s: $(windows | grep -c '"Wine System Tray"') tray windows, program $(kill -0 "$vortal_pid" 2>/dev/null && echo running || echo ended), last state: $([ -z "$state_log" ] || tail -n 1 "$state_log"), Wine: $(tail -n 3 "$work/wine.log" 2>/dev/null | tr '\n' ' ')"
    return 1
  }
}
# Opens the window from the tray icon and waits until it is shown, its
# picture drawn.
open_window() {
  mark_state
  xdotool mousemove "${tray_icon[@]}" click 1
  opened || {
    report fail "a tray click opens the window" "$(window_state)"
    return 1
  }
}
# A program on a real mouse keeps no state log (tests/hid/window.sh runs one
# in the HID rig): its start-up and its window are then read from the mouse's
# traffic and from the screen, where a window hidden at its first paint can
# keep its X window, unpainted: it counts as shown once its picture is there.
# The tray's icon drawn on the screen (white until then): the system has
# taken it, and a click on it reaches the program.
tray_icon_drawn() {
  local mean
  tray_shown || return 1
  mean=$(import -window root -crop "16x16+$((tray_icon[0] - 8))+$((tray_icon[1] - 8))" -format '%[fx:int(1000*mean)]' info: 2>/dev/null)
  [ "${mean:-1000}" -lt 800 ]
}
# The start-up hid the window (its X window taken off the screen).
main_unmapped() { [ -z "$(main_window)" ]; }
started() {
  if [ -n "$state_log" ]; then
    wait_state 60 ready && wait_for 10 tray_shown
  else
    wait_for 60 tray_icon_drawn && wait_for 60 greeted_at_start && wait_for 30 main_created &&
      wait_for 20 main_unmapped
  fi
}
opened() {
  if [ -n "$state_log" ]; then
    wait_state 10 'window shown .*' && wait_state 10 'window painted' && wait_for 10 main_shown
  else
    wait_for 10 picture_shown
  fi
}
picture_shown() {
  local geometry mean
  geometry=$(main_geometry)
  [ -n "$geometry" ] || return 1
  mean=$(import -window root -crop "$geometry" -format '%[fx:int(1000*mean)]' info: 2>/dev/null)
  [ "${mean:-0}" -gt 20 ]
}
no_picture_shown() { ! picture_shown; }
# The start-up's showing of the basic page writes the sensor options (opcode 03).
greeted_at_start() { grep -q 'SET_FEATURE 00 03' "$mouse/traffic.log" 2>/dev/null; }
# The main window's X window exists (shown or not): it has the skin's size.
main_created() { windows | grep '"vortal.exe"' | grep " $(window_size)+" >/dev/null; }
# Waits up to $1 seconds for the program to end; sets exit_code to its exit
# code, or to "running".
exit_code=""
wait_exit() {
  if wait_for "$1" bash -c "! kill -0 $vortal_pid 2>/dev/null"; then
    wait "$vortal_pid"
    exit_code=$?
    vortal_pid=""
  else
    exit_code=running
  fi
}
# Right-clicks the tray icon and chooses item $1 of its menu (0 the top one,
# "last" the bottom one, Exit) in the middle of its band of the menu window
# wherever it opened; the program lists the items ("menu item LABEL") as it
# opens the menu. $2 names a screenshot of the menu.
tray_choose() {
  local size items item from
  mark_state
  from=$state_mark
  xdotool mousemove "${tray_icon[@]}" click 3
  wait_opened 10 'menu opened' || return 1
  items=$(tail -n +"$((from + 1))" "$state_log" | grep -c '^menu item ')
  [ "$items" -gt 0 ] || items=1
  item=$1
  [ "$item" != last ] || item=$((items - 1))
  [ -z "${2:-}" ] || shot "$2"
  size=$(xwininfo -id "$opened_id" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
  click_in "$opened_origin" $((${size% *} / 2)) $((${size#* } * (2 * item + 1) / (2 * items)))
}
# tray_choose_sub TOP SUB [SHOT]: item SUB of the submenu at the tray menu's
# item TOP, counting the submenu's items from the state log.
tray_choose_sub() {
  local from items size
  from=$(state_count)
  # Clicking the item opens its submenu: the window that appears beside
  # the menu.
  tray_choose "$1" || return 1
  marked_windows="$marked_windows$opened_id "
  wait_for 10 new_window_shown || return 1
  items=$(tail -n +"$((from + 1))" "$state_log" | grep -c '^submenu item ')
  [ "$items" -gt 0 ] || return 1
  [ -z "${3:-}" ] || shot "$3"
  size=$(xwininfo -id "$opened_id" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
  click_in "$opened_origin" $((${size% *} / 2)) $((${size#* } * (2 * $2 + 1) / (2 * items)))
}
# Chooses Exit from the tray menu; $1 names a screenshot of the menu.
tray_exit() { tray_choose last "${1:-}"; }
