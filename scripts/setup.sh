#!/usr/bin/env bash
# Installs what tamapick needs to build, run, test and package on Debian 12 (bookworm), 13
# (trixie) or testing, only where it is missing. Further packages named on the command line are
# installed the same way.
#   bash scripts/setup.sh [--package-only] [package...]
# --package-only installs just what building the Debian package and checking it takes, as a
# clean package build system has (scripts/package-on.sh), and none of the test suite's tools.
set -euo pipefail

package_only=no
if [ "${1:-}" = --package-only ]; then
  package_only=yes
  shift
fi

# Building, and checking the package with lintian and the AppStream validator.
packages=(
  g++ cmake ninja-build
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libcanberra-dev libfontconfig-dev
  dpkg-dev file lintian appstream
)
if [ "$package_only" = no ]; then
  # Running the program and the test suite.
  packages+=(
    fonts-ipafont-gothic
    xvfb xauth x11-apps imagemagick xdotool strace
    desktop-file-utils llvm man-db
    at-spi2-core dbus-daemon dbus-session-bus-common python3-pyatspi gir1.2-atspi-2.0
    libcanberra-pulse sound-theme-freedesktop
    pulseaudio pulseaudio-utils pipewire wireplumber pipewire-pulse weston qt6-wayland
    libfaketime
    qt6-gtk-platformtheme qt6ct locales-all
  )
fi

# What differs between the releases (testing and unstable have no VERSION_ID).
. /etc/os-release
release=${VERSION_ID:-testing}
if [ "$release" = 12 ]; then
  packages+=(pkg-config)
else
  # pkg-config became a transitional package for pkgconf.
  packages+=(pkgconf)
  # Newer llvm-rc (LLVM 19 on Debian 13) preprocesses resource scripts with clang, and fails
  # without it; Debian 12's (LLVM 14) does without.
  [ "$package_only" = yes ] || packages+=(clang)
fi
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
