#!/usr/bin/env bash
# Builds the Debian package from a clean build directory and checks it with lintian and the
# AppStream validator:
#   bash scripts/package.sh [build-dir]   (build-dir: build-package/)
# The package is for the Debian release it is built on, and lands in the build directory as
# tamapick_<version>-<revision>_<arch>.deb, the revision naming the release (1~deb12u1 on Debian
# 12, 1~deb13u1 on 13, 1 on testing: packaging/debian-revision.sh). Any lintian error or warning
# fails the script, as does any complaint of the validator; lintian's info tags are printed for
# the record. (The test suite makes its package from its own build instead: tests/CMakeLists.txt.)
# To build each release's package on a clean system of that release: scripts/package-on.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-package}
bash scripts/setup.sh --package-only

# Compile as Debian's own packages are compiled: its hardening flags, and no build type of ours
# adding optimisation or debugging flags on top.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

rm -rf "$build_dir"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
(cd "$build_dir" && cpack -G DEB)

package=$(find "$build_dir" -maxdepth 1 -name 'tamapick_*.deb')
echo "package: $package ($(du -k "$package" | cut -f1) KiB)"
lintian --fail-on error,warning --display-info "$package"
echo "lintian $(lintian --version | grep -o '[0-9][0-9.]*' | head -n 1): no errors or warnings"
# The AppStream record as the package installs it, through this release's validator.
# (Unpacked inside the build directory, which the next run clears, so a failure leaves no litter.)
dpkg-deb -x "$package" "$build_dir/unpacked"
echo "AppStream $(appstreamcli --version | grep -o '[0-9][0-9.]*' | head -n 1):"
appstreamcli validate --no-net --strict --pedantic "$build_dir"/unpacked/usr/share/metainfo/*.metainfo.xml
