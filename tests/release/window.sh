#!/usr/bin/env bash
# The zip as a user gets it: its folder, unpacked, runs in a fresh Wine
# prefix on the virtual mouse: Vortal.exe starts in the tray, "About Vortal"
# names the version, and Apply writes the settings into the mouse and
# config.bin.
#
#   tests/release/window.sh UNPACKED_FOLDER
folder=$(realpath "${1:?usage: window.sh UNPACKED_FOLDER}")
prefix=$(mktemp -d)
export VORTAL_WINDOWS_BUILD=$folder VORTAL_E2E_WINEPREFIX=$prefix/wine
source "$(dirname "$0")/../e2e/lib.sh"
e2e_init release-window
# The folder exactly as unpacked, not the delivered files of the source tree.
rm -rf "$run" && cp -r "$folder" "$run"
version=$(cd "$folder" && "$wine" ./vortalctl.exe --version 2>/dev/null | tr -d '\r' | awk '{ print $2 }')
trap 'rm -rf "$prefix"' EXIT

start_vortal || finish
report ok "the unpacked zip starts in the tray of a fresh Wine prefix"
if tray_choose 5 about-menu && close_box about "Vortal ${version//./\\.}.*MIT License.*"; then
  report ok "\"About Vortal\" in the tray menu names version $version and the licence"
else
  report fail "\"About Vortal\" in the tray menu names version $version and the licence" \
    "$(grep '^message opened' "$state_log" | tail -n 1)"
fi
open_window || finish
before=$(traffic_lines)
apply_and_wait
if [ -n "$(opcodes_sent "$before")" ]; then
  report ok "Apply writes the settings into the virtual mouse and config.bin"
else
  report fail "Apply writes the settings into the virtual mouse" "no command in the traffic log"
fi
finish
