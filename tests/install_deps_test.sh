#!/usr/bin/env bash
# The set-up's decisions, with nothing installed: scripts/install-deps runs in a sandbox whose
# PATH holds stubs of id, sudo, dpkg-query and apt-get (which record how they were called);
# scripts/check-build-dir runs with a stubbed id against real directories.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sandbox: only the tools the scripts use, and the stubs.
bin=$work/bin
mkdir "$bin"
for tool in bash env tr grep sed dirname mktemp tail cat cut stat getent; do
  ln -s "$(command -v $tool)" "$bin/$tool"
done
stub() {
  printf '#!%s\n%s\n' "$(command -v bash)" "$2" >"$bin/$1"
  chmod +x "$bin/$1"
}
stub id 'case $1 in -u) echo "$STUB_UID" ;; -nG) echo "$STUB_GROUPS" ;; esac'
stub dpkg-query 'shift 2
for p; do [[ " $STUB_INSTALLED " == *" $p "* ]] && printf "%s\tinstall ok installed\n" "$p"; done
true'
stub apt-get 'echo "${AS_ROOT:-direct} apt-get $*" >>"$STUB_CALLS"
[[ $* == *install* && -n ${STUB_APT_FAILS:-} ]] && { echo "E: Unable to locate package x"; exit 100; }
echo "apt is chatty"'
sudo_stub='case $1 in
  -n) exit "$STUB_SUDO_NOPASSWD" ;;
  -v) exit 0 ;;
  *) AS_ROOT=sudo exec "$@" ;;
esac'

# deps label uid sudo(none|yes|password) installed set [--dry-run]: runs install-deps in the
# sandbox; its output in $out, its status in $status, apt's calls in $calls.
deps() {
  local label=$1 uid=$2 sudo=$3 installed=$4 set=$5
  shift 5
  rm -f "$bin/sudo" "$work/calls"
  [[ $sudo == none ]] || stub sudo "$sudo_stub"
  status=0
  out=$(cd "$work" && PATH=$bin STUB_UID=$uid STUB_GROUPS=users STUB_INSTALLED=$installed \
    STUB_SUDO_NOPASSWD=$([[ $sudo == yes ]] && echo 0 || echo 1) STUB_CALLS=$work/calls \
    CORVANE_APT_SOURCES=${APT_SOURCES:-$work/apt} TMPDIR=$work \
    bash "$top/scripts/install-deps" "$@" "$set" 2>&1) || status=$?
  calls=$(cat "$work/calls" 2>/dev/null || true)
  what="$label (status $status): $out"
}
# apt's sources: Debian's, with deb-src entries already.
mkdir -p "$work/apt/sources.list.d"
printf 'deb http://deb.debian.org/debian bookworm main\ndeb-src http://deb.debian.org/debian bookworm main\n' \
  >"$work/apt/sources.list"
run_set="g++ cmake ninja-build pkg-config libsdl2-dev libcairo2-dev libfontconfig-dev"
run_set+=" fonts-comic-neue libbenchmark-dev"

# Root installs directly, only what is missing, with one line saying what and why.
deps "root" 0 none "cmake g++" run
[[ $status -eq 0 ]] || fail "$what"
grep -qx "corvane: installing 7 packages to build and run Corvane (as root): ninja-build.*" \
  <<<"$out" || fail "$what"
[[ $calls == "direct apt-get "*" update"$'\n'"direct apt-get "*" install -y "* ]] || fail "$what"
[[ $calls != *" cmake"* && $calls == *" libbenchmark-dev" ]] || fail "root installs $calls"
[[ $out != *chatty* ]] || fail "apt's output reached the terminal: $out"
log=$(sed -n "s/^corvane: apt's output goes to //p" <<<"$out")
grep -q chatty "$log" || fail "apt's output is not in the log named: $out"

# A user allowed to use sudo installs through it, the test set with it.
deps "sudo" 1000 yes "" test
[[ $status -eq 0 && $out == *"to build and test Corvane (as root through sudo)"* ]] ||
  fail "$what"
[[ $(grep -c "^sudo apt-get" <<<"$calls") -eq 2 && $calls == *" lintian "* ]] || fail "$calls"

# A user without sudo, or who may not use it, is told what is missing and the one command.
for sudo in none password; do
  deps "user, sudo $sudo" 1000 "$sudo" "" run
  [[ $status -ne 0 && -z $calls ]] || fail "$what; apt: $calls"
  [[ $out == *"missing: $run_set"* ]] || fail "the packages are not named: $what"
  grep -qx "    su -c 'make -C $top deps'" <<<"$out" || fail "no command for root: $what"
