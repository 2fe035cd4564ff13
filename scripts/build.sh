#!/usr/bin/env bash
# Builds both targets: native (Linux, with sanitizers) into build/native and
# Windows (mingw-w64 cross build) into build/windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORTAL_SANITIZE=ON >/dev/null
cmake --build "$root/build/native" -j "$jobs"
cmake -S "$root" -B "$root/build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$root/build/windows" -j "$jobs"
