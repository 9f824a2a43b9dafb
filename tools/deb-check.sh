#!/usr/bin/env bash
# Installs the Debian package into a freshly bootstrapped, minimal Debian 12 and runs it there:
# apt must resolve every dependency, and the program must draw its window and quit on ESC.
# Needs root and the network; run as `make deb && sudo make deb-check`. The bootstrapped
# system is kept untouched in /var/cache/corvane-deb-check; each run installs into a fresh
# copy of it, which it removes afterwards.
source "$(dirname "$0")/../tests/window/lib.sh"
[[ $# -eq 1 && -f $1 ]] || fail "usage: deb-check.sh corvane_VERSION_ARCH.deb (make deb first)"
deb=$(realpath "$1")
cache=/var/cache/corvane-deb-check
base=$cache/bookworm

[[ $(id -u) -eq 0 ]] || fail "deb-check needs root (debootstrap, chroot)"
if ! command -v debootstrap >/dev/null; then
  apt-get update -q >/dev/null
  apt-get install -y -q debootstrap >/dev/null
fi
if [[ ! -x $base/usr/bin/apt-get ]]; then
  echo "bootstrapping a minimal Debian 12 into $base"
  rm -rf --one-file-system "$base.new"
  mkdir -p "$cache"
  debootstrap --variant=minbase bookworm "$base.new" http://deb.debian.org/debian >/dev/null
  mv "$base.new" "$base"
fi

# The copy goes as soon as its /proc is unmounted; a failed unmount keeps it, and says so.
root=$(mktemp -d "$cache/run.XXXX")
remove_copy() {
  [[ -n ${PROGRAM_PID:-} ]] && kill "$PROGRAM_PID" 2>/dev/null
  if mountpoint -q "$root/proc" && ! umount "$root/proc"; then
    echo "deb-check: $root/proc is still mounted; $root is kept" >&2
  else
    rm -rf --one-file-system "$root"
  fi
  cleanup
}
trap remove_copy EXIT
cp -a "$base/." "$root"
mount -t proc proc "$root/proc"

# The package, as a user would install it: apt fetches what it depends on.
cp "$deb" "$root/tmp/"
apt_log=$WORK/apt.log
chroot "$root" apt-get update -q >"$apt_log" 2>&1 || fail "apt-get update: $(tail -3 "$apt_log")"
chroot "$root" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q "/tmp/$(basename "$deb")" >"$apt_log" 2>&1 ||
  fail "apt-get install: $(tail -3 "$apt_log")"
chroot "$root" dpkg -s corvane | grep -q '^Status: install ok installed' || fail "not installed"
chroot "$root" corvane --version

# The installed program in a window of the host's Xvfb: the chroot shares the host's network
# namespace, so the server's abstract socket reaches it without a mount.
start_xvfb
chroot "$root" env DISPLAY="$DISPLAY" corvane &
PROGRAM_PID=$!
timeout 10 xdotool search --sync --onlyvisible --name 'Corvane' >/dev/null ||
  fail "the installed program showed no window"
sleep 1
shot=$cache/deb-check.png
screenshot "$shot"
colours=$(convert "$shot" -format %k info:)
((colours >= 4)) || fail "the window shows only $colours colours"
xdotool key Escape
wait_exit 2 || fail "ESC gave exit status $?"
echo "deb-check: installed on a minimal Debian 12, drew $colours colours ($shot), quit on ESC"
