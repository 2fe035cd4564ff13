#!/usr/bin/env bash
# Vortal.exe's life in the tray under Wine, with the virtual mouse and the
# mouse following the program in front:
#  - a switch: from the click that brings a stand-in game to the front to the
#    end of the switch (its balloon, after the last report), and the reports
#    sent, for a profile that differs from the default in DPI only, in buttons
#    only and in everything; the half-second settle is included;
#  - idle wake-ups over a minute with nothing happening: the context switches
#    of each of the process's threads, by their names: the window's thread is
#    the process's first ("Vortal.exe"), the program names its listener
#    "vortal-listener" ("virtual-mouse" is the virtual mouse's poller, which
#    a real mouse does not have); the others are Wine's.
#   bench/tray_life.sh [RUNS] [IDLE_SECONDS]    (uses build/windows)
set -uo pipefail
runs=${1:-3}
idle=${2:-60}
source "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_init bench-tray-life
ms() { echo $(( $(date +%s%N) / 1000000 )); }

games="$work/games"
mkdir -p "$games"
profile() { printf '[Profile]\nFormat=1\nPrograms=%s.exe\n[Settings]\n%s\n' "$1" "$2" >"$run/Profiles/$1.ini"; }
profile dpi-only 'dpi.1=on level=1'
profile buttons-only 'mode-a.button8=Fire Key key=R speed=20 times=3'
profile everything $'dpi.1=on level=1\nmode-a.button8=Fire Key key=R speed=20 times=3\nrate=500\nlighting=Standard Mode brightness=55% speed=6S time=2.5S'
cp "$build/tests/vortal_front_window.exe" "$games/desktop.exe"
for name in dpi-only buttons-only everything; do cp "$build/tests/vortal_front_window.exe" "$games/$name.exe"; done
printf '[Switching]\nAutomatic=1\nBalloons=1\n' >"$run/switching.ini"

start_vortal || finish
x=20
declare -A at
for name in desktop dpi-only buttons-only everything; do
  (cd "$games" && exec "$wine" "$games/$name.exe" "$x" "$name") >>"$work/wine.log" 2>&1 &
  at[$name]=$((x + 100))
  wait_state 20 "foreground .*$name\\.exe waits" || { echo "$name did not come to the front" >&2; finish; }
  wait_state 10 settled
  x=$((x + 245))
done
# Each profile in turn, from the default setup (the desktop stand-in, named
# by no profile) and back.
for name in dpi-only buttons-only everything; do
  total=0
  reports=0
  for _ in $(seq "$runs"); do
    xdotool mousemove "${at[desktop]}" 500 click 1
    wait_state 20 'foreground .*desktop\.exe waits' && wait_state 10 settled &&
      wait_state 20 'balloon The mouse now has the default setup\.'
    mark_state
    before=$(traffic_lines)
    t0=$(ms)
    xdotool mousemove "${at[$name]}" 500 click 1
    poll_for 20 state_met "^balloon The mouse now has the profile $name\\.\$" ||
      { echo "no switch to $name" >&2; finish; }
    t1=$(ms)
    total=$((total + t1 - t0))
    reports=$(tail -n +"$((before + 1))" "$mouse/traffic.log" | grep -c SET_FEATURE)
  done
  echo "switch to $name: click to the switch's end $((total / runs)) ms (settle 500 ms included) over $runs runs; $reports reports"
done

# Idle: the default setup in front, nothing happening.
xdotool mousemove "${at[desktop]}" 500 click 1
wait_state 20 'foreground .*desktop\.exe waits' && wait_state 10 settled
process=$(pgrep -x Vortal.exe | head -n 1)
threads() {
  local task
  for task in /proc/"$process"/task/*; do
    echo "$(cat "$task/comm") $(awk '/^voluntary_ctxt_switches|^nonvoluntary_ctxt_switches/ { n += $2 } END { print n }' "$task/status")"
  done | sort
}
before=$(threads)
sleep "$idle"
after=$(threads)
echo "idle wake-ups over $idle s, by thread (context switches):"
join <(echo "$before" | awk '{ print $1 "#" NR, $2 }' | sort) <(echo "$after" | awk '{ print $1 "#" NR, $2 }' | sort) |
  awk '{ split($1, n, "#"); printf "  %-16s %d\n", n[1], $3 - $2 }'
stop_vortal
cleanup
