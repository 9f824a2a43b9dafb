#!/usr/bin/env bash
# On a 192-DPI display the picture keeps its 96-DPI proportions: the vertical unit and the
# pens are twice as large, while the horizontal unit still follows the window's width.
source "$(dirname "$0")/lib.sh"
binary=$1
ENGINE="-110 150 300"

# wall_width file y factor: how many pixels wide the Tessimo engine's left cylinder wall is.
wall_width() {
  read -r x y <<<"$(to_pixel $ENGINE -26.316 "$2" "$3")"
  convert "$1" -crop "41x1+$((x - 20))+$y" +repage -fill white +opaque black \
    -format "%[fx:round(w*(1-mean))]" info:
}

for dpi in 96 192; do
  factor=$((dpi / 96))
  start_xvfb "$dpi"
  park_pointer
  start_program "$binary"
  xdotool key period  # step mode: the figure stands still
  sleep 0.5
  screenshot "$WORK/$dpi.png"
  # The spots stand at their user points under the scaled vertical unit.
  expect_colour "$WORK/$dpi.png" "Tessimo spot at $dpi DPI" ff0000 $ENGINE -31.25 -82.08 "$factor"
  expect_colour "$WORK/$dpi.png" "Corvane exhaust spot at $dpi DPI" ff8000 \
    $ENGINE 181.25 -25.62 "$factor"
  width=$(wall_width "$WORK/$dpi.png" -20 "$factor")
  [[ "$width" == "$((3 * factor))" ]] || fail "cylinder wall $width pixels wide at $dpi DPI"
  xdotool key Escape
  wait_exit 2 || fail "ESC at $dpi DPI: status $?"
  kill "$XVFB_PID"
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
done

echo "hidpi test passed"
