#!/usr/bin/env bash
# The program's cost in a real 1920x1080 window under a private Xvfb: time from start to the
# first picture, CPU share in each state (the program's and the X server's) and resident
# memory; then the input latency in each state (tools/latency.py, LATENCY_RUNS presses each,
# default 20). Usage: tools/measure-window.sh build/release/corvane [seconds per state,
# default 20]. Prints one line per figure.
source "$(dirname "$0")/xsession.sh"
binary=$1
seconds=${2:-20}
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_mib() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$PROGRAM_PID/status"; }

# measure label: the CPU of the program and of the X server over `seconds`, each as a
# percentage of one core.
measure() {
  local t0 c0 x0 t1 c1 x1
  t0=$(date +%s%N) c0=$(cpu_ticks "$PROGRAM_PID") x0=$(cpu_ticks "$XVFB_PID")
  sleep "$seconds"
  t1=$(date +%s%N) c1=$(cpu_ticks "$PROGRAM_PID") x1=$(cpu_ticks "$XVFB_PID")
  awk -v c=$((c1 - c0)) -v x=$((x1 - x0)) -v t=$((t1 - t0)) -v hz="$ticks" -v l="$1" \
    -v r="$(rss_mib)" 'BEGIN {
      s = hz * t / 1e9
      printf "%-40s %5.2f %% of a core, X server %5.2f %%, %s MiB resident\n", l, 100 * c / s,
        100 * x / s, r
    }'
}

start_xvfb
xdotool mousemove 1915 1075 # outside every zone that sets a timing
# The first picture: the Tessimo engine's red solenoid spot appears (the empty screen of Xvfb
# has black and white pixels, but no red ones). One process starts the program and reads that
# pixel every 2 ms through Xlib, as ImageMagick would take 40 ms a reading.
read -r wx wy <<<"$(to_pixel -110 150 300 -31.25 -82.08)"
read -r first PROGRAM_PID < <(python3 "$(dirname "$0")/latency.py" --first-picture "$binary" "$wx" "$wy")
((first >= 0)) || fail "no picture within 10 s"
echo "first picture after                $first ms"
sleep 2

measure "engines animating"
xdotool key period && measure "engines paused (step mode)"
xdotool key comma key space && sleep 1 && measure "crank-angle view, idle"
# The automatic change with the pointer where it sets a load of about 80 % and no timing: at
# the right-hand edge the load would be over 100 % and every step of the walk taken back.
xdotool mousemove 1436 1060 click 1 && sleep 1 && measure "crank-angle view, automatic change"
xdotool key space && sleep 1 && measure "time view, automatic change"
xdotool key slash && sleep 1 && measure "time view, automatic change, '/'"
xdotool key slash click 1 && sleep 1 && measure "time view, idle"
xdotool key space && sleep 1 && measure "help page"
xdotool key space && sleep 1 && measure "engines again, after every view"
# The program is the poller's child, not this shell's: watch it go.
xdotool key Escape
for _ in $(seq 40); do
  kill -0 "$PROGRAM_PID" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$PROGRAM_PID" 2>/dev/null && fail "the program did not quit on ESC"
PROGRAM_PID=
if ((${LATENCY_RUNS:-20} > 0)); then
  python3 "$(dirname "$0")/latency.py" "$binary" "${LATENCY_RUNS:-20}"
fi
