#!/usr/bin/env bash
# Installs the Debian packages that building and running need; with "deb", also those that
# making the Debian package needs; with "web", those of the browser build (`make web`); with
# "test", those of the tests and measurements, the browser build's among them. The browser
# build compiles libraries from Debian's source packages: for it, apt is given deb-src entries
# beside its deb entries (a file of its own in sources.list.d) if it has none.
# Root is needed only here: through sudo where the user may use it, directly as root, or else
# the script names the packages and the one command to run as root, and stops.
# Writes nothing into the checkout; apt's output goes to a log file in TMPDIR.
# Usage: install-deps.sh [--dry-run] [run | deb | web | test]   (--dry-run: say what, run nothing)
set -euo pipefail

dry_run=false
[[ ${1:-} == --dry-run ]] && dry_run=true && shift
set_name=${1:-run}

packages=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libcairo2-dev libfontconfig-dev fonts-comic-neue
  libbenchmark-dev
)
case $set_name in
  run) why="to build and run Corvane" ;;
  deb) why="to build Corvane and its Debian package" ;;
  web) why="to build Corvane for web browsers" ;;
  test) why="to build and test Corvane" ;;
  *)
    echo "usage: install-deps.sh [--dry-run] [run | deb | web | test]" >&2
    exit 2
    ;;
esac
case $set_name in
  deb | test) packages+=(dpkg-dev file) ;;&
  test)
    packages+=(
      libgtest-dev xvfb xauth xdotool imagemagick python3
      lintian desktop-file-utils appstream man-db
    )
    ;;&
  web | test)
    # Debian's emscripten, the tools that unpack and configure the source packages, node for
    # the snapshot tool, npm for the browser tests' driver, and Debian's chromium and firefox
    # for the page to run in. A node installed from elsewhere (with its own npm) is kept.
    packages+=(emscripten dpkg-dev autotools-dev chromium firefox-esr)
    command -v node >/dev/null || packages+=(nodejs)
    command -v npm >/dev/null || packages+=(npm)
    ;;
esac

say() { echo "corvane: $*"; }

# The packages of the set that dpkg does not list as installed.
missing_packages() {
  local -A installed=()
  local name status
  while IFS=$'\t' read -r name status; do
    [[ $status == "install ok installed" ]] && installed[$name]=1
  done < <(dpkg-query -W -f='${Package}\t${Status}\n' "${packages[@]}" 2>/dev/null || true)
  for name in "${packages[@]}"; do
    [[ -n ${installed[$name]:-} ]] || echo "$name"
  done
}

# How this user becomes root: "root", "sudo" (allowed without a password), "sudo-ask" (sudo
# may ask for a password on the terminal: the user is in an administrators' group), or "none".
root_access() {
  if [[ $(id -u) -eq 0 ]]; then
    echo root
  elif ! command -v sudo >/dev/null; then
    echo none
  elif sudo -n true 2>/dev/null; then
    echo sudo
  elif [[ -t 0 ]] && id -nG | tr ' ' '\n' | grep -qxE 'sudo|admin|wheel'; then
    echo sudo-ask
  else
    echo none
  fi
}

# The one command that root runs to install everything `make test` needs.
root_command() {
  local top
  top=$(cd "$(dirname "$0")/.." && pwd)
  if [[ $PWD == "$top" ]]; then
    echo "su -c 'make deps'"
  else
    echo "su -c 'make -C $top deps'"
  fi
}

refuse() {
  say "$why these packages are missing: ${missing[*]}"
  say "installing them needs root, and $1. Run this here; it asks for root's password:"
  echo "    $(root_command)"
  say "then run make again as yourself."
  exit 1
}

# Whether apt knows where Debian's source packages are (only the browser build needs them).
sources_dir=${CORVANE_APT_SOURCES:-/etc/apt}
need_deb_src=false
if [[ $set_name == web || $set_name == test ]] &&
  ! grep -rqsE '^(deb-src |Types:.*deb-src)' "$sources_dir/sources.list" \
    "$sources_dir/sources.list.d"; then
  need_deb_src=true
fi

# The deb-src entries: Debian's deb entries again, for sources.
deb_src_entries() {
  if [[ -f $sources_dir/sources.list.d/debian.sources ]]; then
    echo "# Debian's source packages, for Corvane's browser build (added by its install-deps)."
    sed -E 's/^Types:.*/Types: deb-src/' "$sources_dir/sources.list.d/debian.sources"
  else
    echo "# Debian's source packages, for Corvane's browser build (added by its install-deps)."
    grep -hE '^deb\s' "$sources_dir/sources.list" | sed -E 's/^deb(\s)/deb-src\1/'
  fi
}

mapfile -t missing < <(missing_packages)
[[ ${#missing[@]} -eq 0 ]] && ! $need_deb_src && exit 0

access=$(root_access)
case $access in
  root) as_root=() how="as root" ;;
  sudo) as_root=(sudo) how="as root through sudo" ;;
  sudo-ask) as_root=(sudo) how="as root through sudo, which may ask for your password" ;;
  none)
    if command -v sudo >/dev/null; then
      refuse "you may not use sudo here"
    else
      refuse "sudo is not installed"
    fi
    ;;
esac

if [[ -f $sources_dir/sources.list.d/debian.sources ]]; then
  src_file=$sources_dir/sources.list.d/corvane-src.sources
else
  src_file=$sources_dir/sources.list.d/corvane-src.list
fi
((${#missing[@]} == 0)) || say "installing ${#missing[@]} packages $why ($how): ${missing[*]}"
$need_deb_src && say "adding Debian's source packages to apt's sources ($how): $src_file"
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=900)
update=("${as_root[@]}" "${apt[@]}" update)
install=("${as_root[@]}" "${apt[@]}" install -y --no-install-recommends "${missing[@]}")
if $dry_run; then
  [[ $access == sudo-ask ]] && echo "would run: sudo -v"
  $need_deb_src && echo "would write: $src_file"
  echo "would run: ${update[*]}"
  ((${#missing[@]} == 0)) || echo "would run: ${install[*]}"
  exit 0
fi

log=$(mktemp "${TMPDIR:-/tmp}/corvane-apt.XXXXXX")
say "apt's output goes to $log"
# A password asked for now, on the terminal, before apt's output goes to the log.
if [[ $access == sudo-ask ]] && ! sudo -v; then
  refuse "sudo did not allow it"
fi
# run_step what command...: runs it into the log; on failure shows the log's end and stops.
run_step() {
  local what=$1 status=0
  shift
  "$@" >>"$log" 2>&1 || status=$?
  ((status == 0)) && return 0
  say "$what failed (exit status $status); the last lines of $log:"
  tail -n 15 "$log" | sed 's/^/    /'
  [[ $access == root ]] || say "or, as root: $(root_command)"
  exit 1
}
if $need_deb_src; then
  deb_src_entries | run_step "writing $src_file" "${as_root[@]}" tee "$src_file"
fi
run_step "apt-get update" "${update[@]}"
((${#missing[@]} == 0)) && exit 0
run_step "apt-get install" "${install[@]}"
say "installed ${#missing[@]} packages"
