#!/usr/bin/env bash
# Builds Vortal and runs it from build/run, a folder laid out as the program
# is delivered (config.bin, str.ini, Skins/ beside the executables). Without a
# mouse attached, the built-in virtual mouse stands in (build/run/virtual-mouse).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

run="$root/build/run"
# The delivered files; a config.bin or str.ini the program has written is kept.
"$root/scripts/delivered-folder.sh" "$root/build/windows" "$run"
cp "$root/build/native/tools/vortalctl" "$run/"

mouse_attached() {
  grep -qs 'HID_ID=0003:000004D9:0000A09F' /sys/class/hidraw/*/device/uevent
}
if mouse_attached; then
  "$root/scripts/wine-hidraw.sh" ||
    echo "warning: Wine's HID bus driver could not be set to read hidraw" >&2
else
  export VORTAL_VIRTUAL_MOUSE="$run/virtual-mouse"
  echo "No mouse attached: using the virtual mouse in $VORTAL_VIRTUAL_MOUSE"
fi

if [ -x "$root/scripts/run-window.sh" ] && [ -e "$run/Vortal.exe" ]; then
  exec "$root/scripts/run-window.sh" "$run"
fi

echo "== vortalctl apply"
"$run/vortalctl" --dir "$run" apply
echo "== vortalctl show"
"$run/vortalctl" --dir "$run" show
