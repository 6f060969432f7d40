#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ and
# runs the whole test suite under them; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --sanitize
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="report_objects=1"
cd build-sanitize
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
