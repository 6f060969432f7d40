#!/usr/bin/env bash
# Installs, where missing, the Debian packages a task of tamapick's needs on Debian 12 (bookworm),
# 13 (trixie) or testing. Every script that needs a package asks for it here:
#   bash scripts/setup.sh                  build, run and test the program (the README's commands)
#   bash scripts/setup.sh --package-only   build the Debian package and check it, and nothing of the
#                                          test suite's, as a clean package build system has
#   bash scripts/setup.sh --windows        cross-build for Windows and check it under Wine
#   bash scripts/setup.sh --chroots        make minimal systems of other releases (debootstrap)
#   bash scripts/setup.sh --debian-checks  build the Debian package on clean systems of each release
#                                          and test it as Debian does (debian-release-check.sh)
set -euo pipefail

# What differs between the releases (testing and unstable have no VERSION_ID).
. /etc/os-release
release=${VERSION_ID:-testing}

# Building, and checking the package with lintian and the AppStream validator. pkg-config became
# a transitional package for pkgconf after Debian 12.
build=(
  g++ cmake ninja-build
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libcanberra-dev libfontconfig-dev
  dpkg-dev file lintian appstream
  "$([ "$release" = 12 ] && echo pkg-config || echo pkgconf)"
)
case "${1:-}" in
  "")
    # Running the program and the test suite.
    packages=(
      "${build[@]}"
      fonts-ipafont-gothic
      xvfb xauth x11-apps imagemagick xdotool strace
      desktop-file-utils llvm man-db
      at-spi2-core dbus-daemon dbus-session-bus-common python3-pyatspi gir1.2-atspi-2.0
      libcanberra-pulse sound-theme-freedesktop
      pulseaudio pulseaudio-utils pipewire wireplumber pipewire-pulse weston qt6-wayland
      libfaketime
      qt6-gtk-platformtheme qt6ct locales-all
    )
    # Newer llvm-rc (LLVM 19 on Debian 13) preprocesses resource scripts with clang, and fails
    # without it; Debian 12's (LLVM 14) does without.
    [ "$release" = 12 ] || packages+=(clang)
    ;;
  --package-only) packages=("${build[@]}") ;;
  --windows)
    packages=(
      g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth fonts-ipafont-gothic
      cmake ninja-build dpkg-dev icoutils xz-utils
      qt6-base-dev qt6-base-dev-tools qt6-svg-dev
      wixl msitools faketime zip unzip git
      xdotool imagemagick x11-utils
    )
    ;;
  --chroots) packages=(debootstrap) ;;
  --debian-checks)
    # sbuild and autopkgtest run in user namespaces (uidmap); reprotest's varied builds need
    # faketime and disorderfs, diffoscope explains a difference it finds.
    packages=(
      sbuild mmdebstrap uidmap autopkgtest piuparts lintian devscripts debhelper blhc
      reprotest faketime disorderfs diffoscope-minimal dpkg-dev equivs
    )
    ;;
  *)
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac

# One question to dpkg for all of them: the ones not installed.
mapfile -t missing < <(comm -23 <(printf '%s\n' "${packages[@]}" | sort -u) \
  <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null | awk '$1 == "ii" { print $2 }' | sort -u))
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# sbuild's and autopkgtest's unshare modes map root's subordinate ids into the build's namespace.
if [ "${1:-}" = --debian-checks ]; then
  for file in /etc/subuid /etc/subgid; do
    grep -qs '^root:' "$file" || echo 'root:100000:65536' | ${sudo:-} tee -a "$file" >/dev/null
  done
fi
