#!/usr/bin/env bash
# Lays out FOLDER as Vortal is delivered: Vortal.exe (and vortalctl.exe when
# built) from the Windows build, config.bin and str.ini from dist/ unless the
# folder already holds ones the program has written, the example profiles
# under Profiles/ unless the folder holds a profile of that name, and every
# delivered skin under Skins/ (afresh).
#
#   scripts/delivered-folder.sh WINDOWS_BUILD FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: delivered-folder.sh WINDOWS_BUILD FOLDER}
folder=${2:?usage: delivered-folder.sh WINDOWS_BUILD FOLDER}
mkdir -p "$folder/Skins"
for exe in Vortal.exe vortalctl.exe; do
  found=$(find "$build" -name "$exe" -type f 2>/dev/null | head -n 1 || true)
  [ -z "$found" ] || cp "$found" "$folder/"
done
[ -e "$folder/Vortal.exe" ] || { echo "delivered-folder.sh: no Vortal.exe under $build" >&2; exit 1; }
for f in config.bin str.ini; do [ -e "$folder/$f" ] || cp "$root/dist/$f" "$folder/"; done
mkdir -p "$folder/Profiles"
for profile in "$root"/dist/Profiles/*.ini; do
  [ -e "$folder/Profiles/$(basename "$profile")" ] || cp "$profile" "$folder/Profiles/"
done
for skin in "$root"/skins/*/; do
  name=$(basename "$skin")
  [ -e "$skin/main.png" ] && rm -rf "$folder/Skins/$name" && cp -r "$skin" "$folder/Skins/$name"
done
exit 0
