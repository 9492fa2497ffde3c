"""Helpers for driving the real orvanel binary on its own X display (Xvfb)."""
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def start_display(argv, what):
    """Starts an X server that writes its display number to the fd after -displayfd."""
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(argv[:1] + ["-displayfd", str(write_fd)] + argv[1:],
                            pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    with os.fdopen(read_fd, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                proc.wait(timeout=10)
                raise Failure(what + " did not start")
            number += chunk
    return proc, ":" + number.decode().strip()


class Display:
    """An Xvfb server on a display number it picks itself."""

    def __init__(self, size="1280x800x24"):
        # -noreset: between two clients the server would be gone for a moment.
        self.proc, self.name = start_display(
            ["Xvfb", "-screen", "0", size, "-nolisten", "tcp", "-noreset"], "Xvfb")

    def close(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)


XORG_DUMMY_CONF = """Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1280x800" 83.50 1280 1352 1480 1680 800 803 809 831 -hsync +vsync
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1280x800" "1024x768"
  EndSubSection
EndSection
"""


class XorgDisplay:
    """A real X server with the dummy video driver: unlike Xvfb it switches modes (xrandr)."""

    def __init__(self, tmp):
        conf = os.path.join(tmp, "xorg-dummy.conf")
        with open(conf, "w") as f:
            f.write(XORG_DUMMY_CONF)
        self.proc, self.name = start_display(
            ["Xorg", "-config", conf, "-configdir", os.path.join(tmp, "no-xorg.conf.d"),
             "-logfile", os.path.join(tmp, "xorg.log"), "-noreset", "-nolisten", "tcp",
             "-novtswitch", "-sharevts"], "Xorg with the dummy driver")

    def close(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)


class Buses:
    """A private system bus and session bus with python3-dbusmock services on them; the
    program and the mocks find them through DBUS_SYSTEM_BUS_ADDRESS/DBUS_SESSION_BUS_ADDRESS."""

    CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>%s</type><listen>unix:tmpdir=%s</listen>
<policy context="default"><allow send_destination="*" eavesdrop="true"/>
<allow eavesdrop="true"/><allow own="*"/></policy></busconfig>"""

    def __init__(self, tmp):
        import dbus  # python3-dbus; the mocks need the system's Python (see CMakeLists)
        self.dbus = dbus
        self.procs = []
        self.system = self._daemon(tmp, "system")
        self.session = self._daemon(tmp, "session")
        os.environ["DBUS_SYSTEM_BUS_ADDRESS"] = self.system
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.session

    def _daemon(self, tmp, kind):
        conf = os.path.join(tmp, kind + "-bus.conf")
        with open(conf, "w") as f:
            f.write(self.CONFIG % (kind, tmp))
        proc = subprocess.Popen(["dbus-daemon", "--nofork", "--print-address=1",
                                 "--config-file=" + conf], stdout=subprocess.PIPE)
        self.procs.append(proc)
        return proc.stdout.readline().decode().strip()

    def bus(self, system=True):
        return self.dbus.bus.BusConnection(self.system if system else self.session)

    def mock(self, name, path, interface, system=True, template=None, parameters=None,
             object_manager=False):
        """Starts a mock service; its main object, ready."""
        import dbusmock
        argv = [sys.executable, "-m", "dbusmock", "--system" if system else "--session"]
        if template:
            argv += ["--template", template]
            if parameters:
                argv += ["--parameters", json.dumps(parameters)]
        else:
            if object_manager:
                argv.append("--is-object-manager")
            argv += [name, path, interface]
        self.procs.append(subprocess.Popen(argv, stdout=subprocess.DEVNULL))
        bus = self.bus(system)
        deadline = time.time() + 10
        while not bus.name_has_owner(name):
            check(time.time() < deadline, "the mock of %s did not start" % name)
            time.sleep(0.05)
        return bus.get_object(name, path)

    def mock_call(self, obj, method, *args):
        import dbusmock
        return obj.get_dbus_method(method, dbusmock.MOCK_IFACE)(*args)

    def close(self):
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()


def run_case(session, name, body):
    """Runs one case on its session and closes it: PASS, or FAIL with every program's trace,
    errors and scripts. Returns the exit status (0 or 1)."""
    try:
        body(session)
    except Failure as failure:
        print("FAIL %s: %s" % (name, failure))
        for p in session.programs:
            print("--- trace of %s\n%s\n--- stderr\n%s\n--- scripts\n%s" %
                  (p.trace_path, p.trace(), p.errors(), "\n".join(map(repr, p.scripts()))))
        return 1
    finally:
        session.close()
    print("PASS %s" % name)
    return 0


class Session:
    """One test: a display, a scratch folder, and the programs started in it."""

    def __init__(self, binary, default_data, out_dir, name, xorg=False):
        self.binary = binary
        self.default_data = default_data
        self.out_dir = out_dir
        self.name = name
        self.tmp = tempfile.mkdtemp(prefix="orvanel-e2e-")
        self.buses = None
        self.helpers = []
        try:
            self.display = XorgDisplay(self.tmp) if xorg else Display()
        except Failure:
            shutil.rmtree(self.tmp, ignore_errors=True)
            raise
        self.env = dict(os.environ)
        # No test reaches the machine's system bus (logind, UDisks2, UPower): without a private
        # one there is none.
        self.no_bus = "unix:path=" + os.path.join(self.tmp, "no-bus")
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = self.no_bus
        for key in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
            path = os.path.join(self.tmp, key.lower())
            os.makedirs(path, mode=0o700)
            self.env[key] = path
        self.env.update({"DISPLAY": self.display.name, "ORVANEL_SYSTEM_ACTIONS": "log",
                         "QT_QPA_PLATFORM": "xcb", "LC_ALL": "C.UTF-8"})
        self.env.pop("WAYLAND_DISPLAY", None)
        self.programs = []
        self.drag_source = None

    def close(self):
        for p in self.programs:
            if p.proc.poll() is None:
                p.proc.kill()
                p.proc.wait()
        for h in self.helpers:
            if h.poll() is None:
                h.kill()
                h.wait()
        if self.buses:
            self.buses.close()
        self.display.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def use_buses(self):
        """Private system and session buses for the programs started after this."""
        self.buses = Buses(self.tmp)
        self.env.update({"DBUS_SYSTEM_BUS_ADDRESS": self.buses.system,
                         "DBUS_SESSION_BUS_ADDRESS": self.buses.session})
        return self.buses

    def helper(self, *argv):
        """Starts a helper program (a window manager, a terminal) on the display."""
        proc = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.helpers.append(proc)
        return proc

    # Program folders ----------------------------------------------------------------------

    def fresh_folder(self):
        return os.path.join(self.tmp, "fresh")

    def prepared_folder(self, name="prepared", call="Tester"):
        """The default folder with a user already known (no first-start window)."""
        folder = os.path.join(self.tmp, name)
        shutil.copytree(self.default_data, folder)
        write_ini(os.path.join(folder, "tomu.ini"),
                  "[General]\r\nSkinFile=kanami.skn\r\n[User]\r\nName1=Test\r\nName2=Er\r\n"
                  "Call=" + call + "\r\n")
        return folder

    # Programs -----------------------------------------------------------------------------

    def start(self, folder, port=None, trace=None):
        port = port or free_udp_port()
        trace = trace or os.path.join(self.tmp, "trace-%d.txt" % (len(self.programs) + 1))
        program = Program(self, folder, port, trace)
        self.programs.append(program)
        return program

    # The screen ---------------------------------------------------------------------------

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)
        return result.stdout.strip()

    def window(self, title, timeout=10):
        """The id of the one window whose title is exactly `title`."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            ids = self.xdotool("search", "--name", "^" + re.escape(title) + "$").split()
            if ids:
                return ids[-1]
            time.sleep(0.1)
        raise Failure("no window titled %r" % title)

    def geometry(self, window):
        out = subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True,
                             text=True).stdout
        field = lambda name: int(re.search(name + r":\s+(-?\d+)", out).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"), "IsViewable" in out)

    def click(self, x, y, button):
        # (--sync would wait for ever when the pointer is already there.)
        self.xdotool("mousemove", str(x), str(y))
        time.sleep(0.1)
        self.xdotool("click", str(button))

    def drag(self, args, x, y):
        """Drags from the test's drag source (files and text, as its arguments) to (x, y) with
        a real XDND drag; returns the drop action the target answered."""
        source = subprocess.Popen([self.drag_source, *args], env=self.env,
                                  stdout=subprocess.PIPE, text=True)
        try:
            self.window("orvanel drag source")
            self.xdotool("mousemove", "40", "40")
            time.sleep(0.2)
            self.xdotool("mousedown", "1")
            time.sleep(0.3)
            for step in range(1, 11):
                self.xdotool("mousemove", str(40 + (x - 40) * step // 10),
                             str(40 + (y - 40) * step // 10))
                time.sleep(0.05)
            time.sleep(0.3)
            self.xdotool("mouseup", "1")
            return source.communicate(timeout=10)[0].strip()
        finally:
            if source.poll() is None:
                source.kill()
                source.wait()

    def keys(self, *keys):
        for key in keys:
            self.xdotool("key", key)
            time.sleep(0.25)

    def type(self, text):
        self.xdotool("type", "--delay", "30", text)

    def screenshot(self, label, window="root"):
        path = os.path.join(self.out_dir, "%s-%s.png" % (self.name, label))
        os.makedirs(self.out_dir, exist_ok=True)
        subprocess.run(["import", "-window", window, path], env=self.env, check=True)
        return path

    def dark_share(self, window, box=None):
        """The share of dark pixels in a window (or a box x,y,w,h of it): text on a balloon."""
        shot = os.path.join(self.tmp, "measure.png")
        subprocess.run(["import", "-window", window, shot], env=self.env, check=True)
        args = ["convert", shot]
        if box:
            args += ["-crop", "%dx%d+%d+%d" % (box[2], box[3], box[0], box[1])]
        args += ["-colorspace", "Gray", "-threshold", "50%", "-format", "%[fx:1-mean]", "info:"]
        out = subprocess.run(args, capture_output=True, text=True).stdout
        return float(out.strip() or 0)


class Program:
    def __init__(self, session, folder, port, trace):
        self.session = session
        self.folder = folder
        self.port = port
        self.trace_path = trace
        self.stderr_path = trace + ".stderr"
        self.script_log_path = trace + ".scripts.jsonl"
        self.stderr = open(self.stderr_path, "wb")
        self.started_at = time.time()
        self.proc = subprocess.Popen(
            [session.binary, "--folder", folder, "--trace-file", trace, "--port", str(port),
             "--script-log", self.script_log_path],
            env=session.env, stdout=subprocess.DEVNULL, stderr=self.stderr)

    def trace(self):
        try:
            with open(self.trace_path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def scripts(self):
        """What the program played so far: (origin, script) pairs from its script log."""
        try:
            with open(self.script_log_path, encoding="utf-8") as f:
                return [(e["origin"], e["script"]) for e in map(json.loads, f) if e]
        except FileNotFoundError:
            return []

    def wait_script(self, predicate, timeout=10):
        """The first played (origin, script) for which predicate holds, waiting for it."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            for entry in self.scripts():
                if predicate(*entry):
                    return entry
            time.sleep(0.05)
        raise Failure("no such script played after %ss: %r" % (timeout, self.scripts()[-5:]))

    def errors(self):
        with open(self.stderr_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def wait_trace(self, text, timeout=15):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if text in self.trace():
                return
            if self.proc.poll() is not None and text not in self.trace():
                raise Failure("program ended (%s) before %r\n%s" %
                              (self.proc.returncode, text, self.trace()))
            time.sleep(0.05)
        raise Failure("no %r in the trace after %ss\n%s" % (text, timeout, self.trace()))

    def wait_exit(self, timeout=15):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("program still running after %ss\n%s" % (timeout, self.trace()))

    def setting(self, section, key):
        return read_ini(os.path.join(self.folder, "tomu.ini")).get((section, key))

    def send(self, script):
        send_datagram(self.port, script)

    def kill(self):
        self.proc.send_signal(signal.SIGKILL)
        self.proc.wait()


def free_udp_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def send_datagram(port, script):
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.sendto(script.encode("cp932"), ("127.0.0.1", port))


def write_ini(path, text):
    with open(path, "wb") as f:
        f.write(text.encode("cp932"))


def read_ini(path):
    values, section = {}, None
    with open(path, "rb") as f:
        for line in f.read().decode("cp932").splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
            elif "=" in line and section is not None:
                key, value = line.split("=", 1)
                values.setdefault((section, key.strip()), value.strip())
    return values
