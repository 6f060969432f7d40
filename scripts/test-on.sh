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

# The copy travels as a tar file through a folder that the system sees at the same path.
staging=$(mktemp -d /tmp/tamapick-test-on.XXXXXX)
trap 'rm -rf "$staging"' EXIT
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # (A file deleted but not yet committed is still listed: --ignore-failed-read leaves it out.)
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf "$staging/tree.tar" 2>/dev/null
else
  tar --exclude='./build*' -cf "$staging/tree.tar" .
fi

quoted_arguments=""
(($#)) && quoted_arguments=$(printf ' %q' "$@")
echo "== the test suite on $release, in a copy of $(pwd)"
bash scripts/debian-chroot.sh "$release" "${chroot_options[@]}" --bind "$staging" -- bash -c "
  set -e
  mkdir /tmp/tamapick && tar -xf $staging/tree.tar -C /tmp/tamapick && cd /tmp/tamapick
  . /etc/os-release && echo \"== \$PRETTY_NAME\"
  bash scripts/setup.sh
  echo \"== \$(g++ --version | head -n 1); Qt \$(pkg-config --modversion Qt6Core); \$(cmake --version | head -n 1)\"
  bash scripts/test.sh$quoted_arguments"
