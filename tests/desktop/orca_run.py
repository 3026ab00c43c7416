#!/usr/bin/python3
"""Starts the Orca screen reader installed on the machine, as its own launcher does, but:

- under another process name: the stock launcher will not start while any Orca of the same user runs
  anywhere on the machine, and its --replace kills them all, so tests and the people at work on the
  same machine would stop each other;
- with what Orca says written to a file line by line (the stock debug file is block-buffered and loses
  its end when Orca is stopped), at the level where every spoken text is logged as
  "SPEECH OUTPUT: '...'".

    orca_run.py LOGFILE
"""
import sys


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    sys.argv[0] = "kovrant-orca"
    from orca import debug

    debug.debugLevel = debug.LEVEL_INFO
    debug.debugFile = open(sys.argv[1], "w", buffering=1, encoding="utf-8")

    from orca import orca

    manager = orca.getSettingsManager()
    if not manager:
        print("orca_run: Orca has no settings manager", file=sys.stderr)
        return 1
    manager.activate(None, {})
    sys.path.insert(0, manager.getPrefsDir())
    return orca.main()


if __name__ == "__main__":
    sys.exit(main())
