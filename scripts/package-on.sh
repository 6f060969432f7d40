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
staging=$(mktemp -d /tmp/tamapick-package-on.XXXXXX)
trap 'rm -rf "$staging"' EXIT
git ls-files -z --cached --others --exclude-standard |
  tar --null -T - --ignore-failed-read -cf "$staging/tree.tar" 2>/dev/null

bash scripts/debian-chroot.sh "$release" --fresh --bind "$staging" --bind "$out" -- bash -c "
  set -e
  mkdir /tmp/tamapick && tar -xf $staging/tree.tar -C /tmp/tamapick && cd /tmp/tamapick
  . /etc/os-release && echo \"== \$PRETTY_NAME\"
  bash scripts/setup.sh --package-only
  bash scripts/package.sh --no-setup /tmp/tamapick/build-package
  cp build-package/tamapick_*.deb $out/
  dpkg-deb --field build-package/tamapick_*.deb Version Depends Installed-Size"
ls -l "$out"
