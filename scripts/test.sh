#!/usr/bin/env bash
# Builds tamapick and runs the whole test suite headless; ends with CTest's summary.
# Arguments go to CTest, to run part of the suite: bash scripts/test.sh -R test_draws
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
