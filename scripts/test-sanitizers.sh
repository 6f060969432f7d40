#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ and
# runs the whole test suite under them; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ ! -f build-sanitize/CMakeCache.txt ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAMAPICK_SANITIZE=ON >/dev/null
fi
cmake --build build-sanitize -j "$(nproc)"
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="report_objects=1"
cd build-sanitize
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
