#!/usr/bin/env bash
# Without a window system the program says so in one line and stops at once with status 1: it
# never animates on a video driver that shows nothing. --help, --version and the snapshot tool
# need no display.
source "$(dirname "$0")/lib.sh"
binary=$1
prefix='corvane: cannot open a window:'
no_display="$prefix no display (DISPLAY and WAYLAND_DISPLAY are not set)"

# refused label pattern env-arguments...: status 1 within 5 s, and one line matching pattern.
refused() {
  local label=$1 pattern=$2 status=0 said
  shift 2
  said=$(timeout 5 env "$@" "$binary" 2>&1) || status=$?
  [[ $status -eq 1 && $said == $pattern && $said != *$'\n'* ]] ||
    fail "$label: exit status $status (1 expected); it said: $said"
}

refused "no display" "$no_display" -u DISPLAY -u WAYLAND_DISPLAY
refused "empty display names" "$no_display" DISPLAY= WAYLAND_DISPLAY=
refused "no display, dummy driver" "$no_display" -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy
for arg in --help --version; do
  env -u DISPLAY -u WAYLAND_DISPLAY "$binary" $arg | grep -q '^Usage: corvane\|^corvane ' ||
    fail "$arg without a display"
done
# The snapshot tool draws without any display.
if [[ -n ${CORVANE_SNAPSHOT:-} ]]; then
  env -u DISPLAY -u WAYLAND_DISPLAY "$CORVANE_SNAPSHOT" --steps 2 --out "$WORK/s.png" >/dev/null &&
    [[ -s $WORK/s.png ]] || fail "the snapshot tool wrote no picture without a display"
fi

# With a display, but a driver asked for that draws nowhere (offscreen may be missing from
# SDL's build: then SDL's own reason is the line).
start_xvfb
refused "dummy driver" "$prefix SDL's video driver 'dummy' shows no window" SDL_VIDEODRIVER=dummy
refused "offscreen driver, named" "$prefix *offscreen*" SDL_VIDEODRIVER=offscreen
# A display that does not answer: SDL's reason, still one line.
refused "silent display" "$prefix *" -u WAYLAND_DISPLAY DISPLAY=:1999
echo "no-display test passed"
