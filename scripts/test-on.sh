#!/usr/bin/env bash
# Runs the README's test command on another Debian release, in a system of that release made by
# scripts/debian-chroot.sh, on a copy of this work tree (committed or not; build folders left out):
#   bash scripts/test-on.sh trixie|testing|bookworm [--fresh] [ctest arguments...]
# Set-up installs the release's packages there as it would on a fresh machine; they are kept for
# the next run, unless --fresh starts from the bare system and throws everything away after.
# CTest arguments run part of the suite: bash scripts/test-on.sh trixie -R test_accessibility_atspi
# Runs as root.
set -euo pipefail
cd "$(dirname "$0")/.."

release=${1:?"usage: test-on.sh trixie|testing|bookworm [--fresh] [ctest arguments...]"}
shift
chroot_options=()
if [ "${1:-}" = --fresh ]; then
  chroot_options+=(--fresh)
  shift
fi

echo "== the test suite on $release, in a copy of $(pwd)"
bash scripts/debian-chroot.sh "$release" "${chroot_options[@]}" --tree -- bash -c '
  set -e
  bash scripts/setup.sh --tests
  echo "== $(g++ --version | head -n 1); Qt $(pkg-config --modversion Qt6Core); $(cmake --version | head -n 1)"
  exec bash scripts/test.sh "$@"' bash "$@"
