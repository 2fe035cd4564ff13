#!/usr/bin/env bash
# The basic settings page as a user works it: a button's function list with
# the DPI-switch sub-list, a plain function, Mode B, the report rate, a DPI
# stage and level, the LED mode and parameter, a loop colour and a DPI colour
# bit; then Apply, checked in the mouse's traffic and in config.bin. Also
# the page in Simplified Chinese.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init basic en; else e2e_init "basic-$language" "$language"; fi

start_vortal || finish
open_window || finish
shot 01-page

# Thousandths of a client rectangle (x y width height) that are selection blue.
blue_share() {
  import -window root -crop "$(area_in "$(main_origin)" "$@")" png:- 2>/dev/null |
    convert - -fx 'b > 0.7 && r < 0.4' -format '%[fx:int(1000*mean)]' info: 2>/dev/null
}

if [ "$language" = zh ]; then
  # In Chinese the look is checked: the page is drawn, and the function list
  # opens with the item under the pointer selected.
  before=$(blue_share 260 240 200 220)
  open_function_list 1
  move_to 300 "$(list_line_y 6)"
  sleep 0.3
  move_to 310 "$(list_line_y 6)"
  sleep 0.8
  shot 02-list
  after=$(blue_share 260 240 200 220)
  if [ "${after:-0}" -gt $((${before:-0} + 20)) ]; then
    report ok "the Chinese page opens a function list that follows the pointer (see $shots/$e2e_name-*.png)"
  else
    report fail "the Chinese page opens a function list that follows the pointer" "selection share $before -> $after"
  fi
  finish
fi


# 1. Button 2: its list, hover "DPI Switch", the sub-list, "DPI -".
open_function_list 2
dpi_y=$(list_line_y 6)
move_to 300 "$dpi_y"
sleep 0.3
move_to 320 "$dpi_y"
sleep 0.3
move_to 440 "$dpi_y"
sleep 0.8
shot 02-dpi-sub-list
# The sub-list: 60 x 60 at the item's right edge, its first line level with
# the item, its lines as high.
sub_left=$((pane_left + 1 + 209 - 1))
move_to $((sub_left + 8)) "$dpi_y"
sleep 0.2
move_to $((sub_left + 20)) "$(list_line_y 7)"
sleep 0.3
click_at $((sub_left + 20)) "$(list_line_y 7)"
sleep 0.8
shot 03-dpi-minus

# 2. Button 3: "Right Click".
open_function_list 3
click_at 300 "$(list_line_y 1)"
sleep 0.5

# 3. Mode B, button 4: "Key Off".
click_rect 357 518 462 539
sleep 0.5
open_function_list 4
click_at 300 "$(list_line_y 15)"
sleep 0.5
shot 04-mode-b

# 4. Report rate 125 Hz, stage 4 off, stage 2 at step 5.
click_rect 542 204 612 215
sleep 0.3
click_rect 635 541 651 557
sleep 0.3
click_rect 581 446 597 462
sleep 0.3

# 5. LED mode "Respiration Mode", its parameter "6S".
click_rect 766 329 851 344
sleep 0.5
measure_list "$(main_origin)" 848 352 || report fail "the LED mode list highlights the line under the pointer"
click_at 800 "$(list_line_y 1)"
sleep 0.5
click_rect 766 359 851 374
sleep 0.5
measure_list "$(main_origin)" 848 382 || report fail "the LED parameter list highlights the line under the pointer"
shot 05-parameter-list
click_at 800 "$(list_line_y 2)"
sleep 0.5

# 6. Loop colour 5 ticked, square 2 of DPI stage 1.
click_rect 787 440 803 456
sleep 0.3
click_rect 763 540 779 556
sleep 0.3
shot 06-edited

# 7. Apply.
apply_and_wait
shot 07-applied

check_record "button 2 holds DPI Switch" 1 6
check_record "button 2's DPI action is DPI -" $((1961 + 1)) 2
check_record "button 3 holds Right Click" 2 1
check_record "Mode B's button 4 holds Key Off" $((192 + 3)) 15
check_record "Mode A's button 4 is untouched" 3 3
check_record "Mode B is the edited mode" 1960 1
check_record "report rate 125 Hz" 1925 8
check_record "DPI stage 4 is off, the others on" 1931 "1 1 1 0" 4
check_record "DPI stage 2 is at level 5" 1928 4
check_record "LED mode Respiration" 1947 2
check_record "Respiration's speed is 6S" 1949 2
check_record "loop colour 5 is in use" 1989 1
check_record "DPI stage 1's second square is lit" 2017 35

matrix1=$(data_after "12 01")
if [ "${matrix1:12:11}" = "07 00 02 00" ] && [ "${matrix1:24:11}" = "01 00 F1 00" ]; then
  report ok "key matrix 1 carries DPI - on button 2 and Right Click on button 3"
else
  report fail "key matrix 1 carries the new functions" "${matrix1:0:60}"
fi
matrix3=$(data_after "12 03")
if [ "${matrix3:36:11}" = "00 00 00 00" ] && [ "${matrix3:0:11}" = "01 00 F0 00" ]; then
  report ok "key matrix 3 carries Key Off on Mode B's button 4"
else
  report fail "key matrix 3 carries Key Off on Mode B's button 4" "${matrix3:0:60}"
fi
dpi=$(data_after "11 04")
stage1=$((0x$(echo "$dpi" | cut -d' ' -f1))); stage4=$((0x$(echo "$dpi" | cut -d' ' -f4)))
if [ -n "$dpi" ] && [ $((stage4 & 0x80)) -ne 0 ] && [ $((stage1 & 0x80)) -eq 0 ]; then
  report ok "the DPI block marks stage 4 disabled and stage 1 enabled ($dpi)"
else
  report fail "the DPI block marks stage 4 disabled" "$dpi"
fi
if grep -q ' SET_FEATURE 00 0D 02 03 03 ' "$mouse/traffic.log"; then
  report ok "the LED command sends Respiration at speed 6S"
else
  report fail "the LED command sends Respiration at speed 6S" "$(grep ' SET_FEATURE 00 0D' "$mouse/traffic.log" | tail -n 1)"
fi
if grep -q ' SET_FEATURE 00 01 08 ' "$mouse/traffic.log"; then
  report ok "the report rate command sends 125 Hz"
else
  report fail "the report rate command sends 125 Hz"
fi
colours=$(data_after "10 00")
leds=$(data_after "10 02")
if [ "$(echo "$colours" | cut -d' ' -f13-15)" = "00 FF FF" ] && [ "${leds:0:2}" = "23" ]; then
  report ok "the configuration block carries the fifth loop colour and the stage bits"
else
  report fail "the configuration block carries the new colours and bits" "colours $colours; bits $leds"
fi
finish
