"""The .deb as a user gets it: built by scripts/package.sh, its files and dependencies read back,
its desktop entry and metainfo validated, its icon sizes read, and the unpacked orvanel-script
run, which must find the default data beside its bin folder with no hint.

    test_package.py PACKAGE_SH BUILD_DIR
"""
import os, struct, subprocess, sys, tempfile

ID = "org.orvanel.Orvanel"
ICONS = {s: f"usr/share/icons/hicolor/{s}x{s}/apps/{ID}.png" for s in (48, 128, 256)}
FILES = ["usr/bin/orvanel", "usr/bin/orvanel-script", f"usr/share/applications/{ID}.desktop",
         f"usr/share/metainfo/{ID}.metainfo.xml", f"usr/share/icons/hicolor/scalable/apps/{ID}.svg",
         "usr/share/man/man1/orvanel.1.gz", "usr/share/man/man1/orvanel-script.1.gz",
         "usr/share/doc/orvanel/copyright", "usr/share/orvanel/default/kanami/surface1.png",
         *ICONS.values()]
# From the linked libraries, and what the program loads at run time.
DEPENDS = ["libqt6widgets6", "liblhasa0", "qt6-qpa-plugins", "fonts-ipafont-gothic"]


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout


with tempfile.TemporaryDirectory() as tmp:
    deb = run(sys.argv[1], sys.argv[2], f"{tmp}/out").split()[-1]
    listed = {l.split()[-1].removeprefix("./") for l in run("dpkg-deb", "-c", deb).splitlines()}
    depends = run("dpkg-deb", "-f", deb, "Depends")
    fails = [f"missing {f}" for f in FILES if f not in listed]
    fails += [f"outside /usr: {f}" for f in listed if not f.startswith("usr")]
    fails += [f"no dependency {d}: {depends}" for d in DEPENDS if d not in depends]
    root = f"{tmp}/root"
    run("dpkg-deb", "-x", deb, root)
    for tool in (["desktop-file-validate", f"{root}/usr/share/applications/{ID}.desktop"],
                 ["appstreamcli", "validate", "--no-net", f"{root}/usr/share/metainfo/{ID}.metainfo.xml"]):
        r = subprocess.run(tool, capture_output=True, text=True)
        fails += [f"{tool[0]}: {r.stdout}{r.stderr}"] if r.returncode else []
    for size, icon in ICONS.items():
        with open(f"{root}/{icon}", "rb") as f:
            fails += [f"{icon}: not {size} px"] if struct.unpack(">II", f.read(24)[16:]) != (size, size) else []
    env = {k: v for k, v in os.environ.items() if not k.startswith("ORVANEL_")}
    out = run(f"{root}/usr/bin/orvanel-script", "--seed", "1", "\\hこんにちは。\\uやあ。", env=env, cwd=tmp)
    fails += [] if 'h: "こんにちは。"' in out and 'u: "やあ。"' in out else [f"orvanel-script: {out}"]
    print(f"{os.path.basename(deb)}: {os.path.getsize(deb)} bytes, {len(listed)} entries")
for f in fails:
    print("FAIL:", f)
sys.exit(1 if fails else 0)