done
[[ $out == *"you may not use sudo here"* ]] || fail "$what"
out=$(cd "$top" && PATH=$bin STUB_UID=1000 STUB_INSTALLED= bash scripts/install-deps 2>&1) || true
grep -qx "    su -c 'make deps'" <<<"$out" || fail "in the checkout: $out"

# Everything present: silent, no root needed.
deps "all present" 1000 none "$run_set" run
[[ $status -eq 0 && -z $out && -z $calls ]] || fail "$what"

# apt fails: status non-zero and the log's last lines on the terminal.
STUB_APT_FAILS=1 deps "apt fails" 0 none "" run
[[ $status -ne 0 && $out == *"apt-get install failed"* ]] || fail "$what"
[[ $out == *"    E: Unable to locate package x"* ]] || fail "the log's end is not shown: $what"

# The browser build's set: emscripten and chromium; without deb-src entries, Debian's deb
# entries are written again for sources, in a file of the set-up's own, before apt's update.
ln -s "$(command -v tee)" "$bin/tee"
mkdir -p "$work/apt-nosrc/sources.list.d"
printf 'Types: deb\nURIs: http://deb.debian.org/debian\nSuites: bookworm\n' \
  >"$work/apt-nosrc/sources.list.d/debian.sources"
APT_SOURCES=$work/apt-nosrc deps "web, no deb-src" 0 none "$run_set" web
[[ $status -eq 0 && $calls == *" update"*" install "*"emscripten"*"chromium"* ]] || fail "$what"
[[ $calls != *"libsdl2-dev"* ]] || fail "installs the set again: $calls"
src=$work/apt-nosrc/sources.list.d/corvane-src.sources
grep -qx 'Types: deb-src' "$src" && grep -qx 'URIs: http://deb.debian.org/debian' "$src" ||
  fail "no deb-src entries written: $(cat "$src" 2>&1)"
grep -q deb-src "$work/apt-nosrc/sources.list.d/debian.sources" && fail "Debian's own file changed"
# Present everything, with the entries now there: silent.
APT_SOURCES=$work/apt-nosrc deps "web, all present" 0 none \
  "$run_set emscripten dpkg-dev autotools-dev chromium firefox-esr nodejs npm" web
[[ $status -eq 0 && -z $out && -z $calls ]] || fail "$what"

# A dry run says what it would run and runs nothing.
deps "dry run" 1000 yes "" run --dry-run
[[ $status -eq 0 && -z $calls && $out == *"would run: sudo env "*" apt-get "*" install "* ]] ||
  fail "$what"

# On a terminal, an administrator whom sudo asks for a password is asked first.
out=$(cd "$work" && PATH=$bin STUB_UID=1000 STUB_GROUPS="users sudo" STUB_SUDO_NOPASSWD=1 \
  STUB_INSTALLED= /usr/bin/python3 -c 'import pty, sys; pty.spawn(sys.argv[1:])' \
  bash "$top/scripts/install-deps" --dry-run | tr -d '\r')
[[ $out == *"(as root through sudo, which may ask for your password)"* ]] || fail "tty: $out"
[[ $out == *"would run: sudo -v"* ]] || fail "tty: $out"

# The build directory: refused where build/ or, before it exists, the checkout belongs to
# another user; `make clean` as root may remove any build/.
co=$work/checkout
mkdir -p "$co/scripts"
cp "$top/scripts/check-build-dir" "$co/scripts/"
real=$(id -u)
other=$((real == 0 ? 4242 : 0))
check() { PATH=$bin STUB_UID=$1 bash "$co/scripts/check-build-dir" ${2:-}; }
check "$real" >/dev/null || fail "refused the owner's own checkout"
out=$(check "$other") && fail "built in another user's checkout"
[[ $out == *"this checkout belongs to"*"root is needed only for 'make deps'"* ]] || fail "$out"
mkdir "$co/build"
check "$real" || fail "refused the owner's own build/"
out=$(check "$other") && fail "built into another user's build/"
[[ $out == *"build/ belongs to "*"run 'make clean' as "*"rm -rf $co/build'"* ]] || fail "$out"
mkdir "$co/build/release"
[[ $real != 0 ]] || chown 4242 "$co/build/release"
out=$(check "$real") && fail "built into another user's build/release"
[[ $out == *"build/release/ belongs to "* ]] || fail "$out"
[[ $real != 0 ]] || chown 4242 "$co/build"
check 0 --clean || fail "root may not clean another user's build/"
stranger=$(($(stat -c %u "$co/build") + 1))
! check "$stranger" --clean >/dev/null || fail "a stranger may clean"
echo "install-deps test passed"
