#!/usr/bin/env bash
# The advanced page's pointer settings and the choice of skin, as a user meets
# them: the page, its sliders and ticks, Default and Apply read back from the
# system's own settings, then the Skins dialog: another skin and another text
# colour, stored in str.ini and drawn at once. With "zh" as its argument it
# runs in Simplified Chinese and only looks (screenshots).
source "$(dirname "$0")/lib.sh"
language=${1:-en}
e2e_init "advanced-$language" "$language"

# Lines of the skin list: one pixel of border under its top, then 14 each.
skin_item_y() { local list; read -r -a list <<<"$(rect_of skin_list)"; echo $((list[1] + 1 + 14 * $1 + 7)); }
# The system's colour dialog, measured from its bottom left corner (whether the
# system draws a caption bar above it or not): the basic colour in its fourth row
# and second column, and its OK button.
basic_colour=(43 202)
colour_ok=(43 20)

# The user's pointer settings as the system keeps them: the double-click time
# in the user's profile, the others until log-off.
reg_value() {
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v k="$2" '$1 == k { print $3 }'
}
mouse_key='HKCU\Control Panel\Mouse'
temp_mouse_key='HKCU\Software\Wine\Temporary System Parameters\Control Panel\Mouse'
temp_desktop_key='HKCU\Software\Wine\Temporary System Parameters\Control Panel\Desktop'
pointer_values() {
  echo "speed=$(reg_value "$temp_mouse_key" MouseSensitivity)" \
    "lines=$(reg_value "$temp_desktop_key" WheelScrollLines)" \
    "accel=$(reg_value "$temp_mouse_key" MouseSpeed)" \
    "double=$(reg_value "$mouse_key" DoubleClickSpeed)"
}
pointer_wanted=""
pointer_is_wanted() { [ "$(pointer_values)" = "$pointer_wanted" ]; }
expect_pointer() {
  local got
  pointer_wanted=$2
  wait_for 5 pointer_is_wanted
  got=$(pointer_values)
  if [ "$got" = "$2" ]; then report ok "$1 ($got)"; else report fail "$1" "got $got, expected $2"; fi
}

# The skins dialog (wait_opened gives its window and corner) and the
# system's colour dialog over it.
skins_id=""
skins_origin=""
colour_id=""
colour_origin=""
open_skins_dialog() {
  click_control skins
  wait_opened 10 'dialog opened CSkinsDialog' || return 1
  skins_id=$opened_id skins_origin=$opened_origin
}
# Clicks a point of the skins dialog.
dialog_click() { click_in "$skins_origin" "$1" "$2"; }
# Opens the skin list from its header and chooses line $1 (screenshot $2 of
# the open list when given).
choose_skin() {
  dialog_click $(centre_of skin_list_header)
  wait_state 10 'list opened [0-9]+' || report fail "the skin list opens"
  [ -z "${2:-}" ] || shot "$2"
  dialog_click 90 "$(skin_item_y "$1")"
  wait_state 10 'list closed [0-9]+' || report fail "line $1 of the skin list is chosen"
}
# The colour of the skin dialog's colour sample on the screen.
sample_colour() {
  local sample
  read -r -a sample <<<"$(rect_of colour_sample)"
  import -window root -crop "$(area_in "$skins_origin" $(((sample[0] + sample[2]) / 2)) $(((sample[1] + sample[3]) / 2)) 1 1)" -format '%[hex:p{0,0}]' info: 2>/dev/null
}
sample_changed() { local now; now=$(sample_colour) && [ -n "$now" ] && [ "$now" != "$sample_before" ]; }
# Clicks a point of the colour dialog given from its bottom left corner.
colour_click() {
  local height
  height=$(xwininfo -id "$colour_id" | awk '/Height:/ { print $2 }')
  click_in "$colour_origin" "$1" $((height - $2))
}
str_value() { tr -d '\r' <"$run/str.ini" | awk -F= -v k="$1" '$1 == k { print $2; exit }'; }

start_vortal || finish
open_window || finish

# 1. The page: drawn from the skin, read from the system.
click_control advanced_page
wait_state 10 'page advanced'
shot 01-page
if main_shown && [ "$(shown_page)" = advanced ] && [ -z "$(other_windows)" ]; then
  report ok "the advanced page opens without a message"
else
  report fail "the advanced page opens without a message" "$(window_state); $(other_windows | head -c 200)"
fi

