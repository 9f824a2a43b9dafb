#!/usr/bin/env bash
# The real window: its caption, its size, a cleared client area, and both ways to quit.
source "$(dirname "$0")/lib.sh"
binary=$1

caption="          Corvane (outgoing air control) and Lumivent (outgoing and ingoing air control) versus Kestrom's Tessimo (ingoing air control)         SpaceBar    MouseMove: r.p.m.-Load    ESC:Quit"

start_xvfb 96
start_program "$binary"

name=$(xdotool getwindowname "$WINDOW_ID")
[[ "$name" == "$caption" ]] || fail "caption is '$name'"

# Without a window manager nothing maximises the window: it is sized to the usable screen.
geometry=$(xdotool getwindowgeometry "$WINDOW_ID" | awk '/Geometry/ {print $2}')
[[ "$geometry" == "1920x1080" ]] || fail "window is $geometry, not the whole screen"

# white_at file points...: the screen's pixels at those points are the white background.
white_at() {
  local file=$1 point colour
  shift
  screenshot "$file"
  for point in "$@"; do
    colour=$(pixel "$file" $point)
    [[ "$colour" == "ffffff" ]] || fail "client area at $point is $colour, not the white background"
  done
}
eventually 10 white_at "$WORK/start.png" "1900 1070" "5 1070" "1900 5"

# Any window size is legal: down to a single pixel and back, the program runs on and the
# picture is cleared to its background at the new size.
for size in "1 1" "640 400" "1920 1080"; do
  xdotool windowsize "$WINDOW_ID" $size
  sleep 0.3
  kill -0 "$PROGRAM_PID" || fail "the program died at window size $size"
done
eventually 10 white_at "$WORK/resized.png" "1900 1070"

xdotool key Escape
wait_exit 3 || fail "ESC: exit status $?"

start_program "$binary"
xdotool mousemove 900 500 click --repeat 2 --delay 80 1
wait_exit 3 || fail "double click: exit status $?"

echo "window test passed"
