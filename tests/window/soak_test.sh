#!/usr/bin/env bash
# Soak: the real window at 120 steps per second under random input for SOAK_SECONDS (30 by
# default; 600 for the long run). A tour through every view and option comes first, so that
# each has taken its memory once; resident memory must then stay within 1 MiB of its value
# after the first minute of the long run (the first fifth of a short one).
source "$(dirname "$0")/lib.sh"
binary=$1
seconds=${SOAK_SECONDS:-30}
settle=$((seconds >= 600 ? 60 : seconds / 5))

rss_kib() { awk '/VmRSS/ { print $2 }' "/proc/$PROGRAM_PID/status"; }

# One random input: pointer moves everywhere, keys that change view, colours, timings, step
# mode and graphs, and single clicks (never two within a double-click time).
keys=(space c C period comma a s l k p t slash A S L K P T 1 x Return)
random_input() {
  case $((RANDOM % 10)) in
    0 | 1 | 2 | 3 | 4) xdotool mousemove $((RANDOM % 1920)) $((RANDOM % 1080)) ;;
    5 | 6 | 7 | 8) xdotool key "${keys[RANDOM % ${#keys[@]}]}" ;;
    9)
      xdotool mousemove $((RANDOM % 1920)) $((RANDOM % 1080)) click 1
      sleep 0.6
      ;;
  esac
}

# Every view with its options once: graphs hidden and shown, labels, reversed colours, the
# automatic change in both graph views, the help page with a reversal on it.
tour() {
  local k
  for k in p p p t t c c space; do xdotool key $k; sleep 0.3; done
  xdotool mousemove 900 500 click 1; sleep 1.5; xdotool click 1; sleep 0.7
  xdotool key space; sleep 0.3
  xdotool mousemove 300 300 click 1; sleep 1.5; xdotool click 1; sleep 0.7
  for k in c c space c c space period comma; do xdotool key $k; sleep 0.3; done
}

RANDOM=7
start_xvfb 96
start_program "$binary"
echo "every view and option once"
tour
start=$SECONDS
baseline=
next_report=0
while ((SECONDS - start < seconds)); do
  random_input
  sleep 0.05
  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program died after $((SECONDS - start)) s"
  if ((SECONDS - start >= next_report)); then
    echo "$((SECONDS - start))s: $(rss_kib) KiB"
    next_report=$((next_report + (seconds >= 100 ? 10 : seconds / 10)))
  fi
  if [[ -z "$baseline" ]] && ((SECONDS - start >= settle)); then
    baseline=$(rss_kib)
    echo "resident memory after ${settle}s: $baseline KiB"
  fi
done
# End in step mode off and free running, then measure.
xdotool key comma
sleep 1
final=$(rss_kib)
echo "resident memory after ${seconds}s: $final KiB"
((final - baseline <= 1024)) || fail "resident memory grew by $((final - baseline)) KiB"
xdotool key Escape
wait_exit 2 || fail "ESC after the soak: status $?"
echo "soak test passed"
