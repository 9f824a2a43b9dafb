#!/usr/bin/env bash
# On any screen the picture is the design canvas zoomed to fit: the spots stand where the zoom
# puts their user points, the pens grow with it, the margins beside the canvas stay in the
# background colour, and the resolution of the display plays no part.
source "$(dirname "$0")/lib.sh"
binary=$1
ENGINE="-110 150 300"

# wall_width file: how many pixels wide the Tessimo engine's left cylinder wall is at y = -20.
wall_width() {
  read -r x y <<<"$(to_pixel $ENGINE -26.316 -20)"
  convert "$1" -crop "41x1+$((x - 20))+$y" +repage -fill white +opaque black \
    -format "%[fx:round(w*(1-mean))]" info:
}

# check_zoomed file geometry pen: the spots where the zoom puts them, the pen grown with it,
# the margin in the background colour.
check_zoomed() {
  local shot=$1 geometry=$2 pen=$3 width
  screenshot "$shot"
  expect_colour "$shot" "Tessimo spot at $geometry" ff0000 $ENGINE -31.25 -82.08
  expect_colour "$shot" "Corvane exhaust spot at $geometry" ff8000 $ENGINE 181.25 -25.62
  width=$(wall_width "$shot")
  [[ "$width" == "$pen" ]] || fail "cylinder wall $width pixels wide at $geometry, not $pen"
  # The margins beside the canvas and the rows below it stay in the background colour.
  [[ $(pixel "$shot" 0 $((SCREEN_H - 1))) == ffffff ]] || fail "corner at $geometry not white"
}

# screen dpi pen: the pen of DrawWidth 3 is round(3 z) pixels wide.
for case in "1016x830 96 3" "2560x1440 192 5" "1280x1024 96 4"; do
  read -r geometry dpi pen <<<"$case"
  start_xvfb "$dpi" "${geometry}x24"
  park_pointer
  start_program "$binary"
  xdotool key period  # step mode: the figure stands still
  shot="$WORK/$geometry.png"
  eventually 10 check_zoomed "$shot" "$geometry" "$pen"
  xdotool key Escape
  wait_exit 2 || fail "ESC at $geometry: status $?"
  kill "$XVFB_PID"
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
done

echo "zoom test passed"
