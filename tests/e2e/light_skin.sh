#!/usr/bin/env bash
# The pale "Light" skin with a dark text colour, as a user who chose it sees
# the macro editor: the macro lists, the edits and the lighting statics fill
# themselves dark whatever the skin, so their text must still stand out; and
# the delay dialog's number field is one box that takes the typed pause at
# once, in English or (argument zh) in Simplified Chinese.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init light_skin en; else e2e_init "light_skin-$language" "$language"; fi

# Below the first line, which is selected and drawn in the system's colours.
macro_list=(462 240 591 512)
event_list=(592 220 725 512)
mode_static=(767 330 835 344)

# Pixels of the screen area $1 (WxH+X+Y) brighter than 70% grey.
light_in() {
  import -window root png:- 2>/dev/null |
    convert - -crop "$1" +repage -colorspace gray -threshold 70% -format '%[fx:int(mean*w*h)]' info: 2>/dev/null
}
# Pixels of the client rectangle $1..$4 of the main window brighter than 70%
# grey: text lines of light text on the dark fills.
bright_pixels() { light_in "$(area_in "$(main_origin)" "$1" "$2" $(($3 - $1)) $(($4 - $2)))"; }
dialog_gone() { ! other_window_shown; }
readable() {
  local count
  count=$(bright_pixels "$@")
  [ "${count:-0}" -ge 20 ]
}

sed -i 's/^Path=.*\r*$/Path=Light\r/; s/^RColor=.*\r*$/RColor=40\r/; s/^GColor=.*\r*$/GColor=40\r/; s/^BColor=.*\r*$/BColor=40\r/' "$run/str.ini"
printf '[Fire]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem1=50 ms\r\nItem2=A   Up\r\n[Burst]\r\nItemCount=1\r\nItem0=B   Dn\r\n' >"$run/record.ini"

start_vortal || finish
open_window || finish
sleep 1
shot 01-basic-page
if readable "${mode_static[@]}"; then
  report ok "the lighting mode text stands out on its black field"
else
  report fail "the lighting mode text stands out on its black field" "$(bright_pixels "${mode_static[@]}") light pixels"
fi
click_rect "${advanced_page_rect[@]}"
sleep 1.5
shot 02-advanced-page
for list in macro event; do
  eval "box=(\"\${${list}_list[@]}\")"
  if readable "${box[@]}"; then
    report ok "the $list list's lines stand out on its dark fill"
  else
    report fail "the $list list's lines stand out on its dark fill" "$(bright_pixels "${box[@]}") light pixels"
  fi
done

# The delay line (the second line of the event list) opens the delay dialog.
move_to 640 $((220 + 14 + 7))
sleep 0.3
xdotool click --repeat 2 --delay 80 1
if wait_for 10 other_window_shown; then
  sleep 1
  shot 03-delay-dialog
  # The field (74, 129, 150, 143): its light pixels before and after typing
  # (the border and the caret first, then the digits too).
  dialog_origin=$(other_windows | head -n 1 | origin_of)
  field=$(area_in "$dialog_origin" 74 129 76 14)
  empty=$(light_in "$field")
  # Typed at once, without a click into the field.
  xdotool type --delay 80 "700"
  sleep 0.5
  shot 04-delay-typed
  typed=$(light_in "$field")
  if [ "${typed:-0}" -ge $((${empty:-0} + 20)) ]; then
    report ok "the delay dialog's field takes the typed pause at once"
  else
    report fail "the delay dialog's field takes the typed pause at once" "light pixels ${empty:-none} before typing, ${typed:-none} after"
  fi
  click_in "$dialog_origin" 210 262
  wait_for 10 dialog_gone
  sleep 1
  shot 05-delay-edited
else
  shot 03-no-delay-dialog
  report fail "a double-click on the delay line opens the delay dialog"
fi
finish
