#!/usr/bin/env python3
"""End-to-end tests of the system events: the real orvanel, each event from its real source
in a sandbox of the test's own (private D-Bus buses with python3-dbusmock services, an X
server that switches modes, a window manager with a panel).

    run_system_e2e.py --binary BIN --default-data DIR --out DIR CASE

Needs the system's Python with python3-dbusmock. Exit status 77: the case cannot run here.
"""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvanel_e2e import Failure, Session, check, run_case  # noqa: E402

UDISKS = "org.freedesktop.UDisks2"
LOGIND = "org.freedesktop.login1"
UPOWER = "org.freedesktop.UPower"
PORTAL = "org.freedesktop.portal.Desktop"
PROPERTIES = "org.freedesktop.DBus.Properties"


def system_remarks(p):
    return [script for origin, script in p.scripts() if origin == "system"]


def wait_remark(p, fragment, timeout=5):
    """The remark of a system event that contains `fragment`."""
    return p.wait_script(lambda origin, script: origin == "system" and fragment in script,
                         timeout)


def settle(p, quiet=0.3, timeout=5):
    """Waits until the program has played nothing new for `quiet` seconds."""
    deadline = time.time() + timeout
    count, since = len(p.scripts()), time.time()
    while time.time() < deadline:
        time.sleep(0.05)
        now = len(p.scripts())
        if now != count:
            count, since = now, time.time()
        elif time.time() - since >= quiet:
            return
    raise Failure("still playing after %ss" % timeout)


def kanami(s, p):
    """Kanami's window: x, y, width, height."""
    return s.geometry(s.window("Orvanel"))[:4]


def inhibitors(buses, logind):
    return [i for i in logind.ListInhibitors(dbus_interface=LOGIND + ".Manager")
            if i[1] == "Orvanel"]


def case_system_bus(s):
    """Devices (UDisks2), sleep (logind), power (UPower) and colours (the portal), one program."""
    buses = s.use_buses()
    dbus = buses.dbus
    logind = buses.mock(LOGIND, "/org/freedesktop/login1", None, template="logind")
    upower = buses.mock(UPOWER, "/org/freedesktop/UPower", None, template="upower")
    udisks = buses.mock(UDISKS, "/org/freedesktop/UDisks2", UDISKS + ".Manager",
                        object_manager=True)
    portal = buses.mock(PORTAL, "/org/freedesktop/portal/desktop",
                        "org.freedesktop.portal.Settings", system=False)
    p = s.start(s.prepared_folder())
    p.wait_trace("Main Timer Start")
    p.wait_script(lambda origin, script: origin == "talk")  # the start-up talk
    time.sleep(0.5)
    check("SysInfo: no" not in p.trace(), "a source is missing:\n" + p.trace())

    # Sleep: the delay is held until the suspend remark has begun, and taken again after.
    check(len(inhibitors(buses, logind)) == 1, "no sleep delay taken")
    buses.mock_call(logind, "EmitSignal", LOGIND + ".Manager", "PrepareForSleep", "b", [True])
    wait_remark(p, "サスペンド")
    deadline = time.time() + 2
    while inhibitors(buses, logind):
        check(time.time() < deadline, "the sleep delay was kept")
        time.sleep(0.02)
    buses.mock_call(logind, "EmitSignal", LOGIND + ".Manager", "PrepareForSleep", "b", [False])
    wait_remark(p, "おかえり")
    deadline = time.time() + 2
    while not inhibitors(buses, logind):
        check(time.time() < deadline, "no sleep delay after the wake-up")
        time.sleep(0.02)

    # Devices: a drive comes; a volume of it is unmounted, a system volume too; the drive goes.
    # (The mock's objects are announced by hand, as UDisks2 announces its own.)
    def announce(member, path, what):
        signature = "oa{sa{sv}}" if member == "InterfacesAdded" else "oas"
        if member == "InterfacesAdded":  # typed, or the bus guesses the values' types
            what = dbus.Dictionary({k: dbus.Dictionary(v, signature="sv")
                                    for k, v in what.items()}, signature="sa{sv}")
        buses.mock_call(udisks, "EmitSignal", "org.freedesktop.DBus.ObjectManager", member,
                        signature, [dbus.ObjectPath(path), what])

    drive = "/org/freedesktop/UDisks2/drives/Stick"
    announce("InterfacesAdded", drive, {UDISKS + ".Drive": {"Removable": dbus.Boolean(True)}})
    wait_remark(p, "取り付けた")
    volumes = {}
    for name, system in (("sdb1", False), ("sda1", True)):
        path = "/org/freedesktop/UDisks2/block_devices/" + name
        block = {"HintSystem": dbus.Boolean(system),
                 "Drive": dbus.ObjectPath("/" if system else drive)}
        mounted = {"MountPoints": dbus.Array([dbus.ByteArray(b"/media/" + name.encode() + b"\0")],
                                             signature="ay")}
        buses.mock_call(udisks, "AddObject", path, UDISKS + ".Block", block, [])
        volumes[name] = buses.bus().get_object(UDISKS, path)
        buses.mock_call(volumes[name], "AddProperties", UDISKS + ".Filesystem", mounted)
        announce("InterfacesAdded", path,
                 {UDISKS + ".Block": block, UDISKS + ".Filesystem": mounted})
    settle(p)
    before = len(system_remarks(p))
    for name in ("sda1", "sdb1"):
        buses.mock_call(volumes[name], "UpdateProperties", UDISKS + ".Filesystem",
                        {"MountPoints": dbus.Array([], signature="ay")})
    wait_remark(p, "削除しようと")
    settle(p)
    check(len(system_remarks(p)) == before + 1, "a system volume's unmount counted")
    announce("InterfacesRemoved", drive, [UDISKS + ".Drive"])
    wait_remark(p, "削除完了")

    # Power: the estimates that move all the time say nothing; status changes, one in ten.
    battery = buses.bus().get_object(UPOWER, "/org/freedesktop/UPower/devices/DisplayDevice")
    battery.Set(UPOWER + ".Device", "Percentage", dbus.Double(50.0), dbus_interface=PROPERTIES)
    settle(p)
    before = len(system_remarks(p))
    for i in range(30):
        battery.Set(UPOWER + ".Device", "EnergyRate", dbus.Double(10.0 + i),
                    dbus_interface=PROPERTIES)
        battery.Set(UPOWER + ".Device", "Percentage", dbus.Double(50.0 + i / 100),
                    dbus_interface=PROPERTIES)
    settle(p)
    check(len(system_remarks(p)) == before, "estimates and fractions of a percent counted")
    changes = 100
    for i in range(changes):
        battery.Set(UPOWER + ".Device", "Percentage", dbus.Double(90.0 - i * 0.7),
                    dbus_interface=PROPERTIES)
    settle(p, quiet=0.5)
    battery_remarks = len(system_remarks(p)) - before
    # About one in ten: no remark at all has a chance of 3e-5, more than 40 far less.
    check(1 <= battery_remarks <= 40,
          "%d remarks on %d changes of the battery" % (battery_remarks, changes))

    # Colours: the portal's colour scheme.
    buses.mock_call(portal, "EmitSignal", "org.freedesktop.portal.Settings", "SettingChanged",
                    "ssv", ["org.freedesktop.appearance", "color-scheme",
                            dbus.UInt32(1, variant_level=1)])
    wait_remark(p, "色数")


