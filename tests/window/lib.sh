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
SHOT=$WORK/shot.ppm # a raw format: quicker to write and to read than PNG
# ScaleLeft ScaleTop ScaleWidth of each view; the time view's at the starting speed, rpm 8.
ENGINE="-110 150 300"
CRANK="-103 85 300"
TIME="-618 85 1800"
HELP="-115 165 300"

# start_xvfb [dpi] [geometry]: a server of its own, on the first free display number, which it
# writes once it takes connections. No window manager runs there: the window covers the
# screen, its client area from (0, 0) (CLIENT_W x CLIENT_H).
start_xvfb() {
  local geometry=${2:-1920x1080x24}
  read -r CLIENT_W CLIENT_H _ <<<"${geometry//x/ }"
  Xvfb -displayfd 3 -screen 0 "$geometry" -dpi "${1:-96}" -noreset -nolisten tcp \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 200); do [[ -s $WORK/display ]] && break || sleep 0.1; done
  [[ -s $WORK/display ]] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$(cat "$WORK/display")"
}

# start_program binary: runs it and waits for its window (WINDOW_ID). Input sent from then on
# waits in the window's queue until the program reads it. (A search may meet a window that
# goes away meanwhile, an X error: it is tried again.)
start_program() {
  "$1" >"$WORK/program.log" 2>&1 &
  PROGRAM_PID=$!
  WINDOW_ID=$(eventually 30 window_shown | head -n 1)
}
window_shown() { xdotool search --onlyvisible --name Corvane 2>/dev/null || fail "no window"; }

# wait_exit: the program's exit status once it has ended; it has 20 s, then it is killed. The
# watchdog is a copy of this shell: it is stopped with SIGKILL, since on SIGTERM it might run
# this shell's cleanup.
wait_exit() {
  local status=0 watchdog
  (sleep 20 && kill -9 "$PROGRAM_PID") >/dev/null 2>&1 &
  watchdog=$!
  wait "$PROGRAM_PID" || status=$?
  kill -9 "$watchdog" 2>/dev/null || fail "the program still ran 20 s later"
  wait "$watchdog" 2>/dev/null || true
  PROGRAM_PID=
  return "$status"
}

# eventually seconds command...: runs a check until it passes, so that a slow machine only
# makes the test slower, and prints what it printed then; fails with the check's last
# complaint when the time is up.
eventually() {
  local deadline=$((SECONDS + $1)) out
  shift
  until out=$("$@" 2>&1); do
    ((SECONDS < deadline)) || fail "${out#FAIL: }"
    sleep 0.1
  done
  [[ -z $out ]] || echo "$out"
}

# screenshot [file]: the whole screen (by default into SHOT).
screenshot() { import -window root -depth 8 "${1:-$SHOT}"; }

# colours x y...: SHOT's colours at those pixels, as rrggbb, read in one go.
colours() {
  local format=
  while (($#)); do format+="%[hex:p{$1,$2}] " && shift 2; done
  echo $(convert "$SHOT" -format "$format" info: | tr 'A-F' 'a-f')
}

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

# expect_colours left top width (label rrggbb x y)...: SHOT's colours at user points under a
# view's scale.
expect_colours() {
  local scale="$1 $2 $3" labels= want= points=() got
  shift 3
  while (($#)); do
    labels+="$1, " want+="$2 " points+=($(to_pixel $scale "$3" "$4")) && shift 4
  done
  got=$(colours "${points[@]}")
  [[ "$got " == "$want" ]] || fail "${labels%, }: $got, expected ${want% }"
}

# expect_view view: a screenshot that shows the view (engine, crank, time or help), each known
# by colours that only it has at those places, in the starting colours.
expect_view() {
  screenshot
  case $1 in
  engine)
    expect_colours $ENGINE "Tessimo spot" ff0000 -31.25 -82.08 "Lumivent spot" 00ffff 43.75 -82.08 \
      "Corvane intake spot" 00c0c0 118.75 -82.08 "Corvane exhaust spot" ff8000 181.25 -25.62
    # The margin (or the canvas's empty corner) in the background colour.
    [[ $(colours 0 $((CLIENT_H - 1))) == ffffff ]] || fail "client area's corner not white"
    ;;
  crank)
    expect_colours $CRANK "crank-angle view: top area" 00ff00 -71 -54 \
      "middle area" ff0000 -71 -204 "bottom area" 0000ff 60 -300
    ;;
  time) # the bottom area narrower than in the crank-angle view
    expect_colours $TIME "time view: bottom area" 0000ff 60 -300
    expect_colours $CRANK "time view: beyond the curves" ffffff 60 -300
    ;;
  help) # text along the first line, no figure below it
    local ink line
    line="$((CLIENT_W / 2))x20+$(to_pixel $HELP -102 150 | tr ' ' +)"
    ink=$(convert "$SHOT" -crop "$line" -fill black +opaque white -format "%[fx:1-mean]" info:)
    awk -v i="$ink" 'BEGIN { exit !(i > 0.02 && i < 0.5) }' || fail "help page: ink $ink on line 1"
    expect_colours $ENGINE "no figure on the help page" ffffff -31.25 -82.08
    ;;
  esac
}

# still, moving: whether two screenshots in a row are alike.
twice_alike() { screenshot "$WORK/before.ppm" && screenshot && cmp -s "$SHOT" "$WORK/before.ppm"; }
still() { twice_alike || fail "the picture moves"; }
moving() { ! twice_alike || fail "the picture stands still"; }
