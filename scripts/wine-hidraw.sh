#!/usr/bin/env bash
# Sets the Wine prefix (WINEPREFIX, default build/wineprefix) up for a real
# mouse: Wine's HID bus driver reads a vendor device's hidraw nodes only with
# its SDL back end off. The nodes themselves need dist/linux/70-vortal.rules.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/wine.sh" reg add 'HKLM\System\CurrentControlSet\Services\winebus' \
    /v 'Enable SDL' /t REG_DWORD /d 0 /f >/dev/null 2>&1
