#!/usr/bin/env bash
# The macro editor as a user meets it: a new macro named in the name field,
# keys recorded from the keyboard, mouse events inserted, a delay edited in
# the delay dialog, the loop count, Confirm into record.ini and Apply into the
# mouse; then the page and the delay dialog in Simplified Chinese, and a
# Delete that a button assigned to the next macro follows.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init macros en; else e2e_init "macros-$language" "$language"; fi

name_field=(767 329)
loop_field=(767 369)
new_button=(565 538)
confirm_button=(773 538)
start_button=(749 243)
stop_button=(749 279)
insert_box=(794 409)

# The bytes of macro slot 1 in the mouse's memory and in config.bin.
mouse_slot() { bytes_at "$mouse/memory.bin" 333 "$1"; }
saved_slot() { bytes_at "$run/config.bin" 385 "$1"; }
record_ini() { iconv -f UTF-16 -t UTF-8 "$run/record.ini" 2>/dev/null | tr -d '\r'; }
# The hex of the program's output reports (data phases) to the mouse.
written_hex() { awk '$2 == "WRITE" { $1 = ""; $2 = ""; print }' "$mouse/traffic.log" 2>/dev/null; }
gone() { ! other_window_shown; }
# Closes a message box with its OK button (a key would be recorded), and
# waits until it is gone.
close_box() {
  wait_for 10 other_window_shown || return 1
  sleep 0.5
  shot "box-$1"
  local box size
  box=$(other_windows | head -n 1)
  size=$(size_of <<<"$box")
  click_in "$(origin_of <<<"$box")" $((${size% *} / 2)) $((${size#* } - 22))
  wait_for 10 gone
}
# The middle of line $1 of the event list, in screen coordinates.
event_line() {
  local origin
  origin=$(main_origin)
  echo "$(( ${origin% *} + 640 )) $(( ${origin#* } + 220 + 14 * $1 + 7 ))"
}
# Double-clicks line $1 of the event list and waits for the delay dialog;
# its screenshot is named $2.
open_delay_dialog() {
  xdotool mousemove $(event_line "$1")
  sleep 0.3
  xdotool click --repeat 2 --delay 80 1
  wait_for 10 other_window_shown || return 1
  sleep 1
  shot "$2"
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
click_rect "${advanced_page_rect[@]}"
sleep 1.5

if [ "$language" = en ]; then
  # 1. A new macro: its name typed into the name field, then New.
  click_at "${name_field[@]}"
  xdotool key ctrl+a
  xdotool type --delay 80 "Fire"
  click_at "${new_button[@]}"
  sleep 0.5
  if [ -z "$(other_windows)" ]; then
    report ok "New adds a named macro without a message"
  else
    shot new-message
    report fail "New adds a named macro without a message" "a window appeared"
    xdotool key Return
  fi

  # 2. Recording: the Start box, two keys typed, the Stop box.
  click_at "${start_button[@]}"
  close_box start && report ok "Start Recording shows its box" || report fail "Start Recording shows its box"
  sleep 0.5
  xdotool key --delay 150 a b
  sleep 0.5
  shot 01-recorded
  click_at "${stop_button[@]}"
  close_box stop && report ok "Stop Recording shows its box" || report fail "Stop Recording shows its box"

  # 3. A mouse event from the insert list: "L-Button Click" after the last
  # line (an event), which the pointer selects.
  click_at "${insert_box[@]}"
  sleep 0.8
  shot 02-insert-list
  click_at 790 427  # the list's first item, "L-Button Click"
  sleep 0.8

  # 4. The delay after the first event: a double-click opens the delay
  # dialog; 700 typed, OK.
  if open_delay_dialog 1 03-delay-dialog; then
    xdotool type --delay 80 "700"
    sleep 0.3
    click_in "$(other_windows | head -n 1 | origin_of)" 210 262
    wait_for 10 gone
    report ok "a double-click on a delay opens the delay dialog"
  else
    shot 03-no-delay-dialog
    report fail "a double-click on a delay opens the delay dialog"
  fi

  # 5. The loop count, then Confirm.
  click_at "${loop_field[@]}"
  xdotool key ctrl+a
  xdotool type --delay 80 "3"
  sleep 0.3
  click_at "${confirm_button[@]}"
  sleep 1
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
  click_rect "${apply_rect[@]}"
  wait_for 15 config_saved
  sleep 1
  if [ "$(echo $(mouse_slot 20))" = "$expected_slot" ] && [ "$(echo $(saved_slot 20))" = "$expected_slot" ]; then
    report ok "Apply puts the encoded macro into the mouse's slot 1 and config.bin"
  else
    report fail "Apply puts the encoded macro into slot 1" "mouse $(echo $(mouse_slot 20)) / file $(echo $(saved_slot 20))"
  fi
  if written_hex | grep -q "00 03 46 04 85 04 05 05 85 05 05 F0 80 F0"; then
    report ok "the mouse's traffic carries the encoded macro"
  else
    report fail "the mouse's traffic carries the encoded macro" "$(written_hex | head -n 3)"
  fi

  # 7. The line under the pointer is the selection; the right button's menu
  # deletes it.
  xdotool mousemove $(event_line 1)
  sleep 0.3
  xdotool mousemove $(event_line 0)
  sleep 0.3
  xdotool click 3
  sleep 1
  shot 05-context-menu
  read -r mx my <<<"$(event_line 0)"
  xdotool mousemove $((mx + 20)) $((my + 10))
  sleep 0.3
  xdotool click 1
  sleep 0.5
  click_at "${confirm_button[@]}"
  sleep 1
  if [ "$(record_ini | sed -n '2,3p' | tr '\n' '|')" = "ItemCount=10|Item0=700 ms|" ]; then
    report ok "the context menu deletes the line under the pointer"
  else
    report fail "the context menu deletes the line under the pointer" "$(record_ini | head -n 4 | tr '\n' '|')"
  fi

  # 8. Escape hides the window.
  click_at 300 120
  xdotool key Escape
  if wait_for 10 main_hidden; then
    report ok "Escape hides the window"
  else
    report fail "Escape hides the window"
  fi
else
  # The page with two stored macros, and the delay dialog, in Chinese.
  printf '[Fire]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem1=50 ms\r\nItem2=A   Up\r\n[Jump]\r\nItemCount=1\r\nItem0=B   Dn\r\n' >"$run/record.ini"
  click_rect "${basic_page_rect[@]}"
  sleep 1
  click_rect "${advanced_page_rect[@]}"
  sleep 1.5
  shot 01-page
  report ok "the advanced page shows the macro in Chinese"
  if open_delay_dialog 1 02-delay-dialog; then
    report ok "the delay dialog opens in Chinese"
    xdotool key Escape
  else
    report fail "the delay dialog opens in Chinese"
  fi
  # Delete takes Fire, the selected first macro, out; Jump moves to slot 0,
  # and the button with it, keeping Jump's four loops.
  wait_for 10 gone
  click_rect 617 528 722 549
  apply_and_wait
  if [ "$(record_bytes 7) $(record_bytes 175) $(record_bytes 384 4)" = "13 0 0 4 0 5" ]; then
    report ok "a button follows its macro to another slot when a macro before it is deleted"
  else
    report fail "a button follows its macro when a macro before it is deleted" \
      "function, slot, slot 0: $(record_bytes 7) $(record_bytes 175) $(record_bytes 384 4)"
  fi
fi
finish