def case_no_buses(s):
    """No system bus and no session bus: one trace line each, and she runs as ever."""
    s.env["DBUS_SESSION_BUS_ADDRESS"] = s.no_bus
    p = s.start(s.prepared_folder())
    p.wait_trace("Main Timer Start")
    time.sleep(0.5)
    trace = p.trace()
    for line in ("SysInfo: no system bus", "SysInfo: no session bus"):
        check(trace.count(line) == 1, "%r not once in the trace:\n%s" % (line, trace))
    p.send("\\hまだ元気。")
    p.wait_script(lambda origin, script: origin == "local")
    check(p.proc.poll() is None, "the program ended")


def case_display_mode(s):
    """A resolution change (xrandr on Xorg's dummy driver): the remark, then three quarters
    across the new width; she also stands on the new bottom edge, and no second remark."""
    p = s.start(s.prepared_folder())
    p.wait_trace("Main Timer Start")
    settle(p, quiet=1.0, timeout=15)
    x, y, w, h = kanami(s, p)
    check(x == round(0.73 * 1280) and y == 800 - h, "not placed at the start: %r" % ((x, y),))
    before = len(system_remarks(p))
    s.helper("xrandr", "-s", "1024x768").wait()
    wait_remark(p, "解像度")
    settle(p)
    check(len(system_remarks(p)) == before + 1, "more than the display's remark")
    deadline = time.time() + 3
    while kanami(s, p)[:2] != (768, 768 - h):
        check(time.time() < deadline, "she stands at %r" % (kanami(s, p)[:2],))
        time.sleep(0.05)
    s.screenshot("resolution-changed")


def case_work_area(s):
    """A panel (a window with a strut) takes the screen's bottom: she stands on the new edge of
    the work area, then remarks; it grows, and she moves again."""
    s.helper("openbox")
    p = s.start(s.prepared_folder())
    p.wait_trace("Main Timer Start")
    settle(p, quiet=1.0, timeout=15)
    h = kanami(s, p)[3]
    s.helper("xterm", "-T", "panel", "-geometry", "80x2+0+740")
    panel = s.window("panel")
    for height in (60, 120):
        before = len(system_remarks(p))
        strut = "0, 0, 0, %d, 0, 0, 0, 0, 0, 0, 0, 1279" % height
        s.helper("xprop", "-id", panel, "-f", "_NET_WM_STRUT_PARTIAL", "32c", "-set",
                 "_NET_WM_STRUT_PARTIAL", strut).wait()
        deadline = time.time() + 5
        while len(system_remarks(p)) == before:
            check(time.time() < deadline, "no remark on a panel of %d pixels" % height)
            time.sleep(0.05)
        check(any(word in system_remarks(p)[-1] for word in ("地震", "おろ")), "another remark")
        check(kanami(s, p)[1] == 800 - height - h,
              "she stands at y %d on a panel of %d" % (kanami(s, p)[1], height))
    s.screenshot("work-area")


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}
XORG_CASES = {"display_mode"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--default-data", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("case", choices=sorted(CASES))
    args = parser.parse_args()
    try:
        session = Session(args.binary, args.default_data, args.out, args.case,
                          xorg=args.case in XORG_CASES)
    except Failure as failure:
        print("SKIP %s: %s" % (args.case, failure))
        return 77
    return run_case(session, args.case, CASES[args.case])

if __name__ == "__main__":
    sys.exit(main())
