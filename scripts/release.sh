#!/usr/bin/env bash
# Builds Vortal's downloads from the last commit into OUT (default
# build/release):
#
#   Vortal-VERSION-win64.zip   the program's folder for Windows
#   vortal_VERSION_amd64.deb   Debian and Ubuntu: vortalctl with its manual page
#                              and bash completion, the udev rule, and `vortal`,
#                              which runs the window under Wine
#   SHA256SUMS                 the sums of both
#
# Reproducible: the sources are the commit's (changes not committed are left
# out), every time stamp is the commit's, entries are sorted, and the
# executables hold no build path and no link time; the same commit gives the
# same files in any folder at any time.
#
#   scripts/release.sh [OUT]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/release}")
"$root/scripts/deps.sh"

commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "release.sh: changes not committed are left out: building $commit" >&2
fi
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022

rm -rf "$out"
src="$out/src"
mkdir -p "$src"
git -C "$root" archive "$commit" | tar -x -C "$src"

echo "== Windows build"
"$src/scripts/release-windows.sh" "$src" "$out/windows"
echo "== Linux build"
# With Debian's hardening: checked buffer functions, a read-only relocation table.
cmake -S "$src" -B "$out/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORTAL_TESTS=OFF \
      -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
      -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" >/dev/null
cmake --build "$out/linux" --target vortalctl vortalctl_manual
# VORTAL_VERSION, VORTAL_WEB_ADDRESS, VORTAL_MAINTAINER
source "$out/linux/release.env"
version=$VORTAL_VERSION

# Every file's time the commit's, modes fixed, so the archives hold no trace
# of when or by whom they were built.
normalize() {
  find "$1" -type d -exec chmod 755 {} +
  find "$1" -type f ! -perm -u+x -exec chmod 644 {} +
  find "$1" -type f -perm -u+x -exec chmod 755 {} +
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}
crlf() { sed 's/\r*$/\r/' "$1"; }

echo "== Vortal-$version-win64.zip"
folder_name="Vortal-$version-win64"
folder="$out/zip/$folder_name"
"$src/scripts/delivered-folder.sh" "$out/windows" "$folder"
[ -e "$folder/vortalctl.exe" ] || { echo "release.sh: no vortalctl.exe was built" >&2; exit 1; }
{
  sed "s/@VERSION@/$version/" "$src/dist/README.txt"
  [ -z "$VORTAL_WEB_ADDRESS" ] || printf '\n%s\n' "$VORTAL_WEB_ADDRESS"
} > "$out/README.txt"
crlf "$out/README.txt" > "$folder/README.txt"
crlf "$src/LICENSE" > "$folder/LICENSE"
normalize "$out/zip"
zip_file="$out/$folder_name.zip"
(cd "$out/zip" && find "$folder_name" -type f | sort | zip -X -D -q -9 "$zip_file" -@)

echo "== vortal_${version}_amd64.deb"
pkg="$out/deb/vortal"
install -d "$pkg/DEBIAN" "$pkg/usr/bin" "$pkg/usr/lib/vortal" "$pkg/usr/share/vortal" \
    "$pkg/usr/lib/udev/rules.d" "$pkg/usr/share/man/man1" "$pkg/usr/share/doc/vortal" \
    "$pkg/usr/share/bash-completion/completions" "$pkg/usr/share/applications" \
    "$pkg/usr/share/icons/hicolor/scalable/apps"
