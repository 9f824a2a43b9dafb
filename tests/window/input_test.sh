#!/usr/bin/env bash
# Input in the real window: the pointer's height in the left strip sets how far the crank
# turns per step, four space bars come back to the engine view, and ESC on the help page ends
# the program with status 0.
source "$(dirname "$0")/lib.sh"
binary=$1

# changed a.png b.png: how many pixels differ between two screenshots.
changed() {
  compare -metric AE "$1" "$2" null: 2>&1 >/dev/null | awk '{ printf "%d", $1 }' || true
}

# ink a.png [b.png]: how many pixels are drawn (not white background) in a, or in both a and b.
ink() {
  local masks=()
  for f in "$@"; do
    convert "$f" -fill black +opaque white -threshold 50% "$f.mask.png"
    masks+=("$f.mask.png")
  done
  if ((${#masks[@]} == 2)); then
    convert "${masks[0]}" "${masks[1]}" -compose lighten -composite "$1.both.png"
    masks=("$1.both.png")
  fi
  convert "${masks[0]}" -format "%[fx:round(w*h*(1-mean))]" info:
}

# key name: one key press, then time for the program to draw what follows from it.
press() {
  xdotool key "$1"
  sleep "${2:-0.5}"
}

start_xvfb 96
start_program "$binary"
sleep 1

# Step mode makes the comparison independent of timing: each "." lets exactly one step run,
# and a step turns the crank by 2 pi / 5000 + rpm^2 / 700. The pointer at the top of the strip
# left of the speed arrows gives rpm 12.2 (12 degrees a step); at the bottom of a 1080-pixel
# screen the speed stays at its lowest, 1.2 (a fifth of a degree).
xdotool mousemove 5 5
sleep 0.3
press period
screenshot "$WORK/fast0.png"
press period
screenshot "$WORK/fast1.png"
xdotool mousemove 5 1075
sleep 0.3
screenshot "$WORK/slow0.png"
press period
screenshot "$WORK/slow1.png"
kill -0 "$PROGRAM_PID" || fail "the program died at the bottom of the strip"

fast=$(changed "$WORK/fast0.png" "$WORK/fast1.png")
slow=$(changed "$WORK/slow0.png" "$WORK/slow1.png")
echo "pixels changed by one step: fast $fast, slow $slow"
[[ "$fast" =~ ^[0-9]+$ && "$slow" =~ ^[0-9]+$ ]] || fail "could not compare screenshots"
((fast >= 100)) || fail "a step at the top of the strip moved only $fast pixels"
((fast > 3 * slow)) || fail "the pointer's height did not change the speed ($fast vs $slow)"

# The round of views: crank-angle view, time view, help page, engine view.
press comma
screenshot "$WORK/engine.png"
views=(crank time page back)
for view in "${views[@]}"; do
  press space 1
  screenshot "$WORK/$view.png"
done
# Each view draws its own picture; only the engine view comes back with the figure that the
# engine view had before: most of its drawn pixels are drawn again at the same places.
figure=$(ink "$WORK/engine.png")
declare -A shared
for view in "${views[@]}"; do
  shared[$view]=$(ink "$WORK/engine.png" "$WORK/$view.png")
done
echo "engine view: $figure pixels drawn; shared with crank-angle view ${shared[crank]}," \
  "time view ${shared[time]}, help page ${shared[page]}, after four space bars ${shared[back]}"
((figure > 10000)) || fail "the engine view is nearly empty"
for view in crank time page; do
  ((shared[$view] * 3 < shared[back])) || fail "the $view view looks like the engine view"
done
((shared[back] * 4 > figure)) || fail "four space bars did not return to the engine view"

# ESC on the help page ends the program with status 0.
press space 1
press space 1
press space 1
kill -0 "$PROGRAM_PID" || fail "the program died on the way to the help page"
xdotool key Escape
wait_exit 2 || fail "ESC on the help page: exit status $?"

echo "input window test passed"
