#!/usr/bin/env bash
# Builds the Debian package for a release on a clean system of that release, as pbuilder and sbuild
# do: a fresh overlay of the cached minimal system (scripts/debian-chroot.sh), only the packages
# the build and the package's checks need installed there (none of the test suite's tools), the
# build, that release's lintian and AppStream validator, and the system thrown away. The package
# lands in packages/RELEASE/.
#   bash scripts/package-on.sh bookworm|trixie|testing
# Runs as root.
set -euo pipefail
cd "$(dirname "$0")/.."

release=${1:?"usage: package-on.sh bookworm|trixie|testing"}
out=$(pwd)/packages/$release
rm -rf "$out"
mkdir -p "$out"
bash scripts/debian-chroot.sh "$release" --fresh --tree --bind "$out" -- bash -c '
  set -e
  bash scripts/package.sh build-package
  cp build-package/tamapick_*.deb "$1"/
  dpkg-deb --field build-package/tamapick_*.deb Version Depends Installed-Size' bash "$out"
ls -l "$out"
