#!/usr/bin/env bash
# The window from the keyboard alone, once it is open: button 4 gets Fire Key
# (R, speed 20, three times) through its list and the fire key dialog, button
# 5 Single Key B, Mode B, 500 Hz, DPI stage 2 off, then Apply; the mouse and config.bin get what
# vortalctl makes of the same changes. The focus ring is in the screenshots.
source "$(dirname "$0")/lib.sh"
e2e_init keyboard en

# Presses key $1 (xdotool's name) with the pointer over the program's window
# and waits until the program says where the focus went ($2, an extended
# pattern of the control's name).
press() {
  mark_state
  xdotool key "$1"
  wait_state 10 "focus $2" || report fail "$1 moves the focus to \"$2\"" "$(tail -n 2 "$state_log" | tr '\n' ' ')"
}

# Enter in dialog $1 (window $dialog_id) ends it with OK; $2 is the check.
enter_is_ok() {
  mark_state
  xdotool key Return
  if wait_closed 10 "dialog closed $1 ok" "$dialog_id"; then
    report ok "$2"
  else
    report fail "$2" "$(last_state 'dialog closed.*|message opened.*')"
  fi
}

# With button $1's pane in focus: Enter opens its list, Down $2 times reaches
# the function, Enter opens its dialog $3 (window $dialog_id); $4 names a
# screenshot of the list.
choose_by_keys() {
  press Return "Button $1: .*"
  [ -n "$(last_state "list opened $((40 + $1))")" ] || report fail "Enter opens button $1's function list"
  for _ in $(seq "$2"); do press Down "Button $1: .*"; done
  [ -z "${4:-}" ] || shot "$4"
  mark_state
  xdotool key Return
  if ! wait_opened 10 "dialog opened $3"; then
    report fail "Enter on function $2 of button $1 opens $3" "$(tail -n 3 "$state_log" | tr '\n' ' ')"
    return 1
  fi
  dialog_id=$opened_id
}

keep_folder
start_vortal || finish
open_window || finish
# Keys go to the window under the pointer: a free spot of the window.
move_to "$(px 150)" "$(px 300)"

press Tab 'Basic Settings'
shot 01-first-key
press Tab 'Mode A'
press Right 'Mode B'
press Tab 'Button 1: .*'
press Down 'Button 2: .*'
press Down 'Button 3: .*'
press Down 'Button 4: .*'
shot 02-pane
if choose_by_keys 4 11 CFireKeyDialog 03-list; then
  # The dialog opens with the speed field in focus; the key field is before it.
  press shift+Tab 'Key'
  press space 'Key'
  [ -n "$(last_state 'list opened 573')" ] || report fail "Space opens the fire key list"
  press r 'Key'
  press Return 'Key'
  press Tab 'Speed'
  xdotool type 20
  wait_state 10 'edit [0-9]+ 20' || report fail "the speed field takes 20 over its text"
  press Tab 'Times'
  xdotool type 3
  wait_state 10 'edit [0-9]+ 3' || report fail "the times field takes 3 over its text"
  shot 04-fire-dialog
  enter_is_ok CFireKeyDialog "Enter in the fire key dialog is OK"
fi
move_to "$(px 150)" "$(px 300)"
# Button 5: Single Key. The dialog listens for one key (B); once it is
# released OK has the focus, and Enter confirms.
press Down 'Button 5: .*'
if choose_by_keys 5 12 CSingleDialog; then
  mark_state
  xdotool key b
  wait_state 10 'focus OK' || report fail "the single key dialog moves on to OK once the key is released"
  shot 05-single-key
  enter_is_ok CSingleDialog "a key, then Enter, in the single key dialog"
fi
move_to "$(px 150)" "$(px 300)"
press Tab 'Default'
press Tab '[0-9]+ Hz'
press Home '125 Hz'
press Right '250 Hz'
press Right '500 Hz'
press Tab 'DPI stage 1'
press Right 'DPI stage 2'
press space 'DPI stage 2'
shot 06-stage
for _ in $(seq 16); do
  [ "$(last_state 'focus .*')" = "focus OK" ] && break
  press Tab '.*'
done
press Right 'Apply'
shot 07-apply
before_apply=$(traffic_lines)
mark_state
xdotool key Return
wait_balloon 20 'The settings are in the mouse\.' && report ok "Enter on Apply writes the mouse" ||
  report fail "Enter on Apply writes the mouse" "$(last_state 'balloon.*|message opened.*')"

check_record "button 4 of Mode B holds Fire Key" 195 10
check_record "report rate 500 Hz" 1925 2
ctl_set mode-b.button4 Fire Key key=R speed=20 times=3
ctl_set rate 500
ctl_set mode-b.button5 Single Key key=B
ctl_set dpi.2 off
ctl_matches_window "$before_apply" "the changes made from the keyboard"

# Escape: the first closes an open list, the next hides the window.
mark_state
xdotool key Escape
if wait_state 10 'window hidden'; then report ok "Escape hides the window"; else report fail "Escape hides the window" "$(window_state)"; fi
finish
