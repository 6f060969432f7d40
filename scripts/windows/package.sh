#!/usr/bin/env bash
# Makes what a Windows user downloads from the tamapick.exe that build.sh made:
#   dist/tamapick-<version>-windows-x64.zip  the portable program: one folder "tamapick" with
#                                            the exe, a read-me, the licences
#   dist/tamapick-<version>-x64.msi          the installer (Program Files\tamapick, a Start-menu
#                                            shortcut ほしだま, an "Apps & features" entry)
#   dist/tamapick-<version>-source.tar.gz    the source of this commit, which the LGPL asks to
#                                            offer beside a program with Qt linked statically
#
#   package.sh [--exe FILE] [--ico FILE] [--version X.Y.Z.W] [--out DIR]
# The defaults are build.sh's: dist/tamapick.exe, build-windows/assets/tamapick.ico, the
# project's version, dist/. The test gives another version to make an upgrade. Two runs on one
# commit give the same bytes: every time stamp inside is SOURCE_DATE_EPOCH (the commit's time
# unless set), files go in in one sorted order, and the MSI's codes are derived from what it
# holds instead of drawn at random.
set -euo pipefail

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
packaging="$root/packaging/windows"
exe="$dist_dir/tamapick.exe"
ico="$build_dir/assets/tamapick.ico"
out="$dist_dir"

while (($#)); do
  case "$1" in
    --exe) exe=$2; shift 2 ;;
    --ico) ico=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--exe FILE] [--ico FILE] [--version X.Y.Z.W] [--out DIR]" >&2; exit 2 ;;
  esac
