#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in a prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
exec "$wine" "$@"
