"""What the desktop tests share: waiting with a deadline, keys sent through the X server as a child's
keyboard sends them, and reading a calculation the way the game words it."""
import re
import shutil
import subprocess
import sys
import time


class Failure(Exception):
    """A step of the game did not go as a player expects; the message says which."""


def wait_until(probe, what, timeout=5.0, interval=0.02):
    """Returns probe()'s first true value, polled until the deadline; fails naming `what` (a text, or a
    function giving one that describes the state at the deadline)."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("after %.1f s, still waiting for %s" % (timeout, what() if callable(what) else what))
        time.sleep(interval)


def keys(*names, delay_ms=30):
    """Presses and releases each key in turn (xdotool's names: "space", "Tab", "shift+Tab", "Return",
    "1"...), on whatever window has the keyboard focus."""
    subprocess.run(["xdotool", "key", "--delay", str(delay_ms), *names], check=True)


# "12345 plus 67890", "1234 fois 567", "5929 divisé par 7", "5000 moins 2345"
CALCULATION = re.compile(r"(\d+) (plus|moins|fois|divisé par) (\d+)")


def exact_result(text):
    """The exact result of the first calculation worded in `text`, or None."""
    match = CALCULATION.search(text)
    if not match:
        return None
    a, operation, b = int(match.group(1)), match.group(2), int(match.group(3))
    if operation == "plus":
        return a + b
    if operation == "moins":
        return a - b
    if operation == "fois":
        return a * b
    if a % b:
        raise Failure("%r: a division that does not come out whole" % match.group(0))
    return a // b


def run(main):
    """Runs a test's main(), turning a Failure into a clear message and exit status 1; exit status 77
    (skipped) without xdotool."""
    if shutil.which("xdotool") is None:
        print("xdotool is missing (scripts/setup-debian.sh --tests installs it)", file=sys.stderr)
        sys.exit(77)
    try:
        main()
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        sys.exit(1)
