#!/usr/bin/env python3
"""End-to-end tests: the real orvanel on its own X display, driven like a user would.

    run_e2e.py --binary BIN --default-data DIR --out DIR CASE

Every case starts Xvfb, a fresh program folder, --trace-file and --port on a free port, with
ORVANEL_SYSTEM_ACTIONS=log; screenshots go to --out.
"""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvanel_e2e import Failure, Session, check, free_udp_port, read_ini, run_case, write_ini  # noqa: E402

FIRST_START = "初回起動 - ユーザー情報チェック"


def kanami_centre(s):
    x, y, w, h, _ = s.geometry(s.window("Orvanel"))
    return x + w // 2, y + h * 3 // 4  # her body, below the face


def case_fresh_folder(s):
    """A fresh folder: the defaults written, the first-start window, the names saved."""
    folder = s.fresh_folder()
    p = s.start(folder)
    p.wait_trace("Boot Complete")
    p.wait_trace("Main Timer Start")
    check("FirstBoot = True" in p.trace(), "first start not seen")
    for key, value in (("TOMULimitTime", "3000"), ("MsgDispLimit", "300"),
                       ("SkinFile", "kanami.skn")):
        check(p.setting("General", key) == value, "%s is %r" % (key, p.setting("General", key)))
    form6 = s.window(FIRST_START)
    check(s.geometry(form6)[4], "first-start window not shown")
    check(s.geometry(s.window("Orvanel"))[4], "Kanami not shown")
    check(s.geometry(s.window("Orvanel - Fellow"))[4], "her fellow not shown")
    time.sleep(2.5)
    s.screenshot("first-start")
    s.xdotool("windowfocus", "--sync", form6)
    s.type("Yamada")
    s.keys("Return")
    s.type("Taro")
    s.keys("Return")
    s.type("Taro-kun")
    s.keys("Return")
    p.wait_trace("Unload UserInfoForm")
    check(p.setting("User", "Call") == "Taro-kun", "call name not saved")
    check(p.setting("User", "Name1") == "Yamada", "family name not saved")


def case_second_instance(s):
    """A second start on the same folder is refused; a crashed one leaves nothing stuck."""
    folder = s.prepared_folder()
    first = s.start(folder)
    first.wait_trace("Main Timer Start")
    before = first.trace()
    second = s.start(folder)
    check(second.wait_exit(10) == 1, "second start did not end with status 1")
    check("既に起動しています" in second.errors(), "no refusal message: " + second.errors())
    check("MessageBox: 既に起動しています" in second.trace(), "refusal not in its trace")
    check(first.proc.poll() is None, "the first program ended")
    check(first.trace().startswith(before), "the first program's trace was touched")
    first.kill()  # as a crash would end it
    third = s.start(folder)
    third.wait_trace("Main Timer Start")
    # A logout or kill ends her through the shutdown sequence.
    third.proc.terminate()
    check(third.wait_exit(10) == 0, "SIGTERM did not end the program cleanly")
    check("Unload MainBaloon" in third.trace(), "no shutdown sequence on SIGTERM")
    check(third.setting("General", "OnTop") == "True", "switches not saved on SIGTERM")


