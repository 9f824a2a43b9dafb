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

RANDOM=7
start_xvfb 96
start_program "$binary"
# Every view with its options once: graphs hidden and shown, labels, reversed colours, the
# automatic change in both graph views (the pointer then sets rpm 8 and load 0 again), the
# help page with a reversal on it, step mode.
echo "every view and option once"
p0=$(to_pixel $CRANK 68 -33)
xdotool mousemove $p0 key p p p t t c c space
for view in crank time; do
  eventually 20 expect_view $view
  xdotool sleep 0.5 click 1 # never a double click with the click before
  eventually 20 moving
  xdotool sleep 0.5 click 1 mousemove 0 0 mousemove $p0 key c c space
done
eventually 20 expect_view help
xdotool key c c space period comma
eventually 20 moving # the engines run again

# Then random input, five events to an xdotool call: pointer moves everywhere, keys that
# change view, colours, timings, step mode and graphs, and single clicks (never two within a
# double-click time).
keys=(space c C period comma a s l k p t slash A S L K P T 1 x Return)
start=$SECONDS baseline= next_report=0
while ((SECONDS - start < seconds)); do
  input=()
  for _ in 1 2 3 4 5; do
    case $((RANDOM % 10)) in
    0 | 1 | 2 | 3 | 4) input+=(mousemove $((RANDOM % 1920)) $((RANDOM % 1080))) ;;
    5 | 6 | 7 | 8) input+=(key "${keys[RANDOM % ${#keys[@]}]}") ;;
    9) input+=(mousemove $((RANDOM % 1920)) $((RANDOM % 1080)) click 1 sleep 0.6) ;;
    esac
  done
  xdotool "${input[@]}" sleep 0.05
  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program died after $((SECONDS - start)) s"
  if ((SECONDS - start >= next_report)); then
    echo "$((SECONDS - start))s: $(rss_kib) KiB"
    next_report=$((next_report + (seconds >= 100 ? 10 : seconds / 10)))
  fi
  ((SECONDS - start < settle)) || baseline=${baseline:-$(rss_kib)}
done
final=$(rss_kib)
echo "resident memory after ${settle}s: $baseline KiB, after ${seconds}s: $final KiB"
((final - baseline <= 1024)) || fail "resident memory grew by $((final - baseline)) KiB"
xdotool key Escape
wait_exit || fail "ESC after the soak: status $?"
echo "soak test passed"
