#!/usr/bin/env bash
# Measures the real program under Xvfb: start-up time with caches, idle CPU and memory, and
# the delay from a datagram to its first character on screen, each beside the figures of a
# bare shaped window on the same display. Builds first if needed.
#   scripts/measure.sh [--idle-seconds N] [--watched] [--debug-window]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/bin/orvanel ] && [ -x build/tests/orvanel-bare-window ] ||
    { cmake -S . -B build -G Ninja >/dev/null && cmake --build build -j2; }
export ORVANEL_SYSTEM_ACTIONS=log
# --watched: every system-event source present; the D-Bus mocks live with the system's Python.
python=python3
case " $* " in *" --watched "*) python=/usr/bin/python3 ;; esac
exec "$python" scripts/measure.py --binary build/bin/orvanel \
    --default-data build/share/orvanel/default --floor build/tests/orvanel-bare-window "$@"
