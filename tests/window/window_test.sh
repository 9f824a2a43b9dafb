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
# screen (by its name), or a check with its arguments.
after() {
  local check=$1
  shift
  xdotool "$@"
  case $check in
  engine | crank | time | help) eventually 20 expect_view "$check" ;;
  *) eventually 20 $check ;;
  esac
}

# gap_at x: the load gauge's gap (background pixels on the black bar) centred at user x, within
# a pixel: each percent of load moves it half a unit.
gap_at() {
  local x0 y0 x1 want got
  read -r x0 y0 <<<"$(to_pixel $CRANK 77 5)"
  read -r x1 _ <<<"$(to_pixel $CRANK 143 5)"
  read -r want _ <<<"$(to_pixel $CRANK "$1" 5)"
  got=$(screenshot && convert "$SHOT" -crop "$((x1 - x0))x1+$x0+$y0" +repage txt:- |
    awk -F'[,:]' -v o="$x0" '/#FFFFFF/ { s += $1; n++ } END { if (n) print int(o + s / n + .5) }')
  ((${got:-0} >= want - 1 && ${got:-0} <= want + 1)) ||
    fail "load gauge's gap at pixel ${got:-none}, expected $want"
}

# blue: how many pixels the time view's bottom area has (blue, in the lower half).
blue() {
  convert "$SHOT" -crop "${CLIENT_W}x$((CLIENT_H / 2))+0+$((CLIENT_H / 2))" \
    -fill black +opaque "#0000ff" -format "%[fx:round(w*h*mean.b)]" info:
}

# blue_within low high: the bottom area has from low to high pixels. A quarter rpm more or less
# changes it by 2.5 %: near count allows 1 %.
blue_within() {
  local n
  n=$(screenshot && blue)
  ((n >= $1 && n <= $2)) || fail "time view's bottom area: $n pixels, expected $1 to $2"
}
near() { echo $(($1 * 99 / 100)) $(($1 * 101 / 100)); }

# The pointer at load 0 (the gauge's 50 %) and rpm 8; or at load -0.5 (34 %), or rpm 10.5.
start_xvfb 96 1280x720x24 # a laptop's screen: a side margin, and screenshots half the size
P0=$(to_pixel $CRANK 68 -33)
xdotool mousemove $P0
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

after "gap_at 107" mousemove $(to_pixel $CRANK 28 -33)
after "gap_at 115" mousemove $P0
after "gap_at 107" key Left KP_Left Left KP_Left
after "gap_at 115" key Right KP_Right Right KP_Right

after time key space
c8=$(blue)
# rpm 10.5: 8 / 10.5 of the width.
after "blue_within $((c8 * 70 / 100)) $((c8 * 82 / 100))" mousemove $(to_pixel $CRANK 68 77)
c10=$(blue)
after "blue_within $(near "$c8")" key --repeat 5 Down KP_Down
after "blue_within $(near "$c10")" key --repeat 5 Up KP_Up
after "blue_within $(near "$c8")" key --repeat 10 Down
# Held down, Up repeats, and Page Down still comes through.
after "blue_within 0 $((c8 * 95 / 100))" keydown Up
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