def case_datagram(s):
    """A script sent to the port is played in the balloon; a learning question learns."""
    folder = s.prepared_folder()
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    p.send("\\hテストの台本です。\\w5\\nちゃんと届きました？\\u届いたで。")
    p.wait_trace("UDP ReceiveData", timeout=5)
    p.wait_script(lambda origin, script: origin == "local" and script.startswith("\\hテストの台本"))
    time.sleep(2.5)
    balloon = s.window("Orvanel - Balloon")
    x, y, w, h, shown = s.geometry(balloon)
    check(shown, "the balloon is not shown")
    # The default message area: 13,15 260x135 pixels.
    check(s.dark_share(balloon, (13, 15, 260, 135)) > 0.01, "no text in the balloon")
    fellow = s.window("Orvanel - Fellow balloon")
    check(s.geometry(fellow)[4], "the fellow did not answer")
    s.screenshot("desktop")
    # A remote sender may not open pages; from this machine a web address opens.
    p.send("\\h\\j[https://example.org/]開くよ")
    p.wait_trace("SystemAction: OpenUrl https://example.org/", timeout=5)
    # A learning question opens the teaching panel; the answer goes into the dictionary.
    p.send("\\h好きな動物は？$learn[動物]")
    time.sleep(1.5)
    s.type("e2eanimal")
    s.keys("Return")
    time.sleep(0.5)
    with open(os.path.join(folder, "TalkEngine", "動物.ini"), "rb") as f:
        check("=e2eanimal\r\n" in f.read().decode("cp932"), "the taught word was not learned")


def case_port_taken(s):
    """The port is taken: the message, and the shutdown sequence leaves the switches alone."""
    import socket
    holder = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
    holder.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 0)
    holder.bind(("::", 0))
    port = holder.getsockname()[1]
    try:
        folder = s.prepared_folder()
        write_ini(os.path.join(folder, "tomu.ini"),
                  "[General]\r\nSkinFile=kanami.skn\r\nOnTop=False\r\nHide=True\r\n"
                  "[User]\r\nCall=Tester\r\n")
        p = s.start(folder, port=port)
        check(p.wait_exit(20) == 1, "did not end with status 1")
        check("MessageBox: %d番ポートは使用中です" % port in p.trace(), "no port message")
        check("Boot Complete" not in p.trace(), "booted anyway")
        # A start that did not get through has no switches of the user's to save.
        for key, value in (("OnTop", "False"), ("Hide", "True"), ("Silent", None)):
            check(p.setting("General", key) == value, "%s rewritten" % key)
    finally:
        holder.close()


def case_end_command(s):
    """The End command from the menu, given while a datagram holds her in a click wait on the
    balloon it hid: the balloon is shown again, then farewell, 30 idle ticks, switches saved."""
    folder = s.prepared_folder()
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    x, y = kanami_centre(s)
    s.click(x, y, 3)
    time.sleep(0.5)
    s.screenshot("menu")
    s.keys("o", "h")  # オプション → 画面端で隠す
    p.send("\\h\\_e\\x")
    time.sleep(1.5)
    check(s.geometry(s.window("Orvanel - Balloon"))[4], "the balloon she waits on is hidden")
    s.click(x, y, 3)
    time.sleep(0.4)
    s.keys("x")  # 終了
    pressed = time.time()
    time.sleep(0.7)
    s.screenshot("farewell")
    check(p.wait_exit(20) == 0, "did not end with status 0")
    took = time.time() - pressed
    # The farewell alone ("\h今回の起動時間は、…でした。\w5…") takes well over a second.
    check(took > 1.0, "closed %.2fs after End, before the farewell was over" % took)
    check("Unload MainBaloon" in p.trace(), "shutdown sequence not run")
    check(p.setting("General", "Hide") == "True", "Hide not saved")
    check(p.setting("General", "OnTop") == "True", "OnTop not saved")
    check(p.setting("General", "Silent") == "False", "Silent not saved")


