#!/usr/bin/env bash
# Builds the Debian package from this work tree (committed or not) on a clean system of each
# release, as Debian's build daemons do, and tests it as Debian tests its packages:
#   bash scripts/debian-release-check.sh [bookworm|trixie|testing ...]   (all three by default)
# For each release: sbuild in unshare mode on a minimal build system, then that release's lintian
# (--pedantic, no error or warning), blhc on the build log, autopkgtest (debian/tests: the draw in
# a real window, the validators, hardening-check) on a minimal system, piuparts (install, remove,
# purge), and reprotest (a plain build and varied ones, bit-identical .debs) on a fresh chroot
# of the release; with bookworm and trixie both checked, also piuparts' upgrade of a Debian 12
# system with tamapick installed to 13, and trixie's package over it. Results and logs land in
# packages/RELEASE/. The minimal systems (mmdebstrap tarballs, and scripts/debian-chroot.sh's
# chroots) are made once and kept in /root/.cache/tamapick/. Runs as root; scripts/setup.sh
# --debian-checks installs the tools.
# TAMAPICK_PLANT_FAULT=1 builds a program that never shows its window, into
# packages/RELEASE-planted-fault/, to see autopkgtest fail on it.
#
# Each release gets its own version, as Debian's stable updates do: a changelog entry written
# into the copy that is built, 1.0.0.7~deb12u1 for bookworm and 1.0.0.7~deb13u1 for trixie,
# dated a second after the entry below it, so that the build stays reproducible; testing builds
# the committed changelog's 1.0.0.7. "~" sorts before anything: ~deb12u1 < ~deb13u1 < 1.0.0.7.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(pwd)
releases=("$@")
((${#releases[@]})) || releases=(bookworm trixie testing)
for release in "${releases[@]}"; do
  case "$release" in
    bookworm | trixie | testing) ;;
    *) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
  esac
done
bash scripts/setup.sh --debian-checks
cache=/root/.cache/tamapick/debian
mkdir -p "$cache"
mirror=http://deb.debian.org/debian
# debconf on testing leaves its scratch folder behind after any package's scripts ran, which this
# machine's piuparts does not yet know as debconf's own.
piuparts_ignores=(--ignore=/var/cache/debconf/tmp.ci/)
step() { printf '\n== %s\n' "$*"; }

# system RELEASE VARIANT: the cached minimal system, made first if missing. "buildd" has
# build-essential, as the build daemons' systems; "minbase" is what autopkgtest and piuparts
# install into. Made beside its place and renamed when complete, so a broken run leaves none.
system() {
  local tarball=$cache/$1-$2.tar.gz options=()
  if [ ! -f "$tarball" ]; then
    # The package mirror this project is developed against serves testing's Release file past its
    # Valid-Until date; that is the mirror's state, so it is set in testing's systems only.
    [ "$1" != testing ] || options+=(--aptopt='Acquire::Check-Valid-Until "false"')
    echo "mmdebstrap --variant=$2 $1 (once)" >&2
    mmdebstrap --quiet --variant="$2" "${options[@]}" "$1" "$tarball.partial.tar.gz" >&2
    mv "$tarball.partial.tar.gz" "$tarball"
  fi
  echo "$tarball"
}

suffix_of() {
  case "$1" in
    bookworm) echo "~deb12u1" ;;
    trixie) echo "~deb13u1" ;;
    testing) echo "" ;;
  esac
}

# source_package RELEASE DIR: the source package of this tree, with the release's changelog
# entry, made in DIR; prints the .dsc.
source_package() {
  local release=$1 dir=$2 suffix version date maintainer
  mkdir -p "$dir/tamapick"
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$dir/tamapick"
  if [ -n "${TAMAPICK_PLANT_FAULT:-}" ]; then
    # A deliberately broken build, to show that the tests catch it: the window is never shown.
    sed -i 's/^    window\.show();$/    \/\/ planted fault: no window/' "$dir/tamapick/app/main.cpp"
    grep -q 'planted fault' "$dir/tamapick/app/main.cpp"
  fi
  suffix=$(suffix_of "$release")
  if [ -n "$suffix" ]; then
    version=$(dpkg-parsechangelog -l "$dir/tamapick/debian/changelog" -S Version)$suffix
    date=$(dpkg-parsechangelog -l "$dir/tamapick/debian/changelog" -S Timestamp)
    date=$(date -u -R -d "@$((date + 1))")
    maintainer=$(dpkg-parsechangelog -l "$dir/tamapick/debian/changelog" -S Maintainer)
    {
      printf 'tamapick (%s) %s; urgency=medium\n\n' "$version" "$release"
      printf '  * Build for Debian %s (%s).\n\n' "${suffix:4:2}" "$release"
      printf ' -- %s  %s\n\n' "$maintainer" "$date"
      cat "$dir/tamapick/debian/changelog"
    } >"$dir/changelog"
    mv "$dir/changelog" "$dir/tamapick/debian/changelog"
  fi
  (cd "$dir" && dpkg-source --build tamapick >/dev/null)
  ls "$dir"/tamapick_*.dsc
}

