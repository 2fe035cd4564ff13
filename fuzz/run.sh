#!/usr/bin/env bash
# Builds the fuzz targets with clang (build/fuzz) and runs one target, or all
# of them one after the other, for SECONDS each. The corpus each run grows is
# kept under build/fuzz/corpus/TARGET (seeded from fuzz/corpus/TARGET, never
# committed); crashing inputs go to build/fuzz/findings/TARGET.
# Prints one line per target: executions and findings. Exits 1 on a finding.
#   fuzz/run.sh all 30
#   fuzz/run.sh profile_fuzz 600
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
seconds=${2:-30}
build="$root/build/fuzz"
targets=(profile_fuzz settings_fuzz macro_fuzz skin_fuzz device_fuzz descriptor_fuzz setup_fuzz)
if [ "$which" != all ]; then
  printf '%s\n' "${targets[@]}" | grep -qx "$which" || { echo "unknown target: $which" >&2; exit 2; }
  targets=("$which")
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVORTAL_FUZZ=ON -DVORTAL_TESTS=OFF >/dev/null
nice cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"; findings="$build/findings/$t"; log="$build/$t.log"
  mkdir -p "$corpus" "$findings"
  before=$(find "$findings" -type f | wc -l)
  nice "$build/fuzz/$t" "$corpus" "$root/fuzz/corpus/$t" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/" \
       >"$log" 2>&1 || true
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  after=$(find "$findings" -type f | wc -l)
  new=$((after - before))
  echo "$t: ${execs:-0} executions in ${seconds}s, $new new finding(s), corpus $(find "$corpus" -type f | wc -l) files"
  if [ "$new" -gt 0 ]; then
    status=1
    grep -m3 -E 'ERROR|invariant broken|runtime error' "$log" | sed 's/^/    /' || true
    find "$findings" -type f -newer "$corpus" | sed 's/^/    input: /' | head -5
  fi
done
exit "$status"
