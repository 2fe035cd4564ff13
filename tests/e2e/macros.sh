#!/usr/bin/env bash
# The macro editor as a user meets it: a new macro named in the name field,
# keys recorded from the keyboard, mouse events inserted, a delay edited in
# the delay dialog, the loop count, Confirm into record.ini and Apply into the
# mouse; then the page and the delay dialog in Simplified Chinese, and a
# Delete that a button assigned to the next macro follows.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init macros en; else e2e_init "macros-$language" "$language"; fi

# The bytes of macro slot 1 in the mouse's memory and in config.bin.
mouse_slot() { bytes_at "$mouse/memory.bin" 333 "$1"; }
saved_slot() { bytes_at "$run/config.bin" 385 "$1"; }
record_ini() { iconv -f UTF-16 -t UTF-8 "$run/record.ini" 2>/dev/null | tr -d '\r'; }
# The hex of the program's output reports (data phases) to the mouse.
written_hex() { awk '$2 == "WRITE" { $1 = ""; $2 = ""; print }' "$mouse/traffic.log" 2>/dev/null; }
# The middle of line $1 of the event list, in screen coordinates.
event_line() {
  local origin list
  origin=$(main_origin)
  read -r -a list <<<"$(rect_of event_list)"
  echo "$(( ${origin% *} + (list[0] + list[2]) / 2 - 18 )) $(( ${origin#* } + list[1] + 14 * $1 + 7 ))"
}
# Double-clicks line $1 of the event list and waits for the delay dialog
# (its field has the keyboard); its screenshot is named $2.
open_delay_dialog() {
  mark_state
  xdotool mousemove $(event_line "$1")
  xdotool click --repeat 2 --delay 80 1
  wait_opened 10 'dialog opened CDelayTimeDialog' || return 1
  shot "$2"
}
# Types text $2 into the main window's edit at control $1 and waits until the
# program has it.
type_into() {
  click_control "$1"
  xdotool key ctrl+a
  xdotool type --delay 80 "$2"
  wait_state 10 "edit [0-9]+ $2" || report fail "the field $1 takes \"$2\""
}

if [ "$language" != en ]; then
  # Button 8 of Mode A plays the second of two stored macros (slot 1, four
  # loops); the first has two.
  seed() { printf "$(printf '\\%03o' "$2")" | dd of="$run/config.bin" bs=1 seek="$1" conv=notrunc 2>/dev/null; }
  seed $((1 + 7)) 13
  seed $((1 + 175)) 1
  seed $((1 + 384 + 1)) 2
  seed $((1 + 512 + 1)) 4
fi
start_vortal || finish
open_window || finish
click_control advanced_page
wait_state 10 'page advanced'

if [ "$language" = en ]; then
  # 1. A new macro: its name typed into the name field, then New.
  type_into macro_name Fire
  click_control new_macro
  if wait_state 10 'clicked .*|message opened .*' && [ "${state_line%% *}" = clicked ]; then
    report ok "New adds a named macro without a message"
  else
    shot new-message
    report fail "New adds a named macro without a message" "$state_line"
    xdotool key Return
  fi

  # 2. Recording: the Start box, two keys typed (the pointer on the window),
  # the Stop box.
  click_control start_recording
  close_box start && report ok "Start Recording shows its box" || report fail "Start Recording shows its box"
  move_to 300 120
  xdotool key --delay 150 a b
  wait_state 10 'item [0-9]+ -?[0-9]+ B +Up'
  shot 01-recorded
  click_control stop_recording
  close_box stop && report ok "Stop Recording shows its box" || report fail "Stop Recording shows its box"

  # 3. A mouse event from the insert list: "L-Button Click" after the last
  # line (an event), which the pointer selects.
  click_control insert_header
  wait_state 10 'list opened [0-9]+'
  shot 02-insert-list
  read -r -a insert_list <<<"$(rect_of insert_list)"
  click_at $(((insert_list[0] + insert_list[2]) / 2)) $((insert_list[1] + 8))  # the list's first item, "L-Button Click"
  wait_state 10 'list closed [0-9]+'

  # 4. The delay after the first event: a double-click opens the delay
  # dialog; 700 typed, OK.
  if open_delay_dialog 1 03-delay-dialog; then
    delay_id=$opened_id
    mark_state
    xdotool type --delay 80 "700"
    wait_state 10 'edit [0-9]+ 700'
    click_in "$opened_origin" $(centre_of dialog_ok)
    wait_closed 10 'dialog closed CDelayTimeDialog ok' "$delay_id"
    report ok "a double-click on a delay opens the delay dialog"
  else
    shot 03-no-delay-dialog
    report fail "a double-click on a delay opens the delay dialog"
  fi

  # 5. The loop count, then Confirm.
  type_into loop_times 3
  click_handled $(centre_of confirm_macro)
  shot 04-confirmed
  expected_ini="[Fire]
