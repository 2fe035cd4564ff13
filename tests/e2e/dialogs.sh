#!/usr/bin/env bash
# The assignment dialogs as a user works them: from a button's function list
# into the Windows, multimedia, fire key, single key, combo key and macro
# dialogs, each used and confirmed; then Apply, checked in config.bin and in
# the key matrix the mouse receives. "zh" runs the same on a Simplified
# Chinese system.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init dialogs en; else e2e_init "dialogs-$language" "$language"; fi

# The sub-dialog on the screen (all of them are 392 pixels wide).
dialog_origin() { other_windows | grep -E ' 392x(285|312)\+' | origin_of; }
dialog_shown() { [ -n "$(dialog_origin)" ]; }
dialog_gone() { ! dialog_shown; }
# Clicks a client point of the sub-dialog.
dialog_click() {
  click_in "$(dialog_origin)" "$1" "$2"
  sleep 0.4
}
dialog_ok() { dialog_click 218 263; wait_for 5 dialog_gone; }
# Opens a drop-down list of the sub-dialog by a click at $1 $2 and measures
# its lines; $3 is the list's top border, $4 a column at its right end.
open_dialog_list() {
  dialog_click "$1" "$2"
  measure_list "$(dialog_origin)" "$4" $(($3 + 5)) ||
    report fail "the drop-down list at $1,$2 highlights the line under the pointer"
}
# Opens button $1's function list, takes screenshot $3 of it when given, and
# picks item $2; waits for the item's dialog.
choose_function() {
  open_function_list "$1" || { xdotool key Escape; return 1; }
  move_to 300 "$(list_line_y "$2")"
  sleep 0.3
  [ -z "${3:-}" ] || shot "$3"
  click_at 300 "$(list_line_y "$2")"
  if ! wait_for 10 dialog_shown; then
    report fail "function $2 of button $1 opens its dialog"
    return 1
  fi
  sleep 0.8
}

printf '[Alpha]\r\nItemCount=1\r\nItem0=A   Dn\r\n[Beta]\r\nItemCount=3\r\nItem0=B   Dn\r\nItem1=50 ms\r\nItem2=B   Up\r\n' >"$run/record.ini"
start_vortal || finish
open_window || finish

# Button 3: Windows, "Calculator".
if choose_function 3 8 01-function-list; then
  shot 02-windows
  open_dialog_list 140 136 145 146
  shot 03-windows-list
  dialog_click 90 "$(list_line_y 2)"
  shot 04-windows-used
  dialog_ok || report fail "the Windows dialog ends with OK"
fi
# Button 4: Multimedia, "Vol-".
if choose_function 4 9; then
  shot 05-media
  open_dialog_list 140 136 145 146
  shot 06-media-list
  dialog_click 90 "$(list_line_y 6)"
  shot 07-media-used
  dialog_ok || report fail "the multimedia dialog ends with OK"
fi
# Button 5: Fire Key "C", speed 9, times 0.
if choose_function 5 10; then
  shot 08-fire
  open_dialog_list 120 77 86 108  # left of the scroll bar
  shot 09-fire-list
  dialog_click 90 "$(list_line_y 2)"
  dialog_click 90 127
  xdotool key ctrl+a BackSpace
  xdotool type 9
  dialog_click 90 177
  xdotool key ctrl+a BackSpace
  xdotool type 0
  sleep 0.3
  shot 10-fire-used
  dialog_ok || report fail "the fire key dialog ends with OK"
fi
# Button 6: Single Key, the B key (Enter first: captured, not confirming).
if choose_function 6 11; then
  shot 11-single
  xdotool key Return
  sleep 0.5
  if dialog_shown; then report ok "Enter in the single key dialog is a key, not OK"; else report fail "Enter in the single key dialog is a key, not OK"; fi
  xdotool key b
  sleep 0.5
  shot 12-single-used
  dialog_ok || report fail "the single key dialog ends with OK"
fi
# Button 7: Combo Key, Left Shift + A + Enter.
if choose_function 7 12; then
  shot 13-combo
  open_dialog_list 90 77 86 126
  shot 14-combo-list
  dialog_click 90 "$(list_line_y 1)"
  dialog_click 90 127
  xdotool key a
  dialog_click 90 177
  xdotool key Return
  sleep 0.5
  shot 15-combo-used
  dialog_ok || report fail "the combo key dialog ends with OK"
fi
# Button 8: Macro Key, "Beta", repeat until released.
if choose_function 8 13; then
  shot 16-macro
  open_dialog_list 145 136 146 146
  shot 17-macro-list
  dialog_click 90 "$(list_line_y 1)"
  dialog_click 228 186
  shot 18-macro-used
  dialog_ok || report fail "the macro dialog ends with OK"
fi
sleep 0.5
shot 19-page

apply_and_wait
check_record "buttons 3 to 8 hold Windows, Multimedia, Fire, Single, Combo, Macro" 2 "8 9 10 11 12 13" 6
check_record "Calculator: index 2, code 0x92, selector 1" 38 2
check_record "Calculator's code" 50 146
check_record "Calculator's selector" 62 1
check_record "Vol-: index 6, code 0xEA" 15 6
check_record "Vol-'s code" 27 234
check_record "fire key C: index 2, code 0x06, speed 9, times 0" 76 2
check_record "fire key code" 88 6
check_record "fire speed" 100 9
check_record "fire times" 112 0
check_record "single key B" 125 5
check_record "combo modifier Left Shift" 138 2
check_record "combo first key A" 150 4
check_record "combo second key Enter" 162 40
check_record "macro Beta" 175 1
check_record "macro repeat until released" 187 2

matrix1=$(data_after "12 01")
expected="03 00 92 01 03 00 EA 00 0A 06 09 00 00 00 05 00 09 02 02 00 00 02 04 28"
if [ "${matrix1:24:71}" = "$expected" ]; then
  report ok "key matrix 1 carries the six functions on buttons 3 to 8"
else
  report fail "key matrix 1 carries the six functions" "${matrix1:24:71}, expected $expected"
fi
finish
