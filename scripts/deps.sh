#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev googletest g++-mingw-w64-x86-64 wine64 xvfb xdotool
          imagemagick librsvg2-bin fonts-liberation fonts-wqy-zenhei fonts-wqy-microhei xauth x11-utils
          clang clang-14 libclang-rt-14-dev
          git zip unzip binutils dpkg-dev lintian man-db)
# The guest of the real-HID checks (tests/hid/run.sh): an emulator, Debian's
# kernel and a static busybox for its initramfs; nothing they recommend.
guest_packages=(qemu-system-x86 linux-image-amd64 busybox-static cpio)
missing=()
guest_missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
for p in "${guest_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || guest_missing+=("$p")
done
if ((${#missing[@]} + ${#guest_missing[@]})); then
  echo "Installing: ${missing[*]} ${guest_missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  if ((${#missing[@]})); then
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  if ((${#guest_missing[@]})); then
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
        "${guest_missing[@]}" >/dev/null
  fi
fi
