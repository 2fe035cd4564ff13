#!/usr/bin/env bash
# The assignment dialogs as a user works them: from a button's function list
# into the Windows, multimedia, fire key, single key, combo key and macro
# dialogs, each used and confirmed; then Apply, checked in config.bin and in
# the key matrix the mouse receives. In Chinese only the look is checked.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
e2e_init "dialogs${language/en/}" "$language"

pane_left=252
pane_top() { echo $((186 + 23 * ($1 - 1))); }
# List lines are as high as the font's lines: 14 pixels in English, 16 with
# the Chinese face.
item_height=${VORTAL_E2E_LIST_ITEM:-14}
[ "$language" = zh ] && item_height=${VORTAL_E2E_LIST_ITEM:-16}
list_item_y() { echo $(($1 + 1 + $2 * item_height + item_height / 2)); }

# The sub-dialog on the screen: its top-left corner "X Y".
dialog_origin() {
  other_windows | grep -E ' 392x(285|312)\+' | grep -o '+[0-9-]*+[0-9-]*$' | head -n 1 |
    tr '+' ' ' | sed 's/^ //'
}
dialog_shown() { [ -n "$(dialog_origin)" ]; }
dialog_gone() { ! dialog_shown; }
# Clicks a client point of the sub-dialog.
dialog_click() {
  local origin x y
  origin=$(dialog_origin)
  x=${origin% *}; y=${origin#* }
  xdotool mousemove $((x + $1)) $((y + $2))
  sleep 0.3
  xdotool click 1
  sleep 0.4
}
dialog_ok() { dialog_click 218 263; wait_for 5 dialog_gone; }
# Opens button N's function list and picks item I; waits for the dialog
# (a third argument: no report when none comes).
choose_function() {
  local top
  top=$(pane_top "$1")
  click_rect $pane_left "$top" 463 $((top + 21))
  sleep 0.5
  move_to 300 "$(list_item_y $((top + 22)) "$2")"
  sleep 0.3
  click_at 300 "$(list_item_y $((top + 22)) "$2")"
  if ! wait_for 10 dialog_shown; then
    [ -n "${3:-}" ] || report fail "function $2 of button $1 opens its dialog"
    return 1
  fi
  sleep 0.8
}

printf '[Alpha]\r\nItemCount=1\r\nItem0=A   Dn\r\n[Beta]\r\nItemCount=3\r\nItem0=B   Dn\r\nItem1=50 ms\r\nItem2=B   Up\r\n' >"$run/record.ini"
start_vortal || finish
open_window || finish

if [ "$language" = zh ]; then
  for item in 8 9 10 11 12 13; do
    # The Chinese lines are 15 or 16 pixels high, depending on the face Wine
    # finds; a wrong line only gives button 3 a plain function.
    if ! choose_function 3 $item quiet; then
      item_height=$((31 - item_height))
      choose_function 3 $item || continue
    fi
    case $item in
      8|9) dialog_click 140 136 ;;
      10) dialog_click 120 77 ;;
      13) dialog_click 145 136 ;;
    esac
    sleep 0.5
    shot "$item"
    dialog_click 360 14
    wait_for 5 dialog_gone
  done
  report ok "the dialogs are drawn in Chinese (see $shots/$e2e_name-*.png)"
  finish
fi

# Button 3: Windows, "Calculator".
if choose_function 3 8; then
  shot 01-windows
  dialog_click 140 136
  shot 02-windows-list
  dialog_click 90 "$(list_item_y 145 2)"
  dialog_ok || report fail "the Windows dialog ends with OK"
fi
# Button 4: Multimedia, "Vol-".
if choose_function 4 9; then
  dialog_click 140 136
  shot 03-media-list
  dialog_click 90 "$(list_item_y 145 6)"
  dialog_ok || report fail "the multimedia dialog ends with OK"
