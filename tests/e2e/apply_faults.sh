#!/usr/bin/env bash
# An Apply the mouse does not take whole: a macro slot it keeps wrong, and a
# mouse that stops answering half-way. The window says what the mouse did not
# take, in the user's language, and that config.bin holds the settings; a
# good Apply is said in a short balloon. Also in Simplified Chinese.
source "$(dirname "$0")/lib.sh"
language=${1:-en}
if [ "$language" = en ]; then e2e_init apply-faults en; else e2e_init "apply-faults-$language" "$language"; fi

# Waits (15 s at most) until the mouse's traffic log shows a line matching
# $2 after line $1; the virtual mouse logs a control line once it is in force.
heard() { grep -q -m 1 -- "$2" <(timeout 15 tail -n +"$(($1 + 1))" -f "$mouse/traffic.log" 2>/dev/null); }
# Sends a control line to the mouse and waits until it is in force.
control() {
  local lines
  lines=$(traffic_lines)
  echo "$1" >>"$mouse/control"
  heard "$lines" "CONTROL $1"
}
# Clicks Apply and checks the box that says what the mouse did not take ($2,
# a pattern; the same words in Chinese carry the slot number or nothing).
apply_not_taken() {
  mark_state
  click_control apply
  if wait_state 15 applied && close_box "$1" "$2" && config_saved; then
    report ok "$3"
  else
    report fail "$3" "$(last_state 'message opened.*|balloon.*')"
  fi
}

# vortalctl.exe on the window's folder meets the same mouse: its apply exits
# 1 and says (in English) what the mouse did not take ($1, a pattern).
ctl_not_taken() {
  local code=0
  vortalctl_in "$run" apply || code=$?
  if [ "$code" = 1 ] && grep -q -- "$1" "$work/vortalctl.out"; then
    report ok "$2"
  else
    report fail "$2" "$ctl_said"
  fi
}

# The boxes the program opened so far.
boxes() { grep -c '^message opened' "$state_log" 2>/dev/null || true; }
# Clicks Apply and waits for its balloon; true when no box came with it.
apply_taken() {
  local before
  before=$(boxes)
  mark_state
  click_control apply
  wait_state 15 applied && wait_balloon 15 '.+' && [ "$(boxes)" = "$before" ]
}

start_vortal || finish
open_window || finish

# 1. The mouse takes everything: a balloon says so, no box.
if apply_taken; then
  report ok "a good Apply is said in a balloon, without a box"
else
  report fail "a good Apply is said in a balloon, without a box" "$(last_state 'balloon.*|message opened.*')"
fi

# 2. Macro slot 3 kept wrong: the box names it.
if [ "$language" = en ]; then
  said='The mouse did not take all of the settings: macro slot 3 came back different\..*config\.bin holds them.*'
else
  said='.*3.*config\.bin.*'
fi
control "macro-slot-wrong 3" || report fail "the virtual mouse takes macro-slot-wrong"
apply_not_taken macro-slot "$said" "a macro slot the mouse keeps wrong is told, config.bin is saved"
ctl_not_taken "did not take all of the settings: macro slot 3 came back different" \
  "vortalctl apply exits 1 on the slot the mouse keeps wrong"
control "macro-slot-wrong 0"

# 3. The mouse stops answering half-way through the Apply (after ten
#    commands): the box says so.
if [ "$language" = en ]; then
  said='The mouse did not take all of the settings: it stopped answering\..*config\.bin holds them.*'
else
  said='.*config\.bin.*'
fi
control "silent 10" || report fail "the virtual mouse takes silent 10"
apply_not_taken silent "$said" "a mouse that stops answering half-way is told, config.bin is saved"
ctl_not_taken "did not take all of the settings: it stopped answering" \
  "vortalctl apply exits 1 when the mouse stops answering half-way"
control "answer"

# 4. Answering again, the next Apply is taken whole.
if apply_taken; then
  report ok "once the mouse answers again the next Apply is taken"
else
  report fail "once the mouse answers again the next Apply is taken" "$(last_state 'balloon.*|message opened.*')"
fi
finish