def case_skin_change(s):
    """Choosing another skin: the farewell, the reload, and the new skin on screen."""
    folder = s.prepared_folder()
    with open(os.path.join(folder, "kanami.skn"), "rb") as f:
        skin = f.read().decode("cp932")
    skin = skin.replace("Surface10=fellow.png", "").replace("Name=かなみ（標準）", "Name=ひとり")
    with open(os.path.join(folder, "solo.skn"), "wb") as f:
        f.write(skin.encode("cp932"))
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    check(s.geometry(s.window("Orvanel - Fellow"))[4], "no fellow at first")
    x, y = kanami_centre(s)
    s.click(x, y, 3)
    time.sleep(0.4)
    s.keys("s")  # スキンの選択
    chooser = s.window("スキン選択 - Orvanel")
    s.xdotool("windowfocus", "--sync", chooser)
    s.screenshot("skin-selection")
    s.keys("End", "Return")  # the last file: solo.skn
    p.wait_trace("Character Change - ひとり", timeout=5)
    p.wait_trace("Character Change Complete", timeout=20)
    check(p.setting("General", "SkinFile") == "solo.skn", "SkinFile not written")
    check("Unload FellowForm" in p.trace(), "the fellow stayed")
    check(not s.geometry(s.window("Orvanel - Fellow"))[4], "the fellow window is still shown")
    check(s.geometry(s.window("Orvanel"))[4], "Kanami did not come back")
    time.sleep(1.5)
    s.screenshot("after-skin-change")


def menu_line(s, i):
    """The centre of line i of the balloon menu (the default message area: the menu panel at
    6,10 in the balloon, its lines 17 pixels apart under the heading)."""
    x, y, _, _, shown = s.geometry(s.window("Orvanel - Balloon"))
    check(shown, "the balloon is not shown")
    return x + 6 + 12 + 40, y + 10 + 2 + 17 * (i + 1) + 8


def open_menu(s, p):
    x, y = kanami_centre(s)
    s.xdotool("mousemove", str(x), str(y))
    time.sleep(0.1)
    s.xdotool("click", "--repeat", "2", "--delay", "80", "1")
    time.sleep(0.6)


def case_menu_word_count(s):
    """A double click on her opens the menu; 次のページへ, then 現在の単語数 tells the count."""
    folder = s.prepared_folder()
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    open_menu(s, p)
    s.screenshot("menu")
    s.click(*menu_line(s, 5), 1)  # 次のページへ
    time.sleep(0.6)
    s.screenshot("second-page")
    s.click(*menu_line(s, 4), 1)  # 現在の単語数
    _, script = p.wait_script(lambda origin, script: origin == "menu" and "語だよ～。" in script)
    count = int(script[2:script.index("語だよ")])
    check(count > 1000, "word count %d" % count)


def case_menu_news(s):
    """With HeadLine.dat pointing at a local server, 最新ニュース and the source read its news."""
    import http.server
    import threading
    page = ("<html><head><meta charset=\"utf-8\"></head><body><ul><li>一つ目の見出しです。</li>"
            "<li>二つ目の見出し、\\j[x]も文字。</li></ul></body></html>").encode("utf-8")

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(page)))
            self.end_headers()
            self.wfile.write(page)

        def log_message(self, *args):
            pass

    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        folder = s.prepared_folder()
        with open(os.path.join(folder, "HeadLine.dat"), "wb") as f:
            f.write(("ローカル速報,http://127.0.0.1:%d/news.html,<ul>,</ul>,True\r\n" %
                     server.server_address[1]).encode("cp932"))
        p = s.start(folder)
        p.wait_trace("Main Timer Start")
        time.sleep(1.0)
        open_menu(s, p)
        s.click(*menu_line(s, 1), 1)  # 最新ニュース
        time.sleep(0.6)
        s.screenshot("news-page")
        s.click(*menu_line(s, 0), 1)  # ローカル速報
        _, script = p.wait_script(
            lambda origin, script: origin == "menu" and "の最新情報いきま～す！" in script)
        check(script.startswith('"ローカル速報" の最新情報'), script)
        check("一つ目の見出しです。" in script and "二つ目の見出し" in script, script)
    finally:
        server.shutdown()


