#!/usr/bin/env bash
# Runs one Windows program under Wine, as CTest and the build run their emulator:
#   wine-run.sh program.exe [arguments...]
# Wine does not hand Unix variables named QT_* to Windows programs (they would be a Linux Qt's
# settings); it hands on WINEQT_* under the name QT_*, so the test's own QT_* settings are
# re-exported that way. Without a console, QtTest writes only to the debugger's output:
# QT_FORCE_STDERR_LOGGING brings its report back to the terminal.
set -euo pipefail

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET or HTML engine: nothing here needs them, and a fresh prefix would offer to fetch both.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

for name in $(compgen -e QT_); do export "WINE$name=${!name}"; done
export WINEQT_FORCE_STDERR_LOGGING=1

# The first program run makes the prefix; two tests starting together must not both make it.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  flock "$WINEPREFIX.lock" bash -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1'
fi

exec wine "$@"
