#!/usr/bin/env bash
# Checks a built tamapick.exe the way Windows will see it, with the PE tools of MinGW-w64 and
# icoutils: a 64-bit GUI program that needs no DLL beyond Windows' own, with its icon and its
# version record.
#   check-exe.sh <tamapick.exe> <the version it was built as, X.Y.Z.W>
set -euo pipefail

exe=$1
version=$2
objdump=x86_64-w64-mingw32-objdump
windres=x86_64-w64-mingw32-windres
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The DLLs every Windows 10 carries in System32, which is all a self-contained program may import.
system_dlls=" advapi32 authz bcrypt cfgmgr32 comctl32 comdlg32 crypt32 d2d1 d3d11 d3d12 d3d9 \
dwmapi dwrite dxgi gdi32 imm32 kernel32 mpr msvcrt netapi32 ntdll ole32 oleaut32 powrprof \
secur32 setupapi shcore shell32 shlwapi user32 userenv uxtheme version winmm winspool ws2_32 \
wtsapi32 "

headers=$("$objdump" -p "$exe")

grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a 64-bit (x86-64) PE executable"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a GUI program (subsystem 2)"

mapfile -t imports < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
for dll in "${imports[@]}"; do
  name=${dll,,}
  name=${name%.*}
  [[ "$system_dlls" == *" $name "* || "$name" == api-ms-win-* ]] || fail "imports $dll, which Windows does not carry"
done
echo "imports: ${imports[*]}"

# The icon group Explorer shows, and at least one icon in it.
resources=$(wrestool -l "$exe" 2>/dev/null || true)
grep -q 'type=group_icon' <<<"$resources" || fail "no icon group"
echo "icons: $(grep -c '\[type=icon ' <<<"$resources") images in $(grep -c 'type=group_icon' <<<"$resources") group"

# The version record, as windres decodes it from the executable.
record=$({ "$windres" -i "$exe" -O rc 2>/dev/null || true; } | sed -n '/VERSIONINFO/,/^END/p')
IFS=. read -r major minor patch tweak <<<"$version"
version_text=$(cmake -DVERSION="$version" -P "$(dirname "$0")/../../cmake/VersionText.cmake")
expect() {
  grep -Fq -- "$1" <<<"$record" || fail "version record lacks: $1"
}
expect "FILEVERSION $major, $minor, $patch, $tweak"
expect "PRODUCTVERSION $major, $minor, $patch, $tweak"
expect 'BLOCK "041104B0"'
expect "VALUE \"FileVersion\", \"$version_text\""
expect "VALUE \"ProductVersion\", \"$version_text\""
expect 'VALUE "ProductName", L"\x307b\x3057\x3060\x307e"'
expect 'VALUE "InternalName", "tamapick"'
expect 'VALUE "OriginalFilename", "tamapick.exe"'
expect 'VALUE "Translation", 0x411, 1200'
# Shown with the escapes read, as Explorer's Details tab would show them.
echo "version record:"
grep 'VALUE\|VERSION' <<<"$record" | sed 's/^ *//' | while IFS= read -r line; do
  printf '  %b\n' "$(sed 's/\\x\([0-9a-f]\{4\}\)/\\u\1/g' <<<"$line")"
done

if ((failures)); then
  echo "$exe: $failures check(s) failed" >&2
  exit 1
fi
echo "$exe: a 64-bit Windows GUI program importing only system DLLs, with its icon and version record"
