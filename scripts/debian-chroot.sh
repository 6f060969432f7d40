#!/usr/bin/env bash
# A Debian system of a given release in a chroot, for building, testing and installing tamapick
# there; the one place the scripts make, enter and leave such a system:
#   bash scripts/debian-chroot.sh RELEASE [--fresh] [--tree] [--bind DIR] -- COMMAND...
# RELEASE is bookworm (12), trixie (13) or testing. The first use makes a minimal system with
# debootstrap and keeps it, untouched, in /root/.cache/tamapick/chroots/RELEASE/base; it is made
# again whenever it is missing or unfinished. Commands never run in that base: they run on an
# overlay of it. Without --fresh the overlay's changes (what apt installed) are kept for the next
# run, so that the suite does not download its packages every time; with --fresh they are thrown
# away at the end, and the command meets the system exactly as debootstrap made it, as pbuilder's
# and sbuild's builds do. --tree copies this work tree (committed or not, build folders left out)
# to /tmp/tamapick and runs the command there. --bind DIR makes the host folder DIR appear at the
# same path inside. /proc, /sys, /dev and /dev/pts are mounted for the command and always
# unmounted afterwards. Runs as root (debootstrap, mount and chroot need it).
set -euo pipefail

usage() {
  sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

release=${1:-}
case "$release" in
  bookworm | trixie | testing) shift ;;
  *) usage ;;
esac
if [ "$(id -u)" -ne 0 ]; then
  echo "run as root: debootstrap, mount and chroot need it" >&2
  exit 1
fi

cache=/root/.cache/tamapick/chroots/$release
base=$cache/base
mirror=http://deb.debian.org/debian

# Makes the minimal system once. Built beside its final place and renamed when complete, so that
# an interrupted debootstrap never leaves a half system that looks usable.
create_base() {
  if [ -f "$base/.tamapick-complete" ]; then return; fi
  bash "$(dirname "$0")/setup.sh" --chroots
  # This machine's debootstrap may predate the release: every current Debian suite bootstraps
  # with sid's script.
  local script=/usr/share/debootstrap/scripts/$release
  [ -e "$script" ] || script=/usr/share/debootstrap/scripts/sid
  local partial=$cache/base.partial
  rm -rf --one-file-system "$partial" "$base"
  mkdir -p "$cache"
  echo "debootstrap --variant=minbase $release into $base (a few minutes, once)" >&2
  if ! debootstrap --variant=minbase "$release" "$partial" "$mirror" "$script" >"$cache/debootstrap.log" 2>&1; then
    tail -n 20 "$cache/debootstrap.log" >&2
    exit 1
  fi
  if [ "$release" = testing ]; then
    # The package mirror this project is developed against serves testing's Release file past its
    # Valid-Until date. That is the mirror's state, not a user's system, so it is set here only.
    echo 'Acquire::Check-Valid-Until "false";' >"$partial/etc/apt/apt.conf.d/99tamapick-mirror"
  fi
  # apt downloads as the user _apt, who must reach the lists through the overlay's mount point.
  chmod 755 "$partial"
  touch "$partial/.tamapick-complete"
  rm -rf --one-file-system "$cache/kept.upper"  # changes made over an older base
  mv "$partial" "$base"
}

fresh=no
tree=no
binds=()
while (($#)); do
  case "$1" in
    --fresh) fresh=yes; shift ;;
    --tree) tree=yes; shift ;;
    --bind) binds+=("$(realpath "$2")"); shift 2 ;;
    --) shift; break ;;
    *) usage ;;
  esac
done

(($#)) || usage
create_base

# The overlay: the base below, the run's changes above it.
kept_lock=""
if [ "$fresh" = no ]; then
  if ! mkdir "$cache/kept.lock" 2>/dev/null; then
    echo "another run uses $cache/kept.upper (or one died: rmdir $cache/kept.lock); try --fresh" >&2
    exit 1
  fi
  kept_lock=$cache/kept.lock
fi
run_dir=$(mktemp -d "$cache/run.XXXXXX")
upper=$cache/kept.upper
[ "$fresh" = no ] || upper=$run_dir/upper
work=$run_dir/work
root=$run_dir/root
mkdir -p "$upper" "$work" "$root"

mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  # Only once nothing is mounted below it any more; --one-file-system keeps rm out of any mount
  # that still is (the host's /dev or /proc above all).
  if ! grep -q " $run_dir/" /proc/self/mounts; then
    rm -rf --one-file-system "$run_dir"
  else
    echo "left $run_dir: something is still mounted there" >&2
  fi
  [ -z "$kept_lock" ] || rmdir "$kept_lock" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_at() { # mount_at TARGET mount-arguments...
  mount "${@:2}" "$1"
  mounted+=("$1")
}
mount_at "$root" -t overlay overlay -o "lowerdir=$base,upperdir=$upper,workdir=$work"
mount_at "$root/proc" -t proc proc
mount_at "$root/sys" -t sysfs sysfs
mount_at "$root/dev" --bind /dev
mount_at "$root/dev/pts" --bind /dev/pts
mount_at "$root/dev/shm" -t tmpfs -o mode=1777 tmpfs
mount_at "$root/tmp" -t tmpfs -o mode=1777 tmpfs
for dir in "${binds[@]}"; do
  mkdir -p "$root$dir"
  mount_at "$root$dir" --bind "$dir"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
directory=/
if [ "$tree" = yes ]; then
  directory=/tmp/tamapick
  mkdir "$root$directory"
  (
    cd "$(dirname "$0")/.."
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
      # (A file deleted but not yet committed is still listed: --ignore-failed-read leaves it out.)
      git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2>/dev/null
    else
      tar --exclude='./build*' -cf - .
    fi
  ) | tar -xf - -C "$root$directory"
fi

# A clean environment, as a root login on that system has, plus CI's marker.
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c 'cd "$1" && shift && . /etc/os-release && echo "== $PRETTY_NAME" && exec "$@"' bash "$directory" "$@"
