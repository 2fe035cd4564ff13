#!/usr/bin/env bash
# End-to-end tests of Vortal.exe: every tests/e2e/*.sh script (other than
# this one and lib.sh) runs the Windows build under Wine on its own virtual
# display with the built-in virtual mouse and drives it with real pointer
# clicks and keys. Screenshots go to build/e2e-shots (VORTAL_E2E_SHOTS).
#
#   tests/e2e/run.sh [WINDOWS_BUILD_DIR] [SCRIPT...]   (default build/windows, all)
#
# Ends with one line "e2e: N passed, N failed" over all scripts; the exit code
# is 0 only when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export VORTAL_WINDOWS_BUILD=${1:-${VORTAL_WINDOWS_BUILD:-$here/../../build/windows}}
shift || true
scripts=("$@")
if [ ${#scripts[@]} -eq 0 ]; then
  for script in "$here"/*.sh; do
    case "$(basename "$script")" in run.sh | lib.sh) ;; *) scripts+=("$script") ;; esac
  done
fi
passed=0
failed=0
for script in "${scripts[@]}"; do
  [ -e "$script" ] || script="$here/${script%.sh}.sh"
  name=$(basename "$script" .sh)
  echo "== $name"
  log=$(mktemp)
  # A script that hangs is stopped; its missing checks count as one failure.
  timeout --kill-after=10 600 bash "$script" 2>&1 | tee "$log"
  if line=$(grep -E -o '^e2e: [0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1); then
    read -r p f <<<"$(echo "$line" | sed -E 's/e2e: ([0-9]+) passed, ([0-9]+) failed/\1 \2/')"
    passed=$((passed + p)); failed=$((failed + f))
  else
    echo "FAIL $name: ended without its summary line"
    failed=$((failed + 1))
  fi
  rm -f "$log"
done
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
