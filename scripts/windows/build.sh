#!/usr/bin/env bash
# Cross-builds tamapick.exe for 64-bit Windows on Debian 12: one static executable that needs no
# Qt DLLs, and what a Windows user downloads: a portable zip and an MSI installer. The first run
# builds a static Qt 6.4.2 (qtbase + qtsvg) into a cache outside the tree, which takes most of an
# hour on two cores; later runs reuse it and only build the project.
#
#   bash scripts/windows/build.sh   -> dist/tamapick.exe, build-windows/ (with the tests), and
#                                      package.sh's zip, MSI and source archive in dist/
# Environment:
#   TAMAPICK_CACHE  where sources and the Qt build live (default ~/.cache/tamapick)
#   QTSVG_SOURCE    qtsvg-everywhere-src-6.4.2.tar.xz, for when the archive serves no qt6-svg source
#   JOBS            parallel compile jobs (default: the number of cores)
#   SOURCE_DATE_EPOCH  the time stamp of everything built (default: the commit's time), so two
#                   builds of one commit give the same bytes
set -euo pipefail

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
sources="$cache/src"
qt_prefix="$cache/qt-$qt_version-mingw64-static"
jobs="${JOBS:-$(nproc)}"

# apt-get source needs a deb-src entry; Debian 12's default sources list has none.
ensure_source_entries() {
  if grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  echo "   adding a deb-src entry for Debian's source packages"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo tee /etc/apt/sources.list.d/tamapick-deb-src.sources >/dev/null <<'EOF'
# Source packages, for the Windows cross build of Qt (tamapick's scripts/windows/build.sh).
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  $sudo apt-get update -qq
}

# Prints the unpacked source folder of a Debian source package, fetching it the first time; a
# failed fetch says why. The archive may serve another Qt version than the host's, which is not
# ours to build.
debian_source() {
  local package=$1 log="$sources/$1.apt-get-source.log"
  if [ -z "$(find "$sources" -maxdepth 1 -type d -name "$package-$qt_version*")" ] &&
    ! (cd "$sources" && apt-get source -qq "$package") >"$log" 2>&1; then
    echo "   apt-get source $package failed:" >&2
    sed 's/^/     /' "$log" >&2
    return 1
  fi
  find "$sources" -maxdepth 1 -type d -name "$package-$qt_version*" | head -n 1 | grep . ||
    { echo "   apt-get source $package gave no $package-$qt_version folder" >&2; return 1; }
}

fetch_sources() {
  step "Qt $qt_version sources"
  mkdir -p "$sources"
  ensure_source_entries
  qtbase_source=$(debian_source qt6-base) || { echo "cannot fetch the qt6-base source package" >&2; exit 1; }
  if ! qtsvg_source=$(debian_source qt6-svg); then
    qtsvg_source="$sources/qtsvg-everywhere-src-$qt_version"
    if [ ! -d "$qtsvg_source" ]; then
      if [ ! -f "${QTSVG_SOURCE:-}" ]; then
        echo "The archive serves no qt6-svg source: set QTSVG_SOURCE to" \
          "qtsvg-everywhere-src-$qt_version.tar.xz (the v$qt_version release source)." >&2
        exit 1
      fi
      tar -xf "$QTSVG_SOURCE" -C "$sources"
    fi
  fi
  echo "   qtbase: $qtbase_source"
  echo "   qtsvg:  $qtsvg_source"
  step_done
}

# Qt for Windows is built with the host's moc, rcc and uic (QT_HOST_PATH), which must be the
# same Qt version; the host's CMake packages live under its multiarch folder.
check_host_qt() {
  local found
  found=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
  [ "${found%%+*}" = "$qt_version" ] && return
  echo "The host Qt is $found, but the Windows Qt built here is $qt_version: its moc, rcc and" \
    "uic must be the same version. Build on Debian 12 (bookworm), whose Qt is $qt_version." >&2
  exit 1
}
host_qt_cmake="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -dumpmachine)/cmake"

