#!/usr/bin/env bash
# The set-up's decisions, with nothing installed: scripts/install-deps.sh runs in a sandbox whose
# PATH holds stubs of id, sudo, dpkg-query and apt-get (which record how they were called);
# scripts/check-build-dir.sh runs with a stubbed id against real directories.
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
for tool in bash env tr grep sed dirname mktemp tail cat cut stat getent tee; do
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
  *) AS_ROOT=sudo exec "$@" ;;
esac'

# deps label uid sudo(none|yes) installed set: runs install-deps in the sandbox; its output
# in $out, its status in $status, apt's calls in $calls.
deps() {
  local label=$1 uid=$2 sudo=$3 installed=$4 set=$5
  rm -f "$bin/sudo" "$work/calls"
  [[ $sudo == none ]] || stub sudo "$sudo_stub"
  status=0
  out=$(cd "$work" && PATH=$bin STUB_UID=$uid STUB_GROUPS=users STUB_INSTALLED=$installed \
    STUB_SUDO_NOPASSWD=$([[ $sudo == yes ]] && echo 0 || echo 1) STUB_CALLS=$work/calls \
    CORVANE_APT_SOURCES=${APT_SOURCES:-$work/apt} TMPDIR=$work \
    bash "$top/scripts/install-deps.sh" "$set" 2>&1) || status=$?
  calls=$(cat "$work/calls" 2>/dev/null || true)
  what="$label (status $status): $out; apt: $calls"
}
# expect failed out calls: the last run failed (1) or not (0), its output and apt's calls
# match the patterns.
expect() { [[ $((status != 0)) == "$1" && $out == $2 && $calls == $3 ]] || fail "$what"; }
# apt's sources: Debian's, with deb-src entries already.
mkdir -p "$work/apt/sources.list.d"
printf 'deb http://deb.debian.org/debian bookworm main\ndeb-src http://deb.debian.org/debian bookworm main\n' \
  >"$work/apt/sources.list"
run_set="g++ cmake ninja-build pkg-config libsdl2-dev libcairo2-dev libfontconfig-dev"
run_set+=" fonts-comic-neue libbenchmark-dev"

# Root installs directly, only what is missing, with one line saying what and why; apt's
# output goes to the log named, not to the terminal.
deps "root" 0 none "cmake g++" run
expect 0 "*corvane: installing 7 packages to build and run Corvane (as root): ninja-build*" \
  "direct apt-get * update"$'\n'"direct apt-get * install -y * libbenchmark-dev"
[[ $calls != *" cmake"* && $out != *chatty* ]] || fail "$what"
grep -q chatty "$(sed -n "s/^corvane: apt's output goes to //p" <<<"$out")" ||
  fail "apt's output is not in the log named: $out"

# A user allowed to use sudo installs through it, the test set with it.
deps "sudo" 1000 yes "" test
expect 0 "*to build and test Corvane (as root through sudo)*" \
  "sudo apt-get * update"$'\n'"sudo apt-get * install * lintian *"

# A user without sudo, or who may not use it, is told what is missing and the one command
# (in the checkout, without its path).
deps "user, no sudo" 1000 none "" run
expect 1 "*missing: $run_set*"$'\n'"    su -c 'make -C $top deps'*" ""
# apt fails: status non-zero and the log's last lines on the terminal.
STUB_APT_FAILS=1 deps "apt fails" 0 none "" run
expect 1 "*apt-get install failed*"$'\n'"    E: Unable to locate package x*" "*"

# The browser build's set: emscripten and chromium; without deb-src entries, Debian's deb
# entries are written again for sources, in a file of the set-up's own.
mkdir -p "$work/apt-nosrc/sources.list.d"
printf 'Types: deb\nURIs: http://deb.debian.org/debian\nSuites: bookworm\n' \
  >"$work/apt-nosrc/sources.list.d/debian.sources"
APT_SOURCES=$work/apt-nosrc deps "web, no deb-src" 0 none "$run_set" web
expect 0 "*" "* update* install *emscripten*chromium*"
[[ $calls != *"libsdl2-dev"* ]] || fail "installs the set again: $calls"
src=$(cat "$work/apt-nosrc/sources.list.d/corvane-src.sources" 2>&1 || true)
[[ $src == *$'\nTypes: deb-src\nURIs: http://deb.debian.org/debian\n'* ]] || fail "deb-src: $src"
grep -q deb-src "$work/apt-nosrc/sources.list.d/debian.sources" && fail "Debian's own file changed"
# Everything present, with the entries now there: silent, no root needed.
APT_SOURCES=$work/apt-nosrc deps "all present" 1000 none \
  "$run_set emscripten dpkg-dev autotools-dev chromium firefox-esr nodejs npm" web
expect 0 "" ""

# The build directory: refused where build/ or, before it exists, the checkout belongs to
# another user.
co=$work/checkout
mkdir -p "$co/scripts"
cp "$top/scripts/check-build-dir.sh" "$co/scripts/"
real=$(id -u)
other=$((real == 0 ? 4242 : 0))
check() { PATH=$bin STUB_UID=$1 bash "$co/scripts/check-build-dir.sh"; }
# refused uid where pattern: check-build-dir stops uid, saying what matches the pattern.
refused() { ! out=$(check "$1") && [[ $out == $3 ]] || fail "built $2: $out"; }
check "$real" >/dev/null || fail "refused the owner's own checkout"
refused "$other" "in another user's checkout" \
  "*this checkout belongs to*root is needed only for 'make deps'*"
mkdir "$co/build"
check "$real" || fail "refused the owner's own build/"
refused "$other" "into another user's build/" \
  "*build/ belongs to *run 'make clean' as *rm -rf $co/build'*"
echo "install-deps test passed"
