#!/usr/bin/env bash
# The window on a Simplified Chinese system: it starts, opens from the tray and
# applies; the screenshots show its Chinese texts.
source "$(dirname "$0")/lib.sh"
e2e_init window-zh zh

start_vortal || finish
if open_window; then
  shot 01-opened
  report ok "on a Chinese system the window opens from the tray"
else
  shot 01-not-opened
  finish
fi
lines=$(traffic_lines)
click_control apply
if wait_state 15 applied && config_saved && [ "$(opcodes_sent "$lines")" = "$apply_opcodes" ]; then
  report ok "on a Chinese system Apply sends the whole sequence and saves config.bin"
else
  report fail "on a Chinese system Apply works" "sent: $(opcodes_sent "$lines")"
fi
mark_state
echo "event 5 1" >>"$mouse/control"
if wait_balloon 15 '.*'; then
  shot 02-balloon
  report ok "on a Chinese system a report-rate event shows a balloon"
else
  report fail "on a Chinese system a report-rate event shows a balloon" "none within 15 s"
fi
finish
