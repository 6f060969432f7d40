#!/usr/bin/env bash
# Tests what a Windows user downloads (scripts/windows/package.sh's zip and MSI) under Wine, in
# a fresh Wine prefix of its own, on an invisible X screen: the zip unpacks to one folder whose
# program runs a Loto 6 draw; msiexec /i /qn installs the files, the Start-menu shortcut ほしだま
# and one "Apps & features" entry, and the program runs a draw from its shortcut; the same MSI
# again, and then a newer version (packaged here from the same exe), leave one entry; msiexec /x
# /qn leaves the prefix's files and registry as they were before the install.
#   test-installers.sh [DIST]      DIST defaults to dist/; screenshots go to build-windows/
# Everything it starts (Xvfb, the programs, Wine's server) is stopped when it ends, also on failure.
set -euo pipefail

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
# Absolute, since the zip is unpacked from another folder.
dist=$(cd "${1:-$dist_dir}" && pwd)
zip_file="$dist/tamapick-$version-windows-x64.zip"
msi="$dist/tamapick-$version-x64.msi"
for file in "$zip_file" "$msi"; do
  [ -f "$file" ] || { echo "No $file: run scripts/windows/build.sh first." >&2; exit 1; }
done

# shellcheck source=draw-check.sh
source "$root/scripts/windows/draw-check.sh"
require_tools wineboot unzip msiinfo wixl msibuild
scratch=$(mktemp -d)
use_own_prefix "$scratch/prefix"
trap 'stop_screen; rm -rf "$scratch"' EXIT
mkdir -p "$build_dir"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The registry as text: one line per value, prefixed by its key, without the times Wine keeps.
registry_lines() {
  local file
  for file in system.reg user.reg userdef.reg; do
    awk -v hive="$file" '
      /^\[/ { key = $0; sub(/\] [0-9]+$/, "]", key); print hive " " key; next }
      /^#/ || /^$/ || /^WINE REGISTRY/ { next }
      { print hive " " key " " $0 }' "$WINEPREFIX/$file"
  done | LC_ALL=C sort
}
prefix_files() {
  (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 -printf '%y %P\n' | LC_ALL=C sort)
}
msi_property() {
  msiinfo export "$1" Property | sed -n "s/^$2\t\(.*\)\r$/\1/p"
}
# How system.reg spells the uninstall keys and the name ほしだま; awk reads them from the
# environment, since its -v would take the backslashes as escapes.
export UNINSTALL_KEY='[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\'
export HOSHIDAMA_REG='\x307b\x3057\x3060\x307e'
# The "Apps & features" entries named ほしだま, as "{product code} version".
entries() {
  awk '
    BEGIN { prefix = ENVIRON["UNINSTALL_KEY"]; name = "\"DisplayName\"=\"" ENVIRON["HOSHIDAMA_REG"] "\"" }
    /^\[/ { key = ""; if (index($0, prefix) == 1) { key = substr($0, length(prefix) + 1); sub(/\].*/, "", key) }; next }
    key != "" && $0 == name { named[key] = 1 }
    key != "" && /^"DisplayVersion"=/ { v = $0; sub(/^"DisplayVersion"="/, "", v); sub(/"$/, "", v); version[key] = v }
    END { for (k in named) print k " " version[k] }' "$WINEPREFIX/system.reg" | LC_ALL=C sort
}
# Wine writes its registry out when its server ends.
run_msiexec() {
  local rc=0
  wine msiexec "$@" || rc=$?
  wineserver -w
  return "$rc"
}

step "A fresh Wine prefix and an invisible screen"
start_screen
wineboot --init >/dev/null 2>&1
wineserver -w
step_done

step "The zip, unpacked and run"
mkdir -p "$scratch/unpacked"
(cd "$scratch/unpacked" && unzip -q "$zip_file")
top=$(ls "$scratch/unpacked")
if [ "$top" != tamapick ]; then fail "the zip unpacks to \"$top\", not to one folder tamapick"; fi
for file in tamapick.exe README.txt LICENSE.txt licences/Qt-LGPL-3.0.txt; do
  [ -f "$scratch/unpacked/tamapick/$file" ] || fail "the zip lacks tamapick/$file"
done
if [ "$(head -c 3 "$scratch/unpacked/tamapick/README.txt" | od -An -tx1 | tr -d ' ')" != efbbbf ] ||
  ! grep -q $'\r$' "$scratch/unpacked/tamapick/README.txt"; then
  fail "README.txt is not UTF-8 with a byte-order mark and CRLF line ends"
fi
check_loto6_draw "$build_dir/screenshot-zip-loto6.png" wine "$scratch/unpacked/tamapick/tamapick.exe" ||
  fail "the zip's program did not run a Loto 6 draw to its end"
wineserver -w
step_done

