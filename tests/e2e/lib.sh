# Shared helpers of the end-to-end scripts. A script sources this file, calls
# e2e_init with its name, then start_vortal / open_window, drives the window
# with the helpers below, records each check with `report ok|fail TEXT [WHY]`
# and ends with `finish`, which prints "e2e: N passed, N failed".
#
# The Windows build runs under Wine on its own virtual display (Xvfb) with the
# built-in virtual mouse in a temporary folder; screenshots go to
# ${VORTAL_E2E_SHOTS:-build/e2e-shots}/NAME-*.png.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${VORTAL_WINDOWS_BUILD:-$root/build/windows}
shots=${VORTAL_E2E_SHOTS:-$root/build/e2e-shots}
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

# Where the Wine system tray puts its first icon (no desktop tray on Xvfb),
# and the window's frame controls (client coordinates: left, top, right, bottom).
tray_icon=(12 32)
exit_item=(38 20)
main_size="880x645"
ok_rect=(513 609 618 630)
apply_rect=(617 609 722 630)
cancel_rect=(721 609 826 630)
skins_rect=(701 5 719 23)
minimise_rect=(825 5 843 23)
close_rect=(850 5 868 23)
basic_page_rect=(20 55 60 95)
advanced_page_rect=(70 55 110 95)
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
e2e_time_scale=${e2e_time_scale:-1}
wait_for() {
  local seconds=$(($1 * e2e_time_scale)); shift
  local end=$((SECONDS + seconds))
  while ! "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}
windows() { xwininfo -root -tree 2>/dev/null; }
tray_shown() { windows | grep '"Wine System Tray"' >/dev/null; }
# The tray window shows before its first icon is drawn (white until then).
tray_icon_shown() {
  local mean
  tray_shown || return 1
  mean=$(import -window root -crop "16x16+$((tray_icon[0] - 8))+$((tray_icon[1] - 8))" -format '%[fx:int(1000*mean)]' info: 2>/dev/null)
  [ "${mean:-1000}" -lt 800 ]
}
# The main window exists (shown or not): its X window has the skin's size.
main_created() { windows | grep '"vortal.exe"' | grep " $main_size+" >/dev/null; }
mapped() { xwininfo -id "$1" 2>/dev/null | grep 'Map State: IsViewable' >/dev/null; }
# Lines of the program's windows that are on the screen (a hidden window keeps its X window).
program_windows() {
  windows | grep '"vortal.exe"' | grep -v 'Default IME' | while read -r id rest; do
    if mapped "$id"; then echo "$id $rest"; fi
  done
}
# The main window's line while it is shown: '0x.. (has no name): (...)  880x645+X+Y  +X+Y'.
main_window() { program_windows | grep " $main_size+"; }
main_geometry() { main_window | grep -o '[0-9]*x[0-9]*+[0-9-]*+[0-9-]*' | head -n 1; }
# Under Wine the X window of a dialog hidden at its first paint can stay
# mapped, unpainted; what counts is whether the window's picture is on the screen.
main_painted() {
  local geometry mean
  geometry=$(main_geometry)
  [ -n "$geometry" ] || return 1
  mean=$(import -window root -crop "$geometry" -format '%[fx:int(1000*mean)]' info: 2>/dev/null)
  [ "${mean:-0}" -gt 20 ]
}
main_shown() { main_painted; }
main_hidden() { ! main_painted; }
# The program's windows other than the main window (message boxes, sub-dialogs).
other_windows() { program_windows | grep -v " $main_size+"; }
other_window_shown() { [ -n "$(other_windows)" ]; }
# Wine shows a balloon as a window of its explorer just under the tray.
balloon_shown() { windows | grep '("explorer.exe"' | grep -E ' [0-9]{3}x[4-9][0-9]\+[0-9]+\+(3[0-9]|4[0-9])' >/dev/null; }
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
# Clicks Apply and waits for config.bin to be saved; a failure is reported
# and ends the script.
apply_and_wait() {
  click_rect "${apply_rect[@]}"
  if ! wait_for 15 config_saved; then
    report fail "Apply saves config.bin" "first-run flag $(first_byte "$run/config.bin")"
    finish
  fi
  sleep 0.5
}
# The opcodes of the feature reports sent after line $1 of the traffic log
# (default: all), in order, repeats merged.
opcodes_sent() { tail -n +"$((${1:-0} + 1))" "$mouse/traffic.log" 2>/dev/null | awk '$2 == "SET_FEATURE" { print $4 }' | uniq | tr '\n' ' ' | sed 's/ $//'; }
traffic_lines() { wc -l <"$mouse/traffic.log" 2>/dev/null || echo 0; }
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
# Clicks a point of a window given by its corner (button $4, default the left),
# hovering first as a user's pointer would.
click_in() {
  move_in "$1" "$2" "$3"
  sleep 0.3
  xdotool click "${4:-1}"
}
# The same in the main window's client coordinates.
click_at() { click_in "$(main_origin)" "$@"; }
move_to() { move_in "$(main_origin)" "$@"; }
# An open list selects and highlights the line under the pointer. measure_list
# ORIGIN X Y hovers the point X Y of the window with that corner (X at the
# list's right end, where text rarely reaches) and reads the highlighted band
# from the screen: list_top and list_height, in the window's coordinates, are
# the line's top and height. Fails when no highlighted line is there.
list_top=0
list_height=0
measure_list() {
  move_in "$1" $(($2 - 12)) "$3"
  sleep 0.3
  move_in "$1" $(($2 - 10)) "$3"
  # A busy machine draws the highlight late.
  wait_for 3 highlighted_band "$@"
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

# The basic page's panes of the buttons' functions: left and right edge, and
# the top of button $1's pane.
pane_left=252
pane_right=463
pane_top() { echo $((186 + 23 * ($1 - 1))); }
# Opens button $1's function list and measures its lines at the first one.
open_function_list() {
  local top
  top=$(pane_top "$1")
  click_rect $pane_left "$top" $pane_right $((top + 21))
  sleep 0.5
  measure_list "$(main_origin)" $((pane_right - 8)) $((top + 27)) && return
  report fail "button $1's function list highlights the line under the pointer"
  return 1
}

# e2e_init NAME [LANGUAGE]: a delivered run folder, the virtual mouse and a
# virtual display. LANGUAGE "zh" runs Wine in Simplified Chinese (own prefix).
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
  "$root/scripts/wine-fonts.sh" || report fail "Chinese font faces are set up in the Wine prefix"
  start_display || finish
}

# A virtual display of its own (Xvfb) for the program.
start_display() {
  local display=99
  while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  wait_for 10 xdpyinfo >/dev/null 2>&1 || { report fail "virtual display starts"; return 1; }
}

# Starts Vortal.exe in the run folder and waits for its tray icon.
start_vortal() {
  (cd "$run" && exec "$wine" "$run/Vortal.exe") >/dev/null 2>&1 &
  vortal_pid=$!
  wait_for 60 tray_icon_shown || {
    shot no-tray-icon
    report fail "starts in the tray" "no tray icon within 60 s: $(windows | grep -c '"Wine System Tray"') tray windows, program $(kill -0 "$vortal_pid" 2>/dev/null && echo running || echo ended)"
    return 1
  }
  wait_for 30 main_created || { report fail "creates its window" "none within 30 s"; return 1; }
  settle
}
# The end of the start-up: the mouse greeted, the window hidden at its first
# paints. (The tray icon comes earlier; a tray click before the window's
# second paint is undone by the start-up hiding, as it is on Windows.)
settle() {
  # The basic page's first showing writes the sensor options (opcode 03).
  wait_for 30 bash -c "grep -q 'SET_FEATURE 00 03' '$mouse/traffic.log' 2>/dev/null"
  wait_for 20 main_hidden
  sleep 1.5
}
# Opens the window from the tray icon.
# A click that lands while the start-up still draws the page is undone by the
# start-up hiding (as on Windows); like a user, click once more then.
open_window() {
  xdotool mousemove "${tray_icon[@]}" click 1
  if ! wait_for 6 main_shown; then
    xdotool mousemove "${tray_icon[@]}" click 1
    wait_for 10 main_shown || { report fail "a tray click opens the window" "not shown"; return 1; }
  fi
  sleep 1
}
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
# Right-clicks the tray icon and chooses the menu's single item, Exit, at the
# middle of the menu window wherever it opened.
tray_exit() {
  local menu size
  xdotool mousemove "${tray_icon[@]}" click 3
  if ! wait_for 5 other_window_shown; then
    # Like the left click, one landing during the start-up can be lost.
    sleep 1
    xdotool mousemove "${tray_icon[@]}" click 3
    wait_for 10 other_window_shown || return 1
  fi
  sleep 0.5
  [ -z "${1:-}" ] || shot "$1"
  menu=$(other_windows | head -n 1)
  size=$(size_of <<<"$menu")
  click_in "$(origin_of <<<"$menu")" $((${size% *} / 2)) $((${size#* } / 2))
}