install -m 755 "$out/linux/tools/vortalctl" "$src/dist/linux/vortal" "$pkg/usr/bin/"
install -m 644 "$folder/Vortal.exe" "$pkg/usr/lib/vortal/"
install -m 644 "$folder/config.bin" "$folder/str.ini" "$pkg/usr/share/vortal/"
cp -r "$folder/Skins" "$pkg/usr/share/vortal/Skins"
install -m 644 "$src/dist/linux/70-vortal.rules" "$pkg/usr/lib/udev/rules.d/"
gzip -9n < "$out/linux/tools/vortalctl.1" > "$pkg/usr/share/man/man1/vortalctl.1.gz"
gzip -9n < "$src/dist/linux/vortal.1" > "$pkg/usr/share/man/man1/vortal.1.gz"
install -m 644 "$out/linux/tools/vortalctl.bash" "$pkg/usr/share/bash-completion/completions/vortalctl"
install -m 644 "$src/dist/linux/vortal.desktop" "$pkg/usr/share/applications/"
install -m 644 "$src/app/vortal_icon.svg" "$pkg/usr/share/icons/hicolor/scalable/apps/vortal.svg"
gzip -9n < "$src/CHANGELOG.md" > "$pkg/usr/share/doc/vortal/CHANGELOG.md.gz"
{
  echo "vortal ($version) unstable; urgency=medium"
  echo
  echo "  * Vortal $version; what changed is in /usr/share/doc/vortal/CHANGELOG.md.gz."
  echo
  echo " -- $VORTAL_MAINTAINER  $(date -u -R -d "@$SOURCE_DATE_EPOCH")"
} | gzip -9n > "$pkg/usr/share/doc/vortal/changelog.gz"
{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: Vortal"
  echo
  echo "Files: *"
  echo "Copyright: 2026 the Vortal developers"
  echo "License: Expat"
  echo "Comment: usr/lib/vortal/Vortal.exe also holds, linked statically, the GCC C++"
  echo " runtime (libstdc++ and libgcc: GPL-3 with the GCC Runtime Library Exception)"
  echo " and the mingw-w64 runtime (ZPL-2.1 and MIT/X11 licences)."
  echo
  echo "License: Expat"
  sed -n '/^Permission/,$p' "$src/LICENSE" | sed 's/^$/./; s/^/ /'
} > "$pkg/usr/share/doc/vortal/copyright"

# The libraries vortalctl needs, as dpkg-shlibdeps finds them.
shlibs="$out/deb/shlibs"
mkdir -p "$shlibs/debian"
printf 'Source: vortal\n\nPackage: vortal\nArchitecture: any\n' > "$shlibs/debian/control"
depends=$(cd "$shlibs" && dpkg-shlibdeps -O "$pkg/usr/bin/vortalctl" 2>/dev/null |
          sed -n 's/^shlibs:Depends=//p')
normalize "$pkg"
installed_size=$(du -sk --apparent-size --exclude=DEBIAN "$pkg" | cut -f1)
{
  echo "Package: vortal"
  echo "Version: $version"
  echo "Architecture: amd64"
  echo "Maintainer: $VORTAL_MAINTAINER"
  echo "Installed-Size: $installed_size"
  echo "Depends: $depends"
  echo "Recommends: wine"
  echo "Section: utils"
  echo "Priority: optional"
  [ -z "$VORTAL_WEB_ADDRESS" ] || echo "Homepage: $VORTAL_WEB_ADDRESS"
  echo "Description: settings of the Vortal gaming mouse"
  echo " Vortal configures the Vortal gaming mouse (USB 04d9:a09f): the function of"
  echo " each of its eight buttons in two modes, macros, report rate, DPI stages and"
  echo " lighting."
  echo " ."
  echo " vortalctl reads and changes every setting from the shell, saves and loads"
  echo " profiles and writes them into the mouse. The udev rule gives the mouse to the"
  echo " user at the seat. vortal runs the Windows settings window under Wine, which"
  echo " the package recommends."
} > "$pkg/DEBIAN/control"
(cd "$pkg" && find usr -type f | sort | xargs md5sum) > "$pkg/DEBIAN/md5sums"
normalize "$pkg"
deb_file="$out/vortal_${version}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --build "$pkg" "$deb_file" >/dev/null

(cd "$out" && sha256sum "$(basename "$zip_file")" "$(basename "$deb_file")" > SHA256SUMS)
echo "Built from $commit:"
(cd "$out" && cat SHA256SUMS)
