#!/usr/bin/env bash
# Builds tamapick, having installed the test suite's tools (scripts/setup.sh --tests), and runs the
# whole test suite headless (CMake's "default" test preset); ends with CTest's summary and the
# reason for each test that was skipped.
# Arguments go to CTest, to run part of the suite: bash scripts/test.sh -R test_draws
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --for-tests
status=0
ctest --preset default -j "$(nproc)" "$@" || status=$?
bash scripts/skipped-tests.sh build
exit "$status"
