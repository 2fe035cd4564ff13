#!/usr/bin/env bash
# Export and import through the tray menu on a Simplified Chinese system.
exec bash "$(dirname "$0")/profiles.sh" zh
