#!/usr/bin/env bash
# The program's cost in a real 1920x1080 window under a private Xvfb: time from start to the
# first picture, CPU share in each state and resident memory. Usage: tools/measure-window.sh
# build/release/corvane [seconds per state, default 20]. Prints one line per figure.
source "$(dirname "$0")/../tests/window/lib.sh"
binary=$1
seconds=${2:-20}
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$PROGRAM_PID/stat"; }
rss_mib() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$PROGRAM_PID/status"; }

# measure label: the program's CPU over `seconds`, as a percentage of one core.
measure() {
  local t0 c0 t1 c1
  t0=$(date +%s%N) c0=$(cpu_ticks)
  sleep "$seconds"
  t1=$(date +%s%N) c1=$(cpu_ticks)
  awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) -v hz="$ticks" -v l="$1" -v r="$(rss_mib)" \
    'BEGIN { printf "%-34s %5.2f %% of a core, %s MiB resident\n", l, 100 * c / hz / (t / 1e9), r }'
}

start_xvfb
park_pointer
# The first picture: the conventional engine's left cylinder wall turns black.
read -r wx wy <<<"$(to_pixel -110 150 300 -26.316 -100)"
t0=$(date +%s%N)
"$binary" >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!
until [[ $(convert x:root[1x1+$wx+$wy] -format '%[hex:p{0,0}]' info: 2>/dev/null | cut -c1-6) == 000000 ]]; do
  (($(date +%s%N) - t0 < 10000000000)) || fail "no picture within 10 s"
done
echo "first picture after                $((($(date +%s%N) - t0) / 1000000)) ms (polled)"
sleep 2

measure "engines animating"
xdotool key period && measure "engines paused (step mode)"
xdotool key comma key space && sleep 1 && measure "crank-angle view, idle"
xdotool key space && sleep 1 && measure "time view, idle"
xdotool key space && sleep 1 && measure "help page"
xdotool key space && sleep 1 && measure "engines again, after every view"
xdotool key Escape
wait_exit 2
