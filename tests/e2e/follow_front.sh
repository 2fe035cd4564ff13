#!/usr/bin/env bash
# Profiles that follow the program in front. Two stand-in games with their
# own executable names (and a third program no profile names) come to the
# front in turn by pointer clicks; the mouse gets the profile of the game in
# front once it has held the front for the settle time, only the commands
# that differ, and the default setup when neither game is in front. A flurry
# that ends where it began sends nothing; a damaged profile changes nothing
# and says so; the program's own window is passed over; a hand switch from
# the tray menu works with switching off.
source "$(dirname "$0")/lib.sh"
e2e_init follow-front en

games="$work/games"
mkdir -p "$games"
for name in game-one game-two broken other; do
  cp "$build/tests/vortal_front_window.exe" "$games/$name.exe"
done
cat >"$run/Profiles/One.ini" <<'INI'
[Profile]
Format=1
Programs=game-one.exe
[Settings]
dpi.1=on level=1
INI
cat >"$run/Profiles/Two.ini" <<'INI'
[Profile]
Format=1
Programs=GAME-TWO.EXE
[Settings]
mode-a.button8=Fire Key key=R speed=20 times=3
INI
cat >"$run/Profiles/Broken.ini" <<'INI'
[Profile]
Format=1
Programs=broken.exe
[Settings]
dpi.1=sideways
INI
# The submenu: Default setup, Broken, Example, One, Two, Switch automatically,
# Show a balloon on each switch.
profile_item() { case $1 in default) echo 0 ;; One) echo 3 ;; Two) echo 4 ;; automatic) echo 5 ;; esac; }

# A game at X on the screen; it comes to the front as it starts.
game_pids=()
start_game() {
  (cd "$games" && exec "$wine" "$games/$1.exe" "$2" "$1") >>"$work/wine.log" 2>&1 &
  game_pids+=($!)
}
# A click on the game's window brings it to the front.
front() { xdotool mousemove "$(($1 + 120))" 500 click 1; }
# The opcodes the mouse received since traffic line $1.
sent_since() { opcodes_sent "$1"; }

start_vortal || finish

# 1. Switching off: a hand switch from the tray menu.
mark=$(traffic_lines)
if tray_choose_sub 4 "$(profile_item Two)" 01-profiles-menu && wait_balloon 20 'The mouse now has the profile Two\.'; then
  report ok "a hand switch from the tray's Profiles menu puts Two into the mouse" "$(sent_since "$mark")"
else
  report fail "a hand switch from the tray's Profiles menu puts Two into the mouse" "$(last_state 'balloon.*')"
fi
mark=$(traffic_lines)
if tray_choose_sub 4 "$(profile_item default)" && wait_balloon 20 'The mouse now has the default setup\.' &&
  [ "$(sent_since "$mark")" = 12 ]; then
  report ok "back to the default setup, only the differing key matrix is sent"
else
  report fail "back to the default setup, only the differing key matrix is sent" "sent: $(sent_since "$mark")"
fi

# 2. Switching on: the mouse follows the game in front.
mark_state
tray_choose_sub 4 "$(profile_item automatic)" && wait_state 10 'foreground watch on' ||
  report fail "Switch automatically turns the watch on" "$(last_state 'foreground watch.*')"
[ "$(tr -d '\r\0' <"$run/switching.ini" 2>/dev/null | grep -c '^Automatic=1$')" = 1 ] &&
  report ok "the choice is kept in switching.ini" || report fail "the choice is kept in switching.ini"

mark=$(traffic_lines)
start_game game-one 100
if wait_state 20 'foreground .*game-one\.exe waits' && wait_state 10 settled &&
  wait_balloon 20 'The mouse now has the profile One\.' && [ "$(sent_since "$mark")" = 11 ]; then
  report ok "game-one in front: after the settle time the mouse gets One's DPI stages alone"
else
  report fail "game-one in front: after the settle time the mouse gets One's DPI stages alone" "sent: $(sent_since "$mark"); $(last_state 'foreground.*')"
fi
mark=$(traffic_lines)
start_game game-two 520
if wait_state 20 'foreground .*game-two\.exe waits' && wait_balloon 20 'The mouse now has the profile Two\.' &&
  [ "$(sent_since "$mark")" = "11 12" ]; then
  report ok "game-two in front: the mouse gets Two (DPI back, the fire key)"
else
  report fail "game-two in front: the mouse gets Two (DPI back, the fire key)" "sent: $(sent_since "$mark")"
fi
shot 02-games

# 3. A flurry that ends on the game in front sends nothing: the system tells
# of game-one and then of game-two at once, as an Alt+Tab flurry does.
announce() { "$wine" "$games/other.exe" --announce "$@" >>"$work/wine.log" 2>&1; }
mark=$(traffic_lines)
announce VortalFrontWindow game-one VortalFrontWindow game-two
if wait_state 10 'foreground .*game-one\.exe waits' && wait_state 10 'foreground .*game-two\.exe waits' &&
  wait_state 10 settled && [ -z "$(sent_since "$mark")" ]; then
  report ok "an Alt+Tab flurry inside the settle time sends nothing"
else
  report fail "an Alt+Tab flurry inside the settle time sends nothing" "sent: $(sent_since "$mark")"
fi

# 4. The program's own window is passed over.
announce LumeoZQ5GMClass -
wait_state 10 'foreground .*Vortal\.exe passed over' &&
  report ok "the program's own window coming to the front is passed over" ||
  report fail "the program's own window coming to the front is passed over" "$(last_state 'foreground.*')"

# 5. A program no profile names gets the default setup.
mark=$(traffic_lines)
start_game other 300
if wait_state 20 'foreground .*other\.exe waits' && wait_balloon 20 'The mouse now has the default setup\.' &&
  [ "$(sent_since "$mark")" = 12 ]; then
  report ok "a program without a profile in front: the default setup"
else
  report fail "a program without a profile in front: the default setup" "sent: $(sent_since "$mark")"
fi

# 6. A damaged profile changes nothing and says why.
mark=$(traffic_lines)
start_game broken 740
if wait_state 20 'foreground .*broken\.exe waits' &&
  wait_balloon 20 'The profile Broken cannot be read, so the mouse stays as it was: .*' &&
  [ -z "$(sent_since "$mark")" ]; then
  report ok "a damaged profile leaves the mouse as it was and shows its balloon"
else
  report fail "a damaged profile leaves the mouse as it was and shows its balloon" "sent: $(sent_since "$mark"); $(last_state 'balloon.*')"
fi
shot 03-damaged

# 7. "Save as profile..." writes the window's setup with its programs.
profile_written() { tr -d '\r\0' 2>/dev/null <"$run/Profiles/Three.ini" | grep -q '^Programs=game-three.exe, other.exe$'; }
mark_state
if tray_choose 2 && wait_opened 10 'dialog opened .*' && shot 04-save-as-profile &&
  click_in "$opened_origin" "$(px 196)" "$(px 92)" && xdotool type --delay 20 'Three' &&
  wait_state 10 'edit 620 Three' && click_in "$opened_origin" "$(px 196)" "$(px 154)" &&
  xdotool type --delay 20 'game-three.exe, other.exe' && wait_state 10 'edit 621 game-three.exe, other.exe' &&
  click_in "$opened_origin" "$(px 218)" "$(px 263)" && wait_for 10 profile_written; then
  report ok "Save as profile writes Profiles/Three.ini with its programs"
else
  report fail "Save as profile writes Profiles/Three.ini with its programs" "$(last_state 'dialog.*')"
fi

for pid in "${game_pids[@]}"; do kill "$pid" 2>/dev/null; done
finish
