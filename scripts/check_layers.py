#!/usr/bin/env python3
"""Checks the layering of src/: a folder includes only itself and the folders below it, and
links only the Qt modules its layer may use.

    scripts/check_layers.py [QT_HEADERS_DIR]

Order (lowest first): platform < tools < core < character < net, script < talk < watch <
engine < balloon < app < cli. net and script are siblings: neither includes the other.
Exits 1 and lists every offending include.
"""
import os
import re
import subprocess
import sys

RANK = {"platform": 0, "tools": 1, "core": 2, "character": 3, "net": 4, "script": 4,
        "talk": 5, "watch": 6, "engine": 7, "balloon": 8, "app": 9, "cli": 10}

# The Qt modules beyond QtCore that each folder may include (the CMake links say the same).
QT_MODULES = {"platform/linux": {"QtGui", "QtDBus"}, "character": {"QtGui"},
              "net": {"QtNetwork"}, "engine": {"QtGui"}, "balloon": {"QtGui", "QtWidgets"},
              "app": {"QtGui", "QtWidgets", "QtNetwork", "QtDBus"}, "cli": {"QtGui"}}
CHECKED_MODULES = ("QtGui", "QtWidgets", "QtNetwork", "QtDBus")

OUR_INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')
QT_INCLUDE = re.compile(r"^\s*#\s*include\s+<(Q[A-Za-z]+)>")


def qt_headers_dir():
    if len(sys.argv) > 1:
        return sys.argv[1]
    for tool in ("qtpaths6", "qtpaths"):
        try:
            out = subprocess.run([tool, "--query", "QT_INSTALL_HEADERS"], capture_output=True,
                                 text=True, check=True).stdout.strip()
            if out:
                return out
        except (OSError, subprocess.CalledProcessError):
            pass
    return None


def module_of(header, headers_dir):
    for module in CHECKED_MODULES:
        if os.path.exists(os.path.join(headers_dir, module, header)):
            return module
    return None


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    os.chdir(root)
    files = subprocess.run(["git", "ls-files", "src/*.cpp", "src/*.h"], capture_output=True,
                           text=True, check=True).stdout.split()
    headers_dir = qt_headers_dir()
    errors = []
    for path in files:
        parts = path.split("/")
        folder = parts[1]
        if folder not in RANK:
            errors.append("%s: folder %s has no place in the layer order" % (path, folder))
            continue
        sub = "/".join(parts[1:3]) if len(parts) > 3 else folder
        allowed = QT_MODULES.get(sub, QT_MODULES.get(folder, set()))
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                m = OUR_INCLUDE.match(line)
                if m:
                    target = m.group(1)
                    if target not in RANK:
                        errors.append("%s:%d: includes unknown folder %s" % (path, number, target))
                    elif target != folder and RANK[target] >= RANK[folder]:
                        errors.append("%s:%d: %s includes %s/ (not below it)" %
                                      (path, number, folder, target))
                m = QT_INCLUDE.match(line)
                if m and headers_dir:
                    module = module_of(m.group(1), headers_dir)
                    if module and module not in allowed:
                        errors.append("%s:%d: %s includes <%s> of %s" %
                                      (path, number, sub, m.group(1), module))
    for e in errors:
        print(e)
    if not headers_dir:
        print("check_layers: Qt headers not found, Qt modules not checked")
    print("check_layers: %d files, %d problems" % (len(files), len(errors)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
