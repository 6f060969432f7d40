#!/usr/bin/env bash
# Says why each test of CTest's last run in a build folder was skipped, a line each, as the test
# itself said it: "skipped: <why>" or Qt Test's "SKIP : <test>::initTestCase() <why>". CTest's
# summary names the skipped tests but not the reason, which it keeps in its log.
#   bash scripts/skipped-tests.sh build
set -euo pipefail
log=${1:?"usage: skipped-tests.sh BUILD_DIR"}/Testing/Temporary/LastTest.log
[ -f "$log" ] || exit 0
awk '
  /^[0-9]+\/[0-9]+ Test: / { name = $3; why = "" }
  why == "" && !/^Command: / && /skipped: / { why = $0; sub(/.*skipped: /, "", why) }
  why == "" && /^SKIP +: [A-Za-z0-9_]+::initTestCase\(\) / { why = $0; sub(/^SKIP +: [^ ]+ /, "", why) }
  /^Skip regular expression found in output/ { skipped[++count] = name ": " why }
  END {
    if (count) print "Why they were skipped:"
    for (i = 1; i <= count; i++) print "  " skipped[i]
  }' "$log"