done
if ! [[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "package.sh: the version must have four numbers, not \"$version\"" >&2
  exit 2
fi
for file in "$exe" "$ico"; do
  [ -f "$file" ] || { echo "package.sh: no $file (run scripts/windows/build.sh first)" >&2; exit 1; }
done
for tool in wixl msibuild msiinfo faketime zip git; do
  command -v "$tool" >/dev/null || { echo "package.sh: $tool is missing (build.sh installs it)" >&2; exit 1; }
done

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
# Zip and cabinet entries hold local time: make local time UTC.
export TZ=UTC
build_time=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')

version_text=$(cmake -DVERSION="$version" -P "$root/cmake/VersionText.cmake")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# The Qt sources the static Qt was built from: build.sh leaves them in the cache.
qtbase_source=$(find "$cache/src" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1)
qtsvg_source=$(find "$cache/src" -maxdepth 1 -type d \( -name "qt6-svg-$qt_version*" \
  -o -name "qtsvg-everywhere-src-$qt_version" \) | head -n 1)
if [ -z "$qtbase_source" ] || [ -z "$qtsvg_source" ]; then
  echo "package.sh: no Qt $qt_version sources in $cache/src for the licences (build.sh fetches them)" >&2
  exit 1
fi
qtbase_dsc=$(find "$cache/src" -maxdepth 1 -name "qt6-base_$qt_version*.dsc" | head -n 1)
qtbase_package="qt6-base $(basename "${qtbase_dsc:-qt6-base_$qt_version.dsc}" .dsc | cut -d_ -f2)"

# Text for Notepad: UTF-8 with a byte-order mark and CRLF line ends.
windows_text() {
  printf '\xef\xbb\xbf'
  sed 's/$/\r/' "$1"
}

# The folder the zip holds and the installer installs.
stage_files() {
  step "Files for the zip and the installer"
  local stage=$1 source name from
  mkdir -p "$stage/licences"
  cp "$exe" "$stage/tamapick.exe"
  sed -e "s/@VERSION@/$version/g" -e "s/@VERSION_TEXT@/$version_text/g" \
    -e "s/@QT_VERSION@/$qt_version/g" -e "s/@QTBASE_PACKAGE@/$qtbase_package/g" \
    "$packaging/README.txt.in" >"$work/README.txt"
  windows_text "$work/README.txt" >"$stage/README.txt"
  windows_text "$root/LICENSE" >"$stage/LICENSE.txt"
  while read -r source name; do
    case "$source" in
      qtbase/*) from="$qtbase_source/${source#qtbase/}" ;;
      qtsvg/*) from="$qtsvg_source/${source#qtsvg/}" ;;
      tamapick/*) from="$root/${source#tamapick/}" ;;
      *) echo "package.sh: third-party-licences.list: unknown source $source" >&2; exit 1 ;;
    esac
    if [ ! -f "$from" ]; then
      echo "package.sh: third-party-licences.list names $from, which does not exist" >&2
      exit 1
    fi
    cp "$from" "$stage/licences/$name"
  done < <(grep -v '^[[:space:]]*\(#\|$\)' "$packaging/third-party-licences.list")
  chmod -R u=rwX,go=rX "$stage"
  find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  echo "   $(find "$stage" -type f | wc -l) files, $(du -sk "$stage" | cut -f1) kB"
  step_done
}

make_zip() {
  step "The portable zip"
  local zip_file="$out/tamapick-$version-windows-x64.zip"
  rm -f "$zip_file"
  # -X: no owner or extra time fields; -D: no folder entries; names in sorted order.
  (cd "$work/zip" && find tamapick -type f | LC_ALL=C sort | zip -q -X -D -9 "$zip_file" -@)
  echo "   $zip_file: $(stat -c %s "$zip_file") bytes"
  step_done
}

# A name-based (version 5) GUID from the upgrade code and a text, in the MSI's upper case.
derived_guid() {
  local namespace=2dda481998604f13aad9aa2464010d69 hash
  hash=$({
    printf '%b' "$(sed 's/../\\x&/g' <<<"$namespace")"
    printf '%s' "$1"
  } | sha1sum | cut -c1-32)
  hash="${hash:0:12}5${hash:13:3}$(printf '%x' $((0x${hash:16:1} & 0x3 | 0x8)))${hash:17:15}"
  printf '%s-%s-%s-%s-%s' "${hash:0:8}" "${hash:8:4}" "${hash:12:4}" "${hash:16:4}" "${hash:20:12}" |
    tr '[:lower:]' '[:upper:]'
}

make_msi() {
  step "The MSI installer"
  local dir="$work/msi" msi="$out/tamapick-$version-x64.msi" content product_code package_code
  local arp_size index=0 name
  cp -r "$work/zip/tamapick" "$dir"
  cp "$ico" "$dir/tamapick.ico"
  cp "$packaging/tamapick.wxs" "$dir/"
  {
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<Include>'
    echo '  <Component Id="Licences" Guid="80091577-E2F9-44EE-BB8B-5F53DDA92CA4" Win64="yes">'
    while read -r name; do
      index=$((index + 1))
      printf '    <File Id="licence%d" Name="%s" Source="licences/%s"%s />\n' \
        "$index" "$name" "$name" "$([ $index -eq 1 ] && echo ' KeyPath="yes"')"
    done < <(cd "$dir/licences" && ls | LC_ALL=C sort)
    echo '  </Component>'
    echo '</Include>'
  } >"$dir/licences.wxi"
  find "$dir" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

  content=$(cd "$work/zip/tamapick" && find . -type f | LC_ALL=C sort | xargs sha256sum | sha256sum | cut -c1-64)
  product_code=$(derived_guid "product $version $content")
  package_code=$(derived_guid "package $version $content")
  arp_size=$(du -sk "$work/zip/tamapick" | cut -f1)
  echo "   ProductCode {$product_code}, PackageCode {$package_code}"

  rm -f "$msi"
  # wixl takes its times from the clock; faketime holds the clock at the commit's time.
  (cd "$dir" && faketime -f "@$build_time" wixl -a x64 \
    -D Version="$version" -D ProductCode="$product_code" -D PackageCode="$package_code" \
    -D ArpSize="$arp_size" -o "$msi" tamapick.wxs)

  # What wixl cannot write. IDT tables carry text in the database's code page, and msibuild
  # keeps it: the Japanese names, and the inclusive upper bound of the upgrade (attribute 512,
  # msidbUpgradeAttributesVersionMaxInclusive, added to 1, migrate features).
  local idt="$work/idt"
  mkdir -p "$idt"
  printf '\r\n\r\n65001\t_ForceCodepage\r\n' >"$idt/_ForceCodepage.idt"
  msiinfo export "$msi" Property | sed \
    -e 's/^ProductName\tHoshidama\r$/ProductName\tほしだま\r/' \
    -e 's/^Manufacturer\tKumagumi\r$/Manufacturer\tくま組\r/' >"$idt/Property.idt"
  msiinfo export "$msi" Shortcut | sed \
    -e 's/^\(StartMenuShortcut\tProgramMenuFolder\t\)Hoshidama\t\(StartMenuShortcut\t[^\t]*\t[^\t]*\t\)Hoshidama\t/\1tamapick|ほしだま\t\2ほしだま\t/' \
    >"$idt/Shortcut.idt"
  msiinfo export "$msi" Upgrade | sed -e 's/^\([^\t]*\t\t[^\t]*\t\t\)1\t/\1513\t/' >"$idt/Upgrade.idt"
  (cd "$idt" && faketime -f "@$build_time" msibuild "$msi" \
    -i _ForceCodepage.idt -i Property.idt -i Shortcut.idt -i Upgrade.idt \
    -s "ほしだま" "くま組" "x64;1041" "{$package_code}")
  check_msi_text "$msi"
  echo "   $msi: $(stat -c %s "$msi") bytes"
  step_done
}

# wixl's empty strings come back silently if a step above stops matching: read the tables back.
check_msi_text() {
  local msi=$1 failures=0
  expect_row() {
    grep -q "$2" < <(msiinfo export "$msi" "$1") || {
      echo "package.sh: the MSI's $1 table lacks $2" >&2
      failures=$((failures + 1))
    }
  }
  expect_row Property $'^ProductName\tほしだま\r$'
  expect_row Property $'^Manufacturer\tくま組\r$'
  expect_row Shortcut $'^StartMenuShortcut\tProgramMenuFolder\ttamapick|ほしだま\t'
  expect_row Upgrade $'^{[-0-9A-F]*}\t\t[0-9.]*\t\t513\t'
  expect_row _ForceCodepage $'^65001\t_ForceCodepage'
  ((failures == 0)) || exit 1
}

make_source_archive() {
  step "The source archive"
  local archive="$out/tamapick-$version-source.tar.gz"
  git -C "$root" archive --format=tar --prefix="tamapick-$version/" HEAD | gzip -n -9 >"$archive"
  [ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
    echo "   note: the work tree has uncommitted changes, which the archive (HEAD) leaves out"
  echo "   $archive: $(stat -c %s "$archive") bytes"
  step_done
}

stage_files "$work/zip/tamapick"
make_zip
make_msi
make_source_archive
