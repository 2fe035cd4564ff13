#!/usr/bin/env bash
# "Start with Windows" in the tray menu: ticked, it puts a shortcut to this
# Vortal.exe in the user's Startup folder and the next menu shows the tick;
# unticked, the shortcut is gone.
source "$(dirname "$0")/lib.sh"
e2e_init start-with-windows en

# The shortcut in the Wine prefix's Startup folder, if there is one.
shortcut() { find "$WINEPREFIX/drive_c/users" -ipath '*/startup/vortal.lnk' 2>/dev/null | head -n 1; }
shortcut_there() { [ -n "$(shortcut)" ]; }
shortcut_gone() { [ -z "$(shortcut)" ]; }
# Chooses Start with Windows from the tray menu ($1 names its screenshot) and
# sets `tick` to what the menu showed: "ticked" or "unticked".
choose_start() {
  local from
  from=$(state_count)
  tray_choose 6 "$1" || return 1
  tick=unticked
  if tail -n +"$((from + 1))" "$state_log" | grep -q '^menu tick Start with Windows$'; then tick=ticked; fi
}
rm -f "$(shortcut)"

start_vortal || finish

# 1. Unticked at first; choosing it writes the shortcut.
if choose_start 01-menu-unticked && [ "$tick" = unticked ] && wait_state 10 'start with windows on done' &&
  wait_for 10 shortcut_there; then
  report ok "Start with Windows writes Vortal.lnk into the Startup folder"
else
  report fail "Start with Windows writes Vortal.lnk into the Startup folder" "menu $tick; $(last_state 'start with windows.*')"
fi
# The shortcut starts this program.
if grep -a -q -i 'vortal\.exe' "$(shortcut)" 2>/dev/null; then
  report ok "the shortcut starts Vortal.exe"
else
  report fail "the shortcut starts Vortal.exe" "$(shortcut)"
fi

# 2. The next menu shows the tick; choosing it again removes the shortcut.
if choose_start 02-menu-ticked && [ "$tick" = ticked ] && wait_state 10 'start with windows off done' &&
  wait_for 10 shortcut_gone; then
  report ok "the menu shows the tick, and unticking removes the shortcut"
else
  report fail "the menu shows the tick, and unticking removes the shortcut" "menu $tick; $(last_state 'start with windows.*')"
fi
finish