def case_word_registration(s):
    """A word typed into 単語登録 is in the dictionary that orvanel-script reads afterwards."""
    import subprocess
    folder = s.prepared_folder()
    category = os.path.join(folder, "TalkEngine", "日時(現在).ini")
    with open(category, "wb") as f:
        f.write("[日時(現在)]\r\nPN=0\r\n".encode("cp932"))
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    x, y = kanami_centre(s)
    s.click(x, y, 3)
    time.sleep(0.4)
    s.keys("w")  # 単語登録
    window = s.window("単語登録 - Orvanel")
    p.wait_trace("Load WordRegistForm... Complete")
    s.xdotool("windowfocus", "--sync", window)
    time.sleep(0.3)
    for word in ("e2eday", "e2eday", ""):
        s.type(word)
        s.keys("Return")
    s.screenshot("registration")
    s.keys("Escape")
    p.wait_script(lambda origin, script: "今回は1件の追加登録がありました。" in script)
    check("Main Timer Start" in p.trace(), "no timer")
    script_tool = os.path.join(os.path.dirname(s.binary), "orvanel-script")
    out = subprocess.run([script_tool, "--folder", folder, "\\h%dn"], capture_output=True,
                         text=True, env=s.env).stdout
    check('h: "e2eday"' in out, out)


def case_debug_window(s):
    """Debug=True: the debug window is shown at start with the focus in its script line;
    what is typed there plays at once."""
    folder = s.prepared_folder()
    write_ini(os.path.join(folder, "tomu.ini"),
              "[General]\r\nSkinFile=kanami.skn\r\nDebug=True\r\n[User]\r\nCall=Tester\r\n")
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    check("Debug Mode = True" in p.trace() and "Load DebugForm... Complete" in p.trace(),
          "debug window not loaded at start")
    window = s.window("TOMU デバッグウインドウ")
    check(s.geometry(window)[4], "debug window not shown")
    s.xdotool("windowfocus", "--sync", window)
    s.type("\\hdebug e2e")
    s.keys("Return")
    p.wait_script(lambda origin, script: origin == "debug" and script == "\\hdebug e2e")
    time.sleep(6)  # the balloon closes, the boxes count on
    x, y = kanami_centre(s)  # the coordinate box shows where the pointer is on her
    for dx in (0, 5):
        s.xdotool("mousemove", str(x + dx), str(y))
        time.sleep(0.3)
    s.screenshot("debug-window")


def accessible(root, role, name, timeout=10):
    """The first object below `root` with that role name (any role: None) and name."""
    import pyatspi
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = pyatspi.findDescendant(
            root, lambda o: o is not None and role in (None, o.getRoleName()) and o.name == name,
            True)
        if found:
            return found
        time.sleep(0.2)
    raise Failure("no accessible %s %r" % (role, name))


def case_accessibility(s):
    """Through AT-SPI: the menu's lines are buttons; pressing 何か話して makes her talk, and
    the balloon's text reads back as what she says."""
    import pyatspi
    folder = s.prepared_folder()
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    app = None
    deadline = time.time() + 15
    while app is None and time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        app = next((a for a in desktop if a is not None and a.name == "orvanel"), None)
        time.sleep(0.2)
    check(app is not None, "orvanel is not on the accessibility bus")
    open_menu(s, p)
    talk = accessible(app, "push button", "何か話して")
    check("何か話して" in [a.name for a in talk.parent], "menu lines not siblings")
    talk.queryAction().doAction(0)
    p.wait_script(lambda origin, script: origin == "talk", timeout=5)
    p.send("\\hアクセシビリティの確認です。")
    balloon = accessible(app, None, "かなみの吹き出し")

    def said():
        label = pyatspi.findDescendant(balloon, lambda o: o is not None and
                                       o.getRoleName() == "label" and o.name.startswith("アク"))
        return label.queryText().getText(0, -1) if label else ""
    deadline = time.time() + 10
    while said() != "アクセシビリティの確認です。" and time.time() < deadline:
        time.sleep(0.2)
    check(said() == "アクセシビリティの確認です。", "read %r" % said())


