#!/usr/bin/python3
"""Prints the presentation window's width and height and a point of the target's red ring in it, in
pixels, as the program reports them on the accessibility bus: the start-up probe's reference point.
Run inside scripts/session.sh --program."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "desktop"))
from player import PRESENTATION, Game, extents, point, run, target  # noqa: E402


def main():
    window = Game(int(os.environ["KOVRANT_PID"]), timeout=30).active_window(PRESENTATION, timeout=30)
    x, y, w, h = extents(window)
    # The red ring spans 20 to 40 % of the target's radius; its middle, up and to the right.
    px, py = point(target(window), 0.5 + 0.105, 0.5 - 0.105)
    print(w, h, px - x, py - y)


run(main)
