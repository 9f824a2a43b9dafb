#!/usr/bin/env bash
# Installs the Debian package into a freshly bootstrapped, minimal Debian 12 and runs it there:
# apt must resolve every dependency, and the program must draw its window and quit on ESC.
# Needs root and the network (debootstrap); run as `make deb-check`. The bootstrapped system
# is kept untouched in build/bookworm; each run installs into a fresh copy of it.
source "$(dirname "$0")/../tests/window/lib.sh"
deb=$(realpath "$1")
base=$(realpath -m "${2:-build/bookworm}")

[[ $(id -u) -eq 0 ]] || fail "deb-check needs root (debootstrap, chroot)"
command -v debootstrap >/dev/null || apt-get install -y -q debootstrap >/dev/null
if [[ ! -x $base/usr/bin/apt-get ]]; then
  echo "bootstrapping a minimal Debian 12 into $base"
  debootstrap --variant=minbase bookworm "$base.new" http://deb.debian.org/debian >/dev/null
  mv "$base.new" "$base"
fi
root=$(mktemp -d "$base.run.XXXX")
cp -a "$base/." "$root"

mounts=()
unmount_all() {
  [[ -n ${PROGRAM_PID:-} ]] && kill "$PROGRAM_PID" 2>/dev/null
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[i]}" || true; done
  # Never remove the copy while anything is still mounted in it (the host's X socket).
  grep -q " $root/" /proc/mounts || rm -rf "$root"
  cleanup
}
trap unmount_all EXIT
mount -t proc proc "$root/proc" && mounts+=("$root/proc")

# The package, as a user would install it: apt fetches what it depends on.
cp "$deb" "$root/tmp/"
apt_log=$WORK/apt.log
chroot "$root" apt-get update -q >"$apt_log" 2>&1 || fail "apt-get update: $(tail -3 "$apt_log")"
chroot "$root" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q "/tmp/$(basename "$deb")" >"$apt_log" 2>&1 ||
  fail "apt-get install: $(tail -3 "$apt_log")"
chroot "$root" dpkg -s corvane | grep -q '^Status: install ok installed' || fail "not installed"
chroot "$root" corvane --version

# The installed program in a window of the host's Xvfb, whose socket the chroot shares.
start_xvfb
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mounts+=("$root/tmp/.X11-unix")
chroot "$root" env DISPLAY="$DISPLAY" corvane &
PROGRAM_PID=$!
timeout 10 xdotool search --sync --onlyvisible --name 'Corvane' >/dev/null ||
  fail "the installed program showed no window"
sleep 1
shot=$(dirname "$base")/deb-check.png
screenshot "$shot"
colours=$(convert "$shot" -format %k info:)
((colours >= 4)) || fail "the window shows only $colours colours"
xdotool key Escape
wait_exit 2 || fail "ESC gave exit status $?"
echo "deb-check: installed on a minimal Debian 12, drew $colours colours ($shot), quit on ESC"