def region_centre(s, folder, key):
    """The middle of a hit area on the screen, from the skin's [Region] key (twips of her
    picture, which stands one pixel up and left in her window)."""
    value = read_ini(os.path.join(folder, "kanami.skn"))[("Region", key)]
    left, top, width, height = map(int, value.split(","))
    x, y = s.geometry(s.window("Orvanel"))[:2]
    return x - 1 + (left + width // 2) // 15, y - 1 + (top + height // 2) // 15


def case_touch(s):
    """Pokes on the eye, the mouth and (with Ctrl) the nose hit areas give their lines in
    order, the last one with the debug window (the double click that opens the menu: the menu
    cases)."""
    folder = s.prepared_folder()
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    s.click(*region_centre(s, folder, "EyeL"), 1)
    time.sleep(0.6)  # apart, so that no two clicks make a double click
    s.click(*region_centre(s, folder, "Mouth"), 1)
    time.sleep(0.6)
    s.xdotool("keydown", "ctrl")
    s.click(*region_centre(s, folder, "Nose"), 1)
    s.xdotool("keyup", "ctrl")
    p.wait_script(lambda origin, script: "デバッグ" in script)
    check(s.geometry(s.window("TOMU デバッグウインドウ"))[4], "no debug window after Ctrl+nose")
    touched = [script for origin, script in p.scripts() if origin == "touch"]
    # (Landing on the nose may make her sneeze before the last line, by chance.)
    check(("目" in touched[0] or "やめて" in touched[0]) and "デバッグ" in touched[-1] and
          touched[1] == "\\h口はつつかないでください。", "touch lines: %r" % touched)


def case_drop(s):
    """A file, a text and a talk.ini dragged onto her with a real drag (XDND) from a small Qt
    program: the file is opened, the text asked about as it stands, the words merged."""
    folder = s.prepared_folder()
    p = s.start(folder)
    p.wait_trace("Main Timer Start")
    time.sleep(1.0)
    x, y = kanami_centre(s)
    picture = os.path.join(s.tmp, "☃ 😀.png")  # a name with no CP932 form
    with open(picture, "wb") as f:
        f.write(b"x")
    check(s.drag(["--file", picture], x, y) == "1", "the file drop was not taken")
    p.wait_trace("SystemAction: OpenFile " + picture, timeout=5)
    p.wait_script(lambda origin, script: origin == "touch" and script == "\\hそれ～。")
    # The drag names the file as text too; that is no text to ask about.
    check(not any("file:" in script for _, script in p.scripts()), "asked about the file name")
    check(s.drag(["--text", "ねこ\\w9%username"], x, y) == "1", "the text drop was not taken")
    p.wait_script(lambda origin, script:
                  script == "\\h「ねこ＼w9％username」って何のことですか？")
    megabyte = os.path.join(s.tmp, "megabyte.txt")
    with open(megabyte, "w", encoding="utf-8") as f:
        f.write("長い" * (1 << 19))
    check(s.drag(["--text-file", megabyte], x, y) == "1", "the long text was not taken")
    p.wait_script(lambda origin, script: script.startswith("\\h「長い長い") and len(script) < 200)
    os.makedirs(os.path.join(s.tmp, "☃"))
    talk = os.path.join(s.tmp, "☃", "talk.ini")
    write_ini(talk, "[動物]\r\nPN=1\r\n1=ドロップ猫\r\n")
    s.drag(["--file", talk], x, y)
    p.wait_trace("TalkEngine Update / from talk.ini Complete", timeout=40)
    with open(os.path.join(folder, "TalkEngine", "動物.ini"), "rb") as f:
        check("=ドロップ猫\r\n" in f.read().decode("cp932"), "the dropped words were not merged")


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--default-data", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--drag-source")
    parser.add_argument("case", choices=sorted(CASES))
    args = parser.parse_args()
    session = Session(args.binary, args.default_data, args.out, args.case)
    session.drag_source = args.drag_source
    return run_case(session, args.case, CASES[args.case])

if __name__ == "__main__":
    sys.exit(main())
