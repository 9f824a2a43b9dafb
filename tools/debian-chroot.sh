# Shared by deb-check.sh and first-run-check.sh: a minimal Debian 12, bootstrapped once into
# /var/cache/corvane-deb-check and kept untouched; each run works in a fresh copy of it.
# Source it after tools/xsession.sh; needs root and, the first time, the network.

CHROOT_CACHE=/var/cache/corvane-deb-check

# fresh_chroot: bootstraps the base when it is missing and sets CHROOT to a copy of it with
# /proc mounted; the copy goes on exit.
fresh_chroot() {
  local base=$CHROOT_CACHE/bookworm
  [[ $(id -u) -eq 0 ]] || fail "needs root (debootstrap, chroot)"
  if ! command -v debootstrap >/dev/null; then
    apt-get update -q >/dev/null
    apt-get install -y -q -o DPkg::Lock::Timeout=900 debootstrap >/dev/null
  fi
  if [[ ! -x $base/usr/bin/apt-get ]]; then
    echo "bootstrapping a minimal Debian 12 into $base"
    rm -rf --one-file-system "$base.new"
    mkdir -p "$CHROOT_CACHE"
    debootstrap --variant=minbase bookworm "$base.new" http://deb.debian.org/debian >/dev/null
    mv "$base.new" "$base"
  fi
  CHROOT=$(mktemp -d "$CHROOT_CACHE/run.XXXX")
  trap remove_chroot EXIT
  cp -a "$base/." "$CHROOT"
  mount -t proc proc "$CHROOT/proc"
}

# The copy goes as soon as its /proc is unmounted; a failed unmount keeps it, and says so.
remove_chroot() {
  [[ -n ${PROGRAM_PID:-} ]] && kill "$PROGRAM_PID" 2>/dev/null
  if mountpoint -q "$CHROOT/proc" && ! umount "$CHROOT/proc"; then
    echo "$CHROOT/proc is still mounted; $CHROOT is kept" >&2
  else
    rm -rf --one-file-system "$CHROOT"
  fi
  cleanup
}
