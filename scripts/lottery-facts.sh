# The lotteries as tests/support/lotteries.h writes them down for every test, for the scripts that
# watch a real draw. Sourced, never run.
#   nominal_seconds "Loto 6"    prints 10.76: how long that draw's reels and pauses take in all
nominal_seconds() {
  local header seconds
  header="$(dirname "${BASH_SOURCE[0]}")/../tests/support/lotteries.h"
  seconds=$(sed -n "s/^ *{\"$1\", \"[^\"]*\", \"[^\"]*\", \"[^\"]*\", \([0-9.]*\), .*/\1/p" "$header")
  [ -n "$seconds" ] || { echo "no lottery \"$1\" in $header" >&2; return 1; }
  echo "$seconds"
}
