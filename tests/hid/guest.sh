#!/bin/bash
# Runs inside the guest (a chroot onto the host's root, the guest's own
# kernel, /dev and /tmp): the checks of the mouse on /dev/uhid through the
# kernel's hidraw and through Wine's HID stack, each against the virtual
# mouse doing the same. Appends
# "ok NAME" or "FAIL NAME: why" to WORK/results; prints "figure ..." lines.
set -u
work=$1
source "$work/env"
results=$work/results
ctl=$build/tools/vortalctl
uhid=$build/tests/vortal_uhid_mouse
export ASAN_OPTIONS=detect_leaks=0
limit=180  # seconds any one command may take here; emulation is slow

ok() { echo "ok $1" >> "$results"; }
fail() { echo "FAIL $1: $2" >> "$results"; }
check() { local name=$1; shift; if "$@"; then ok "$name"; else fail "$name" "$why"; fi; }
why=""

# Waits for a state: the command given succeeds (polled) within $limit s.
wait_for() {
  local deadline=$(( $(date +%s) + limit ))
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# The number of the mouse's hidraw nodes (vendor 04D9, product A09F) that
# are there in sysfs and in /dev.
mouse_nodes() {
  local n=0 f name
  for f in /sys/class/hidraw/*/device/uevent; do
    name=$(basename "$(dirname "$(dirname "$f")")")
    grep -q '^HID_ID=0003:000004D9:0000A09F$' "$f" 2>/dev/null && [ -c "/dev/$name" ] && n=$((n + 1))
  done
  echo "$n"
}
has_nodes() { [ "$(mouse_nodes)" -eq "$1" ]; }

# A run folder as delivered: config.bin and str.ini.
new_run() {
  rm -rf "$1" && mkdir -p "$1" && cp "$root/dist/config.bin" "$root/dist/str.ini" "$1/"
}

# The traffic without its time stamps, from line $2 + 1 on.
traffic() { tail -n "+$(( $2 + 1 ))" "$1/traffic.log" | cut -d' ' -f2-; }
# "5.900 s (23.8 x the 248 ms of pauses)"
ratio() { awk -v s="$1" 'BEGIN { printf "%.3f s (%.1f x the 248 ms of pauses)", s, s / 0.248 }'; }
lines() { if [ -f "$1/traffic.log" ]; then wc -l < "$1/traffic.log"; else echo 0; fi; }

# Seconds from the first to the last line of traffic from line $2 + 1 on.
span() {
  tail -n "+$(( $2 + 1 ))" "$1/traffic.log" | awk 'NR == 1 { a = $1 } { b = $1 } END { printf "%.3f", b - a }'
}

# Both mice: the virtual one in $vm (control file), the uhid one in $um
# (control FIFO $uctl); the same commands on each, one run folder each.
virtual_in() {  # RUN_FOLDER ARGS...
  local dir=$1; shift
  VORTAL_VIRTUAL_MOUSE=$vm VORTAL_VIRTUAL_MOUSE_SENSOR=1 timeout "$limit" "$ctl" --dir "$dir" "$@"
}
virtual() { virtual_in "$vrun" "$@"; }
real() { timeout "$limit" "$ctl" --dir "$urun" "$@"; }
tell_virtual() { echo "$1" >> "$vm/control"; }
tell_real() { echo "$1" > "$uctl"; }

# The virtual mouse's traffic of a check is kept (WORK/expect-NAME) for the
# same check through Wine's HID stack.
same_traffic() {  # NAME VSTART USTART
  traffic "$vm" "$2" > "$work/expect-$1"
  if ! diff "$work/expect-$1" <(traffic "$um" "$3") > "$work/$1.diff"; then
    why="traffic differs from the virtual mouse's ($(grep -c '^[<>]' "$work/$1.diff") lines, first: $(grep -m1 '^[<>]' "$work/$1.diff"))"
    return 1
  fi
  [ "$(traffic "$um" "$3" | wc -l)" -gt 0 ] || { why="no traffic"; return 1; }
}

apply_check() {  # ORDER
  local v0 u0 vs us
  v0=$(lines "$vm"); u0=$(lines "$um")
  virtual apply > "$work/apply-virtual.out" 2>&1; vs=$?
  real apply > "$work/apply-real.out" 2>&1; us=$?
  why="exit $us (virtual $vs): $(tail -n 2 "$work/apply-real.out" | tr '\n' ' ')"
  [ "$vs" -eq 0 ] && [ "$us" -eq 0 ] || return 1
  same_traffic "apply-$1" "$v0" "$u0" || return 1
  why="config.bin differs"; cmp -s "$vrun/config.bin" "$urun/config.bin" || return 1
  why="the mouse's memory differs"; cmp -s "$vm/memory.bin" "$um/memory.bin" || return 1
  echo "figure Apply ($1): kernel hidraw $(ratio "$(span "$um" "$u0")"), virtual mouse $(ratio "$(span "$vm" "$v0")")"
}

sensor_check() {
  local v0 u0
  v0=$(lines "$vm"); u0=$(lines "$um")
  virtual sensor > "$work/sensor-virtual.out" 2>&1
  why="vortalctl sensor: $(tr '\n' ' ' < "$work/sensor-real.out" 2>/dev/null)"
  real sensor > "$work/sensor-real.out" 2>&1 || { why="exit $?: $(tr '\n' ' ' < "$work/sensor-real.out")"; return 1; }
  why="output differs"; cmp -s "$work/sensor-virtual.out" "$work/sensor-real.out" || return 1
  same_traffic "sensor-$1" "$v0" "$u0"
}

listening() { grep -q '^Listening' "$1"; }
listen_check() {
  local v0 u0 pid e
  v0=$(lines "$vm"); u0=$(lines "$um")
  for side in virtual real; do
    "$side" listen --count 3 > "$work/listen-$side.out" 2>&1 &
    pid=$!
    why="$side listen never started"; wait_for listening "$work/listen-$side.out" || { kill $pid; return 1; }
    for e in "event 7 2" "event 5 1" "event 9 4"; do "tell_$side" "$e"; done
    wait $pid || { why="$side listen: exit $?: $(tr '\n' ' ' < "$work/listen-$side.out")"; return 1; }
  done
  why="notices differ"
  cmp -s <(cut -d' ' -f2- "$work/listen-virtual.out") <(cut -d' ' -f2- "$work/listen-real.out") || return 1
  same_traffic "listen-$1" "$v0" "$u0"
}

# The mouse pulled out in the middle of an Apply: the Apply ends, config.bin
# is whole (what a full Apply saves), the mouse comes back.
unplug_check() {
  local u0 pid status
  u0=$(lines "$um")
  new_run "$work/run-unplug"
  timeout "$limit" "$ctl" --dir "$work/run-unplug" apply > "$work/unplug.out" 2>&1 &
  pid=$!
  why="the Apply never got going"
  wait_for eval '[ $(( $(lines "$um") - u0 )) -ge 30 ]' || { kill $pid; return 1; }
  tell_real unplug
  wait $pid; status=$?
  why="the Apply did not end (exit $status)"; [ "$status" -ne 124 ] || return 1
  why="config.bin is not what an Apply saves"; cmp -s "$work/run-unplug/config.bin" "$urun/config.bin" || return 1
  tell_real plug
  why="the mouse did not come back"; wait_for has_nodes 2
}

back() { grep -q 'detect the gaming mouse\.' "$1"; }
gone() { grep -q 'did not detect' "$1"; }
hotplug_listen_check() {
  local pid
  real listen --count 2 > "$work/hotplug.out" 2>&1 &
  pid=$!
  why="listen never started"; wait_for listening "$work/hotplug.out" || { kill $pid; return 1; }
  tell_real "event 7 1"
  tell_real unplug
  why="listen did not say the mouse went: $(tr '\n' ' ' < "$work/hotplug.out")"
  wait_for gone "$work/hotplug.out" || { kill $pid; return 1; }
  tell_real plug
  why="listen did not see the mouse come back: $(tr '\n' ' ' < "$work/hotplug.out")"
  wait_for back "$work/hotplug.out" || { kill $pid; return 1; }
  tell_real "event 7 3"
  wait $pid || { why="exit $?: $(tr '\n' ' ' < "$work/hotplug.out")"; return 1; }
  why="notices missing: $(tr '\n' ' ' < "$work/hotplug.out")"
  grep -q 'first stage' "$work/hotplug.out" && grep -q 'third stage' "$work/hotplug.out"
}

# The mouse gives a read command's reply, then none of its data: each read
# waits its second and the Apply goes on to its end.
stall_check() {
  local status t0 t1
  new_run "$work/run-stall"
  tell_real stall
  t0=$(date +%s.%N)
  timeout "$limit" "$ctl" --dir "$work/run-stall" apply > "$work/stall.out" 2>&1; status=$?
  t1=$(date +%s.%N)
  why="exit $status: $(tr '\n' ' ' < "$work/stall.out")"; [ "$status" -eq 0 ] || return 1
  why="config.bin is not what an Apply saves"; cmp -s "$work/run-stall/config.bin" "$urun/config.bin" || return 1
  echo "figure Apply with a stalled reply: $(echo "$t1 - $t0" | bc) s whole vortalctl run"
}

# A node the user may not open: the message names it and the udev rule.
permission_check() {
  local out=$work/permission.out status
  chmod 0600 /dev/hidraw*
  setpriv --reuid=65534 --regid=65534 --clear-groups timeout "$limit" "$ctl" --dir "$urun" sensor \
    > "$out" 2>&1; status=$?
  chmod 0666 /dev/hidraw*
  why="exit $status, said: $(tr '\n' ' ' < "$out")"
  [ "$status" -eq 1 ] && grep -q '/dev/hidraw[0-9]*: Permission denied' "$out" && grep -q '70-vortal.rules' "$out"
}

# ---- The Windows backend through Wine's HID stack, over the same hidraw
# nodes: vortalctl.exe (SetupDi, HidD, HidP, ReadFile and WriteFile) against
# a fresh uhid mouse, compared with the virtual mouse's traffic of the same
# command above.
wine=/usr/lib/wine/wine64
wctl() {  # RUN_FOLDER ARGS...
  local dir=$1; shift
  timeout "$wlimit" "$wine" /tmp/vortalctl.exe --dir "Z:${dir//\//\\}" "$@"
}
# Wine's first start in the guest takes minutes under emulation; a
# persistent wineserver keeps its HID devices up for the later runs.
wlimit=600
# Wine's HID devices come up a while after its start: the mouse counts as
# there once vortalctl.exe finds it.
wine_sees_mouse() { wctl "$wrun" sensor > "$work/wine-probe.out" 2>&1; }

wine_apply_check() {  # ORDER
  local u0 status
  u0=$(lines "$um")
  wctl "$wrun" apply > "$work/wine-apply.out" 2>&1; status=$?
  why="exit $status: $(tr '\n' ' ' < "$work/wine-apply.out")"; [ "$status" -eq 0 ] || return 1
  why="traffic differs from the virtual mouse's"
  diff "$work/expect-apply-$1" <(traffic "$um" "$u0") > "$work/wine-apply-$1.diff" || {
    why="$why ($(grep -c '^[<>]' "$work/wine-apply-$1.diff") lines, first: $(grep -m1 '^[<>]' "$work/wine-apply-$1.diff"))"
    return 1; }
  why="config.bin differs"; cmp -s "$wrun/config.bin" "$work/run-virtual-$1/config.bin" || return 1
  echo "figure Apply ($1): Wine's HID stack $(ratio "$(span "$um" "$u0")")"
}

wine_sensor_check() {  # ORDER
  local u0
  u0=$(lines "$um")
  wctl "$wrun" sensor > "$work/wine-sensor.out" 2>&1 || { why="exit $?: $(tr '\n' ' ' < "$work/wine-sensor.out")"; return 1; }
  why="output differs"; diff <(tr -d '\r' < "$work/wine-sensor.out") "$work/sensor-virtual.out" >/dev/null || return 1
  why="traffic differs"; diff "$work/expect-sensor-$1" <(traffic "$um" "$u0") >/dev/null
}

wine_listen_check() {  # ORDER
  local u0 pid e
  u0=$(lines "$um")
  wctl "$wrun" listen --count 3 > "$work/wine-listen.out" 2>&1 &
  pid=$!
  why="listen never started"; wait_for listening "$work/wine-listen.out" || { kill $pid; return 1; }
  for e in "event 7 2" "event 5 1" "event 9 4"; do tell_real "$e"; done
  wait $pid || { why="exit $?: $(tr '\n' ' ' < "$work/wine-listen.out")"; return 1; }
  why="notices differ"
  diff <(tr -d '\r' < "$work/wine-listen.out" | cut -d' ' -f2-) <(cut -d' ' -f2- "$work/listen-virtual.out") >/dev/null || return 1
  why="traffic differs"; diff "$work/expect-listen-$1" <(traffic "$um" "$u0") >/dev/null
}

wine_stall_check() {
  local status
  tell_real stall
  wctl "$wrun" apply > "$work/wine-stall.out" 2>&1; status=$?
  why="exit $status: $(tr '\n' ' ' < "$work/wine-stall.out")"; [ "$status" -eq 0 ]
}

# udevd has applied dist/linux/70-vortal.rules to both of the mouse's nodes:
# each carries the "uaccess" tag, which gives the user at the seat access
# (logind applies it; the guest has no seat, so the access itself is not
# tried here).
tagged() { udevadm info -q property -n "$1" 2>/dev/null | grep -q '^TAGS=.*:uaccess:'; }
rule_tags_nodes() {
  local f name n=0
  udevadm settle --timeout=120
  for f in /sys/class/hidraw/*/device/uevent; do
    grep -q '^HID_ID=0003:000004D9:0000A09F$' "$f" 2>/dev/null || continue
    name=/dev/$(basename "$(dirname "$(dirname "$f")")")
    why="$name is not tagged: $(udevadm info -q property -n "$name" 2>&1 | grep -E '^(TAGS|ID_)' | tr '\n' ' ')"
    wait_for tagged "$name" || return 1
    n=$((n + 1))
  done
  why="$n of the mouse's nodes found"; [ "$n" -eq 2 ]
}

# The window itself on the uhid mouse and Wine server of the events-first
# checks (tests/hid/window.sh). Its Apply reads what the mouse holds, so it is
# compared with the virtual mouse's second Apply of the same settings (the
# uhid mouse has had several).
window_checks() {
  local v0
  v0=$(lines "$vm")
  new_run "$work/run-virtual-window"
  virtual_in "$work/run-virtual-window" apply > "$work/apply-virtual-window.out" 2>&1
  traffic "$vm" "$v0" > "$work/expect-window-apply"
  bash "$root/tests/hid/window.sh" "$app" "$um" "$uctl" "$work/expect-window-apply" \
    >> "$results" 2> "$work/window.err"
}

windows_checks() {  # ORDER
  local order=$1
  um=$work/wine-uhid-$order; uctl=/tmp/wine-uhid-$order.control
  wrun=$work/run-wine-$order; new_run "$wrun"
  "$uhid" --dir "$um" --control "$uctl" --order "$order" --sensor 1 2> "$work/wine-uhid-$order.err" &
  mouse=$!
  wait_for eval 'has_nodes 2 || ! kill -0 $mouse 2>/dev/null'
  [ "$order" = commands-first ] && check "udev: the rule marks both of the mouse's nodes for the user at the seat" rule_tags_nodes
  # A wineserver of its own for this mouse: Wine's bus driver opens the
  # hidraw nodes at its start.
  "${wine%64}server64" -k 2>/dev/null
  "${wine%64}server64" -p
  why="vortalctl.exe never found the mouse: $(tr '\n' ' ' < "$work/wine-probe.out" 2>/dev/null)"
  if limit=$wlimit wait_for wine_sees_mouse; then
    ok "Wine, $order: vortalctl.exe finds the mouse"
    check "Wine, $order: apply, same traffic as the virtual mouse" wine_apply_check "$order"
    check "Wine, $order: sensor, same traffic and output" wine_sensor_check "$order"
    check "Wine, $order: listen --count 3, same notices and traffic" wine_listen_check "$order"
    if [ "$order" = events-first ]; then
      check "Wine: a reply that stops half-way: the Apply ends" wine_stall_check
      [ -z "${app:-}" ] || window_checks
    fi
  else
    fail "Wine, $order: vortalctl.exe finds the mouse" "$why"
  fi
  "${wine%64}server64" -k 2>/dev/null
  tell_real quit
  wait $mouse
}
# ---- end of the Windows backend

modprobe_uhid() { [ -c /dev/uhid ]; }
check "uhid present in the guest" modprobe_uhid || true

for order in commands-first events-first; do
  vm=$work/virtual-$order; um=$work/uhid-$order
  uctl=/tmp/uhid-$order.control  # a FIFO: on the guest's own tmpfs, 9p holds none
  vrun=$work/run-virtual-$order; urun=$work/run-uhid-$order
  new_run "$vrun"; new_run "$urun"; mkdir -p "$vm"
  "$uhid" --dir "$um" --control "$uctl" --order "$order" --sensor 1 2> "$work/uhid-$order.err" &
  mouse=$!
  why="the uhid mouse's two hidraw nodes did not appear: $(cat "$work/uhid-$order.err")"
  wait_for eval 'has_nodes 2 || ! kill -0 $mouse 2>/dev/null'
  if ! has_nodes 2; then fail "$order: mouse appears" "$why"; kill $mouse; continue; fi
  ok "$order: mouse appears as two hidraw nodes"
  check "$order: apply, same traffic as the virtual mouse" apply_check "$order"
  check "$order: sensor, same traffic and output" sensor_check "$order"
  check "$order: listen --count 3, same notices and traffic" listen_check "$order"
  if [ "$order" = commands-first ]; then
    check "unplug in the middle of an Apply" unplug_check
    check "listen goes on through unplug and plug" hotplug_listen_check
    check "a reply that stops half-way: the Apply ends" stall_check
    check "a node the user may not open: message and exit 1" permission_check
  fi
  tell_real quit
  wait $mouse
done

if [ -n "${winctl:-}" ] && [ -f "${WINEPREFIX:-}/system.reg" ]; then
  # Wine's server socket lives under /tmp, the guest's own tmpfs; the program
  # is started from there too (Wine 8 cannot run one from the 9p share).
  cp "$winctl" /tmp/vortalctl.exe
  # Wine's bus driver hears of hidraw nodes coming and going from udevd;
  # udevd reads the program's rule too (from the guest's own /run).
  mkdir -p /run/udev/rules.d
  cp "$root/dist/linux/70-vortal.rules" /run/udev/rules.d/
  /lib/systemd/systemd-udevd --daemon 2> "$work/udevd.err" || fail "udevd starts" "$(cat "$work/udevd.err")"
  for order in commands-first events-first; do windows_checks "$order"; done
fi
echo done
