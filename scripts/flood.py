#!/usr/bin/env python3
"""Resident memory and trace size of the real program under a datagram flood on loopback.

    flood.py --binary BIN --default-data DIR [--count 100000] [--rate 4000]

Starts the program under Xvfb on a prepared folder, reads its resident memory once it is idle,
sends --count short scripts at about --rate a second, lets it settle, and reads the memory and
the size of the trace file (with its rotated copy) again.
"""
import argparse
import glob
import os
import re
import socket
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from orvanel_e2e import Session  # noqa: E402


def rss_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def settled_rss_kb(pid, seconds):
    """The smallest resident size seen over `seconds`: freed pages may return late."""
    low = rss_kb(pid)
    end = time.time() + seconds
    while time.time() < end:
        time.sleep(0.5)
        low = min(low, rss_kb(pid))
    return low


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--default-data", required=True)
    parser.add_argument("--count", type=int, default=100000)
    parser.add_argument("--rate", type=int, default=4000)
    args = parser.parse_args()

    s = Session(args.binary, args.default_data, "/tmp", "flood")
    try:
        p = s.start(s.prepared_folder())
        p.wait_trace("Main Timer Start")
        time.sleep(3)
        idle = settled_rss_kb(p.proc.pid, 3)
        sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        started = time.time()
        for n in range(args.count):
            sender.sendto(("\\hフラッド%d" % n).encode("cp932"), ("127.0.0.1", p.port))
            if n % 100 == 99:
                ahead = (n + 1) / args.rate - (time.time() - started)
                if ahead > 0:
                    time.sleep(ahead)
        took = time.time() - started
        peak = rss_kb(p.proc.pid)
        after = settled_rss_kb(p.proc.pid, 10)
        traces = [p.trace_path] + glob.glob(p.trace_path + ".*[0-9]")
        trace_bytes = sum(os.path.getsize(t) for t in traces if os.path.exists(t))
        text = "".join(open(t, encoding="utf-8", errors="replace").read()
                       for t in sorted(traces, reverse=True) if os.path.exists(t))
        received = text.count("UDP ReceiveData [") + sum(
            int(n) for n in re.findall(r"UDP ReceiveData x (\d+)", text))
        print("datagrams sent      %d in %.1f s" % (args.count, took))
        print("resident idle       %.1f MB" % (idle / 1024))
        print("resident at the end %.1f MB" % (peak / 1024))
        print("resident settled    %.1f MB (%+.1f MB)" % (after / 1024, (after - idle) / 1024))
        print("trace files         %.2f MB in %d file(s)" % (trace_bytes / 1e6, len(traces)))
        print("datagrams received  %d (the rest dropped by the kernel under load)" % received)
        print("trace lines         %d" % text.count("\n"))
        check_alive = p.proc.poll() is None
        print("still running       %s" % check_alive)
    finally:
        s.close()


if __name__ == "__main__":
    main()
