# Sourced by the Windows scripts: where things are, and each step announced with how long it took.
# shellcheck disable=SC2034  # the variables are read by the scripts that source this file
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cache="${TAMAPICK_CACHE:-$HOME/.cache/tamapick}"
# tamapick's version, as the project names it.
version=$(sed -n 's/^project(tamapick VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
# The static Qt's version, which must be the host's too (its moc, rcc and uic build Qt for Windows).
qt_version=6.4.2
# The Wine prefix the test suite runs in; a check that changes its prefix makes one of its own.
export WINEPREFIX="${WINEPREFIX:-$cache/wine}"
build_dir="$root/build-windows"
dist_dir="$root/dist"

step() { step_started=$SECONDS; echo "== $*"; }
step_done() { echo "   done in $((SECONDS - step_started)) s"; }