if [ "$language" = en ]; then
  # 2. Default sets the system's defaults at once.
  click_control pointer_default
  expect_pointer "Default gives the system speed 10, 3 lines, 500 ms, no acceleration" \
    "speed=10 lines=3 accel=0 double=500"

  # 3. Sliders and a tick change nothing until Apply; Apply sets them all.
  click_control speed_9
  click_control lines_5
  click_control double_click_11
  click_control precision
  wait_state 10 'clicked .*'
  expect_pointer "sliders and ticks reach the system only with Apply" \
    "speed=10 lines=3 accel=0 double=500"
  shot 02-changed
  click_control apply
  wait_state 15 applied
  expect_pointer "Apply sets speed 16, 5 lines, 200 ms and precision" \
    "speed=16 lines=5 accel=1 double=200"

  # 4. Scrolling one screen per notch, whatever the slider shows.
  click_control one_screen
  click_control apply
  wait_state 15 applied
  lines=$(reg_value "$temp_desktop_key" WheelScrollLines)
  if [ "$lines" = -1 ] || [ "$lines" = 4294967295 ]; then
    report ok "Scroll One Screen applies a page per notch ($lines)"
  else
    report fail "Scroll One Screen applies a page per notch" "WheelScrollLines=$lines"
  fi
  shot 03-applied
fi

# 5. The Skins button opens the skin dialog over the window.
geometry_before=$(main_geometry)
if open_skins_dialog; then
  report ok "the Skins button opens the skin dialog"
else
  report fail "the Skins button opens the skin dialog"
  finish
fi
shot 04-skins-dialog
# The list holds the skin folders in the folder search's order; the line of
# "Light" is its place among them.
light_line=1
first=$(ls -f "$run/Skins" | grep -v '^\.' | head -n 1)
[ "$first" = Light ] && light_line=0
choose_skin "$light_line" 05-skin-list
shot 06-skin-chosen

if [ "$language" = en ]; then
  # 6. The colour sample opens the system's colour dialog; a basic colour and
  # its OK give the sample that colour.
  sample_before=$(sample_colour)
  dialog_click $(centre_of colour_sample)
  if wait_opened 10 'dialog opened colour'; then
    colour_id=$opened_id colour_origin=$opened_origin
    shot 07-colour-dialog
    # A basic colour, then the colour dialog's OK.
    colour_click "${basic_colour[@]}"
    colour_click "${colour_ok[@]}"
    # The skin dialog takes clicks again once the colour dialog has left the
    # screen and the sample shows the new colour.
    if wait_closed 10 'dialog closed colour ok' "$colour_id" && wait_for 10 sample_changed; then
      report ok "the colour dialog's OK gives the sample its colour"
    else
      report fail "the colour dialog's OK gives the sample its colour" "still $sample_before"
    fi
  else
    report fail "the colour sample opens the colour dialog"
  fi
fi
dialog_click $(centre_of dialog_ok)
wait_closed 10 'dialog closed CSkinsDialog ok' "$skins_id" && wait_state 10 'skin .*' ||
  report fail "the skin dialog's OK closes it"
# The pointer moves on, then clicks a free spot: the window stays where it was.
xdotool mousemove 600 700
xdotool mousemove 620 720
click_handled 300 30
shot 08-new-skin
if [ "$(main_geometry)" = "$geometry_before" ]; then
  report ok "the window stays in place after the skin dialog"
else
  report fail "the window stays in place after the skin dialog" "$geometry_before became $(main_geometry)"
fi

if [ "$(str_value Path)" = Light ]; then
  report ok "OK stores the chosen skin in str.ini"
else
  report fail "OK stores the chosen skin in str.ini" "Path=$(str_value Path)"
fi
if [ "$language" = en ]; then
  colour="$(str_value RColor),$(str_value GColor),$(str_value BColor)"
  if [ "$colour" != 220,227,234 ] && [[ "$colour" =~ ^[0-9]+,[0-9]+,[0-9]+$ ]]; then
    report ok "OK stores the chosen text colour in str.ini"
  else
    report fail "OK stores the chosen text colour in str.ini" "$colour"
  fi
fi
# The Light skin's page is pale: the window's mean brightness rises well above
# the dark skin's.
brightness() { import -window root -crop "$(main_geometry)" -format '%[fx:int(100*mean)]' info: 2>/dev/null; }
pale() { bright=$(brightness); [ "${bright:-0}" -gt 60 ]; }
if wait_for 10 pale; then
  report ok "the page is drawn again with the new skin's images (brightness $bright%)"
else
  report fail "the page is drawn again with the new skin's images" "brightness ${bright:-none}%"
fi

# 7. The dialog from the new skin, then Cancel leaves everything as it is.
open_skins_dialog
shot 09-skins-dialog-light
before=$(md5sum <"$run/str.ini")
choose_skin $((1 - light_line))
dialog_click $(centre_of dialog_cancel)
if wait_closed 10 'dialog closed CSkinsDialog cancel' "$skins_id" && [ "$(md5sum <"$run/str.ini")" = "$before" ]; then
  report ok "Cancel after another choice closes the skin dialog and leaves str.ini alone"
else
  report fail "Cancel after another choice closes the skin dialog and leaves str.ini alone"
fi

finish
