#!/usr/bin/env bash
# The mouse behind real HID stacks: boots Debian's own kernel in a QEMU guest
# (software emulation; these machines have no /dev/uhid of their own), shares
# the host's root into it over 9p, starts the uhid mouse (vortal_uhid_mouse)
# there and runs the checks of tests/hid/guest.sh through the kernel's hidraw
# and Wine's HID stack, each compared with a virtual-mouse run of the same
# command in the same guest.
# Prints one line per check and a closing "hid: N passed, N failed".
#
#   tests/hid/run.sh [NATIVE_BUILD_DIR [WINDOWS_BUILD_DIR]]
#                    (default build/native and build/windows; without the
#                    Windows build the checks through Wine are left out)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/native}" && pwd)

# The targets the guest runs, built here (the guest only runs them).
nice cmake --build "$build" --target vortalctl vortal_uhid_mouse >/dev/null || {
  echo "hid: the build failed"; echo "hid: 0 passed, 1 failed"; exit 1; }

kver=$(ls /lib/modules | sort -V | tail -n 1)
kernel=/boot/vmlinuz-$kver
if [ ! -r "$kernel" ] || ! command -v qemu-system-x86_64 >/dev/null || [ ! -x /bin/busybox ]; then
  echo "hid: qemu-system-x86, linux-image-amd64 or busybox-static missing (scripts/deps.sh installs them)"
  echo "hid: 0 passed, 1 failed"; exit 1
fi

# Under /var/tmp: the guest writes its results here through 9p (its /tmp is
# a tmpfs of its own, as 9p cannot hold sockets).
work=$(mktemp -d /var/tmp/vortal-hid.XXXXXX)
chmod 755 "$work"  # one check runs vortalctl as a user without rights
initrd=$work/initrd
mkdir -p "$initrd"/{bin,dev,proc,sys,mnt,modules}
cp /bin/busybox "$initrd/bin/busybox"
for m in virtio_pci 9pnet_virtio 9p hid hid-generic uhid; do
  modprobe -S "$kver" --show-depends "$m" | awk '$1 == "insmod" { print $2 }'
done | awk '!seen[$0]++' > "$work/modules.list"
while read -r ko; do cp "$ko" "$initrd/modules/"; echo "/modules/$(basename "$ko")"; done \
  < "$work/modules.list" > "$initrd/modules/order"
cat > "$initrd/init" <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
while read -r ko; do insmod "$ko"; done < /modules/order
work=$(sed -n 's/.*vortal_work=\([^ ]*\).*/\1/p' /proc/cmdline)
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 host /mnt; then
  # The host's programs, the guest's kernel interfaces.
  mount -t proc proc /mnt/proc
  mount -t sysfs sys /mnt/sys
  mount -t devtmpfs dev /mnt/dev
  mkdir -p /mnt/dev/pts && mount -t devpts devpts /mnt/dev/pts
  # What udev would add: bash's <(...) needs /dev/fd.
  ln -s /proc/self/fd /mnt/dev/fd
  for i in 0 1 2; do ln -s "/proc/self/fd/$i" "/mnt/dev/$(echo stdin stdout stderr | cut -d' ' -f$((i + 1)))"; done
  mount -t tmpfs tmp /mnt/tmp
  mount -t tmpfs run /mnt/run
  chroot /mnt /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    /bin/bash "$work/guest.sh" "$work" > "/mnt$work/guest.log" 2>&1
fi
echo "guest done" > /dev/console
poweroff -f
INIT
chmod +x "$initrd/init"
(cd "$initrd" && find . | cpio -o -H newc --quiet | gzip -1) > "$work/initrd.gz"

# The guest sees the host's files, but not its /tmp (a tmpfs of the guest's
# own hides it), where a checkout may well live: what the guest runs is
# staged beside the results, in the layout it expects of a checkout and build.
cp "$root/tests/hid/guest.sh" "$work/guest.sh"
stage=$work/stage
mkdir -p "$stage/dist/linux" "$stage/tools" "$stage/tests"
cp "$root/dist/config.bin" "$root/dist/str.ini" "$stage/dist/"
cp "$root/dist/linux/70-vortal.rules" "$stage/dist/linux/"
cp "$build/tools/vortalctl" "$stage/tools/"
cp "$build/tests/vortal_uhid_mouse" "$stage/tests/"
cat > "$work/env" <<ENV
root=$stage
build=$stage
ENV

# The Windows backend's checks, when the Windows build is there: vortalctl.exe
# under Wine in the guest. Its prefix is made here, where that takes seconds,
# with Wine's HID bus driver told to read hidraw (its SDL back end off) by
# the run command's own script.
winbuild=${2:-$root/build/windows}
if [ -d "$winbuild" ] && nice cmake --build "$winbuild" --target vortalctl Vortal >/dev/null; then
  cp "$winbuild/tools/vortalctl.exe" "$stage/"
  # The window's check: Vortal.exe in a folder as delivered, and the
  # end-to-end helpers it drives the window with.
  mkdir -p "$stage/tests/e2e" "$stage/tests/hid"
  "$root/scripts/delivered-folder.sh" "$winbuild" "$stage/app"
  cp "$root/tests/e2e/lib.sh" "$stage/tests/e2e/"
  cp "$root/tests/hid/window.sh" "$stage/tests/hid/"
  export WINEPREFIX=$work/wineprefix WINEDEBUG=-all
  nice /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  # As the run command sets up its prefix for a real mouse.
  nice "$root/scripts/wine-hidraw.sh"
  /usr/lib/wine/wineserver64 -w
  cat >> "$work/env" <<ENV
winctl=$stage/vortalctl.exe
app=$stage/app
export WINEPREFIX=$WINEPREFIX WINEDEBUG=-all
ENV
fi
: > "$work/results"

start=$(date +%s)
# Emulation is slow on a loaded machine: the kernel must not take a slow timer
# for a broken one (no_timer_check); the limit only stops a hung guest.
timeout 1800 nice qemu-system-x86_64 -m 2048 -smp 2 -nographic -no-reboot -nic none \
  -kernel "$kernel" -initrd "$work/initrd.gz" \
  -append "console=ttyS0 quiet panic=-1 no_timer_check vortal_work=$work" \
  -virtfs local,path=/,mount_tag=host,security_model=none,id=host,multidevs=remap \
  > "$work/console.log" 2>&1
qemu_status=$?
elapsed=$(( $(date +%s) - start ))

passed=$(grep -c '^ok ' "$work/results")
failed=$(grep -c '^FAIL ' "$work/results")
cat "$work/results"
grep '^figure ' "$work/guest.log" 2>/dev/null | sed 's/^figure /hid: /'
if [ "$qemu_status" -ne 0 ] || ! grep -q '^done$' "$work/guest.log" 2>/dev/null; then
  echo "FAIL the guest did not finish (qemu exit $qemu_status); its console and log:"
  tail -n 30 "$work/console.log"
  tail -n 30 "$work/guest.log" 2>/dev/null
  failed=$((failed + 1))
fi
echo "hid: guest run took ${elapsed}s"
if [ "$failed" -eq 0 ]; then rm -rf "$work"; else echo "hid: logs kept in $work"; fi
echo "hid: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
