#!/bin/sh
# Prints the Debian revision of the package built on this system, and the distribution its
# changelog names. A build for a stable release carries that release's suffix, as Debian's own
# stable updates do: 1~deb12u1 on Debian 12, 1~deb13u1 on Debian 13. A "~" sorts before anything,
# so 1.0.0.7-1~deb12u1 < 1.0.0.7-1~deb13u1 < 1.0.0.7-1, the plain revision built on testing or
# unstable: whoever upgrades their Debian gets the build made for the new release.
#   packaging/debian-revision.sh [os-release file]      prints e.g. "1~deb13u1 trixie"
set -eu
os_release=${1:-/etc/os-release}
VERSION_ID=""
VERSION_CODENAME=""
# shellcheck disable=SC1090
. "$os_release"
case "$VERSION_ID" in
  "") echo "1 unstable" ;;  # testing and unstable have no version number
  *[!0-9]*) echo "unknown Debian release \"$VERSION_ID\" in $os_release" >&2; exit 1 ;;
  *) echo "1~deb${VERSION_ID}u1 ${VERSION_CODENAME}" ;;
esac
