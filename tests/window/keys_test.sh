#!/usr/bin/env bash
# The arrow and page keys in the real window: Page Down and Page Up go round the views both
# ways, the keypad's page keys too; Up in the time view narrows the curves and Down widens
# them again; Left and Right move the load gauge's gap; a held key shuts out no other key.
source "$(dirname "$0")/lib.sh"
binary=$1
shot=$WORK/shot.png
ENGINE="-110 150 300" # ScaleLeft ScaleTop ScaleWidth of each view
CRANK="-103 85 300"
TIME="-618 85 1800" # at the starting speed: 225 rpm units wide
HELP="-115 165 300"

press() {
  xdotool key "$1"
  sleep "${2:-0.6}"
}

# One colour that only this view has at that place; the help page by the ink of its first
# and last lines.
expect_view() {
  local view=$1 label=$2
  screenshot "$shot"
  case $view in
  engine) expect_colour "$shot" "$label: Tessimo spot" ff0000 $ENGINE -31.25 -82.08 ;;
  crank) expect_colour "$shot" "$label: top area" 00ff00 $CRANK -71 -54 ;;
  time)
    expect_colour "$shot" "$label: bottom area" 0000ff $TIME 60 -300
    expect_colour "$shot" "$label: beyond the curves" ffffff $CRANK 60 -300
    ;;
  help)
    local y ink
    for y in 150 -240; do
      read -r px py <<<"$(to_pixel $HELP -102 "$y")"
      ink=$(ink_in "$shot" 700 16 "$px" "$py" ffffff)
      awk -v i="$ink" 'BEGIN { exit !(i > 0.02 && i < 0.5) }' ||
        fail "$label: ink $ink on the help page's line at y $y"
    done
    expect_colour "$shot" "$label: no figure on the page" ffffff $ENGINE -31.25 -82.08
    ;;
  esac
}

# count_colour file rrggbb: how many pixels have exactly that colour.
count_colour() {
  convert "$1" -fill black +opaque "#$2" -fill white -opaque "#$2" -format "%[fx:round(w*h*mean)]" info:
}

start_xvfb 96
# The pointer rests where, if the window reports it, it sets the starting speed (rpm 8 in the
# graph views) and a load of endin 0, and lies in no spot's zone.
read -r x y <<<"$(to_pixel $CRANK 68 -33)"
xdotool mousemove "$x" "$y"
start_program "$binary"
sleep 0.5

# Round the views backwards and forwards; the keypad's 3 and 9 (Num Lock off) as well.
expect_view engine "at start"
press Next
expect_view crank "Page Down from the engines"
press Prior
expect_view engine "Page Up from the crank-angle view"
views=(help time crank engine)
for view in "${views[@]}"; do
  press Prior
  expect_view "$view" "Page Up into the $view view"
done
press KP_Next
expect_view crank "keypad Page Down"
press KP_Prior
expect_view engine "keypad Page Up"
for view in crank time help engine; do
  press Next
  expect_view "$view" "Page Down into the $view view"
done

# The time view: each Up a quarter more speed, the axis as much wider, the curves narrower.
press Next
press Next
expect_view time "time view"
before=$(count_colour "$shot" 0000ff)
for _ in $(seq 10); do press Up 0.05; done
sleep 0.5
screenshot "$WORK/fast.png"
after=$(count_colour "$WORK/fast.png" 0000ff)
for _ in $(seq 10); do press Down 0.05; done
sleep 0.5
screenshot "$WORK/back.png"
again=$(count_colour "$WORK/back.png" 0000ff)
echo "blue area in the time view: $before pixels at rpm 8, $after at 10.5, $again back at 8"
((before > 2000)) || fail "the time view shows almost no blue area ($before)"
# 8 / 10.5 of the width: about 0.76 of the area.
((after * 100 < before * 82 && after * 100 > before * 70)) ||
  fail "ten presses of Up did not narrow the curves to about 0.76 ($before -> $after)"
((again * 100 > before * 98 && again * 100 < before * 102)) ||
  fail "ten presses of Down did not bring the curves back ($before -> $again)"

# The crank-angle view: the load gauge's gap, a background dot on the black load bar, moves
# to the left with Left and back to the right with Right.
gap_x() {
  read -r x0 y0 <<<"$(to_pixel $CRANK 77 5)"
  read -r x1 _ <<<"$(to_pixel $CRANK 143 5)"
  convert "$1" -crop "$((x1 - x0))x1+$x0+$y0" +repage txt:- |
    awk -F'[,:]' '/#FFFFFF/ { s += $1; n++ } END { if (n) printf "%d", s / n }'
}
press Prior
for _ in $(seq 15); do press Left 0.02; done
sleep 0.5
screenshot "$WORK/load0.png"
for _ in $(seq 8); do press Right 0.05; done
sleep 0.5
screenshot "$WORK/load1.png"
g0=$(gap_x "$WORK/load0.png")
g1=$(gap_x "$WORK/load1.png")
echo "load gauge's gap $g0 pixels into the bar after Left, after eight presses of Right $g1"
[[ -n "$g0" && -n "$g1" ]] || fail "no gap found in the load gauge"
((g1 > g0 + 10)) || fail "Right did not move the load gauge's gap to the right ($g0 -> $g1)"

# A held key repeats without shutting out other input: Up held down in the time view narrows
# the curves, and Page Down still shows the help page.
press Next
screenshot "$WORK/held0.png"
xdotool keydown Up
sleep 1
screenshot "$WORK/held1.png"
held0=$(count_colour "$WORK/held0.png" 0000ff)
held1=$(count_colour "$WORK/held1.png" 0000ff)
echo "blue area before and after holding Up for a second: $held0, $held1"
((held1 * 100 < held0 * 95)) || fail "holding Up did not repeat ($held0 -> $held1)"
press Next
expect_view help "Page Down with Up held down"
xdotool keyup Up

kill -0 "$PROGRAM_PID" || fail "the program died"
xdotool key Escape
wait_exit 2 || fail "ESC: exit status $?"
echo "keys window test passed"