# How Qt is configured. Each choice below was paid for with a failed build:
# - Debian's source drops src/3rdparty/wintab, so tablet events are off;
# - OpenGL is off the way `configure -no-opengl` does it (INPUT_opengl): FEATURE_opengl=OFF
#   alone leaves dynamicgl on, and the Windows platform plugin then does not compile;
# - direct2d stays on: without it the link misses QWindowsDirectWriteFontDatabase;
# - the third-party libraries are Qt's bundled copies, so nothing outside the exe is needed.
# Size: release built for size (-Os); a static build already puts every function in its own
# section and lets the linker drop the unused ones. The program reads no JPEG or GIF.
# shellcheck disable=SC2191  # brace lists of options
qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON
  -DFEATURE_optimize_size=ON -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_qt_cmake"
  -DQT_BUILD_{EXAMPLES,TESTS}=OFF -DFEATURE_pkg_config=OFF -DFEATURE_tabletevent=OFF
  -DINPUT_opengl=no -DFEATURE_vulkan=OFF
  -DFEATURE_system_{zlib,pcre2,doubleconversion,harfbuzz,freetype,libpng,libjpeg,md4c}=OFF
  -DFEATURE_{jpeg,gif,network,sql,dbus,printsupport,concurrent,xml}=OFF
  # No build paths in the objects, so the exe does not depend on where the cache lives.
  -DCMAKE_{C,CXX}_FLAGS="-ffile-prefix-map=$cache=/tamapick-cache"
)

# Configures, builds and installs one Qt module from its source, in a build folder of its own.
install_qt_module() {
  local build="$cache/build-qt-module"
  rm -rf "$build"
  cmake -G Ninja -S "$1" -B "$build" "${@:2}"
  cmake --build "$build" --parallel "$jobs"
  cmake --install "$build"
  rm -rf "$build"
}

build_qt() {
  # The stamp records the options and the toolchain file, so changing either rebuilds Qt
  # instead of reusing it.
  local stamp="$qt_prefix/tamapick-qt.stamp" fingerprint
  fingerprint=$({
    printf '%s\n' "$qt_version" "${qt_options[@]}"
    cat "$root/scripts/windows/mingw64-toolchain.cmake"
  } | sha256sum | cut -d' ' -f1)
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$fingerprint" ]; then
    echo "== Static Qt: reusing $qt_prefix"
    return
  fi

  fetch_sources
  step "Static Qt $qt_version for x86_64-w64-mingw32 (the long step)"
  rm -rf "$qt_prefix"
  mkdir -p "$qt_prefix"
  # Qt's installed toolchain file loads this one from here in every later build.
  cp "$root/scripts/windows/mingw64-toolchain.cmake" "$qt_prefix/mingw64-toolchain.cmake"
  install_qt_module "$qtbase_source" -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/mingw64-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_options[@]}"
  install_qt_module "$qtsvg_source" -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release
  echo "$fingerprint" >"$stamp"
  echo "   installed: $(du -sh "$qt_prefix" | cut -f1)"
  step_done
}

build_project() {
  step "tamapick for Windows"
  # The same bytes from every checkout: no build paths in the objects (the map covers the
  # generated sources under build-windows/ too), and rcc's time stamps from the commit.
  export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
  local prefix_map="-ffile-prefix-map=$root=/tamapick -ffile-prefix-map=$cache=/tamapick-cache"
  cmake -G Ninja -S "$root" -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$prefix_map" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/windows/wine-run.sh"
  cmake --build "$build_dir" --parallel "$jobs"
  mkdir -p "$dist_dir"
  x86_64-w64-mingw32-strip -o "$dist_dir/tamapick.exe" "$build_dir/tamapick.exe"
  echo "   dist/tamapick.exe: $(stat -c %s "$dist_dir/tamapick.exe") bytes"
  step_done
}

step "Build tools"
bash "$root/scripts/setup.sh" --windows
step_done
check_host_qt
build_qt
build_project
step "Checking dist/tamapick.exe"
bash "$root/scripts/windows/check-exe.sh" "$dist_dir/tamapick.exe" "$version"
step_done
bash "$root/scripts/windows/package.sh"
