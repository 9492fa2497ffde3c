"""The Debian package as a user gets it.

Builds it with scripts/package.sh, reads back its file list and dependencies with dpkg-deb,
validates the desktop entry and the metainfo, checks the rendered icon sizes, and runs the
unpacked orvanel-script, which must find the default data installed beside it.

    test_package.py PACKAGE_SH BUILD_DIR
"""
import os
import struct
import subprocess
import sys
import tempfile

APP_ID = "org.orvanel.Orvanel"
EXPECTED = [
    "usr/bin/orvanel",
    "usr/bin/orvanel-script",
    f"usr/share/applications/{APP_ID}.desktop",
    f"usr/share/metainfo/{APP_ID}.metainfo.xml",
    f"usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
    "usr/share/man/man1/orvanel.1.gz",
    "usr/share/man/man1/orvanel-script.1.gz",
    "usr/share/doc/orvanel/copyright",
    "usr/share/orvanel/default/kanami.skn",
    "usr/share/orvanel/default/kanami/surface1.png",
] + [f"usr/share/icons/hicolor/{s}x{s}/apps/{APP_ID}.png" for s in (48, 128, 256)]
# Libraries found by dpkg-shlibdeps and what the program loads at run time.
DEPENDS = ["libqt6widgets6", "libqt6network6", "liblhasa0", "qt6-qpa-plugins", "fonts-ipafont-gothic"]


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout


def main():
    package_sh, build = sys.argv[1:3]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        deb = run(package_sh, build, os.path.join(tmp, "out")).split()[-1]
        files = {line.split()[-1].removeprefix("./") for line in run("dpkg-deb", "-c", deb).splitlines()}
        failures += [f"missing {f}" for f in EXPECTED if f not in files]
        failures += [f"outside /usr: {f}" for f in files if f and not f.startswith("usr")]
        depends = run("dpkg-deb", "-f", deb, "Depends")
        failures += [f"no dependency on {d}: {depends}" for d in DEPENDS if d not in depends]

        root = os.path.join(tmp, "root")
        run("dpkg-deb", "-x", deb, root)
        share = os.path.join(root, "usr/share")
        for tool in (["desktop-file-validate", f"{share}/applications/{APP_ID}.desktop"],
                     ["appstreamcli", "validate", "--no-net", f"{share}/metainfo/{APP_ID}.metainfo.xml"]):
            r = subprocess.run(tool, capture_output=True, text=True)
            if r.returncode != 0 or "error" in r.stdout.lower():
                failures.append(f"{tool[0]}: {r.stdout}{r.stderr}")
        for s in (48, 128, 256):
            with open(f"{share}/icons/hicolor/{s}x{s}/apps/{APP_ID}.png", "rb") as f:
                size = struct.unpack(">II", f.read(24)[16:24])
            if size != (s, s):
                failures.append(f"icon {s}: {size}")

        # No hint where the data is: the installed program finds it beside its bin folder.
        env = {k: v for k, v in os.environ.items() if not k.startswith("ORVANEL_")}
        out = run(f"{root}/usr/bin/orvanel-script", "--seed", "1", "\\hこんにちは。\\uやあ。",
                  env=env, cwd=tmp)
        if 'h: "こんにちは。"' not in out or 'u: "やあ。"' not in out:
            failures.append(f"installed orvanel-script: {out}")
        print(f"{os.path.basename(deb)}: {os.path.getsize(deb)} bytes, {len(files)} entries")
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
