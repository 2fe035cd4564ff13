#!/usr/bin/env bash
# The assignment dialogs as a user works them: from a button's function list
# into the Windows, multimedia, fire key, single key, combo key and macro
# dialogs, each used and confirmed; then Apply, checked in config.bin and in
# the key matrix the mouse receives. "zh" runs the same on a Simplified
# Chinese system.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init dialogs en; else e2e_init "dialogs-$language" "$language"; fi

# The sub-dialog open now (wait_opened gives its window and corner) and its
# name in the state log.
dialog=""
dialog_id=""
dialog_origin=""
# Clicks a client point of the sub-dialog, in pixels.
dialog_click() { click_in "$dialog_origin" "$1" "$2"; }
# OK ends the dialog: the program says so and its window goes.
dialog_ok() {
  dialog_click $(centre_of dialog_ok)
  wait_closed 10 "dialog closed $dialog ok" "$dialog_id"
}
# Opens a drop-down list of the sub-dialog by a click at $1 $2 and measures
# its lines; $3 is the list's top border, $4 a column at its right end (all
# in the dialog's units).
open_dialog_list() {
  dialog_click "$(px "$1")" "$(px "$2")"
  wait_state 10 'list opened [0-9]+' && measure_list "$dialog_origin" "$(px "$4")" "$(px $(($3 + 5)))" ||
    report fail "the drop-down list at $1,$2 highlights the line under the pointer"
}
# Opens button $1's function list, takes screenshot $4 of it when given, and
# picks item $2; waits for the item's dialog, $3.
choose_function() {
  open_function_list "$1" || { xdotool key Escape; return 1; }
  local y pane
  y=$(list_line_y "$2")
  if [ -n "${4:-}" ]; then
    # The pointer's line is highlighted in the screenshot.
    read -r -a pane <<<"$(rect_of "pane$1")"
    measure_list "$(main_origin)" $((pane[2] - 8)) "$y"
    shot "$4"
  fi
  click_at "$(px 300)" "$y"
  if ! wait_opened 10 "dialog opened $3"; then
    report fail "function $2 of button $1 opens its dialog $3"
    return 1
  fi
  dialog=$3 dialog_id=$opened_id dialog_origin=$opened_origin
}
# Waits for the program to show text $1 (an extended pattern; in another
# language than English any text) in a field of the dialog, typed or captured.
shows() {
  [ "$language" = en ] || [[ "$1" =~ ^[0-9]+$ ]] || set -- '.+'
  wait_state 5 "(edit|text) [0-9]+ $1" || report fail "the $dialog shows \"$1\""
}

printf '[Alpha]\r\nItemCount=1\r\nItem0=A   Dn\r\n[Beta]\r\nItemCount=3\r\nItem0=B   Dn\r\nItem1=50 ms\r\nItem2=B   Up\r\n' >"$run/record.ini"
keep_folder
start_vortal || finish
open_window || finish

# Button 3: Windows, "Calculator".
if choose_function 3 8 CWindowsDialog 01-function-list; then
  shot 02-windows
  open_dialog_list 140 136 145 146
  shot 03-windows-list
  dialog_click "$(px 90)" "$(list_line_y 2)"
  shows Calculator
  shot 04-windows-used
  dialog_ok || report fail "the Windows dialog ends with OK"
fi
# Button 4: Multimedia, "Vol-".
if choose_function 4 9 CMediaDialog; then
  shot 05-media
  open_dialog_list 140 136 145 146
  shot 06-media-list
  dialog_click "$(px 90)" "$(list_line_y 6)"
  shows 'Vol-'
  shot 07-media-used
  dialog_ok || report fail "the multimedia dialog ends with OK"
