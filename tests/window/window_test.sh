#!/usr/bin/env bash
# One session in the real window, every kind of input through SDL and X: the caption and the
# size; the space bar, Page Down and Page Up and the keypad's page keys round the four views,
# each recognised on the screen; the keypad silent while Num Lock is on; the pointer and the
# arrow keys (the keypad's too) on the load gauge and the time view's width; a held key that
# shuts out no other; step mode; the help page resized down to one pixel; ESC there, status 0.
# What each key does in each view is the unit tests' business: here each only has to arrive.
source "$(dirname "$0")/lib.sh"
binary=$1
caption="          Corvane (outgoing air control) and Lumivent (outgoing and ingoing air control) versus Kestrom's Tessimo (ingoing air control)         SpaceBar    MouseMove: r.p.m.-Load    ESC:Quit"

# after check command...: the xdotool command, then what it must bring about: a view on the
# screen (by its name), a picture other than the one before the command (changed), the one
# before the command before (back), or another check.
after() {
  local check=$1
  shift
  [[ ! -e $WORK/before.ppm ]] || mv "$WORK/before.ppm" "$WORK/earlier.ppm"
  screenshot "$WORK/before.ppm"
  xdotool "$@"
  case $check in
  engine | crank | time | help) eventually 20 expect_view "$check" ;;
  changed) eventually 20 differs ;;
  back) eventually 20 as_earlier ;;
  *) eventually 20 $check ;;
  esac
}
differs() { screenshot && ! cmp -s "$SHOT" "$WORK/before.ppm" || fail "the picture stayed"; }
as_earlier() { screenshot && cmp -s "$SHOT" "$WORK/earlier.ppm" || fail "the picture did not return"; }
# pairs key opposite...: each key changes the picture, and its opposite brings it back.
pairs() { while (($#)); do after changed key "$1" && after back key "$2" && shift 2; done; }

start_xvfb 96 1280x720x24 # a laptop's screen: a side margin, and screenshots half the size
xdotool mousemove $(to_pixel $CRANK 68 -33) # rpm 8, no timing
start_program "$binary"
name=$(xdotool getwindowname "$WINDOW_ID")
[[ $name == "$caption" ]] || fail "caption '$name'"
geometry=$(xdotool getwindowgeometry "$WINDOW_ID" | awk '/Geometry/ { print $2 }')
[[ $geometry == 1280x720 ]] || fail "window is $geometry, not the whole screen"
eventually 30 expect_view engine

after crank key space
after time key space
after help key space # the page waits in a loop of its own
after engine key space
after help key Prior
after time key KP_Prior
after help key KP_Next
after engine key Next
after crank key Num_Lock KP_Next Num_Lock space # Num Lock on: the keypad types a 3

# The pointer, then each arrow key, the keypad's too: each changes the picture, and the other
# block's opposite key brings it back (so a key missing, swapped or mapped to another arrow
# shows).
after changed mousemove $(to_pixel $CRANK 28 -33)
pairs Left KP_Right KP_Left Right Right KP_Left KP_Right Left
after time key space
pairs Up KP_Down KP_Up Down Down KP_Up KP_Down Up
# Held down, Up repeats, and Page Down still comes through.
after changed keydown Up
after help key Next
xdotool keyup Up

after engine key space
after still key period
after moving key comma

# The help page is drawn only when something asks for it, such as a resize.
after help key Prior
for size in "640 400" "1 1" "1280 720"; do
  xdotool windowsize "$WINDOW_ID" $size
  read -r CLIENT_W CLIENT_H <<<"$size"
  ((CLIENT_W == 1)) || eventually 20 expect_view help
done
xdotool key Escape
wait_exit || fail "ESC: exit status $?"
echo "window test passed"
