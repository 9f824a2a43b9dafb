#!/usr/bin/env bash
# On any screen and at any window size the picture is the design canvas zoomed to fit: the
# spots stand where the zoom puts their user points, the pens grow with it, the margins stay
# in the background colour. A screen of twice the usual resolution (192 dpi) changes nothing:
# the sizes are its whole screen, then the window made smaller.
source "$(dirname "$0")/lib.sh"
binary=$1

# zoomed pen: the engine view at the zoom, and the Tessimo engine's left cylinder wall (pen 3)
# round(3 z) pixels wide at y = -20.
zoomed() {
  expect_view engine
  local x y width
  read -r x y <<<"$(to_pixel $ENGINE -26.316 -20)"
  width=$(convert "$SHOT" -crop "41x1+$((x - 20))+$y" +repage -fill white +opaque black \
    -format "%[fx:round(w*(1-mean))]" info:)
  ((width == $1)) || fail "cylinder wall $width pixels wide at ${CLIENT_W}x$CLIENT_H, not $1"
}

start_xvfb 192 2560x1440x24
xdotool mousemove 2555 1435 # outside every zone that sets a timing
start_program "$binary"
eventually 30 zoomed 5
for size in "1280 1024 4" "1016 830 3"; do
  read -r CLIENT_W CLIENT_H pen <<<"$size"
  xdotool windowsize "$WINDOW_ID" "$CLIENT_W" "$CLIENT_H" mousemove 1000 820 # over the window
  eventually 20 zoomed "$pen"
done
xdotool key Escape
wait_exit || fail "ESC: exit status $?"
echo "zoom test passed"
