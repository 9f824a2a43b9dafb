# Shared by the real-window tests: a private Xvfb, the program in it, screenshots, pixels.
# Source it, then call start_xvfb and start_program "$binary".

set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  [[ -s "${WORK:-}/program.log" ]] && tail -n 20 "$WORK/program.log" >&2
  exit 1
}

cleanup() {
  [[ -n "${PROGRAM_PID:-}" ]] && kill "$PROGRAM_PID" 2>/dev/null || true
  [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null || true
  [[ -n "${WORK:-}" ]] && rm -rf "$WORK"
}
trap cleanup EXIT

WORK=$(mktemp -d)

# start_xvfb [dpi] [geometry]: a server of its own on a free display number.
start_xvfb() {
  local dpi=${1:-96} geometry=${2:-1920x1080x24}
  SCREEN_W=${geometry%%x*}
  SCREEN_H=${geometry#*x}
  SCREEN_H=${SCREEN_H%%x*}
  for n in $(seq $((100 + RANDOM % 400)) 600); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 "$geometry" -dpi "$dpi" -noreset -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdotool getmouselocation >/dev/null 2>&1 && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  fail "no Xvfb could be started"
}

# start_program binary: runs it and waits for its window (WINDOW_ID).
start_program() {
  "$1" >"$WORK/program.log" 2>&1 &
  PROGRAM_PID=$!
  WINDOW_ID=$(timeout 10 xdotool search --sync --onlyvisible --name 'Corvane' | head -n 1) ||
    fail "the window did not appear"
  sleep 0.5
}

# wait_exit seconds: the program's exit status, or fail if it is still running then.
wait_exit() {
  local limit=$1
  for _ in $(seq $((limit * 20))); do
    if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
      local status=0
      wait "$PROGRAM_PID" || status=$?
      PROGRAM_PID=
      return "$status"
    fi
    sleep 0.05
  done
  fail "the program was still running after ${limit}s"
}

# eventually seconds command...: runs a check (which takes its own screenshot) until it
# passes, so that a slow machine only makes the test slower; fails with the check's last
# complaint when the time is up.
eventually() {
  local limit=$1 out
  shift
  local deadline=$((SECONDS + limit))
  until out=$("$@" 2>&1); do
    ((SECONDS < deadline)) || fail "${out#FAIL: }"
    sleep 0.1
  done
}

# screenshot file: the whole screen as PNG.
screenshot() { import -window root "$1"; }

# pixel file x y: the colour at (x, y) as rrggbb.
pixel() {
  convert "$1" -format "%[hex:p{$2,$3}]" info:- | tr 'A-F' 'a-f' | cut -c1-6
}

# to_pixel left top width x y: the client pixel of user point (x, y) under the scale
# (ScaleLeft, ScaleTop, ScaleWidth) on a client area of SCREEN_W x SCREEN_H pixels (the whole
# screen: no window manager runs here). The 1016 x 830 design canvas is zoomed by
# z = min(W / 1016, H / 830), stands at the top and is centred across; a vertical unit is
# 25.33735 twips at 15 twips a pixel, times z.
to_pixel() {
  awk -v l="$1" -v t="$2" -v w="$3" -v x="$4" -v y="$5" -v W="${SCREEN_W:-1920}" \
    -v H="${SCREEN_H:-1080}" 'BEGIN {
      z = W / 1016 < H / 830 ? W / 1016 : H / 830
      ox = int((W - 1016 * z) / 2 + 0.5)
      printf "%d %d", int(ox + (x - l) * 1016 * z / w), int((t - y) * 25.33735 / 15 * z)
    }'
}

# colour_at file left top width x y [factor]: the colour at a user point, as rrggbb.
colour_at() {
  local file=$1
  shift
  pixel "$file" $(to_pixel "$@")
}

# expect_colour file label rrggbb left top width x y [factor]
expect_colour() {
  local file=$1 label=$2 want=$3
  shift 3
  local got
  got=$(colour_at "$file" "$@")
  [[ "$got" == "$want" ]] || fail "$label: $got at user point ($4, $5), expected $want"
}

# ink_in file w h x y background: the fraction of the rectangle's pixels that are not the
# background colour (rrggbb).
ink_in() {
  local file=$1 w=$2 h=$3 x=$4 y=$5 background=$6
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -fill "#123456" -opaque "#$background" \
    -fill black +opaque "#123456" -fill white -opaque "#123456" -format "%[fx:1-mean]" info:
}

# park_pointer: the pointer in the bottom-right corner, outside every zone that sets a timing.
park_pointer() { xdotool mousemove $((SCREEN_W - 5)) $((SCREEN_H - 5)); }