check_release() {
  local release=$1 out=$tree/packages/$1${TAMAPICK_PLANT_FAULT:+-planted-fault}
  local work dsc dist codename build_system test_system started=$SECONDS
  rm -rf "$out"
  mkdir -p "$out"
  work=$(mktemp -d /tmp/tamapick-release.XXXXXX)
  build_system=$(system "$release" buildd)
  test_system=$(system "$release" minbase)
  dsc=$(source_package "$release" "$work")
  cp "$work"/tamapick_* "$out/"

  step "$release: sbuild $(basename "$dsc"), then lintian"
  # The build's log and the .debs land in $out; lintian runs in the build system, so it is the
  # release's own.
  # The upload's distribution is the changelog's: testing's packages go to unstable first.
  dist=$(dpkg-parsechangelog -l "$work/tamapick/debian/changelog" -S Distribution)
  (cd "$out" && sbuild --chroot-mode=unshare --chroot="$build_system" --dist="$dist" \
    --no-clean-source --no-run-autopkgtest --no-run-piuparts \
    --run-lintian --lintian-opts="--pedantic --display-info --fail-on error,warning" \
    "$(basename "$dsc")" >"$out/sbuild.out" 2>&1) || { tail -n 40 "$out/sbuild.out"; return 1; }
  rm -rf "$work"
  local log
  log=$(ls "$out"/tamapick_*_amd64.build | head -n 1)
  sed -n '/^| Summary/,$p' "$log" | grep -E '^(Build-Time|Lintian|Status|Version)'
  sed -n '/^Running lintian/,/^+---/p' "$log" | grep -E '^[EWIPNXO]: ' || true
  # sbuild's verdict: "pass", or "info" when lintian printed info or pedantic tags only.
  grep -qE '^Lintian: (pass|info)$' "$log" || { echo "FAILED: lintian on $release"; return 1; }

  step "$release: blhc --all --debian"
  blhc --all --debian "$log" && echo "blhc: no missing flag"

  step "$release: autopkgtest"
  autopkgtest --output-dir "$out/autopkgtest" --apt-upgrade "$out"/tamapick_*.dsc \
    "$out"/tamapick_*.deb -- unshare --release "$release" --tarball "$test_system" \
    >"$out/autopkgtest.log" 2>&1 ||
    { tail -n 40 "$out/autopkgtest.log"; echo "FAILED: autopkgtest on $release"; return 1; }
  sed -n '/@@@@@@@@@@@@@@@@@@@@ summary/,$p' "$out/autopkgtest.log"
  grep -h -B1 -A7 '^ Position Independent' "$out/autopkgtest/installed-files-stdout" || true

  step "$release: piuparts (install, remove, purge)"
  # piuparts names a suite by its code name: this machine's piuparts takes "testing" for bookworm.
  codename=$(tar -xzOf "$test_system" ./usr/lib/os-release | sed -n 's/^VERSION_CODENAME=//p')
  piuparts --basetgz "$test_system" --distribution "$codename" --mirror "$mirror" --no-eatmydata \
    "${piuparts_ignores[@]}" "$out"/tamapick_*_amd64.deb >"$out/piuparts.log" 2>&1 ||
    { tail -n 30 "$out/piuparts.log"; echo "FAILED: piuparts on $release"; return 1; }
  tail -n 2 "$out/piuparts.log"

  check_reproducible "$release" "$out"
  echo "$release checked in $((SECONDS - started)) s"
}

