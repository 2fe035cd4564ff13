#!/usr/bin/env bash
# Makes the Chinese font faces the program asks for ("宋体", "黑体" and their
# English names), which every Chinese Windows has, resolve in the current Wine
# prefix to an outline CJK font with Latin letters of its own (WenQuanYi
# Micro Hei), as 宋体 has them. Without it Wine falls back to a face without
# Chinese glyphs. WenQuanYi Zen Hei is not used: Wine draws it from its
# embedded bitmap strikes at the program's 12 and 13 pixel sizes and loses
# rows of every glyph. A CJK face without Latin letters is not used either:
# edit controls draw their text with the face's own glyphs only, so Latin
# key names would show as boxes. Runs once per prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
marker="$WINEPREFIX/.vortal-cjk-fonts-7"
[ -e "$marker" ] && exit 0
mkdir -p "$WINEPREFIX"
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in 宋体 新宋体 SimSun NSimSun 黑体 SimHei; do
    printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
  done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
"$wine" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1
"$(dirname "$wine")/wineserver" -w 2>/dev/null || true
touch "$marker"
