#!/usr/bin/env bash
# Checks of the downloads: builds them with scripts/release.sh (into
# build/release), then
#  - the zip and the package are what SHA256SUMS says, the zip holds the
#    delivered folder with the commit's time on every entry, in order;
#  - a second build of the executables from a clone of the same commit in
#    another folder, later, gives the same bytes; no build path in them;
#  - the package passes lintian, installs into a throw-away root, and the
#    installed vortalctl tells its version, reads and applies on the virtual
#    mouse; its manual page opens and its completion completes;
#  - the zip, unpacked, starts in the tray of a fresh Wine prefix, shows
#    About, and applies on the virtual mouse (tests/release/window.sh).
#
#   tests/release/run.sh
#
# Ends with one line "release: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build/release"
passed=0
failed=0
check() {  # check TEXT COMMAND...: counts one check, prints the output of a failure
  local text=$1 log
  shift
  log=$(mktemp)
  if "$@" >"$log" 2>&1; then
    echo "ok   $text"
    passed=$((passed + 1))
  else
    echo "FAIL $text"
    sed 's/^/     /' "$log" | tail -n 20
    failed=$((failed + 1))
  fi
  rm -f "$log"
}
finish() {
  rm -rf "$work"
  echo "release: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
work=$(mktemp -d)

if ! "$root/scripts/release.sh" "$out"; then
  failed=$((failed + 1))
  echo "FAIL scripts/release.sh builds the downloads"
  finish
fi
source "$out/linux/release.env"
version=$VORTAL_VERSION
zip="$out/Vortal-$version-win64.zip"
deb="$out/vortal_${version}_amd64.deb"
epoch=$(git -C "$root" log -1 --format=%ct)

check "SHA256SUMS holds the zip and the package and their sums" \
  bash -c "cd '$out' && [ \$(wc -l < SHA256SUMS) = 2 ] && sha256sum -c SHA256SUMS"

zip_holds_the_folder() {
  local listing expected
  listing=$(unzip -Z1 "$zip")
  [ "$listing" = "$(sort <<<"$listing")" ] || { echo "entries not sorted"; return 1; }
  for expected in Vortal.exe vortalctl.exe config.bin str.ini README.txt LICENSE \
                  Skins/Default/main.png Skins/Light/main.png Profiles/Example.ini; do
    grep -qx "Vortal-$version-win64/$expected" <<<"$listing" || { echo "no $expected"; return 1; }
  done
  # Every entry carries the commit's time (zip keeps local time: TZ=UTC).
  local stamp
  stamp=$(TZ=UTC date -d "@$epoch" +%Y%m%d.%H%M)
  unzip -Z -T "$zip" | awk -v s="$stamp" '$1 ~ /^-/ { n++ } $1 ~ /^-/ && $7 !~ "^" s { bad = 1; print } END { exit bad || !n }'
}
check "the zip holds the delivered folder, sorted, every entry at the commit's time" zip_holds_the_folder

# The same commit built again: another folder, another time.
second_build() {
  git clone --quiet --no-checkout "$root" "$work/again/vortal" &&
    git -C "$work/again/vortal" checkout --quiet "$(git -C "$root" rev-parse HEAD)" &&
    SOURCE_DATE_EPOCH=$epoch "$work/again/vortal/scripts/release-windows.sh" \
      "$work/again/vortal" "$work/again/build" >/dev/null
}
unzip -q "$zip" -d "$work/zip"
folder="$work/zip/Vortal-$version-win64"
check "the executables build again from a clone elsewhere" second_build
same_bytes() {
  local exe a b status=0
  for exe in Vortal.exe vortalctl.exe; do
    a=$(sha256sum <"$folder/$exe"); b=$(sha256sum <"$(find "$work/again/build" -name "$exe" | head -n 1)")
    echo "$exe: ${a%% *} and ${b%% *}"
    [ "$a" = "$b" ] || status=1
  done
  return $status
}
check "both builds give the same Vortal.exe and vortalctl.exe" same_bytes
no_build_path() {
  local exe
  for exe in "$folder"/*.exe; do
    ! grep -a -q -e "$out" -e "$work" -e "$root" "$exe" || { echo "$exe names a build folder"; return 1; }
  done
}
check "the executables name no build folder" no_build_path
check "Vortal.exe's version resource is $version" \
  bash -c "strings -el '$folder/Vortal.exe' | grep -A1 -x ProductVersion | grep -qx '$version'"

# The package.
check "lintian finds no error in the package" \
  bash -c "! lintian --tag-display-limit 0 '$deb' | grep '^E:'"
target="$work/root"
install_package() {
  mkdir -p "$target/var/lib/dpkg/updates" "$target/var/lib/dpkg/info" &&
    touch "$target/var/lib/dpkg/status" "$target/var/lib/dpkg/available" &&
    dpkg --root="$target" --force-not-root --force-depends --force-script-chrootless -i "$deb"
}
check "the package installs into a throw-away root" install_package
installed() {
  local path
  for path in usr/bin/vortalctl usr/bin/vortal usr/lib/udev/rules.d/70-vortal.rules \
              usr/share/man/man1/vortalctl.1.gz usr/share/bash-completion/completions/vortalctl \
              usr/share/applications/vortal.desktop usr/lib/vortal/Vortal.exe \
              usr/share/vortal/config.bin usr/share/vortal/Skins/Default/main.png; do
    [ -e "$target/$path" ] || { echo "no /$path"; return 1; }
  done
  dpkg-deb -f "$deb" Recommends | grep -qw wine && ! dpkg-deb -f "$deb" Depends | grep -qw wine
}
check "it installs vortalctl, the udev rule, the manual, the completion and the window (Wine recommended)" installed
ctl="$target/usr/bin/vortalctl"
check "the installed vortalctl --version says $version" bash -c "[ \"\$('$ctl' --version)\" = 'vortalctl $version' ]"
mkdir -p "$work/mouse-files"
cp "$target/usr/share/vortal/config.bin" "$target/usr/share/vortal/str.ini" "$work/mouse-files/"
check "the installed vortalctl reads the delivered settings" \
  bash -c "'$ctl' --dir '$work/mouse-files' get rate | grep -qx 'rate = [0-9]*'"
applied() {
  VORTAL_VIRTUAL_MOUSE="$work/virtual-mouse" "$ctl" --dir "$work/mouse-files" --sensor 0 set rate 500 &&
    VORTAL_VIRTUAL_MOUSE="$work/virtual-mouse" "$ctl" --dir "$work/mouse-files" apply &&
    grep -q SET_FEATURE "$work/virtual-mouse/traffic.log" &&
    [ "$(od -An -tu1 -N1 "$work/mouse-files/config.bin" | tr -d ' ')" = 1 ]
}
check "the installed vortalctl applies on the virtual mouse" applied
manual() {
  local page text
  page="$target/usr/share/man/man1/vortalctl.1.gz"
  text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err") || return 1
  [ ! -s "$work/man.err" ] || { cat "$work/man.err"; return 1; }
  # Every command of the usage and every setting group is in it.
  for line in "set NAME VALUE..." "macro loop NAME N" "encode-macros" "mode-a.button1 to mode-a.button8" \
              "pointer.precision, pointer.page-scroll" "--version"; do
    grep -qF -- "$line" <<<"$text" || { echo "no \"$line\""; return 1; }
  done
}
check "man -l opens the manual page without a warning, with every command and setting" manual

# The launcher, with a stand-in for Wine that notes what it is asked to run.
launcher() {
  local home="$work/home" folder stub="$work/stub"
  folder="$home/.local/share/vortal"
  mkdir -p "$stub" "$home"
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/wine.log"\n' "$work" > "$stub/wine"
  chmod 755 "$stub/wine"
  HOME=$home PATH="$stub:$PATH" "$target/usr/bin/vortal" || return 1
  for file in Vortal.exe config.bin str.ini Skins/Default/main.png Skins/Light/main.png; do
    [ -e "$folder/$file" ] || { echo "no $file in $folder"; return 1; }
  done
  grep -q "winebus /v Enable SDL /t REG_DWORD /d 0" "$work/wine.log" &&
    [ "$(tail -n 1 "$work/wine.log")" = "$folder/Vortal.exe" ] || { cat "$work/wine.log"; return 1; }
  # Started again, it keeps the user's settings.
  printf x >> "$folder/config.bin"
  HOME=$home PATH="$stub:$PATH" "$target/usr/bin/vortal" &&
    [ "$(wc -c < "$folder/config.bin")" = 2023 ]
}
check "vortal lays out the window's folder, sets Wine to read hidraw, runs Vortal.exe, and keeps the user's files" launcher

# The completion: the line up to the cursor, and what bash is offered.
completes() {
  local line=$1 expected=$2 got
  got=$(PATH="$target/usr/bin:$PATH" bash -c '
    source "$1"
    COMP_LINE=$2 COMP_POINT=${#2}
    read -ra COMP_WORDS <<<"$2"; COMP_CWORD=${#COMP_WORDS[@]}
    _vortalctl
    printf "%s|" "${COMPREPLY[@]}"' _ "$target/usr/share/bash-completion/completions/vortalctl" "$line")
  [ "$got" = "$expected" ] || { echo "\"$line\" gave \"$got\", not \"$expected\""; return 1; }
}
completion_rows() {
  local status=0
  # line up to the cursor | what is offered, each followed by "|"
  while IFS='#' read -r line expected; do
    completes "$line" "$expected" || status=1
  done <<'ROWS'
vortalctl se#set|sensor|
vortalctl set mode-a.button4 Fi#Fire\ Key|
vortalctl set mode-a.button4 fire#Fire\ Key|
vortalctl set mode-a.button4 Fire #Key|
vortalctl set mode-a.button4 Fire Key #key=|speed=|times=|
vortalctl set mode-b.button3 Combo Key modifier=Left\ C#Left\ Ctrl|
vortalctl set mode-b.button3 Combo Key modifier=Left C#Ctrl|
vortalctl set mode-a.button2 DPI Switch action=DPI L#Loop|
vortalctl set lighting Neon Mode brightness=10#100%|
vortalctl set pointer.prec#pointer.precision|
vortalctl set rate 2#250|
vortalctl --dir /tmp get dpi-l#dpi-led.1|dpi-led.2|dpi-led.3|dpi-led.4|dpi-led|
vortalctl names mu#multimedia|
vortalctl macro d#delete|
vortalctl --ver#--version|
ROWS
  return $status
}
check "bash completes commands, options, setting names and their values" completion_rows

"$root/tests/release/window.sh" "$folder" >"$work/window.log" 2>&1
cat "$work/window.log"
if line=$(grep -E -o '^e2e: [0-9]+ passed, [0-9]+ failed' "$work/window.log" | tail -n 1); then
  set -- $line
  passed=$((passed + $2)); failed=$((failed + $4))
else
  echo "FAIL the unpacked zip's window: ended without its summary line"
  failed=$((failed + 1))
fi
finish