fi
# Button 5: Fire Key "C", speed 9, times 0.
if choose_function 5 10; then
  dialog_click 120 77
  shot 04-fire-list
  dialog_click 90 "$(list_item_y 86 2)"
  dialog_click 90 127
  xdotool key ctrl+a BackSpace
  xdotool type 9
  dialog_click 90 177
  xdotool key ctrl+a BackSpace
  xdotool type 0
  sleep 0.3
  shot 05-fire
  dialog_ok || report fail "the fire key dialog ends with OK"
fi
# Button 6: Single Key, the B key (Enter first: captured, not confirming).
if choose_function 6 11; then
  xdotool key Return
  sleep 0.5
  if dialog_shown; then report ok "Enter in the single key dialog is a key, not OK"; else report fail "Enter in the single key dialog is a key, not OK"; fi
  xdotool key b
  sleep 0.5
  shot 06-single
  dialog_ok || report fail "the single key dialog ends with OK"
fi
# Button 7: Combo Key, Left Shift + A + Enter.
if choose_function 7 12; then
  dialog_click 90 77
  shot 07-combo-list
  dialog_click 90 "$(list_item_y 86 1)"
  dialog_click 90 127
  xdotool key a
  dialog_click 90 177
  xdotool key Return
  sleep 0.5
  shot 08-combo
  dialog_ok || report fail "the combo key dialog ends with OK"
fi
# Button 8: Macro Key, "Beta", repeat until released.
if choose_function 8 13; then
  dialog_click 145 136
  shot 09-macro-list
  dialog_click 90 "$(list_item_y 146 1)"
  dialog_click 228 186
  shot 10-macro
  dialog_ok || report fail "the macro dialog ends with OK"
fi
sleep 0.5
shot 11-page

click_rect "${apply_rect[@]}"
if ! wait_for 15 config_saved; then
  report fail "Apply saves config.bin" "first-run flag $(first_byte "$run/config.bin")"
  finish
fi
sleep 0.5

cfg() { bytes_at "$run/config.bin" $((1 + $1)) "${2:-1}"; }
check() { # check TEXT OFFSET EXPECTED [COUNT]
  local got
  got=$(cfg "$2" "${4:-1}")
  if [ "$got" = "$3" ]; then report ok "$1"; else report fail "$1" "config.bin at $2: $got, expected $3"; fi
}
check "buttons 3 to 8 hold Windows, Multimedia, Fire, Single, Combo, Macro" 2 "8 9 10 11 12 13" 6
check "Calculator: index 2, code 0x92, selector 1" 38 2
check "Calculator's code" 50 146
check "Calculator's selector" 62 1
check "Vol-: index 6, code 0xEA" 15 6
check "Vol-'s code" 27 234
check "fire key C: index 2, code 0x06, speed 9, times 0" 76 2
check "fire key code" 88 6
check "fire speed" 100 9
check "fire times" 112 0
check "single key B" 125 5
check "combo modifier Left Shift" 138 2
check "combo first key A" 150 4
check "combo second key Enter" 162 40
check "macro Beta" 175 1
check "macro repeat until released" 187 2

data_after() {
  awk -v cmd="$1" '
    $2 == "SET_FEATURE" { active = index($3 " " $4 " " $5 " ", "00 " cmd " ") == 1; if (active) data = ""; next }
    $2 == "WRITE" && active { for (i = 4; i <= NF; i++) data = data " " $i; next }
    { active = 0 }
    END { sub(/^ /, "", data); print data }' "$mouse/traffic.log"
}
matrix1=$(data_after "12 01")
expected="03 00 92 01 03 00 EA 00 0A 06 09 00 00 00 05 00 09 02 02 00 00 02 04 28"
if [ "${matrix1:24:71}" = "$expected" ]; then
  report ok "key matrix 1 carries the six functions on buttons 3 to 8"
else
  report fail "key matrix 1 carries the six functions" "${matrix1:24:71}, expected $expected"
fi
finish