# check_reproducible RELEASE OUT: reprotest builds the source package in OUT on a fresh system
# of the release three times, a plain build and two varied ones, and compares their .debs. The
# varied builds change the build path, time, locale, time zone, umask, host and domain name,
# kernel, CPU count, home, PATH and environment; the first also shuffles file order (disorderfs),
# the second builds as another user and group instead. Those two cannot share a build: the other
# user would have to mount the FUSE file system, and many machines (this one too) let only root
# open /dev/fuse. The release's own reprotest, faketime and disorderfs do it, on a throwaway
# overlay of the release's chroot.
check_reproducible() {
  local release=$1 out=$2 dir
  # Left to itself, reprotest may leave the clock alone in a varied build ("chosen randomly not
  # to fake", "avoiding use of faketime"); a fixed offset puts every varied build 398 days and 7
  # hours ahead, across a year, a month and a day.
  local clock=time.faketimes+=+398days+7hours
  local variations=(--variations=+all,$clock,-user_group,domain_host.use_sudo=1
    --extra-build=-fileordering,+user_group,user_group.available+=builder:builder)
  # Debian 12's reprotest runs "sudo -h localhost COMMAND", which Debian 12's sudo refuses ("a
  # remote host may only be specified when listing privileges"). Without sudo it would set the
  # host name in a user namespace of its own, which the kernel refuses inside a chroot. So on 12
  # it is one varied build, as root, with the host name and the user kept.
  [ "$release" != bookworm ] || variations=(--variations=+all,$clock,-user_group,-domain_host)
  step "$release: reprotest (a plain build and $((${#variations[@]})) varied)"
  dir=$(mktemp -d /tmp/tamapick-reprotest.XXXXXX)
  cp "$out"/tamapick_*.dsc "$out"/tamapick_*.tar.* "$dir/"
  # The source package is unpacked and built in a folder of reprotest's, one per build, which
  # it hands to the other user for the build that runs as that user.
  bash scripts/debian-chroot.sh "$release" --fresh --bind "$dir" -- bash -euc '
    cd "$1"
    shift
    export DEBIAN_FRONTEND=noninteractive
    apt-get -q update >/dev/null
    apt-get -q install -y --no-install-recommends reprotest faketime disorderfs \
      diffoscope-minimal sudo locales-all dpkg-dev >/dev/null
    apt-get -q build-dep -y ./tamapick_*.dsc >/dev/null
    # What a full system has and a minimal one lacks: fusermount reads the mount table, sudo
    # looks up the host names.
    ln -sf ../proc/self/mounts /etc/mtab
    printf "127.0.0.1 localhost\n127.0.1.1 %s\n" "$(hostname)" >>/etc/hosts
    useradd --user-group --no-create-home builder
    reprotest --verbosity=1 --min-cpus=1 --store-dir=reprotest "$@" tamapick_*.dsc
  ' bash "$dir" "${variations[@]}" >"$out/reprotest.log" 2>&1 ||
    { tail -n 40 "$out/reprotest.log"; cp -r "$dir/reprotest" "$out/" 2>/dev/null || true
      rm -rf "$dir"; echo "FAILED: reprotest on $release (what differs: $out/reprotest/)"
      return 1; }
  rm -rf "$dir"
  grep -E "^INFO:reprotest:build \"|^Reproduction|^No differences|_amd64\.deb$" "$out/reprotest.log"
}

# A Debian 12 system with bookworm's tamapick installed, upgraded to 13, and trixie's package
# installed over it: each package is offered from a repository of its own.
check_upgrade() {
  local repos started=$SECONDS
  step "piuparts: bookworm's package, the system upgraded to trixie, trixie's package over it"
  repos=$(mktemp -d /tmp/tamapick-repos.XXXXXX)
  for release in bookworm trixie; do
    mkdir "$repos/$release"
    cp "$tree/packages/$release"/tamapick_*_amd64.deb "$repos/$release/"
    (cd "$repos/$release" && dpkg-scanpackages . >Packages 2>/dev/null)
  done
  piuparts --basetgz "$(system bookworm minbase)" --distribution bookworm --distribution trixie \
    --mirror "$mirror" --no-eatmydata "${piuparts_ignores[@]}" --bindmount "$repos" \
    --extra-repo "deb [trusted=yes] file://$repos/bookworm ./" \
    --testdebs-repo "$repos/trixie" --distupgrade-to-testdebs --apt tamapick \
    >"$tree/packages/upgrade-piuparts.log" 2>&1 ||
    { tail -n 30 "$tree/packages/upgrade-piuparts.log"
      echo "FAILED: the 12 to 13 upgrade"; return 1; }
  rm -rf "$repos"
  grep -E 'PASS|(Unpacking|Setting up) tamapick' "$tree/packages/upgrade-piuparts.log"
  echo "upgrade checked in $((SECONDS - started)) s"
}

for release in "${releases[@]}"; do
  check_release "$release"
done
if [[ " ${releases[*]} " == *" bookworm "* && " ${releases[*]} " == *" trixie "* ]]; then
  check_upgrade
fi
