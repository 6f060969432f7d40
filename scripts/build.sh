#!/usr/bin/env bash
# Configures (once) and builds tamapick, its tests and its benchmarks in build/; an unchanged
# tree builds in a moment.
#   bash scripts/build.sh [--quiet]
# --quiet keeps the build's progress to itself and prints it only when the build fails: Ninja
# writes the compiler's errors to standard output, so throwing that away would hide them.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--quiet" ]; then
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  if ! bash scripts/build.sh >"$log"; then
    cat "$log" >&2
    echo "scripts/build.sh: the build failed (its output is above)" >&2
    exit 1
  fi
  exit 0
fi

bash scripts/setup.sh
# A build directory made before the benchmarks became optional is configured again to get them.
if [ ! -f build/CMakeCache.txt ] || ! grep -qx 'TAMAPICK_BUILD_BENCHMARKS:BOOL=ON' build/CMakeCache.txt; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMAPICK_BUILD_BENCHMARKS=ON >/dev/null
fi
cmake --build build -j "$(nproc)"
