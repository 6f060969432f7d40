#!/usr/bin/env bash
# Sets up (once) and builds tamapick in the build folder of a CMake preset (CMakePresets.json);
# an unchanged tree builds in a moment.
#   bash scripts/build.sh [--quiet] [--sanitize] [--for-tests] [target...]
# --quiet keeps the build's progress to itself and prints it only when the build fails: Ninja
# writes the compiler's errors to standard output, so throwing that away would hide them.
# --sanitize builds the "sanitize" preset (build-sanitize/) instead of "default" (build/).
# --for-tests sets up the test suite's tools as well as the build's (scripts/setup.sh --tests).
# Targets build only those (e.g. tamapick); without any, everything: the tests and benchmarks too.
set -euo pipefail
cd "$(dirname "$0")/.."

quiet=no
preset=default
setup=--run
targets=()
for argument in "$@"; do
  case "$argument" in
    --quiet) quiet=yes ;;
    --sanitize) preset=sanitize ;;
    --for-tests) setup=--tests ;;
    -*) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
    *) targets+=(--target "$argument") ;;
  esac
done
dir=build
[ "$preset" = default ] || dir=build-$preset

if [ "$quiet" = yes ]; then
  log=$(mktemp)
  exec >"$log"
  trap 'status=$?; [ "$status" -eq 0 ] || { cat "$log"; echo "scripts/build.sh: the build failed (its output is above)"; } >&2
    rm -f "$log"' EXIT
fi

# Set-up (a look at what dpkg has, apt-get only for what is missing) runs before the first build
# and again whenever scripts/setup.sh has changed. What it installed can change what the
# configuration finds (the tests' tools), so the build is configured again after it.
stamp=$dir/setup${setup}.done
configure=no
if ! cmp -s scripts/setup.sh "$stamp"; then
  bash scripts/setup.sh "$setup"
  mkdir -p "$dir" && cp scripts/setup.sh "$stamp"
  configure=yes
fi
# Configured when new, and again when the presets changed since.
[ "$dir/CMakeCache.txt" -nt CMakePresets.json ] || configure=yes
if [ "$configure" = yes ]; then
  cmake --preset "$preset" >/dev/null
fi
cmake --build --preset "$preset" "${targets[@]}"