ItemCount=11
Item0=A   Dn
Item1=700 ms
Item2=A   Up
Item3=50 ms
Item4=B   Dn
Item5=50 ms
Item6=B   Up
Item7=50 ms
Item8=L-Button   Dn
Item9=50 ms
Item10=L-Button   Up"
  if [ "$(record_ini | sed '/^$/d')" = "$expected_ini" ]; then
    report ok "Confirm writes the recorded, inserted and edited lines to record.ini"
  else
    report fail "Confirm writes the lines to record.ini" "$(record_ini | tr '\n' '|')"
  fi

  # 6. Apply sends the encoded slot to the mouse and saves it: loop count 3;
  # each event with the pause after it in 10 ms (0x80 marks a release) and
  # its key code (A 04, B 05, L-Button F0).
  expected_slot="0 3 70 4 133 4 5 5 133 5 5 240 128 240 0 0 0 0 0 0"
  apply_and_wait
  if [ "$(echo $(mouse_slot 20))" = "$expected_slot" ] && [ "$(echo $(saved_slot 20))" = "$expected_slot" ]; then
    report ok "Apply puts the encoded macro into the mouse's slot 1 and config.bin"
  else
    report fail "Apply puts the encoded macro into slot 1" "mouse $(echo $(mouse_slot 20)) / file $(echo $(saved_slot 20))"
  fi
  # (Not grep -q: it would leave before the log is read to its end, and with
  # pipefail the writer's broken pipe would count as no match.)
  if written_hex | grep "00 03 46 04 85 04 05 05 85 05 05 F0 80 F0" >/dev/null; then
    report ok "the mouse's traffic carries the encoded macro"
  else
    report fail "the mouse's traffic carries the encoded macro" "$(written_hex | head -n 3)"
  fi

  # 7. The line under the pointer is the selection; the right button's menu
  # deletes it.
  xdotool mousemove $(event_line 1)
  xdotool mousemove $(event_line 0)
  read -r mx my <<<"$(event_line 0)"
  click_in "0 0" "$mx" "$my" 3
  if wait_opened 10 'menu opened'; then
    shot 05-context-menu
    click_in "0 0" $((mx + 20)) $((my + 10))
    wait_state 10 'menu closed'
  fi
  click_handled $(centre_of confirm_macro)
  if [ "$(record_ini | sed -n '2,3p' | tr '\n' '|')" = "ItemCount=10|Item0=700 ms|" ]; then
    report ok "the context menu deletes the line under the pointer"
  else
    report fail "the context menu deletes the line under the pointer" "$(record_ini | head -n 4 | tr '\n' '|')"
  fi

  # 8. Escape hides the window.
  click_handled 300 120
  xdotool key Escape
  if wait_state 10 'window hidden'; then
    report ok "Escape hides the window"
  else
    report fail "Escape hides the window"
  fi
else
  # The page with two stored macros, and the delay dialog, in Chinese.
  printf '[Fire]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem1=50 ms\r\nItem2=A   Up\r\n[Jump]\r\nItemCount=1\r\nItem0=B   Dn\r\n' >"$run/record.ini"
  click_control basic_page
  wait_state 10 'page basic'
  click_control advanced_page
  # The page lists both macros again from record.ini, then it is shown.
  if wait_state 10 'item [0-9]+ -?[0-9]+ Jump' && wait_state 10 'page advanced'; then
    shot 01-page
    report ok "the advanced page shows the macro in Chinese"
  else
    shot 01-page
    report fail "the advanced page shows the macro in Chinese" "no Jump in the macro list"
  fi
  if open_delay_dialog 1 02-delay-dialog; then
    report ok "the delay dialog opens in Chinese"
    delay_id=$opened_id
    mark_state
    xdotool key Escape
    wait_closed 10 'dialog closed CDelayTimeDialog cancel' "$delay_id"
  else
    report fail "the delay dialog opens in Chinese"
  fi
  # Delete takes Fire, the selected first macro, out; Jump moves to slot 0,
  # and the button with it, keeping Jump's four loops.
  click_control delete_macro
  apply_and_wait
  if [ "$(record_bytes 7) $(record_bytes 175) $(record_bytes 384 4)" = "13 0 0 4 0 5" ]; then
    report ok "a button follows its macro to another slot when a macro before it is deleted"
  else
    report fail "a button follows its macro when a macro before it is deleted" \
      "function, slot, slot 0: $(record_bytes 7) $(record_bytes 175) $(record_bytes 384 4)"
  fi
fi
finish