fi
# Button 5: Fire Key "C", speed 9, times 0.
if choose_function 5 10 CFireKeyDialog; then
  shot 08-fire
  open_dialog_list 120 77 86 108  # left of the scroll bar
  shot 09-fire-list
  dialog_click "$(px 90)" "$(list_line_y 2)"
  shows C
  # A speed the mouse cannot take is refused at OK, as vortalctl refuses it:
  # the dialog says so, stays open and shows the speed it would take.
  dialog_click $(centre_of fire_speed)
  xdotool key ctrl+a BackSpace
  xdotool type 3
  shows 3
  mark_state
  dialog_click $(centre_of dialog_ok)
  if close_box fire-speed '.*5.*255.*' && [ -z "$(last_state "dialog closed $dialog.*")" ] &&
     [[ "$(last_state 'edit [0-9]+ .*')" == *" 5" ]]; then
    report ok "the fire key dialog refuses speed 3 at OK, says why and shows 5"
  else
    report fail "the fire key dialog refuses speed 3 at OK, says why and shows 5" "$(last_state 'message opened.*|dialog closed.*|edit [0-9]+ .*')"
  fi
  dialog_click $(centre_of fire_speed)
  xdotool key ctrl+a BackSpace
  xdotool type 9
  shows 9
  dialog_click $(centre_of fire_times)
  xdotool key ctrl+a BackSpace
  xdotool type 0
  shows 0
  shot 10-fire-used
  dialog_ok || report fail "the fire key dialog ends with OK"
fi
# Button 6: Single Key, the B key (Enter first: captured, not confirming).
if choose_function 6 11 CSingleDialog; then
  shot 11-single
  mark_state
  xdotool key Return
  shows '.+'
  if [ -z "$(last_state "dialog closed $dialog.*")" ] && mapped "$dialog_id"; then
    report ok "Enter in the single key dialog is a key, not OK"
  else
    report fail "Enter in the single key dialog is a key, not OK"
  fi
  mark_state
  xdotool key b
  shows '[Bb]'
  shot 12-single-used
  dialog_ok || report fail "the single key dialog ends with OK"
fi
# Button 7: Combo Key, Left Shift + A + Enter.
if choose_function 7 12 CComboDialog; then
  shot 13-combo
  open_dialog_list 90 77 86 126
  shot 14-combo-list
  dialog_click "$(px 90)" "$(list_line_y 1)"
  shows '.+'
  dialog_click $(centre_of combo_first)
  xdotool key a
  shows '[Aa]'
  dialog_click $(centre_of combo_second)
  xdotool key Return
  shows '.+'
  shot 15-combo-used
  dialog_ok || report fail "the combo key dialog ends with OK"
fi
# Button 8: Macro Key, "Beta", repeat until released.
if choose_function 8 13 CMacroDialog; then
  shot 16-macro
  # OK needs a chosen macro.
  mark_state
  dialog_click $(centre_of dialog_ok)
  if close_box macro-none '.+' && [ -z "$(last_state "dialog closed $dialog.*")" ]; then
    report ok "the macro dialog's OK without a macro says to choose one"
  else
    report fail "the macro dialog's OK without a macro says to choose one" "$(last_state 'message opened.*|dialog closed.*')"
  fi
  open_dialog_list 145 136 146 146
  shot 17-macro-list
  dialog_click "$(px 90)" "$(list_line_y 1)"
  shows Beta
  dialog_click $(centre_of repeat_mode3)
  wait_state 10 'clicked .*'
  shot 18-macro-used
  dialog_ok || report fail "the macro dialog ends with OK"
fi
shot 19-page

before_apply=$(traffic_lines)
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

ctl_set mode-a.button3 Windows function=Calculator
ctl_set mode-a.button4 Multimedia function=Vol-
ctl_set mode-a.button5 Fire Key key=C speed=9 times=0
ctl_set mode-a.button6 Single Key key=B
ctl_set mode-a.button7 Combo Key modifier=Left Shift key1=A key2=Enter
ctl_set mode-a.button8 Macro Key repeat=3 macro=Beta
ctl_matches_window "$before_apply" "the six dialogs' functions"

# Opened again, a dialog shows the button's action (fire key C, speed 9,
# times 0), not its defaults; Cancel leaves the button as it is.
if choose_function 5 10 CFireKeyDialog; then
  shows C
  shows 9
  shows 0
  shot 20-fire-reopened
  dialog_click $(centre_of dialog_cancel)
  wait_closed 10 "dialog closed $dialog.*" "$dialog_id" || report fail "the fire key dialog ends with Cancel"
  check_record "a cancelled fire key dialog keeps speed 9" 100 9
fi
finish
