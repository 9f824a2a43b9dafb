#!/usr/bin/env bash
# A newcomer's first contact on a freshly bootstrapped minimal Debian 12: root installs make
# and git and clones this repository; a user without sudo who runs `make run` is told which
# packages are missing and the one command for root; root's `make run` installs, builds and
# opens the window; root is refused in the user's checkout, and there runs the command the
# user was given, after which the user's `make run` opens the window; without a display the
# program stops at once with its one line. Needs root and the network; the window opens in a private
# Xvfb here. Checks the committed HEAD; takes minutes (apt, a build): `sudo make first-run-check`.
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/debian-chroot.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
fresh_chroot
out=$WORK/out
say() { echo "first-run-check: $*"; }
# in_chroot command...: as root in the chroot, with the environment of a root login.
in_chroot() {
  chroot "$CHROOT" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"
}
as_alice() { in_chroot su -l alice -c "$1"; }
# shown status command...: runs it into $out, shows what it said, sets status.
shown() {
  status=0
  "$@" >"$out" 2>&1 || status=$?
  sed 's/^/    | /' "$out"
}

say "as root: apt install make git"
in_chroot apt-get update -q >"$out" 2>&1 || fail "apt-get update: $(tail -3 "$out")"
in_chroot env DEBIAN_FRONTEND=noninteractive apt install -y -q make git >"$out" 2>&1 ||
  fail "apt install make git: $(tail -3 "$out")"
branch=$(git -C "$top" rev-parse --abbrev-ref HEAD)
# The repository's address, as each of them would clone it (git reads only its own).
in_chroot useradd -m -s /bin/bash alice
git clone -q --bare --branch "$branch" "$top" "$CHROOT/root/corvane.git"
git clone -q --bare --branch "$branch" "$top" "$CHROOT/home/alice/corvane.git"
chown -R --reference="$CHROOT/home/alice" "$CHROOT/home/alice/corvane.git"

say "as alice (no sudo here): git clone, make run"
as_alice 'git clone -q ~/corvane.git corvane'
start=$SECONDS
shown as_alice "cd corvane && DISPLAY=:0 make run"
((status != 0)) || fail "alice's make run succeeded without root"
grep -q "su -c 'make deps'" "$out" || fail "no command for root"
say "status $status after $((SECONDS - start)) s"

# window_of label command...: runs the command (a make run) in the background until its window
# shows, then takes a screenshot and quits with ESC.
window_of() {
  local label=$1 start=$SECONDS
  shift
  "$@" >"$WORK/run.log" 2>&1 &
  PROGRAM_PID=$!
  until xdotool search --onlyvisible --name 'Corvane' >/dev/null 2>&1; do
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "make run ended: $(tail -20 "$WORK/run.log")"
    sleep 2
  done
  say "the window is open after $((SECONDS - start)) s; make run said:"
  grep -v '^\[[0-9]*/[0-9]*\]' "$WORK/run.log" | sed 's/^/    | /'
  sleep 2
  local shot=$CHROOT_CACHE/first-run-$label.png colours
  screenshot "$shot"
  colours=$(convert "$shot" -format %k info:)
  ((colours >= 4)) || fail "the window shows only $colours colours"
  xdotool key Escape
  wait_exit 5 || fail "ESC gave exit status $?"
  say "drew $colours colours ($shot), quit on ESC"
}

start_xvfb
say "as root: git clone, make run (DISPLAY=$DISPLAY, a private Xvfb on the host)"
in_chroot git clone -q /root/corvane.git /root/corvane
window_of root in_chroot sh -c "cd /root/corvane && DISPLAY=$DISPLAY make run"
say "apt installed $(cat "$CHROOT"/tmp/corvane-apt.* | grep -c '^Setting up') packages"

say "as root in alice's checkout: make run"
shown in_chroot sh -c "cd /home/alice/corvane && DISPLAY=$DISPLAY make run"
((status != 0)) && grep -q 'belongs to alice' "$out" || fail "root built in alice's checkout"
[[ ! -e $CHROOT/home/alice/corvane/build ]] || fail "root left a build/ in alice's checkout"

say "as root in alice's checkout: su -c 'make deps', as the message said"
shown in_chroot su -c 'cd /home/alice/corvane && make deps'
((status == 0)) || fail "make deps failed"
[[ -z $(as_alice 'cd corvane && git status --porcelain --ignored') ]] ||
  fail "make deps wrote into the checkout"
say "as alice: make run"
window_of alice as_alice "cd corvane && DISPLAY=$DISPLAY make run"

say "without a display: the program, then make run"
start=$(date +%s%N)
shown in_chroot /root/corvane/build/release/corvane
say "status $status after $((($(date +%s%N) - start) / 1000000)) ms"
((status == 1)) || fail "status $status without a display"
shown in_chroot sh -c "cd /root/corvane && make run"
((status != 0)) || fail "make run without a display succeeded"
say "passed"
