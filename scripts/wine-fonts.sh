#!/usr/bin/env bash
# Makes the Chinese font faces the program asks for ("宋体", "黑体" and their
# English names), which every Chinese Windows has, resolve in the current Wine
# prefix to Debian's outline CJK font (Droid Sans Fallback), linked to
# Liberation Sans for the Latin letters it lacks. Without it Wine falls back
# to a face without Chinese glyphs. WenQuanYi Zen Hei is not used: Wine draws
# it from its embedded bitmap strikes at the program's 12 and 13 pixel sizes
# and loses rows of every glyph. Runs once per prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
marker="$WINEPREFIX/.vortal-cjk-fonts-6"
[ -e "$marker" ] && exit 0
mkdir -p "$WINEPREFIX"
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in 宋体 新宋体 SimSun NSimSun 黑体 SimHei; do
    printf '"%s"="Droid Sans Fallback"\r\n' "$face"
  done
  printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
  printf '"Droid Sans Fallback"=hex(7):%s\r\n' "$(printf 'LiberationSans-Regular.ttf,Liberation Sans\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//')"
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
"$wine" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1
"$(dirname "$wine")/wineserver" -w 2>/dev/null || true
touch "$marker"
