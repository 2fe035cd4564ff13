#!/usr/bin/env bash
# Measures `vortalctl apply` against the virtual mouse: in-process (the apply
# alone) natively and under Wine, and the whole vortalctl process natively,
# each compared with the 248 ms of pauses the protocol asks for.
#   bench/run.sh [RUNS]    (uses build/native and build/windows; builds them first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
native=${BENCH_NATIVE_BUILD:-$root/build/native}
windows=${BENCH_WINDOWS_BUILD:-$root/build/windows}
[ -x "$native/bench/vortal_bench" ] || "$root/scripts/build.sh"

echo "== native, in process"
"$native/bench/vortal_bench" --runs "$runs"

echo "== native, whole process (start-up included)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$native/bench/vortal_bench" --seed "$work/files"
total=0
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  VORTAL_VIRTUAL_MOUSE="$work/mouse" "$native/tools/vortalctl" --dir "$work/files" apply >/dev/null
  end=$(date +%s%N)
  total=$((total + (end - start) / 1000))
done
awk -v t="$total" -v n="$runs" \
  'BEGIN { m = t / n / 1000; printf "vortalctl apply: mean %.1f ms over %d runs, ratio %.3f\n", m, n, m / 248 }'

if [ -f "$windows/bench/vortal_bench.exe" ]; then
  echo "== Windows build under Wine, in process"
  "$root/scripts/wine.sh" "$windows/bench/vortal_bench.exe" --runs "$runs"
else
  echo "(no Windows build at $windows; skipped)"
fi

if [ -f "$windows/bench/vortal_render_bench.exe" ] && command -v xvfb-run >/dev/null; then
  echo "== drawing at 96 and 192 DPI, Windows build under Wine on a virtual display"
  # A screen on which the window fits at 200 %.
  xvfb-run -a -s "-screen 0 2048x1536x24" "$root/scripts/wine.sh" \
    "$windows/bench/vortal_render_bench.exe" --runs "$runs" 2>&1 | grep -v '^X connection'
fi

if [ -f "$windows/app/Vortal.exe" ] && command -v Xvfb >/dev/null; then
  echo "== Vortal.exe start-up under Wine on a virtual display"
  VORTAL_WINDOWS_BUILD="$windows" "$root/bench/window_startup.sh" "$runs"
fi

if [ -f "$windows/app/Vortal.exe" ] && command -v Xvfb >/dev/null; then
  echo "== Vortal.exe's private memory in the tray and shown, and its paint on showing, at 96 and 192 DPI"
  VORTAL_WINDOWS_BUILD="$windows" "$root/bench/window_memory.sh" "$runs"
fi

if [ -f "$windows/app/Vortal.exe" ] && [ -f "$windows/tests/vortal_front_window.exe" ] && command -v Xvfb >/dev/null; then
  echo "== the mouse following the program in front, and the tray at rest"
  VORTAL_WINDOWS_BUILD="$windows" "$root/bench/tray_life.sh" "$runs"
fi
