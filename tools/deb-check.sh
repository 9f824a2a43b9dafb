#!/usr/bin/env bash
# Installs the Debian package into a freshly bootstrapped, minimal Debian 12 and runs it there:
# apt must resolve every dependency, and the program must draw its window and quit on ESC.
# Needs root and the network; run as `make deb && sudo make deb-check`. It installs into a
# fresh copy of a bootstrapped system (tools/debian-chroot.sh), which it removes afterwards.
source "$(dirname "$0")/xsession.sh"
[[ $# -eq 1 && -f $1 ]] || fail "usage: deb-check.sh corvane_VERSION_ARCH.deb (make deb first)"
deb=$(realpath "$1")
source "$(dirname "$0")/debian-chroot.sh"
fresh_chroot
root=$CHROOT
cache=$CHROOT_CACHE

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
