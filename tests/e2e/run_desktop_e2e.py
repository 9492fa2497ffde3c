#!/usr/bin/env python3
"""End-to-end tests on a desktop: the real orvanel under openbox with a panel docked at the
bottom (a window with a strut), driven like a user would.

    run_desktop_e2e.py --binary BIN --default-data DIR --panel BIN --out DIR CASE

Exit status 77: the case cannot run here (two screens need Xorg with the dummy driver
(xserver-xorg-video-dummy), which runs only as root).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvanel_e2e import Session, XorgDisplay, check, run_case, write_ini  # noqa: E402

WIDTH, HEIGHT, PANEL = 1280, 800, 40
RIGHT = (WIDTH, 0, 1024, 768)  # the second screen of two_screens: shorter, to the right
WORK_BOTTOM = HEIGHT - PANEL  # the first row below the work area
FIRST_START = "初回起動 - ユーザー情報チェック"
OURS = ("Orvanel", "Orvanel - Fellow", "Orvanel - Balloon", "Orvanel - Fellow balloon")


def wait(condition, what, timeout=5):
    deadline = time.time() + timeout
    while not condition():
        check(time.time() < deadline, what)
        time.sleep(0.05)


def xprop(s, *args):
    return subprocess.run(["xprop", *args], env=s.env, capture_output=True, text=True).stdout


def desktop(s, panel):
    """The panel, then openbox, which takes in the windows already mapped; returns once the
    window manager has shrunk the work area."""
    s.helpers = [subprocess.Popen([panel, "0", str(WORK_BOTTOM), str(WIDTH), str(PANEL)],
                                  env=s.env, stdout=subprocess.PIPE, text=True)]
    check(s.helpers[0].stdout.readline().strip() == "ready", "no panel")
    s.helpers.append(subprocess.Popen(["openbox", "--sm-disable"], env=s.env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    wait(lambda: xprop(s, "-root", "_NET_WORKAREA").split(", ")[3:4] == [str(WORK_BOTTOM)],
         "the panel's strut did not shrink the work area", timeout=15)


def box(s, title):
    x, y, w, h, shown = s.geometry(s.window(title))
    return x, y, w, h, shown


def check_standing(s, what):
    """Both characters stand on the panel."""
    for title in OURS[:2]:
        x, y, w, h, _ = box(s, title)
        check(y + h == WORK_BOTTOM, "%s: %s ends at y %d, not on the panel at %d" %
              (what, title, y + h, WORK_BOTTOM))


def drag_her(s, path, pause_at=None, step_pause=0.03):
    """Presses on her body, moves through `path` (offsets from the press) and releases."""
    x, y, w, h, _ = box(s, "Orvanel")
    x, y = x + w // 2, y + h * 3 // 4
    s.xdotool("mousemove", str(x), str(y))
    time.sleep(0.15)
    s.xdotool("mousedown", "1")
    samples = []
    for i, (dx, dy) in enumerate(path):
        s.xdotool("mousemove", str(x + dx), str(y + dy))
        time.sleep(step_pause)
        if i == pause_at:
            time.sleep(0.6)
            samples.append((box(s, "Orvanel")[:2], box(s, "Orvanel - Balloon")[:2]))
    s.xdotool("mouseup", "1")
    time.sleep(0.6)
    return samples


def case_drags(s):
    """Slow drags with a pause, fast drags, a release far outside: each lands on the panel,
    no move goes on after the release, and the balloon goes along during the drag."""
    p = s.start(s.prepared_folder())
    p.wait_trace("Main Timer Start")
    time.sleep(0.5)
    check_standing(s, "at the start")
    p.send("\\hついていくよ。ずっと。\\w9\\w9\\w9\\w9\\w9\\w9\\w9\\w9")
    time.sleep(1.0)
    kx, ky = box(s, "Orvanel")[:2]
    bx, by = box(s, "Orvanel - Balloon")[:2]
    slow = [(-20 * i, -12 * i) for i in range(1, 11)]
    samples = drag_her(s, slow, pause_at=9)
    (mx, my), (mbx, mby) = samples[0]
    check(my < ky - 60, "she did not rise with the pointer mid-drag (%d, was %d)" % (my, ky))
    check((mbx - bx, mby - by) == (mx - kx, my - ky),
          "the balloon stayed behind mid-drag: moved %s, she moved %s" %
          ((mbx - bx, mby - by), (mx - kx, my - ky)))
    check_standing(s, "after a drag with a pause")
    check(abs(box(s, "Orvanel")[0] - (kx - 200)) <= 2, "not where she was dropped")
    # A quick press, move and release; then one released high above the panel, outside her.
    for path in ([(40, -30), (90, -60)], [(-30, -100), (-60, -400), (-80, -700)]):
        drag_her(s, path, step_pause=0)
        check_standing(s, "after the drag %s" % (path,))
        at = box(s, "Orvanel")[:2]
        s.xdotool("mousemove", "50", "50")  # no button: nothing may follow
        time.sleep(0.5)
        check(box(s, "Orvanel")[:2] == at, "she followed the pointer after the release")
    # The fellow is dragged alone and stands again too.
    x, y, w, h, _ = box(s, "Orvanel - Fellow")
    s.xdotool("mousemove", str(x + w // 2), str(y + h // 2))
    time.sleep(0.15)
    s.xdotool("mousedown", "1")
    s.xdotool("mousemove", str(x + w // 2 - 100), str(y - 200))
    time.sleep(0.6)
    s.xdotool("mouseup", "1")
    time.sleep(0.6)
    check_standing(s, "after the fellow's drag")
    s.screenshot("dragged")


def case_first_start_closed(s):
    """The first-start window closed by the window manager: no taskbar entries but its own,
    idle talk comes again, no names are written (they are asked at the next start)."""
    folder = s.fresh_folder()
    os.makedirs(folder)
    write_ini(os.path.join(folder, "tomu.ini"), "[General]\r\nTOMULimitTime=150\r\n")
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    form6 = s.window(FIRST_START)
    time.sleep(1.5)
    for title in OURS[:3]:  # (the fellow has not spoken yet)
        state = xprop(s, "-id", s.window(title), "_NET_WM_STATE")
        check("_NET_WM_STATE_SKIP_TASKBAR" in state and "_NET_WM_STATE_SKIP_PAGER" in state,
              "%s is in the taskbar: %s" % (title, state))
    check("SKIP_TASKBAR" not in xprop(s, "-id", form6, "_NET_WM_STATE"),
          "the first-start window is missing from the taskbar")
    asked = len(p.scripts())
    for _ in range(3):  # openbox's close (WM_DELETE_WINDOW, as its close button sends)
        s.xdotool("windowactivate", "--sync", form6)
        s.keys("alt+F4")
        if "Unload UserInfoForm" in p.trace():
            break
        time.sleep(1)
    p.wait_trace("Unload UserInfoForm")
    # The request no longer holds her: idle talk comes again.
    wait(lambda: len(p.scripts()) > asked, "no idle talk after the window closed", timeout=15)
    check(not p.setting("User", "Name1"), "a name was written")


def case_focus(s):
    """The settings window keeps the keyboard through a datagram's talk."""
    p = s.start(s.prepared_folder())
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    x, y, w, h, _ = box(s, "Orvanel")
    s.click(x + w // 2, y + h * 3 // 4, 3)
    time.sleep(0.4)
    s.keys("u")  # ユーザー設定
    options = s.window("TOMU ユーザー設定")
    ox, oy, ow, oh, _ = s.geometry(options)
    check(abs((ox + ow // 2) - WIDTH // 2) <= 40, "the settings window is not centred")
    s.xdotool("windowactivate", "--sync", options)
    s.keys("Return", "Return", "Return", "Return", "ctrl+a")  # to the call name
    # Typing goes on while talks begin.
    typist = subprocess.Popen(["xdotool", "type", "--delay", "40", "abcdefghijklmnopqrstuvwxyz"],
                              env=s.env)
    for n in range(3):
        time.sleep(0.3)
        p.send("\\hお知らせ%dです。" % n)
    typist.wait()
    p.wait_script(lambda origin, script: script.startswith("\\hお知らせ2"))
    time.sleep(1.0)
    check(box(s, "Orvanel - Balloon")[4], "the balloon did not show")
    check(s.xdotool("getactivewindow") == options, "the talk took the keyboard")
    s.keys("Return")  # OK
    wait(lambda: p.setting("User", "Call") == "abcdefghijklmnopqrstuvwxyz",
         "keys typed while she began to talk were lost: %r" % p.setting("User", "Call"))


def case_remembered(s):
    """Her place is remembered across starts; a second start brings her forward."""
    folder = s.prepared_folder()
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(0.5)
    drag_her(s, [(-100 * i, -20) for i in range(1, 4)])
    x = box(s, "Orvanel")[0]
    check(x > 0, "the drag took her to %d" % x)
    second = s.start(folder)
    check(second.wait_exit(10) == 1, "the second start was not refused")
    p.wait_trace("Second Start")
    p.proc.terminate()
    check(p.wait_exit(10) == 0, "SIGTERM did not end the program")
    check(p.setting("General", "PositionX") == str(x),
          "PositionX %r, she stood at %d" % (p.setting("General", "PositionX"), x))
    again = s.start(folder)
    again.wait_trace("Main Timer Start")
    time.sleep(0.5)
    check(box(s, "Orvanel")[0] == x, "she came back at %d, not %d" % (box(s, "Orvanel")[0], x))
    check_standing(s, "after the restart")


def case_balloon_edge(s):
    """At the left edge the balloon stays on screen."""
    folder = s.prepared_folder()
    write_ini(os.path.join(folder, "tomu.ini"), "[General]\r\nSkinFile=kanami.skn\r\n"
              "PositionX=0\r\n[User]\r\nName1=Test\r\nName2=Er\r\nCall=Tester\r\n")
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    p.send("\\hここは端っこ。")
    time.sleep(1.5)
    check(box(s, "Orvanel")[0] == 0, "she is not at the left edge")
    x, y, w, h, shown = box(s, "Orvanel - Balloon")
    check(shown and x >= 0 and y >= 0 and x + w <= WIDTH,
          "the balloon leaves the screen: %s" % ((x, y, w, h),))
    s.screenshot("left-edge")


class TwoScreens(XorgDisplay):
    """Xorg with the dummy driver, its second output switched on right of the first."""

    def __init__(self, tmp):
        super().__init__(tmp)
        env = dict(os.environ, DISPLAY=self.name)
        subprocess.run(["xrandr", "--addmode", "DUMMY1", "%dx%d" % RIGHT[2:]], env=env)
        subprocess.run(["xrandr", "--output", "DUMMY1", "--mode", "%dx%d" % RIGHT[2:],
                        "--right-of", "DUMMY0"], env=env, check=True)


def case_two_screens(s):
    """A shorter screen to the right: a drag onto it lands on its bottom edge; the seam is no
    edge for Hide, its far side is; the next start brings her back onto it."""
    folder = s.prepared_folder()
    write_ini(os.path.join(folder, "tomu.ini"), "[General]\r\nSkinFile=kanami.skn\r\n"
              "Hide=True\r\n[User]\r\nName1=Test\r\nName2=Er\r\nCall=Tester\r\n")
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(0.5)
    check_standing(s, "on the first screen")
    drag_her(s, [(100 * i, -30) for i in range(1, 10)])
    x, y, w, h, _ = box(s, "Orvanel")
    check(x >= RIGHT[0] and y + h == RIGHT[3],
          "dropped on the second screen, she is at %s" % ((x, y, w, h),))
    s.xdotool("mousemove", str(WIDTH - 1), "300")  # the seam
    time.sleep(0.5)
    check(box(s, "Orvanel")[4], "the seam between the screens hid her")
    s.xdotool("mousemove", str(RIGHT[0] + RIGHT[2] - 1), "300")  # the desktop's right edge
    wait(lambda: not box(s, "Orvanel")[4], "the desktop's right edge did not hide her")
    p.proc.terminate()
    check(p.wait_exit(10) == 0, "SIGTERM did not end the program")
    again = s.start(folder)
    again.wait_trace("Main Timer Start")
    time.sleep(0.5)
    check(box(s, "Orvanel")[:2] == (x, y), "she came back at %s, not on the second screen at %s"
          % (box(s, "Orvanel")[:2], (x, y)))
    s.screenshot("two-screens")


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--default-data", required=True)
    parser.add_argument("--panel", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("case", choices=sorted(CASES))
    args = parser.parse_args()
    if args.case == "two_screens" and (os.geteuid() != 0 or not shutil.which("Xorg")):
        print("SKIP two_screens: no Xorg, or not root to run it")
        return 77
    session = Session(args.binary, args.default_data, args.out, "desktop_" + args.case)

    def body(s):
        if args.case == "two_screens":
            s.display.close()
            s.display = TwoScreens(s.tmp)
            s.env["DISPLAY"] = s.display.name
        desktop(s, args.panel)
        CASES[args.case](s)

    return run_case(session, args.case, body)


if __name__ == "__main__":
    sys.exit(main())
