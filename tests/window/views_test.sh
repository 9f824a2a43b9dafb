#!/usr/bin/env bash
# The four views in a real window, each recognised by colours at known places of its figure;
# the colour key in each; step mode; and both ways to quit from every view.
source "$(dirname "$0")/lib.sh"
binary=$1
shot=$WORK/shot.png
ENGINE="-110 150 300"  # ScaleLeft ScaleTop ScaleWidth of each view
CRANK="-103 85 300"
TIME="-618 85 1800"    # at the starting speed: 225 rpm units wide
HELP="-115 165 300"

press() {
  xdotool key "$1"
  sleep "${2:-0.2}"
}

# The engine view: the four solenoid spots at their starting timings and a cylinder wall.
check_engine() {
  local fore=$1
  screenshot "$shot"
  expect_colour "$shot" "Tessimo spot" ff0000 $ENGINE -31.25 -82.08
  expect_colour "$shot" "Lumivent spot" 00ffff $ENGINE 43.75 -82.08
  expect_colour "$shot" "Corvane intake spot" 00c0c0 $ENGINE 118.75 -82.08
  expect_colour "$shot" "Corvane exhaust spot" ff8000 $ENGINE 181.25 -25.62
  expect_colour "$shot" "cylinder wall" "$fore" $ENGINE -26.316 -100
}

# The crank-angle view: the three valve-time areas near the start of the intake stroke, and
# the axis of the top graph.
check_crank() {
  local fore=$1
  screenshot "$shot"
  expect_colour "$shot" "top area" 00ff00 $CRANK -71 -54
  expect_colour "$shot" "middle area" ff0000 $CRANK -71 -204
  expect_colour "$shot" "bottom area" 0000ff $CRANK 60 -300
  expect_colour "$shot" "top axis" "$fore" $CRANK 100 -57.5
}

# The time view: the bottom area drawn narrower, where the crank-angle view had it wider.
check_time() {
  local back=$1
  screenshot "$shot"
  expect_colour "$shot" "bottom area" 0000ff $TIME 60 -300
  expect_colour "$shot" "beyond the curves" "$back" $CRANK 60 -300
}

# The help page: text along its first line, none where the engine figure would stand.
check_help() {
  local back=$1
  screenshot "$shot"
  read -r x y <<<"$(to_pixel $HELP -102 150)"
  local ink
  ink=$(ink_in "$shot" 900 20 "$x" "$y" "$back")
  awk -v i="$ink" 'BEGIN { exit !(i > 0.02 && i < 0.5) }' || fail "help page: ink $ink on line 1"
  expect_colour "$shot" "no figure on the help page" "$back" $ENGINE -31.25 -82.08
}

check_both_colours() {
  local view=$1
  eventually 10 "check_$view" "$2"
  press c
  [[ $(pixel "$shot" 5 1075) == ffffff ]] || fail "margin before the reversal"
  eventually 10 "check_$view" "$3"
  screenshot "$shot"
  [[ $(pixel "$shot" 5 1075) == 000000 ]] || fail "$view: margin after the reversal"
  press c
}

start_xvfb 96
# The pointer rests where, if the window reports it, it sets the starting speed (rpm 8 in the
# graph views) and a load of endin 0, and lies in no spot's zone.
read -r x y <<<"$(to_pixel $CRANK 68 -33)"
xdotool mousemove "$x" "$y"
start_program "$binary"
sleep 0.5

check_both_colours engine 000000 ffffff
press space
check_both_colours crank 000000 ffffff
press space
check_both_colours time ffffff 000000
press space
check_both_colours help ffffff 000000
press space
eventually 10 check_engine 000000

# Step mode: nothing moves after "."; "," lets the engines run again.
press period
screenshot "$WORK/still1.png"
sleep 0.5
screenshot "$WORK/still2.png"
cmp -s "$WORK/still1.png" "$WORK/still2.png" || fail "the picture changed in step mode"
press comma 0.2
screenshot "$WORK/run1.png"
sleep 0.5
screenshot "$WORK/run2.png"
cmp -s "$WORK/run1.png" "$WORK/run2.png" && fail "the picture stood still after ','"
xdotool key Escape
wait_exit 1 || fail "ESC from the engine view: status $?"

# ESC and a double click end the program within a second from every view.
park_pointer
for spaces in 0 1 2 3; do
  for way in escape dblclick; do
    start_program "$binary"
    for ((i = 0; i < spaces; i++)); do press space 0.3; done
    if [[ $way == escape ]]; then
      xdotool key Escape
    else
      xdotool click --repeat 2 --delay 60 1
    fi
    wait_exit 1 || fail "$way after $spaces space bars: status $?"
  done
done

echo "views test passed"
