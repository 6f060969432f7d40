#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ and
# runs the whole test suite under them (CMake's "sanitize" presets); any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --sanitize --for-tests
status=0
ctest --preset sanitize -j "$(nproc)" || status=$?
bash scripts/skipped-tests.sh build-sanitize
exit "$status"
