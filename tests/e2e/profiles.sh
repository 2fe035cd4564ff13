#!/usr/bin/env bash
# The setup as a profile file through the tray menu: "Export settings..."
# writes what vortalctl export writes of the same folder, and a changed file
# read back with "Import settings..." shows in the window and reaches the
# mouse only with Apply. Also the menu in Simplified Chinese (argument zh).
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then
  e2e_init profiles en
  menu_items="Open|Export settings...|Save as profile...|Import settings...|Profiles|About Vortal|Start with Windows|Exit"
  title_save="Export Settings" title_open="Import Settings"
else
  e2e_init "profiles-$language" "$language"
  menu_items="打开|导出设置...|另存为配置文件...|导入设置...|配置文件|关于 Vortal|开机时启动|退出"
  title_save="导出设置" title_open="导入设置"
fi

# A path of this machine as the program under Wine names it.
wine_path() { echo "Z:${1//\//\\}"; }
# The file dialog the program said it opened ($1: save or open) is on the
# screen; types $2 into its name field (the pointer over the dialog, so the
# keys reach it) and confirms it, then waits for the program to say that it
# closed with that path.
choose_file() {
  wait_opened 20 "file dialog opened $1" || { report fail "the $1 dialog opens" "$(tail -n 3 "$state_log" | tr '\n' ' ')"; return 1; }
  local title
  title=$(xdotool getwindowname "$opened_id" 2>/dev/null)
  shot "dialog-$1"
  move_in "$opened_origin" 30 30
  xdotool key ctrl+a
  xdotool type --delay 20 "$(wine_path "$2")"
  xdotool key Return
  wait_closed 20 "file dialog closed ok $(wine_path "$2" | sed 's/[\\.]/\\&/g')" || { report fail "the $1 dialog takes the typed path" "$(tail -n 3 "$state_log" | tr '\n' ' ')"; return 1; }
  local expected="title_$1"
  if [ "$title" = "${!expected}" ]; then
    report ok "the $1 dialog \"$title\" opens from the tray menu and takes a typed path"
  else
    report fail "the $1 dialog is titled \"${!expected}\"" "\"$title\""
  fi
}
ctl() {
  if [ -x "$root/build/native/tools/vortalctl" ]; then
    "$root/build/native/tools/vortalctl" --dir "$run" "$@"
  else
    (cd "$run" && "$wine" "$run/vortalctl.exe" --dir "$(wine_path "$run")" "$@")
  fi
}

start_vortal || finish
# The window's report rate marks before, to tell that the import redraws them.
open_window || finish
mark_crop() { import -window root -crop "$(area_in "$(main_origin)" $(rect_of "report_rate$1" | awk '{ print $1, $2, $3 - $1, $4 - $2 }'))" +repage -depth 8 txt:- 2>/dev/null | md5sum; }
rate250_before=$(mark_crop 2)
rate1000_before=$(mark_crop 4)
click_control minimise
wait_state 10 'window hidden'

# 1. Export: the menu's first item, a path typed into the Save As dialog.
exported="$work/exported.ini"
tray_choose 1 01-menu || { report fail "the tray menu opens"; finish; }
offered=$(sed -n 's/^menu item //p' "$state_log" | paste -sd '|')
if [ "$offered" = "$menu_items" ]; then
  report ok "the tray menu offers $menu_items"
else
  report fail "the tray menu offers $menu_items" "$offered"
fi
choose_file save "$exported" || finish
written() { [ -s "$exported" ]; }
ctl export "$work/expected.ini" >/dev/null
if wait_for 10 written && cmp -s "$exported" "$work/expected.ini"; then
  report ok "the exported file is the profile vortalctl export writes of the same folder"
else
  report fail "the exported file is vortalctl's profile" "$(diff "$exported" "$work/expected.ini" 2>&1 | head -n 5 | tr '\n' ' ')"
fi

# 2. Import of the file with another report rate: the window shows it, the
# mouse and config.bin wait for Apply.
sed -i 's/^rate=.*/rate=250/' "$exported"
stored=$(md5sum <"$run/config.bin")
lines=$(traffic_lines)
tray_choose 3 || { report fail "the tray menu opens again"; finish; }
choose_file open "$exported" || finish
if wait_state 10 imported && wait_state 10 'window shown basic' && wait_state 10 'window painted' && wait_for 10 main_shown; then
  shot 02-imported
  if [ "$(mark_crop 2)" != "$rate250_before" ] && [ "$(mark_crop 4)" != "$rate1000_before" ] && [ "$(mark_crop 2)" = "$rate1000_before" ]; then
    report ok "the import opens the window with 250 Hz marked instead of 1000 Hz"
  else
    report fail "the window shows the imported report rate" "the report rate marks are unchanged"
  fi
else
  report fail "the import opens the window" "$(tail -n 3 "$state_log" | tr '\n' ' ')"
fi
if [ "$(traffic_lines)" = "$lines" ] && [ "$(md5sum <"$run/config.bin")" = "$stored" ]; then
  report ok "the import sends nothing to the mouse and leaves config.bin as it was"
else
  report fail "the import waits for Apply" "traffic $lines -> $(traffic_lines)"
fi
apply_and_wait
check_record "Apply saves the imported report rate" 1925 4
if tail -n +"$((lines + 1))" "$mouse/traffic.log" | grep -q ' SET_FEATURE 00 01 04 '; then
  report ok "Apply sends the imported report rate (250 Hz) to the mouse"
else
  report fail "Apply sends the imported report rate" "$(tail -n +"$((lines + 1))" "$mouse/traffic.log" | grep ' SET_FEATURE 00 01 ' | tail -n 1)"
fi

# 3. A damaged file: the message names its line, nothing changes.
printf '[Profile]\r\nFormat=1\r\n[Settings]\r\nrate=300\r\n' >"$work/damaged.ini"
click_control minimise
wait_state 10 'window hidden'
tray_choose 3 || finish
choose_file open "$work/damaged.ini" || finish
if wait_opened 10 'message opened .*line 4.*' ; then
  shot 03-damaged
  move_in "$opened_origin" 20 20
  xdotool key Return
  wait_closed 10 'message closed'
  check_record "a damaged file is refused, its line named, and changes nothing" 1925 4
else
  report fail "a damaged file is refused with its line named" "$(tail -n 2 "$state_log" | tr '\n' ' ')"
fi
stop_vortal
finish
