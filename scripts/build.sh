#!/usr/bin/env bash
# Configures (once) and builds tamapick, its tests and its benchmarks in build/; an unchanged
# tree builds in a moment.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# A build directory made before the benchmarks became optional is configured again to get them.
if [ ! -f build/CMakeCache.txt ] || ! grep -qx 'TAMAPICK_BUILD_BENCHMARKS:BOOL=ON' build/CMakeCache.txt; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMAPICK_BUILD_BENCHMARKS=ON >/dev/null
fi
cmake --build build -j "$(nproc)"