step "Installing the MSI (msiexec /i /qn)"
files_before=$(prefix_files)
registry_before=$(registry_lines)
product_code=$(msi_property "$msi" ProductCode)
run_msiexec /i "$msi" /qn || fail "msiexec /i ended with $?"
installed="$WINEPREFIX/drive_c/Program Files/tamapick"
while read -r file; do
  [ -f "$installed/$file" ] || fail "not installed: Program Files\\tamapick\\$file"
done < <(cd "$scratch/unpacked/tamapick" && find . -type f -printf '%P\n' | LC_ALL=C sort)
echo "   Program Files\\tamapick: $(find "$installed" -type f | wc -l) files"
# Windows puts a per-machine shortcut in ProgramData's Start menu; Wine in the user's.
shortcut=$(find "$WINEPREFIX/drive_c/ProgramData" "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/ほしだま.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut ほしだま.lnk"
echo "   shortcut: ${shortcut#"$WINEPREFIX/drive_c/"}"
echo "   Apps & features: $(entries | tr '\n' ' ')"
[ "$(entries)" = "$product_code $version" ] ||
  fail "expected one entry ほしだま $version ($product_code), found: $(entries | tr '\n' ' ')"
step_done

step "The installed program, started through its shortcut"
if [ -n "$shortcut" ]; then
  check_loto6_draw "$build_dir/screenshot-msi-loto6.png" wine start /wait /unix "$shortcut" ||
    fail "the installed program did not run a Loto 6 draw to its end"
  wineserver -w
fi
step_done

step "The same MSI again, then a newer version"
rc=0
run_msiexec /i "$msi" /qn || rc=$?
echo "   the same MSI again: msiexec ended with $rc"
[ "$(entries)" = "$product_code $version" ] || fail "after the second install: $(entries | tr '\n' ' ')"
IFS=. read -r major minor patch tweak <<<"$version"
newer="$major.$minor.$patch.$((tweak + 1))"
# The same program and icon, packaged as the next version.
(cd "$scratch" && msiinfo extract "$msi" Icon.tamapick.ico >tamapick.ico)
bash "$root/scripts/windows/package.sh" --exe "$scratch/unpacked/tamapick/tamapick.exe" \
  --ico "$scratch/tamapick.ico" --version "$newer" --out "$scratch/newer" >/dev/null
newer_msi="$scratch/newer/tamapick-$newer-x64.msi"
newer_code=$(msi_property "$newer_msi" ProductCode)
run_msiexec /i "$newer_msi" /qn || fail "msiexec /i of $newer ended with $?"
echo "   after $newer: $(entries | tr '\n' ' ')"
[ "$(entries)" = "$newer_code $newer" ] ||
  fail "after the upgrade to $newer, expected one entry $newer_code $newer"
step_done

step "Removing it (msiexec /x /qn)"
run_msiexec /x "$newer_msi" /qn || fail "msiexec /x ended with $?"
files_after=$(prefix_files)
registry_after=$(registry_lines)
files_diff=$(diff <(echo "$files_before") <(echo "$files_after") | grep '^[<>]' || true)
registry_diff=$(diff <(echo "$registry_before") <(echo "$registry_after") | grep '^[<>]' || true)
echo "   files: $(grep -c . <<<"$files_diff" || true) lines differ from before the install"
echo "   registry: $(grep -c . <<<"$registry_diff" || true) lines differ from before the install"
changes=$(printf '%s\n%s\n' "$files_diff" "$registry_diff" | grep . || true)
if [ -n "$changes" ]; then sed 's/^/     /' <<<"$changes"; fi
# Anything of ours left behind, by name or by one of the codes (also in the registry's
# "squished" spelling, which Windows Installer uses for its own keys).
ours="tamapick|ほしだま|${HOSHIDAMA_REG//\\/\\\\}"
for code in "$product_code" "$newer_code" "$(msi_property "$msi" UpgradeCode)"; do
  hex=$(tr -d '{}-' <<<"$code")
  squished="$(rev <<<"${hex:0:8}")$(rev <<<"${hex:8:4}")$(rev <<<"${hex:12:4}")"
  for i in 16 18 20 22 24 26 28 30; do squished+="${hex:$((i + 1)):1}${hex:$i:1}"; done
  ours+="|${code//[\{\}]/}|$squished"
done
left=$(grep -i -E "^> .*($ours)" <<<"$changes" || true)
if [ -n "$left" ]; then fail "the uninstall left these behind:"$'\n'"$left"; fi
if [ -n "$(entries)" ]; then fail "an entry is left in Apps & features: $(entries)"; fi
step_done

if ((failures)); then
  echo "test-installers.sh: $failures check(s) failed" >&2
  exit 1
fi
echo "The zip and the MSI install, run, upgrade and uninstall cleanly under Wine."
