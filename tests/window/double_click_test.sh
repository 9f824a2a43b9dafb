#!/usr/bin/env bash
# The double click in the real window, with the server's times and the window's pixels: two
# presses farther apart in time or place than the desktop's double click leave the program
# running; within them they end it, status 0. Without a settings manager that is 400 ms and
# 5 pixels; with one, what it publishes.
source "$(dirname "$0")/lib.sh"
binary=$1

# clicks x1 y1 pause x2 y2: a press at (x1, y1), another `pause` seconds later at (x2, y2),
# where a press changes nothing drawn (below the engines). Each pair starts far from the last.
clicks() { xdotool mousemove "$1" "$2" click 1 sleep "$3" mousemove "$4" "$5" click 1; }

# runs label clicks...: the program then takes a key (C: the colours reversed, the margin
# turns black or back to white), so it read the presses and ran on.
margin=ffffff
margin_is() {
  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "$1: the program ended"
  screenshot
  [[ $(colours 0 719) == "$margin" ]] || fail "$1: the key after the presses not taken"
}
runs() {
  clicks "${@:2}"
  xdotool key c
  margin=$([[ $margin == ffffff ]] && echo 000000 || echo ffffff)
  eventually 20 margin_is "$1"
}

ends() {
  clicks "${@:2}"
  wait_exit || fail "$1: exit status $?"
}

start_xvfb 96 1280x720x24
start_program "$binary"
runs "same place, 0.5 s" 600 660 0.5 600 660
runs "6 pixels apart, 0.1 s" 450 660 0.1 456 660
ends "5 pixels apart, 0.1 s" 300 660 0.1 305 655

# A settings manager as a desktop runs one: the selection _XSETTINGS_S0 owned by a window that
# carries the settings, here 900 ms and 40 pixels.
python3 - >"$WORK/xsettings.log" 2>&1 <<'PY' &
import ctypes as c, struct, time
x = c.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
d = c.c_void_p(x.XOpenDisplay(None))  # the rest are X ids, small enough for plain ints

# Each an integer: type 0, a pad byte, the name's length, the name padded to 4, serial, value.
data = b"l\0\0\0" + struct.pack("<II", 1, 2) + b"".join(
    struct.pack(f"<BBH{-(-len(n) // 4) * 4}sIi", 0, 0, len(n), n, 1, value)
    for n, value in ((b"Net/DoubleClickTime", 900), (b"Net/DoubleClickDistance", 40)))
w = x.XCreateSimpleWindow(d, x.XDefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0)
atom = x.XInternAtom(d, b"_XSETTINGS_SETTINGS", 0)
x.XChangeProperty(d, w, atom, atom, 8, 0, data, len(data))
x.XSetSelectionOwner(d, x.XInternAtom(d, b"_XSETTINGS_S0", 0), w, 0)
x.XSync(d, 0)
print("published", flush=True)
time.sleep(600)
PY
eventually 20 grep -q published "$WORK/xsettings.log"

margin=ffffff
start_program "$binary"
runs "desktop's time: same place, 1.2 s" 600 660 1.2 600 660
runs "desktop's distance: 41 pixels apart, 0.1 s" 450 660 0.1 491 660
# Beyond both of the fallback's limits: the desktop's time and distance are both needed.
ends "desktop's rule: 30 pixels apart, 0.6 s" 300 660 0.6 330 660
echo "double click test passed"
