#!/usr/bin/env bash
# Screenshots of Vortal.exe at a display scale, under Wine on a virtual
# display with the virtual mouse: both pages, the fire key dialog and the
# combo key dialog, each cut to the program's window. They go to
# ${VORTAL_E2E_SHOTS:-build/e2e-shots}/shots-LANGUAGE-DPI-*.png; the README's
# are made with it (docs/screenshots/scale-*).
#
#   scripts/screenshots.sh DPI [en|zh]
#   VORTAL_E2E_SCREEN=1920x1080 scripts/screenshots.sh 192   a 1080p screen at 200 %
set -uo pipefail
export VORTAL_E2E_DPI=${1:?usage: screenshots.sh DPI [en|zh]}
language=${2:-en}
source "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_init "shots-$language" "$language"

# The window alone, or the sub-dialog opened last.
cut_main() { local g; g=$(main_geometry); import -window root -crop "$g" +repage "$shots/$e2e_name-$1.png"; }
cut_dialog() { import -window "$opened_id" "$shots/$e2e_name-$1.png"; }
# Opens the dialog of function $2 on button $1 ($3 its class) and cuts it.
dialog_shot() {
  open_function_list "$1" || return
  click_at "$(px 300)" "$(list_line_y "$2")"
  wait_opened 10 "dialog opened $3" || { report fail "function $2 of button $1 opens $3"; return; }
  wait_state 10 'text .*|edit .*' 
  cut_dialog "$4"
  report ok "$3 at $e2e_dpi DPI"
  click_in "$opened_origin" $(centre_of dialog_close)
  wait_closed 10 "dialog closed $3 cancel"
}

start_vortal || finish
open_window || finish
# On a screen too small for the window at the scale asked for, the program
# draws it at a smaller one (README, "Display scale"): the points clicked
# follow the window's own.
size=$(window_size)
e2e_dpi=$((${size%x*} * 96 / 880))
echo "main window $(main_geometry) at $e2e_dpi DPI (the screen's: $VORTAL_E2E_DPI)"
cut_main basic
[ -z "${VORTAL_E2E_SCREEN:-}" ] || shot screen  # the whole screen, the window on it
report ok "basic page at $e2e_dpi DPI"
dialog_shot 5 10 CFireKeyDialog fire-key
dialog_shot 7 12 CComboDialog combo-key
click_control advanced_page
wait_state 10 'page advanced' && cut_main advanced && report ok "advanced page at $e2e_dpi DPI"
finish
