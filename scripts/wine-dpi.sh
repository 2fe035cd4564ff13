#!/usr/bin/env bash
# Sets the display scale of the current Wine prefix: the DPI (96 = 100 %,
# 120 = 125 %, 144 = 150 %, 192 = 200 %) that Wine reports for every monitor,
# Windows' LogPixels value (HKCU\Control Panel\Desktop, a DWORD). Wine reads it
# when its server starts, so the prefix's programs see it from their next
# start.
#
#   scripts/wine-dpi.sh DPI
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
dpi=${1:?usage: wine-dpi.sh DPI}
marker="$WINEPREFIX/.vortal-dpi"
[ "$(cat "$marker" 2>/dev/null)" = "$dpi" ] && exit 0
mkdir -p "$WINEPREFIX"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$(dirname "$wine")/wineserver" -w 2>/dev/null || true
echo "$dpi" >"$marker"
