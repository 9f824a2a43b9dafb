# A private Xvfb, the program in it, screenshots and their pixels, for the real-window tests
# and the tools that run the program (measurements, the package in a fresh Debian). Source
# it, then call start_xvfb and start_program. Nothing sleeps for a fixed time: `eventually`
# waits for what is expected.

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

