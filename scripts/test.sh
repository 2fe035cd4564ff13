#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both targets, runs the unit
# tests natively (sanitizers on) and the Windows build of the same tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

results="$root/build/results"
rm -rf "$results" && mkdir -p "$results"

echo "== native unit tests"
status=0
"$root/build/native/tests/vortal_tests" --gtest_output="xml:$results/native.xml" --gtest_brief=1 || status=1

echo "== Windows unit tests under Wine"
# On a virtual display, so the tests of the window's drawing run too.
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine.sh" "$root/build/windows/tests/vortal_tests.exe" \
    --gtest_output="xml:Z:$results/windows.xml" --gtest_brief=1 || status=1

# ---- Window end-to-end: Vortal.exe under Wine on a virtual display with the
# virtual mouse; tests/e2e/run.sh prints its own "e2e: N passed, N failed" line.
echo "== window end-to-end tests"
# A failing check must not end the run before the fuzzing and the closing line.
"$root/tests/e2e/run.sh" "$root/build/windows" | tee "$results/e2e.log" || status=1
# The basic page and the dialogs again at 150 % (Wine's LogPixels 144): the
# window drawn at that scale, every click at its pixels.
echo "== window end-to-end tests at 150 % (144 DPI)"
VORTAL_E2E_DPI=144 "$root/tests/e2e/run.sh" "$root/build/windows" basic dialogs keyboard |
  tee "$results/e2e-144.log" || status=1
# ---- end of window end-to-end

# ---- Real HID stacks: the mouse on uhid in a QEMU guest, reached through the
# kernel's hidraw and Wine's HID stack; tests/hid/run.sh prints its own
# "hid: N passed, N failed" line.
echo "== checks on real HID stacks"
"$root/tests/hid/run.sh" "$root/build/native" "$root/build/windows" | tee "$results/hid.log" || status=1
# ---- end of real HID stacks

# ---- Downloads: scripts/release.sh's zip and package, the executables built
# again elsewhere and compared, the package installed and run, the zip's
# window in a fresh Wine prefix; tests/release/run.sh prints its own
# "release: N passed, N failed" line.
echo "== release downloads"
"$root/tests/release/run.sh" | tee "$results/release.log" || status=1
# ---- end of downloads

# ---- Fuzzing: every fuzz target built with clang (build/fuzz) and run for a
# while on its seeds; a crash or a broken invariant fails the run.
# VORTAL_FUZZ_SECONDS=0 leaves the block out.
fuzz_seconds=${VORTAL_FUZZ_SECONDS:-30}
if [ "$fuzz_seconds" -gt 0 ]; then
  echo "== fuzz targets, ${fuzz_seconds}s each"
  if "$root/fuzz/run.sh" all "$fuzz_seconds"; then
    echo "fuzz: no findings"
  else
    echo "fuzz: a build failure or findings (logs build/fuzz/*.log, inputs build/fuzz/findings)"
    status=1
  fi
fi
# ---- end of fuzzing

# One closing line over the unit tests of both builds, the end-to-end checks
# (at both scales), the checks on real HID stacks and of the downloads.
passed=0; failed=0
for f in "$results"/*.xml; do
  [ -f "$f" ] || continue
  t=$(grep -o -m1 '<testsuites[^>]*' "$f" | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*' || echo 0)
  fl=$(grep -o -m1 '<testsuites[^>]*' "$f" | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*' || echo 0)
  er=$(grep -o -m1 '<testsuites[^>]*' "$f" | grep -o ' errors="[0-9]*"' | grep -o '[0-9]*' || echo 0)
  sk=$(grep -o -m1 '<testsuites[^>]*' "$f" | grep -o ' disabled="[0-9]*"' | grep -o '[0-9]*' || echo 0)
  passed=$((passed + t - fl - er - sk)); failed=$((failed + fl + er))
done
for log in e2e e2e-144 hid release; do
  if line=$(grep -E -o "^${log%-*}: [0-9]+ passed, [0-9]+ failed" "$results/$log.log" 2>/dev/null | tail -n 1); then
    set -- $line
    passed=$((passed + $2)); failed=$((failed + $4))
  fi
done
[ "$status" -eq 0 ] || [ "$failed" -gt 0 ] || failed=1
echo "tests: $passed passed, $failed failed"
exit "$status"
