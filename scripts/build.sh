#!/usr/bin/env bash
# Configures (once) and builds tamapick, its tests and its benchmarks in build/; an unchanged
# tree builds in a moment.
#   bash scripts/build.sh [--quiet] [--sanitize]
# --quiet keeps the build's progress to itself and prints it only when the build fails: Ninja
# writes the compiler's errors to standard output, so throwing that away would hide them.
# --sanitize builds in build-sanitize/ instead, with AddressSanitizer and UBSan (no benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."

quiet=no
dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMAPICK_BUILD_BENCHMARKS=ON)
for argument in "$@"; do
  case "$argument" in
    --quiet) quiet=yes ;;
    --sanitize)
      dir=build-sanitize
      options=(-DCMAKE_BUILD_TYPE=Debug -DTAMAPICK_SANITIZE=ON)
      ;;
    *) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
  esac
done

if [ "$quiet" = yes ]; then
  log=$(mktemp)
  exec >"$log"
  trap 'status=$?; [ "$status" -eq 0 ] || { cat "$log"; echo "scripts/build.sh: the build failed (its output is above)"; } >&2
    rm -f "$log"' EXIT
fi

# Set-up (a look at what dpkg has, apt-get only for what is missing) runs before the first build
# and again whenever scripts/setup.sh has changed.
if ! cmp -s scripts/setup.sh "$dir/setup.sh.done"; then
  bash scripts/setup.sh
  mkdir -p "$dir" && cp scripts/setup.sh "$dir/setup.sh.done"
fi
# Configured when new, and again when the build directory lacks one of the options (a build/
# made before the benchmarks became optional gets them).
for option in "${options[@]}"; do
  name=${option#-D}
  if ! grep -qx "${name%%=*}:[A-Z]*=${name#*=}" "$dir/CMakeCache.txt" 2>/dev/null; then
    cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
    break
  fi
done
cmake --build "$dir" -j "$(nproc)"
