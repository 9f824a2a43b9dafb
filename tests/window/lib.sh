# Shared by the real-window tests: a private Xvfb, the program in it, screenshots, pixels and
# the four views recognised on the screen. Source it, then call start_xvfb and start_program.
# No check sleeps for a fixed time: each waits with `eventually` for what it expects.

set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  [[ -s "${WORK:-}/program.log" ]] && tail -n 20 "$WORK/program.log" >&2
  exit 1
}

# At the end, whatever was started in the background: the program, Xvfb, helpers.
cleanup() {
  kill $(jobs -p) 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

WORK=$(mktemp -d)
SHOT=$WORK/shot.png
# ScaleLeft ScaleTop ScaleWidth of each view; the time view's at the starting speed, rpm 8.
ENGINE="-110 150 300"
CRANK="-103 85 300"
TIME="-618 85 1800"
HELP="-115 165 300"

# start_xvfb [dpi] [geometry]: a server of its own, on the first free display number, which it
# writes once it takes connections. No window manager runs there: the window covers the
# screen, its client area from (0, 0) (CLIENT_W x CLIENT_H).
start_xvfb() {
  local size=${2:-1920x1080x24}
  size=${size%x*}
  CLIENT_W=${size%x*} CLIENT_H=${size#*x}
  Xvfb -displayfd 3 -screen 0 "${2:-1920x1080x24}" -dpi "${1:-96}" -noreset -nolisten tcp \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  for _ in $(seq 200); do [[ -s $WORK/display ]] && break || sleep 0.1; done
  [[ -s $WORK/display ]] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$(cat "$WORK/display")"
}

# start_program binary: runs it and waits for its window (WINDOW_ID). Input sent from then on
# waits in the window's queue until the program reads it.
start_program() {
  "$1" >"$WORK/program.log" 2>&1 &
  PROGRAM_PID=$!
  WINDOW_ID=$(timeout 20 xdotool search --sync --onlyvisible --name 'Corvane' | head -n 1) ||
    fail "the window did not appear"
}

# wait_exit: the program's exit status once it has ended; it has 20 s, then it is killed.
wait_exit() {
  local status=0 watchdog
  (sleep 20 && kill -9 "$PROGRAM_PID") >/dev/null 2>&1 &
  watchdog=$!
  wait "$PROGRAM_PID" || status=$?
  kill "$watchdog" 2>/dev/null || fail "the program still ran 20 s later"
  PROGRAM_PID=
  return "$status"
}

# eventually seconds command...: runs a check until it passes, so that a slow machine only
# makes the test slower; fails with the check's last complaint when the time is up.
eventually() {
  local limit=$1 out
  shift
  local deadline=$((SECONDS + limit))
  until out=$("$@" 2>&1); do
    ((SECONDS < deadline)) || fail "${out#FAIL: }"
    sleep 0.1
  done
}

# screenshot [file]: the whole screen as PNG (by default SHOT).
screenshot() { import -window root "${1:-$SHOT}"; }

# pixel file x y: the colour at (x, y) as rrggbb.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info:- | tr 'A-F' 'a-f' | cut -c1-6; }

# to_pixel left top width x y: the client pixel of user point (x, y) under the scale
# (ScaleLeft, ScaleTop, ScaleWidth). The 1016 x 830 design canvas is zoomed by
# z = min(W / 1016, H / 830), stands at the top and is centred across; a vertical unit is
# 25.33735 twips at 15 twips a pixel, times z.
to_pixel() {
  awk -v l="$1" -v t="$2" -v w="$3" -v x="$4" -v y="$5" -v W="$CLIENT_W" -v H="$CLIENT_H" 'BEGIN {
      z = W / 1016 < H / 830 ? W / 1016 : H / 830
      ox = int((W - 1016 * z) / 2 + 0.5)
      printf "%d %d", int(ox + (x - l) * 1016 * z / w), int((t - y) * 25.33735 / 15 * z)
    }'
}

# expect_colour label rrggbb left top width x y: SHOT's colour at a user point.
expect_colour() {
  local label=$1 want=$2 got
  shift 2
  got=$(pixel "$SHOT" $(to_pixel "$@"))
  [[ $got == "$want" ]] || fail "$label: $got at user point ($4, $5), expected $want"
}

# count_colour rrggbb: how many of SHOT's pixels have exactly that colour.
count_colour() {
  convert "$SHOT" -fill black +opaque "#$1" -fill white -opaque "#$1" \
    -format "%[fx:round(w*h*mean)]\n" info:
}

# expect_view view: a screenshot that shows the view (engine, crank, time or help), each known
# by colours that only it has at those places, in the starting colours.
expect_view() {
  screenshot
  case $1 in
  engine)
    expect_colour "Tessimo spot" ff0000 $ENGINE -31.25 -82.08
    expect_colour "Lumivent spot" 00ffff $ENGINE 43.75 -82.08
    expect_colour "Corvane intake spot" 00c0c0 $ENGINE 118.75 -82.08
    expect_colour "Corvane exhaust spot" ff8000 $ENGINE 181.25 -25.62
    # The margin (or the canvas's empty corner) in the background colour.
    [[ $(pixel "$SHOT" 0 $((CLIENT_H - 1))) == ffffff ]] || fail "client area's corner not white"
    ;;
  crank)
    expect_colour "crank-angle view: top area" 00ff00 $CRANK -71 -54
    expect_colour "crank-angle view: middle area" ff0000 $CRANK -71 -204
    expect_colour "crank-angle view: bottom area" 0000ff $CRANK 60 -300
    ;;
  time) # the bottom area narrower than in the crank-angle view
    expect_colour "time view: bottom area" 0000ff $TIME 60 -300
    expect_colour "time view: beyond the curves" ffffff $CRANK 60 -300
    ;;
  help) # text along the first line, no figure below it
    local ink
    ink=$(convert "$SHOT" -crop "900x20+$(to_pixel $HELP -102 150 | tr ' ' +)" +repage \
      -fill black +opaque white -format "%[fx:1-mean]" info:)
    awk -v i="$ink" 'BEGIN { exit !(i > 0.02 && i < 0.5) }' || fail "help page: ink $ink on line 1"
    expect_colour "no figure on the help page" ffffff $ENGINE -31.25 -82.08
    ;;
  esac
}

# still, moving: whether two screenshots in a row are alike.
twice_alike() { screenshot "$WORK/before.png" && screenshot && cmp -s "$SHOT" "$WORK/before.png"; }
still() { twice_alike || fail "the picture moves"; }
moving() { ! twice_alike || fail "the picture stands still"; }
