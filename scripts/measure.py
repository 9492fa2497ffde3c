#!/usr/bin/env python3
"""Figures of the real program under Xvfb: start-up time with the outline caches present,
CPU time and memory while idle, and the delay from a datagram to its first character on the
screen, and from an answer on the teaching panel to the first character of the reply. Run
through scripts/measure.sh."""
import argparse
import ctypes
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from orvanel_e2e import Session, write_ini  # noqa: E402

CLK_TCK = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK  # utime + stime


def memory_kb(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Reads a window's pixels straight from the X server (a grab takes about a millisecond)."""

    ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)

    def __init__(self, display_name):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        # An unmapped window answers with an error; it must not end this script.
        self._handler = self.ERROR_HANDLER(lambda d, e: 0)
        self.x.XSetErrorHandler(self._handler)
        self.display = self.x.XOpenDisplay(display_name.encode())

    def press_key(self, keysym):
        """Presses and releases a key through XTEST at once (xdotool would first have to start)."""
        xtst = ctypes.CDLL("libXtst.so.6")
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                           ctypes.c_ulong]
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        code = self.x.XKeysymToKeycode(self.display, keysym)
        xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x.XSync(self.display, 0)

    def has_dark_pixels(self, window, box):
        x, y, w, h = box
        image = self.x.XGetImage(self.display, window, x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return False
        img = image.contents
        data = ctypes.string_at(img.data, img.bytes_per_line * img.height)
        step = img.bits_per_pixel // 8
        dark = False
        for row in range(img.height):
            line = data[row * img.bytes_per_line: row * img.bytes_per_line + w * step]
            # Black text among white: a pixel whose colour bytes are all low.
            for i in range(0, len(line), step):
                if line[i] < 0x60 and line[i + 1] < 0x60 and line[i + 2] < 0x60:
                    dark = True
                    break
            if dark:
                break
        self.x.XFree(img.data)
        self.x.XFree(ctypes.cast(image, ctypes.c_void_p))
        return dark


def measure_startup(s, folder, runs):
    times = []
    for _ in range(runs):
        p = s.start(folder)
        start = time.perf_counter()
        while "Boot Complete" not in p.trace():
            time.sleep(0.002)
        times.append((time.perf_counter() - start) * 1000)
        p.kill()
    return times


def start_watched_machine(s):
    """Everything the program watches, present and quiet: a window manager and private buses
    with UDisks2, logind, UPower and the desktop portal (python3-dbusmock, system Python)."""
    s.helper("openbox")
    buses = s.use_buses()
    buses.mock("org.freedesktop.login1", "/org/freedesktop/login1", None, template="logind")
    buses.mock("org.freedesktop.UPower", "/org/freedesktop/UPower", None, template="upower")
    buses.mock("org.freedesktop.UDisks2", "/org/freedesktop/UDisks2",
               "org.freedesktop.UDisks2.Manager", object_manager=True)
    buses.mock("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
               "org.freedesktop.portal.Settings", system=False)


def measure_idle(s, folder, seconds):
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(10)  # the start-up talk is over and its balloon closed
    before = cpu_seconds(p.proc.pid)
    time.sleep(seconds)
    used = cpu_seconds(p.proc.pid) - before
    rss, peak = memory_kb(p.proc.pid, "VmRSS"), memory_kb(p.proc.pid, "VmHWM")
    p.kill()
    return used, rss, peak


def measure_floor(s, binary, picture, runs, seconds):
    """The same figures for a bare Qt shaped window showing one picture, on the same display."""
    times = []
    for n in range(runs + 1):
        start = time.perf_counter()
        proc = subprocess.Popen([binary, picture], env=s.env, stdout=subprocess.PIPE, text=True)
        shown = proc.stdout.readline().strip() == "Shown"
        elapsed = (time.perf_counter() - start) * 1000
        if n < runs:
            proc.kill()
            proc.wait()
            if not shown:
                raise RuntimeError("the bare window did not show")
            times.append(elapsed)
    time.sleep(10)
    before = cpu_seconds(proc.pid)
    time.sleep(seconds)
    used = cpu_seconds(proc.pid) - before
    rss = memory_kb(proc.pid, "VmRSS")
    proc.kill()
    proc.wait()
    return times, used, rss


def ratio(ours, floor):
    return "%.1f×" % (ours / floor) if floor > 0 else "floor 0"


def measure_datagram(s, folder, trials):
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    screen = Screen(s.display.name)
    balloon = int(s.window("Orvanel - Balloon"))
    label = (13, 15, 260, 135)  # the default message area
    delays = []
    for _ in range(trials):
        p.send("\\h\\c　")  # the balloon shown, its label blank
        time.sleep(0.6)
        if screen.has_dark_pixels(balloon, label):
            continue
        start = time.perf_counter()
        p.send("\\h■■■■■■■■■■")
        while not screen.has_dark_pixels(balloon, label):
            if time.perf_counter() - start > 2:
                break
        delays.append((time.perf_counter() - start) * 1000)
    p.kill()
    return delays, 50


def measure_answer(s, folder, trials):
    """From the Enter key on the teaching panel to the first character of her reply: an input
    that starts a script while the main loop rests."""
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    screen = Screen(s.display.name)
    balloon = int(s.window("Orvanel - Balloon"))
    top = (13, 15, 260, 30)  # the first lines of the message area, above the teaching panel
    delays = []
    for n in range(trials):
        p.send("\\h\\c$learn[動物]")  # a question without words: the label cleared
        time.sleep(1.0)
        s.type("m%d" % n)
        time.sleep(0.8)  # the loop has rested since the question
        if screen.has_dark_pixels(balloon, top):
            continue
        start = time.perf_counter()
        screen.press_key(0xFF0D)  # Return
        while not screen.has_dark_pixels(balloon, top):
            if time.perf_counter() - start > 2:
                break
        delays.append((time.perf_counter() - start) * 1000)
        time.sleep(0.5)
    p.kill()
    return delays


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--default-data", required=True)
    parser.add_argument("--idle-seconds", type=int, default=60)
    parser.add_argument("--watched", action="store_true",
                        help="idle with every system-event source present (needs the "
                             "system's Python with python3-dbusmock)")
    parser.add_argument("--floor", help="a bare shaped window program (orvanel-bare-window) "
                        "to measure on the same display for comparison")
    parser.add_argument("--debug-window", action="store_true",
                        help="also measure the idle CPU with the debug window open")
    args = parser.parse_args()
    s = Session(args.binary, args.default_data, "/tmp", "measure")
    try:
        if args.watched:
            start_watched_machine(s)
        folder = s.prepared_folder()
        first = s.start(folder)  # builds the outline caches
        first.wait_trace("Main Timer Start")
        first.kill()

        boot = measure_startup(s, folder, 7)
        print("start to \"Boot Complete\", caches present: median %.0f ms, min %.0f, max %.0f"
              % (statistics.median(boot), min(boot), max(boot)))

        used, rss, peak = measure_idle(s, folder, args.idle_seconds)
        print("CPU while idle for %d s: %.2f s = %.2f %% of one core"
              % (args.idle_seconds, used, 100 * used / args.idle_seconds))
        print("resident memory: %.1f MB (peak %.1f MB)" % (rss / 1024, peak / 1024))

        if args.floor:
            picture = os.path.join(args.default_data, "kanami", "surface1.png")
            times, floor_used, floor_rss = measure_floor(s, args.floor, picture, 7,
                                                         args.idle_seconds)
            floor_boot = statistics.median(times)
            print("bare shaped window (floor), same display: start to shown median %.0f ms, "
                  "idle %.2f s = %.3f %% of one core, resident %.1f MB"
                  % (floor_boot, floor_used, 100 * floor_used / args.idle_seconds,
                     floor_rss / 1024))
            print("ours against the floor: start-up %s, idle CPU %s (+%.3f %% of one core), "
                  "resident %s (+%.1f MB)"
                  % (ratio(statistics.median(boot), floor_boot), ratio(used, floor_used),
                     100 * (used - floor_used) / args.idle_seconds, ratio(rss, floor_rss),
                     (rss - floor_rss) / 1024))

        if args.debug_window:
            debug = s.prepared_folder("debug")
            write_ini(os.path.join(debug, "tomu.ini"),
                      "[General]\r\nSkinFile=kanami.skn\r\nDebug=True\r\n"
                      "[User]\r\nName1=Test\r\nName2=Er\r\nCall=Tester\r\n")
            used, _, _ = measure_idle(s, debug, args.idle_seconds)
            print("CPU while idle with the debug window open: %.2f s = %.2f %% of one core"
                  % (used, 100 * used / args.idle_seconds))

        quiet = s.prepared_folder("silent")
        write_ini(os.path.join(quiet, "tomu.ini"),
                  "[General]\r\nSkinFile=kanami.skn\r\nSilent=True\r\n"
                  "[User]\r\nName1=Test\r\nName2=Er\r\nCall=Tester\r\n")
        delays, interval = measure_datagram(s, quiet, 15)
        print("datagram sent to first character on screen: median %.1f ms, max %.1f ms "
              "(%d trials; TimerInterval %d ms)"
              % (statistics.median(delays), max(delays), len(delays), interval))
        delays = measure_answer(s, quiet, 15)
        print("Enter on the teaching panel to the first character of her reply: median %.1f ms, "
              "max %.1f ms (%d trials; TimerInterval %d ms)"
              % (statistics.median(delays), max(delays), len(delays), interval))
    finally:
        s.close()


if __name__ == "__main__":
    main()
