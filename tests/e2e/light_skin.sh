#!/usr/bin/env bash
# The pale "Light" skin with a dark text colour, as a user who chose it sees
# the macro editor: the macro lists, the edits and the lighting statics fill
# themselves dark whatever the skin, so their text must still stand out; and
# the delay dialog's number field is one box that takes the typed pause at
# once, in English or (argument zh) in Simplified Chinese.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init light_skin en; else e2e_init "light_skin-$language" "$language"; fi

# Pixels of the screen area $1 (WxH+X+Y) brighter than 70% grey.
light_in() {
  import -window root png:- 2>/dev/null |
    convert - -crop "$1" +repage -colorspace gray -threshold 70% -format '%[fx:int(mean*w*h)]' info: 2>/dev/null
}
# Pixels of the client rectangle $1..$4 of the main window brighter than 70%
# grey: text lines of light text on the dark fills.
bright_pixels() { light_in "$(area_in "$(main_origin)" "$1" "$2" $(($3 - $1)) $(($4 - $2)))"; }
# The control $1 (a published rectangle, less its first line when $2 is
# "below-first", which is selected and drawn in the system's colours) shows
# light text: at least 20 light pixels.
box=()
readable() {
  read -r -a box <<<"$(rect_of "$1")"
  [ "${2:-}" = below-first ] && box[1]=$((box[1] + 20))
  local count
  count=$(bright_pixels "${box[@]}")
  [ "${count:-0}" -ge 20 ]
}

sed -i 's/^Path=.*\r*$/Path=Light\r/; s/^RColor=.*\r*$/RColor=40\r/; s/^GColor=.*\r*$/GColor=40\r/; s/^BColor=.*\r*$/BColor=40\r/' "$run/str.ini"
printf '[Fire]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem1=50 ms\r\nItem2=A   Up\r\n[Burst]\r\nItemCount=1\r\nItem0=B   Dn\r\n' >"$run/record.ini"

start_vortal || finish
open_window || finish
shot 01-basic-page
# The lighting mode's text: static control 86.
if wait_for 10 readable static86; then
  report ok "the lighting mode text stands out on its black field"
else
  report fail "the lighting mode text stands out on its black field" "$(bright_pixels "${box[@]}") light pixels"
fi
# The keyboard's focus ring reads on the pale skin: its black outer line
# runs two units above button 1's pane.
dark_above_pane() {
  import -window root png:- 2>/dev/null |
    convert - -crop "$(area_in "$(main_origin)" "$(px 255)" "$(px 184)" "$(px 200)" 1)" +repage \
      -colorspace gray -threshold 25% -negate -format '%[fx:int(mean*w*h)]' info: 2>/dev/null
}
dark_before=$(dark_above_pane)
move_to "$(px 150)" "$(px 300)"
# The page's button, Mode A, then button 1's pane (names in any language).
for step in 1 2 3; do
  mark_state
  xdotool key Tab
  wait_state 10 'focus .+' || report fail "Tab $step moves the focus"
done
ring_drawn() { [ "$(dark_above_pane)" -ge $((${dark_before:-0} + $(px 150))) ]; }
if wait_for 10 ring_drawn; then
  report ok "the focus ring stands out on the pale skin"
else
  report fail "the focus ring stands out on the pale skin" "$dark_before -> $(dark_above_pane) dark pixels"
fi
shot 01-focus-ring
click_control advanced_page
wait_state 10 'page advanced'
shot 02-advanced-page
# The macro list's first line is selected, drawn in the system's colours.
for list in macro event; do
  if wait_for 10 readable "${list}_list" "$([ $list = macro ] && echo below-first)"; then
    report ok "the $list list's lines stand out on its dark fill"
  else
    report fail "the $list list's lines stand out on its dark fill" "$(bright_pixels "${box[@]}") light pixels"
  fi
done

# The delay line (the second line of the event list) opens the delay dialog.
read -r -a events <<<"$(rect_of event_list)"
mark_state
move_to $(((events[0] + events[2]) / 2 - 18)) $((events[1] + 14 + 7))
xdotool click --repeat 2 --delay 80 1
if wait_opened 10 'dialog opened CDelayTimeDialog'; then
  delay_id=$opened_id
  shot 03-delay-dialog
  # The field: its light pixels before and after typing (the border and the
  # caret first, then the digits too).
  read -r -a field_box <<<"$(rect_of delay_field)"
  field=$(area_in "$opened_origin" "${field_box[0]}" "${field_box[1]}" $((field_box[2] - field_box[0])) $((field_box[3] - field_box[1])))
  empty=$(light_in "$field")
  # Typed at once, without a click into the field.
  mark_state
  xdotool type --delay 80 "700"
  wait_state 10 'edit [0-9]+ 700'
  digits_shown() { typed=$(light_in "$field"); [ "${typed:-0}" -ge $((${empty:-0} + 20)) ]; }
  if wait_for 10 digits_shown; then
    shot 04-delay-typed
    report ok "the delay dialog's field takes the typed pause at once"
  else
    shot 04-delay-typed
    report fail "the delay dialog's field takes the typed pause at once" "light pixels ${empty:-none} before typing, ${typed:-none} after"
  fi
  click_in "$opened_origin" $(centre_of dialog_ok)
  wait_closed 10 'dialog closed CDelayTimeDialog ok' "$delay_id"
  shot 05-delay-edited
else
  shot 03-no-delay-dialog
  report fail "a double-click on the delay line opens the delay dialog"
fi
finish
