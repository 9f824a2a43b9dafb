#!/usr/bin/env bash
# ESC ends the program at once also where a pass draws for longer than a frame: the time view
# under the automatic change, where every pass waits 50 ms besides. Six tries, each at another
# point of the walk; each must end within 0.3 s of the key press.
source "$(dirname "$0")/lib.sh"
binary=$1
# What is measured is the program's answer, not the leak check that the sanitizers' build
# runs at its exit (other tests watch for leaks).
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
limit_ms=300

start_xvfb
# The pointer where it sets rpm 8 and a load of about 80 %, and no timing: from there the walk
# moves on (at the right-hand edge it would ask for more than 100 % and stand still).
xdotool mousemove $(to_pixel $CRANK 144 -33)
for try in $(seq 6); do
  start_program "$binary"
  xdotool key space space
  eventually 20 expect_view time
  xdotool click 1 # the automatic change: the picture moves
  eventually 20 moving
  sleep 0.$((RANDOM % 10)) # at a different point of the walk each time
  xdotool key Escape # the clock starts once the key has been sent
  start=$(date +%s%N)
  wait_exit || fail "try $try: exit status $?"
  elapsed=$((($(date +%s%N) - start) / 1000000))
  echo "try $try: $elapsed ms"
  ((elapsed <= limit_ms)) || fail "try $try: ESC took $elapsed ms (at most $limit_ms)"
done
echo "latency test passed: ESC in the time view under the automatic change"
