#!/usr/bin/env bash
# Builds Vortal.exe and vortalctl.exe for a release: the Windows Release
# build of the sources in SOURCE_DIR into BUILD_DIR, with nothing of either
# folder's path and no time stamp in the executables (SOURCE_DATE_EPOCH
# from the caller, TZ=UTC). scripts/release.sh and the release checks build
# with it, so two folders give the same bytes.
#
#   scripts/release-windows.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=${1:?usage: release-windows.sh SOURCE_DIR BUILD_DIR}
build=${2:?usage: release-windows.sh SOURCE_DIR BUILD_DIR}
export TZ=UTC
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORTAL_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" --target Vortal vortalctl
