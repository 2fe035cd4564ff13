#!/usr/bin/env bash
# Renders app/vortal.ico from app/vortal_icon.svg: the small icon of the
# notification area at each display scale (16 px at 100 %, 20 at 125 %, 24 at
# 150 %, 28 at 175 %, 32 at 200 %, 40 at 250 %, 48 at 300 %), the large icon
# (32 and its scales) and 256 for Explorer. The system picks the size it needs;
# none is stretched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 20 24 28 32 40 48 64 256; do
  rsvg-convert --width "$size" --height "$size" --format png --output "$work/$size.png" \
    "$root/app/vortal_icon.svg"
  pngs+=("$work/$size.png")
done
convert "${pngs[@]}" -strip "$root/app/vortal.ico"
identify "$root/app/vortal.ico" | awk '{ print $3 }' | tr '\n' ' '
echo
