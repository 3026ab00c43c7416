"""What the desktop tests share: waiting with a deadline, keys and clicks sent as a child's keyboard and
mouse send them, the game's windows and controls read through the accessibility bus (where a control
is, too: the tests never copy the layouts), and reading a calculation the way the game words it.

Run inside scripts/session.sh, which provides the display and the buses."""
import os  # os too is for the tests, which import this module whole
import re
import shutil
import subprocess
import sys
import time

try:
    import pyatspi
except ImportError:
    print("/usr/bin/python3 has no pyatspi (Debian python3-pyatspi)", file=sys.stderr)
    sys.exit(77)

PRESENTATION = "Les Kovrant, règles du jeu et choix des opérations"
EXERCISE = "Les Kovrant, exercice"
END = "Les Kovrant, fin du jeu"
FAREWELL = "Les Kovrant, au revoir"
FAMILIES = ["Additions, soustractions", "Multiplications", "Divisions"]


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
    "1"..., or a key code: "10" to "19" are the top row), on whatever window has the keyboard focus."""
    subprocess.run(["xdotool", "key", "--delay", str(delay_ms), *names], check=True)


def click(x, y):
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], check=True)


# "12345 plus 67890", "1234 fois 567", "5929 divisé par 7", "5000 moins 2345"
CALCULATION = re.compile(r"(\d+) (plus|moins|fois|divisé par) (\d+)")


def exact_result(text):
    """The exact result of the first calculation worded in `text`, or None."""
    match = CALCULATION.search(text)
    if not match:
        return None
    a, operation, b = int(match.group(1)), match.group(2), int(match.group(3))
    if operation == "divisé par":
        if a % b:
            raise Failure("%r: a division that does not come out whole" % match.group(0))
        return a // b
    return {"plus": a + b, "moins": a - b, "fois": a * b}[operation]


def quietly(read, default=None):
    """An object read over the bus, or `default` when the object went away meanwhile."""
    try:
        return read()
    except Exception:  # an object of a closed window raises from the bus
        return default


def descendants(obj):
    for child in quietly(lambda: list(obj), []):
        if child is None:
            continue
        yield child
        yield from descendants(child)


def has(obj, state):
    return quietly(lambda: obj.getState().contains(state), False)


def describe(obj):
    states = quietly(lambda: obj.getState().getStates(), [])
    marks = [pyatspi.stateToString(s) for s in states
             if s in (pyatspi.STATE_FOCUSED, pyatspi.STATE_CHECKED, pyatspi.STATE_SHOWING)]
    return "%s %r %s" % (quietly(obj.getRoleName, "?"), quietly(lambda: obj.name, "?"), " ".join(marks))


def extents(obj):
    """(x, y, width, height) on the screen, as the program reports them."""
    box = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def point(obj, fx=0.5, fy=0.5):
    """The point of the screen at fractions (fx, fy) of the object's extents."""
    x, y, w, h = extents(obj)
    return round(x + fx * w), round(y + fy * h)


def inside(outer, obj):
    """Whether `obj` lies whole within `outer`, as the program reports their extents."""
    (x, y, w, h), (a, b, c, d) = extents(outer), extents(obj)
    return x <= a and y <= b and a + c <= x + w and b + d <= y + h


class Game:
    """The program of that process on the accessibility bus."""

    def __init__(self, pid, timeout=10):
        self.pid = pid
        self.app = wait_until(self._application, "the program %d on the accessibility bus" % pid, timeout)

    def _application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in quietly(lambda: list(desktop), []):
            if app is not None and quietly(app.get_process_id) == self.pid:
                return app
        return None

    def window(self, name):
        """The window of that name while it is on the bus."""
        for child in quietly(lambda: list(self.app), []):
            if child is not None and quietly(lambda: child.name) == name:
                return child
        return None

    def active_window(self, name, timeout=5):
        """Waits until the window of that name is the active one, and returns it."""
        window = wait_until(lambda: (w := self.window(name)) is not None and has(w, pyatspi.STATE_ACTIVE) and w,
                            lambda: "the window %r to be active (windows: %s)" % (
                                name, [describe(c) for c in quietly(lambda: list(self.app), []) if c is not None]),
                            timeout)
        if quietly(window.getRole) != pyatspi.ROLE_FRAME:
            raise Failure("the window %r is a %s, not a frame" % (name, quietly(window.getRoleName)))
        return window


def find(window, role, name=None, match=None):
    """The first object of that role in the window, with that name or whose name `match`es."""
    for obj in descendants(window):
        if quietly(obj.getRole) != role:
            continue
        text = quietly(lambda: obj.name, "")
        if (name is None or text == name) and (match is None or match(text)):
            return obj
    return None


def need(window, role, name=None, match=None, what=None):
    obj = find(window, role, name, match)
    if obj is None:
        raise Failure("no %s %s in %r; it holds:\n  %s" % (
            pyatspi.Role(role).value_nick, what or repr(name), quietly(lambda: window.name),
            "\n  ".join(describe(o) for o in descendants(window))))
    return obj


def target(window):
    return need(window, pyatspi.ROLE_IMAGE, match=lambda t: t.startswith("Cible"), what="target")


def wait_state(obj, state, on=True, what=""):
    wait_until(lambda: has(obj, state) == on, lambda: "%s to %s %s (now: %s)" % (
        what or quietly(lambda: obj.name), "be" if on else "no longer be", pyatspi.stateToString(state),
        describe(obj)))


def wait_name(obj, name, what):
    wait_until(lambda: quietly(lambda: obj.name) == name,
               lambda: "%s to read %r (it reads %r)" % (what, name, quietly(lambda: obj.name)))


def same_words(said, text):
    """Announcements are compared give or take a closing full stop or "!"."""
    return said.rstrip(" .!") == text.rstrip(" .!")


def announcers(window):
    return [describe(o) for o in descendants(window) if quietly(o.getRole) == pyatspi.ROLE_NOTIFICATION]


def announced(window, text):
    """Waits for the window's announcer to say `text`."""
    wait_until(lambda: find(window, pyatspi.ROLE_NOTIFICATION, match=lambda t: same_words(t, text)) is not None,
               lambda: "the announcement %r (announcer: %s)" % (text, announcers(window)))


def ended(pid):
    """Whether that child of the session has ended (a zombie until the session reaps it)."""
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().split(") ")[1].startswith("Z")
    except OSError:
        return True


def run(main, *tools):
    """Runs a test's main(), turning a Failure into a clear message and exit status 1; exit status 77
    (skipped) without xdotool or one of `tools`."""
    for tool in ("xdotool",) + tools:
        if shutil.which(tool) is None:
            print("%s is missing (scripts/setup-debian.sh --tests installs it)" % tool, file=sys.stderr)
            sys.exit(77)
    try:
        main()
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        sys.exit(1)

