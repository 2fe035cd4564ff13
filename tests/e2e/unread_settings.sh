#!/usr/bin/env bash
# A config.bin the program could not read (damaged: 100 bytes; missing): Apply
# and OK say so in a box captioned "Vortal" and send nothing to the mouse, and
# the file stays byte for byte as it was (or absent). The screenshots show the
# boxes; `unread_settings.sh zh` takes them in Chinese.
source "$(dirname "$0")/lib.sh"
e2e_init "unread-settings${1:+-$1}" "${1:-en}"

# Closes the box the program opened (a message captioned "Vortal") with Enter,
# the pointer over it, and waits until it is gone.
dismiss_box() {
  other_windows | grep "^$opened_id .*\"Vortal\"" >/dev/null || return 1
  mark_state
  move_in "$opened_origin" 20 20
  xdotool key Return
  wait_closed 10 'message closed'
}
# Clicks Apply, then OK: each must bring up the box, and nothing may reach the
# mouse. $1 names the case, $2 the screenshots.
refused_twice() {
  local lines button
  lines=$(traffic_lines)
  for button in apply ok; do
    click_control "$button"
    if wait_opened 15 'message opened .*'; then
      shot "$2-$button"
      dismiss_box || { report fail "$1: the box of $button closes" "still shown"; return; }
    else
      report fail "$1: $button says why nothing is applied" "no box within 15 s"
      return
    fi
  done
  local sent
  sent=$(opcodes_sent "$lines")
  if [ -z "$sent" ] && [ -z "$(last_state applied)" ]; then
    report ok "$1: Apply and OK show a box and send nothing to the mouse"
  else
    report fail "$1: Apply and OK send nothing to the mouse" "sent: $sent"
  fi
}

# 1. A damaged config.bin: 100 bytes.
head -c 100 /dev/urandom >"$run/config.bin"
cp "$run/config.bin" "$work/damaged.bin"
start_vortal || finish
open_window || finish
refused_twice "a 100-byte config.bin" 01-damaged
if cmp -s "$run/config.bin" "$work/damaged.bin"; then
  report ok "a 100-byte config.bin stays byte for byte as it was"
else
  report fail "a 100-byte config.bin stays as it was" "$(stat -c %s "$run/config.bin" 2>/dev/null) bytes now"
fi

# 2. No config.bin: the start-up box first, then the same refusals.
stop_vortal
rm -f "$run/config.bin"
: >"$mouse/traffic.log"
launch_vortal
if wait_opened 90 'message opened .*'; then
  dismiss_box
  wait_state 60 ready
  open_window || finish
  refused_twice "no config.bin" 02-missing
  if [ ! -e "$run/config.bin" ]; then
    report ok "a missing config.bin is not created by Apply or OK"
  else
    report fail "a missing config.bin is not created" "$(stat -c %s "$run/config.bin") bytes"
  fi
else
  report fail "a missing config.bin is reported at start-up" "no box within 90 s"
fi
finish
