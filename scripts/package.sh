#!/usr/bin/env bash
# Builds the Debian package from a clean build directory and checks it with lintian:
#   bash scripts/package.sh [--no-lintian] [build-dir]      (build-dir defaults to build-package/)
# The package lands in the build directory as tamapick_<version>-1_<arch>.deb. Any lintian error
# or warning fails the script; info tags are printed for the record.
set -euo pipefail
cd "$(dirname "$0")/.."

run_lintian=yes
if [ "${1:-}" = "--no-lintian" ]; then
  run_lintian=no
  shift
fi
build_dir=${1:-build-package}

bash scripts/setup.sh

# Compile as Debian's own packages are compiled: its hardening flags, and no build type of ours
# adding optimisation or debugging flags on top.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

rm -rf "$build_dir"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DTAMAPICK_DEBIAN_PACKAGE=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
(cd "$build_dir" && cpack -G DEB)

package=$(find "$build_dir" -maxdepth 1 -name 'tamapick_*.deb')
echo "package: $package ($(du -k "$package" | cut -f1) KiB)"
if [ "$run_lintian" = yes ]; then
  lintian --fail-on error,warning --display-info "$package"
  echo "lintian: no errors or warnings"
fi
