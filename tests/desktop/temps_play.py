#!/usr/bin/python3
"""The time allowed, as an adult sets it: the machine's setting in a settings folder of our own, the menu
actions of the desktop entry over it, a setting that cannot be read. What the child is told is read from
the rules screen through the accessibility bus. (A mistaken --temps is no_display.sh's: refused without
any display at all.)

Run inside scripts/session.sh (without --program):  temps_play.py KOVRANT DESKTOP_ENTRY
"""
import configparser
import os
import shlex
import signal
import subprocess
import sys

try:
    import pyatspi
except ImportError:
    print("temps_play: /usr/bin/python3 has no pyatspi (Debian python3-pyatspi)", file=sys.stderr)
    sys.exit(77)

from atspi_play import PRESENTATION, Game, find, quietly
from player import Failure, run, wait_until

kovrant, entry = sys.argv[1], sys.argv[2]
machine = os.path.join(os.environ["SESSION_DIR"], "xdg")
environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_DIRS=machine)


def set_machine(line):
    os.makedirs(os.path.join(machine, "leskovrant.fr"), exist_ok=True)
    with open(os.path.join(machine, "leskovrant.fr", "kovrant.conf"), "w") as f:
        f.write(line + "\n")


def rule_read(arguments):
    """Starts the game with `arguments`, returns Label8 as the rules screen says it and what the program
    wrote on stderr (Qt's own warnings included), and stops it."""
    err = os.path.join(os.environ["SESSION_DIR"], "temps.err")
    with open(err, "w") as f:
        program = subprocess.Popen([kovrant, *arguments], env=environment, stdout=subprocess.DEVNULL, stderr=f)
    try:
        game = Game(program.pid)
        screen = game.active_window(PRESENTATION, timeout=10)
        rule = wait_until(lambda: find(screen, pyatspi.ROLE_LABEL, match=lambda t: "répondre" in t),
                          "the rule of the clock on the rules screen")
        said = quietly(lambda: rule.name, "")
    finally:
        program.send_signal(signal.SIGTERM)
        program.wait(timeout=10)
    with open(err) as f:
        return said.strip(), f.read()


def main():
    # The entry's two actions, as a desktop reads them (.ci/package.sh validates the entry).
    desktop = configparser.RawConfigParser(interpolation=None)
    desktop.optionxform = str
    desktop.read(entry, encoding="utf-8")
    actions = {desktop["Desktop Action " + a]["Name"]: shlex.split(desktop["Desktop Action " + a]["Exec"])[1:]
               for a in desktop["Desktop Entry"]["Actions"].strip(";").split(";")}

    set_machine("temps=300")
    cases = [
        ("the machine's setting", [], "Il faut répondre en moins de 300 secondes."),
        ("Tiers-temps (40 secondes)", actions["Tiers-temps (40 secondes)"], "Il faut répondre en moins de 40 secondes."),
        ("Sans limite de temps", actions["Sans limite de temps"], "Tu as tout ton temps pour répondre."),
    ]
    for what, arguments, expected in cases:
        said, errors = rule_read(arguments)
        if said != expected or "Les Kovrant" in errors:
            raise Failure("%s (%s): the rules say %r, %r expected; stderr %r" % (what, arguments, said, expected, errors))
        print("  %-28s %-18s -> %s" % (what, " ".join(arguments), said))

    set_machine("temps=12")
    said, errors = rule_read([])
    ours = [line for line in errors.splitlines() if line.startswith("Les Kovrant")]
    if said != "Il faut répondre en moins de 30 secondes." or len(ours) != 1 or "« 12 »" not in ours[0]:
        raise Failure("a mistaken setting: the rules say %r; stderr %r" % (said, errors))
    print("  a mistaken setting: 30 seconds and %r" % ours[0])


if __name__ == "__main__":
    run(main)
