#!/usr/bin/env python3
"""Input latency of the program in a real window: from an XTEST key press to its visible effect
(the space bar's next view on the screen) and from ESC to the process's exit, in each state.

Usage: tools/latency.py binary [runs [state]]   (DISPLAY: a 1920x1080 Xvfb with no window manager)
Prints one line per state and figure: median and worst of `runs` presses, in milliseconds;
with a state, only the states whose names contain it.
       tools/latency.py --first-picture binary x y
Starts the program and prints the milliseconds until the screen pixel (x, y) turns red (-1 after
10 s) and the program's process id, which it leaves running.
"""
import ctypes
import os
import random
import select
import statistics
import subprocess
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 2 + [ctypes.c_ulong, ctypes.c_int]
x11.XGetImage.restype = ctypes.c_void_p
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                      ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_ulong]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int)]


display = x11.XOpenDisplay(None)
if not display:
    sys.exit("latency.py: no display")
root = x11.XDefaultRootWindow(display)

# Screen rectangles (x, y, w, h at 1920x1080) that one view shows unchanged while it runs, also
# under the automatic change, and the next view draws differently: the title "Normal Engine",
# the end of the speed gauge, the title "Tessimo" and the help page's first line.
ENGINE_TITLE = (490, 10, 60, 30)
GAUGE_END = (1033, 154, 5, 5)
GRAPH_TITLE = (1197, 219, 80, 20)
HELP_LINE = (356, 36, 300, 14)


def grab(rect):
    x, y, w, h = rect
    image = x11.XGetImage(display, root, x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
    im = ctypes.cast(image, ctypes.POINTER(XImage)).contents
    data = ctypes.string_at(im.data, im.bytes_per_line * im.height)
    x11.XDestroyImage(image)
    return data


def inked(rect):
    return any(b != 0xFF for i, b in enumerate(grab(rect)) if i % 4 != 3)


def key(name):
    code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(name.encode()))
    xtst.XTestFakeKeyEvent(display, code, 1, 0)
    xtst.XTestFakeKeyEvent(display, code, 0, 0)
    x11.XFlush(display)


def click():
    xtst.XTestFakeButtonEvent(display, 1, 1, 0)
    xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    x11.XFlush(display)


def press(keys):
    for k in keys:
        click() if k == "click" else key(k)
        time.sleep(0.25)


# The states: keys from the start that bring the program there, and the rectangle that the
# space bar there changes. Three space bars after that one bring it back to the same state.
SPACE3 = ["space"] * 3
STATES = [
    ("engines animating", [], ENGINE_TITLE, SPACE3),
    ("engines in step mode", ["period"], ENGINE_TITLE, SPACE3 + ["period"]),
    ("crank-angle view, idle", ["space"], GAUGE_END, SPACE3),
    ("crank-angle view, automatic change", ["space", "click"], GAUGE_END, SPACE3),
    ("time view, idle", ["space"] * 2, GRAPH_TITLE, SPACE3),
    ("time view, automatic change", ["space"] * 2 + ["click"], GRAPH_TITLE, SPACE3),
    ("time view, automatic change, '/'", ["space"] * 2 + ["click", "slash"], GRAPH_TITLE,
     SPACE3),
    ("help page", SPACE3, HELP_LINE, SPACE3),
]


def start(binary):
    # The pointer out of every zone that sets a speed or a timing, where it sets a load of
    # about 80 %: from there the automatic change walks on (at the right-hand edge the load
    # would be over 100 % and every step taken back).
    xtst.XTestFakeMotionEvent(display, -1, 1436, 1060, 0)
    x11.XSync(display, 0)
    program = subprocess.Popen([binary], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    limit = time.monotonic() + 10
    while not inked(ENGINE_TITLE):
        if time.monotonic() > limit or program.poll() is not None:
            program.kill()
            sys.exit("latency.py: no picture within 10 s")
        time.sleep(0.005)
    time.sleep(0.3)
    return program


def space_latency(rect):
    before = grab(rect)
    t0 = time.monotonic()
    key("space")
    while grab(rect) == before:
        if time.monotonic() - t0 > 5:
            return None
        time.sleep(0.0005)
    return time.monotonic() - t0


def settle(seconds):
    """Waits that long and up to 0.1 s more, at random: a key then meets the automatic change at
    any point of its 53 ms cycle, not at the one that a fixed wait after the click would give."""
    time.sleep(seconds + random.uniform(0, 0.1))


def esc_latency(program):
    # The process's descriptor turns readable the moment it ends; Popen.wait with a timeout
    # would look at doubling intervals and round the figure up to 16, 32, 64 or 114 ms.
    pidfd = os.pidfd_open(program.pid)
    t0 = time.monotonic()
    key("Escape")
    ended, _, _ = select.select([pidfd], [], [], 5)
    elapsed = time.monotonic() - t0
    os.close(pidfd)
    if not ended:
        program.kill()
    program.wait()
    return elapsed if ended else None


def report(label, figures):
    done = [f for f in figures if f is not None]
    missed = len(figures) - len(done)
    if not done:
        print(f"{label:58} no effect within 5 s")
        return
    line = f"{label:58} median {1000 * statistics.median(done):6.1f} ms, " \
           f"worst {1000 * max(done):6.1f} ms of {len(done)}"
    print(line + (f" ({missed} with no effect within 5 s)" if missed else ""), flush=True)


def first_picture(binary, x, y):
    start_time = time.monotonic()
    program = subprocess.Popen([binary], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while time.monotonic() - start_time < 10:
        blue, green, red = grab((x, y, 1, 1))[:3]
        if (red, green, blue) == (0xFF, 0, 0):
            return round((time.monotonic() - start_time) * 1000), program.pid
        time.sleep(0.002)
    return -1, program.pid


def main():
    if sys.argv[1] == "--first-picture":
        print(*first_picture(sys.argv[2], int(sys.argv[3]), int(sys.argv[4])))
        return
    binary = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    only = sys.argv[3] if len(sys.argv) > 3 else None
    for label, keys, rect, back in STATES:
        if only and only not in label:
            continue
        program = start(binary)
        press(keys)
        time.sleep(0.5)
        spaces = []
        for _ in range(runs):
            spaces.append(space_latency(rect))
            press(back)
            settle(0.3)
        program.kill()
        program.wait()
        report(f"space bar -> next view: {label}", spaces)
    for label, keys, _, _ in STATES:
        if only and only not in label:
            continue
        escs = []
        for _ in range(runs):
            program = start(binary)
            press(keys)
            settle(0.5)
            escs.append(esc_latency(program))
        report(f"ESC -> exit: {label}", escs)


main()
