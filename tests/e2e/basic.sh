#!/usr/bin/env bash
# The basic settings page as a user works it: a button's function list with
# the DPI-switch sub-list, a plain function, Mode B, the report rate, a DPI
# stage and level, the LED mode and parameter, a loop colour and a DPI colour
# bit; then Apply, checked in the mouse's traffic and in config.bin. Also
# the page in Simplified Chinese.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init basic en; else e2e_init "basic-$language" "$language"; fi

keep_folder
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
  # Button 2: button 1 is the last Left Click of the delivered layout and
  # keeps its list closed.
  before=$(blue_share $(px 260) $(px 240) $(px 200) $(px 220))
  open_function_list 2
  move_to "$(px 300)" "$(list_line_y 6)"
  move_to "$(px 310)" "$(list_line_y 6)"
  # The pointer's line turns selection blue.
  follows() { after=$(blue_share $(px 260) $(px 240) $(px 200) $(px 220)); [ "${after:-0}" -gt $((${before:-0} + 20)) ]; }
  if wait_for 5 follows; then
    shot 02-list
    report ok "the Chinese page opens a function list that follows the pointer (see $shots/$e2e_name-*.png)"
  else
    shot 02-list
    report fail "the Chinese page opens a function list that follows the pointer" "selection share $before -> $after"
  fi
  finish
fi

# Picks line $2 of the open list of id $1 (measured last) with a click at x
# $3 (pixels) of the main window, and waits until the choice closed the list.
pick_line() {
  mark_state
  click_at "$3" "$(list_line_y "$2")"
  wait_state 10 "list closed $1" || report fail "line $2 of list $1 is chosen"
}

# 0. The delivered layout: button 1 is Mode A's only Left Click among the
# buttons that reach the mouse (the hidden slots 9 to 12 do not count), so
# its list does not open, and vortalctl refuses the same change.
mark_state
click_control pane1
if close_box lockout 'Left key must be selected!' && [ -z "$(last_state 'list opened 41')" ]; then
  report ok "button 1, the last Left Click, keeps its function list closed"
else
  report fail "button 1, the last Left Click, keeps its function list closed" "$(last_state 'message opened.*|list opened 41')"
fi
vortalctl_in "$run" set mode-a.button1 Right Click
status=$?
if [ "$status" = 2 ] && [ "$(record_bytes 0)" = 0 ]; then
  report ok "vortalctl refuses to take the last Left Click (exit 2)"
else
  report fail "vortalctl refuses to take the last Left Click" "$ctl_said; button 1 holds $(record_bytes 0)"
fi

# 1. Button 2: its list, "DPI Switch" under the pointer opens the sub-list
# beside it (list 37), whose "DPI -" is chosen.
open_function_list 2
dpi_y=$(list_line_y 6)
mark_state
move_to "$(px 300)" "$dpi_y"
move_to "$(px 440)" "$dpi_y"
wait_state 10 'list opened 37' || report fail "the pointer on DPI Switch opens the DPI sub-list"
shot 02-dpi-sub-list
# The sub-list: 60 x 60 at the item's right edge, its first line level with
# the item, its lines as high.
read -r -a pane <<<"$(rect_of pane2)"
sub_left=$((pane[0] + $(px 209)))
measure_list "$(main_origin)" $((sub_left + $(px 40))) "$(list_line_y 7)" ||
  report fail "the DPI sub-list highlights the line under the pointer"
pick_line 37 0 $((sub_left + $(px 20)))
shot 03-dpi-minus

# 2. Button 3: "Right Click".
open_function_list 3 && pick_line 43 1 "$(px 300)"

# 3. Mode B, button 4: "Key Off".
click_control mode_b
open_function_list 4 && pick_line 44 15 "$(px 300)"
shot 04-mode-b

# 4. Report rate 125 Hz, stage 4 off, stage 2 at step 5.
click_control report_rate1
click_control dpi_tick4
click_control dpi_step2_5

# 5. LED mode "Respiration Mode", its parameter "6S".
click_control led_mode
wait_state 10 'list opened 63' && measure_list "$(main_origin)" "$(px 848)" "$(px 352)" ||
  report fail "the LED mode list highlights the line under the pointer"
pick_line 63 1 "$(px 800)"
click_control led_parameter
wait_state 10 'list opened 64' && measure_list "$(main_origin)" "$(px 848)" "$(px 382)" ||
  report fail "the LED parameter list highlights the line under the pointer"
shot 05-parameter-list
pick_line 64 2 "$(px 800)"

# 6. Loop colour 5 ticked, square 2 of DPI stage 1.
click_control loop_tick5
click_control led_square2
wait_state 10 'clicked .*'
shot 06-edited

# 7. Apply.
before_apply=$(traffic_lines)
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

ctl_set mode-a.button2 DPI Switch action=DPI -
ctl_set mode-a.button3 Right Click
ctl_set mode-b.button4 Key Off
ctl_set rate 125
ctl_set dpi.4 off
ctl_set dpi.2 level=5
ctl_set lighting Respiration Mode speed=6S
ctl_set loop-color.5 on
ctl_set dpi-led.1 1,2
ctl_matches_window "$before_apply" "the basic page's changes"
finish
