#!/usr/bin/env bash
# The double click in the real window: two presses farther apart in time or place than the
# desktop's double click leave the program running; within them they end it. Without a
# settings manager that is 400 ms and 5 pixels; with one, what it publishes.
source "$(dirname "$0")/lib.sh"
binary=$1

start_xvfb

# clicks label expect x1 y1 pause x2 y2: a press at (x1, y1), another `pause` seconds later at
# (x2, y2); expect "runs" or "ends".
clicks() {
  local label=$1 expect=$2
  xdotool mousemove "$3" "$4"
  start_program "$binary"
  xdotool click 1 sleep "$5" mousemove "$6" "$7" click 1
  # A slow build (the sanitizers') may take a while to read the presses: it has 4 s to end.
  local state
  for _ in $(seq 80); do
    state=$(awk '{ print $3 }' "/proc/$PROGRAM_PID/stat" 2>/dev/null || echo gone)
    [[ $state =~ ^[RSD]$ ]] || break # an ended child stays as a zombie until waited for
    sleep 0.05
  done
  if [[ $state =~ ^[RSD]$ ]]; then
    [[ $expect == runs ]] || fail "$label: the program runs on"
    kill "$PROGRAM_PID"
    wait "$PROGRAM_PID" 2>/dev/null || true
    PROGRAM_PID=
  else
    [[ $expect == ends ]] || fail "$label: the program ended"
    wait_exit 1 || fail "$label: exit status $?"
  fi
}

# The pointer well inside the window, below the engines, where a press changes nothing drawn.
clicks "same place, 0.1 s" ends 900 1000 0.1 900 1000
clicks "5 pixels apart, 0.1 s" ends 900 1000 0.1 905 995
clicks "same place, 0.5 s" runs 900 1000 0.5 900 1000
clicks "6 pixels apart, 0.1 s" runs 900 1000 0.1 906 1000
clicks "30 pixels apart, 0.1 s" runs 900 1000 0.1 900 1030

# A settings manager as a desktop runs one: the selection _XSETTINGS_S0 owned by a window that
# carries the settings, here 900 ms and 40 pixels.
python3 - >"$WORK/xsettings.log" 2>&1 <<'PY' &
import ctypes, struct, time
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
x11.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                   ctypes.c_ulong]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

def setting(name, value):
    n = name.encode()
    return struct.pack("<BBH", 0, 0, len(n)) + n + b"\0" * (-len(n) % 4) + \
        struct.pack("<Ii", 1, value)

body = setting("Net/DoubleClickTime", 900) + setting("Net/DoubleClickDistance", 40)
data = b"l\0\0\0" + struct.pack("<II", 1, 2) + body
d = x11.XOpenDisplay(None)
w = x11.XCreateSimpleWindow(d, x11.XDefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0)
atom = x11.XInternAtom(d, b"_XSETTINGS_SETTINGS", 0)
x11.XChangeProperty(d, w, atom, atom, 8, 0, data, len(data))
x11.XSetSelectionOwner(d, x11.XInternAtom(d, b"_XSETTINGS_S0", 0), w, 0)
x11.XSync(d, 0)
print("published", flush=True)
time.sleep(600)
PY
settings_pid=$!
for _ in $(seq 50); do
  grep -q published "$WORK/xsettings.log" && break
  sleep 0.1
done
grep -q published "$WORK/xsettings.log" || fail "no settings manager: $(cat "$WORK/xsettings.log")"

clicks "desktop's rule: same place, 0.6 s" ends 900 1000 0.6 900 1000
clicks "desktop's rule: 30 pixels apart, 0.1 s" ends 900 1000 0.1 900 1030
clicks "desktop's rule: same place, 1.2 s" runs 900 1000 1.2 900 1000
kill "$settings_pid"

echo "double click test passed"
