#!/usr/bin/python3
"""What a desktop can do to the game's windows, on an X server of our own under a window manager.

    window_faults.py closing|geometry KOVRANT ONE_SCREEN

closing:  every screen closed from its frame or with Alt+F4 (Kovrant in the middle of a question), a
          window destroyed by another program, the display lost: the program ends promptly with a clear
          status, or goes on with a window to play in.
geometry: un-maximised, minimised and restored, sent to another workspace, made tiny and huge, shown at
          scale factors 0.5 to 3: the frame stays on the screen, the scene whole in the window, the
          memory bounded.

ONE_SCREEN is a helper that shows given screens directly (FIN is otherwise only reached by winning).
Positions come from the layouts: twips, 15 to the pixel, the scene scaled uniformly to fit the window
and centred in it.
"""

import os
import re
import shutil
import subprocess
import sys
import time

SCREEN = (1280, 800)
DISPLAYS = range(90, 95)  # this test's own, away from the ones people use
SCENES = {  # client areas in twips
    "présentation": (18960, 10215),
    "Kovrant": (18960, 10215),
    "FIN": (13530, 8820),
    "Aurevoir": (13305, 8640),
}
PRESENTATION_BOX = (4080 + 3255 // 2, 6360 + 180)  # Table(1)
PRESENTATION_ARROW = (18240 + 240, 9600 + 240)
PRESENTATION_STOP = (720 + 240, 9360 + 240)
AUREVOIR_ARROW = (11280 + 240, 4200 + 240)
TITLE_INSIDE = (3360 + 90, 240 + 360)  # présentation's `titre`, left of its words
TARGET_YELLOW = (750 * 20, 265 * 20)  # in the yellow disc, below the "+10"
PALE_ORANGE = (255, 224, 192)
YELLOW = (255, 255, 0)

failures = []
games = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs).stdout


def wait_until(predicate, seconds=3.0):
    deadline = time.monotonic() + seconds
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)


class Display:
    """Xvfb on the first free display of our range, with openbox on it."""

    def __init__(self):
        self.server = self.wm = None
        for n in DISPLAYS:
            if os.path.exists(f"/tmp/.X{n}-lock"):
                continue
            read, write = os.pipe()
            server = subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp",
                 "-displayfd", str(write)],
                pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write)
            ready = b""  # its number and a newline once it accepts connections, nothing if it died
            while not ready.endswith(b"\n"):
                chunk = os.read(read, 16)
                if not chunk:
                    break
                ready += chunk
            os.close(read)
            if ready.strip():
                self.server, self.name = server, f":{n}"
                break
            server.wait()
        if self.server is None:
            sys.exit(f"no free X display in :{DISPLAYS.start}-:{DISPLAYS.stop - 1}")
        os.environ["DISPLAY"] = self.name
        self.start_wm()

    def start_wm(self):
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        wait_until(lambda: "Openbox" in run("wmctrl", "-m"))

    def stop_wm(self):
        self.wm.terminate()
        self.wm.wait()
        self.wm = None

    def close(self):
        for process in (self.wm, self.server):
            if process is not None and process.poll() is None:
                process.terminate()
                process.wait()


class Game:
    """One run of a program, its windows found by its process id."""

    def __init__(self, program, *args, scale=None):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        env.pop("QT_SCALE_FACTOR", None)
        if scale is not None:
            env["QT_SCALE_FACTOR"] = str(scale)
        self.process = subprocess.Popen([program, *args], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.started = time.monotonic()
        self.ended_after = None
        self.stderr = ""
        games.append(self)

    def windows(self):
        return run("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)).split()

    def new_window(self, known=()):
        # The welcome screen, captioned "accueil", is gone as soon as présentation is shown.
        found = wait_until(lambda: [w for w in self.windows() if w not in known and name(w) != "accueil"],
                           seconds=8.0)
        return found[-1] if found else None

    def ends_within(self, seconds):
        start = time.monotonic()
        try:
            self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return False
        self.ended_after = time.monotonic() - start
        self.stderr = self.process.stderr.read()
        return True

    def status(self):
        return self.process.returncode

    def rss_kib(self):
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def name(window):
    return run("xdotool", "getwindowname", window).strip()


def info(window):
    """The client area on the root window, and whether it is viewable."""
    fields = {}
    for line in run("xwininfo", "-id", window).splitlines():
        key, _, value = line.strip().partition(":")
        fields[key] = value.strip()
    if "Width" not in fields:
        return None
    return {"x": int(fields["Absolute upper-left X"]), "y": int(fields["Absolute upper-left Y"]),
            "w": int(fields["Width"]), "h": int(fields["Height"]),
            "viewable": fields.get("Map State") == "IsViewable"}


def viewable(window):
    g = info(window)
    return g is not None and g["viewable"]


def frame_extents(window):
    text = run("xprop", "-id", window, "_NET_FRAME_EXTENTS")
    if "=" not in text:
        return (0, 0, 0, 0)
    return tuple(int(v) for v in text.split("=")[1].split(","))  # left, right, top, bottom


def on_screen(window, twips, scene):
    """Where a point of the scene, in twips, lands on the root window."""
    g = info(window)
    sw, sh = scene[0] / 15, scene[1] / 15
    scale = min(g["w"] / sw, g["h"] / sh)
    dx, dy = round((g["w"] - sw * scale) / 2), round((g["h"] - sh * scale) / 2)
    return (g["x"] + dx + round(twips[0] / 15 * scale), g["y"] + dy + round(twips[1] / 15 * scale))


def click(window, twips, scene):
    x, y = on_screen(window, twips, scene)
    run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")


def alt_f4():
    run("xdotool", "keydown", "Alt_L", "key", "F4", "keyup", "Alt_L")


def frame_close(window):
    run("wmctrl", "-i", "-c", window)  # the frame's close button: the window manager's request


def activate(window):
    run("xdotool", "windowactivate", "--sync", window)


def pixel(x, y):
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    width, body = int(header.group(1)), data[header.end():]
    at = 3 * (y * width + x)
    return tuple(body[at:at + 3])


def near(colour, expected, tolerance=24):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def start_presentation(kovrant, **kwargs):
    game = Game(kovrant, **kwargs)
    window = game.new_window()
    # The welcome screen never reaches the screen: présentation is the one window.
    only = wait_until(lambda: (lambda shown: shown if len(shown) == 1 else None)(game.windows()), seconds=10.0)
    window = only[0] if window is not None and only else None
    check(window is not None, "the game shows its presentation screen")
    return game, window


def to_kovrant(game, window):
    """Ticks additions and follows the arrow: a calculation is posed, awaiting its answer."""
    activate(window)
    click(window, PRESENTATION_BOX, SCENES["présentation"])
    click(window, PRESENTATION_ARROW, SCENES["présentation"])
    game_window = game.new_window(known=(window,))
    wait_until(lambda: window not in game.windows())
    return game_window


def ends_cleanly(game, what, status=0, seconds=2.0, message=None):
    ended = game.ends_within(seconds)
    check(ended and game.status() == status,
          f"{what}: ends with status {status} within {seconds:g} s"
          + (f" (status {game.status()} after {game.ended_after:.2f} s)" if ended else " (still running)"))
    if message is not None:
        check(message in game.stderr, f"{what}: says '{message}' (said {game.stderr.strip()!r})")
    game.kill()


def closing(kovrant, one_screen, display):
    # présentation from its frame's close button; the welcome screen is gone before anyone can close
    # it (its activation shows présentation, whose activation unloads it).
    game, window = start_presentation(kovrant)
    frame_close(window)
    ends_cleanly(game, "présentation closed from its frame")

    # Kovrant with Alt+F4 in the middle of a question, digits keyed.
    game, window = start_presentation(kovrant)
    window = to_kovrant(game, window)
    check(window is not None, "the arrow leads to Kovrant")
    activate(window)
    run("xdotool", "type", "12")
    alt_f4()
    ends_cleanly(game, "Kovrant closed with Alt+F4 during a question")

    # Aurevoir closed: présentation stays, still playable to the end.
    game, window = start_presentation(kovrant)
    activate(window)
    click(window, PRESENTATION_STOP, SCENES["présentation"])
    farewell = game.new_window(known=(window,))
    check(farewell is not None, "the stop sign opens Aurevoir")
    activate(farewell)
    alt_f4()
    alive = wait_until(lambda: farewell not in game.windows()) and game.process.poll() is None
    check(alive and viewable(window),
          "Aurevoir closed with Alt+F4: présentation stays on screen")
    activate(window)
    click(window, PRESENTATION_STOP, SCENES["présentation"])
    farewell = game.new_window(known=(window,))
    check(farewell is not None, "présentation still leads to Aurevoir")
    if farewell is not None:
        activate(farewell)
        click(farewell, AUREVOIR_ARROW, SCENES["Aurevoir"])
    ends_cleanly(game, "then Aurevoir's arrow")

    # FIN over Kovrant: closing FIN leaves the game; closing Kovrant then ends it.
    game = Game(one_screen, "Kovrant", "FIN")
    wait_until(lambda: len(game.windows()) == 2)
    windows = game.windows()
    check(len(windows) == 2, "FIN shows over Kovrant")
    if len(windows) == 2:
        fin = next((w for w in windows if name(w) == "FIN"), windows[-1])
        kovrant_window = next(w for w in windows if w != fin)
        frame_close(fin)
        gone = wait_until(lambda: fin not in game.windows())
        check(gone and game.process.poll() is None and viewable(kovrant_window),
              "FIN closed from its frame: Kovrant stays on screen")
        frame_close(kovrant_window)
    ends_cleanly(game, "then Kovrant closed from its frame")

    # Destroyed by another program (XDestroyWindow, not a request): like a close.
    game, window = start_presentation(kovrant)
    run("xdotool", "windowclose", window)
    ends_cleanly(game, "présentation destroyed by another program", seconds=1.0,
                 message="détruite par un autre programme")

    # The display lost.
    game, window = start_presentation(kovrant)
    display.close()
    ends_cleanly(game, "the X server gone", status=1, seconds=1.0, message="connexion à l'affichage est perdue")


def geometry(kovrant, display):
    game, window = start_presentation(kovrant)
    scene = SCENES["présentation"]
    g = info(window)
    check(g["w"] >= SCREEN[0] - 2 and g["h"] >= SCREEN[1] - 40, f"opens maximised ({g['w']} x {g['h']})")

    run("wmctrl", "-i", "-r", window, "-b", "remove,maximized_vert,maximized_horz")
    wait_until(lambda: info(window)["w"] < SCREEN[0] - 10)
    g, (left, right, top, bottom) = info(window), frame_extents(window)
    check(top > 0 and g["y"] - top >= 0 and g["x"] - left >= 0 and g["x"] + g["w"] + right <= SCREEN[0]
          and g["y"] + g["h"] + bottom <= SCREEN[1],
          f"un-maximised: the frame whole on the screen (client {g['w']} x {g['h']} at {g['x']}, {g['y']},"
          f" title bar {top} high)")
    check(abs(g["w"] / g["h"] - scene[0] / scene[1]) < 0.01, "un-maximised: the scene's proportions")

    before = info(window)
    run("xdotool", "windowminimize", "--sync", window)
    hidden = wait_until(lambda: not viewable(window))
    activate(window)
    after = wait_until(lambda: viewable(window) and info(window))
    check(hidden and after is not None and (after["w"], after["h"]) == (before["w"], before["h"]),
          "minimised and restored: shown again, same size")

    run("wmctrl", "-i", "-r", window, "-t", "1")
    away = wait_until(lambda: not viewable(window))
    run("wmctrl", "-s", "1")
    there = wait_until(lambda: viewable(window))
    run("wmctrl", "-s", "0")
    run("wmctrl", "-i", "-r", window, "-t", "0")
    check(away and there and game.process.poll() is None, "sent to another workspace: shown there")

    run("xdotool", "windowsize", window, "10", "10")
    tiny = wait_until(lambda: info(window)["w"] < 400 and info(window))
    check(tiny and tiny["w"] >= 200 and tiny["h"] >= 100, f"made tiny: kept usable ({tiny and tiny['w']} px wide)")
    run("wmctrl", "-i", "-r", window, "-b", "add,maximized_vert,maximized_horz")
    wait_until(lambda: info(window)["w"] >= SCREEN[0] - 2)
    activate(window)
    x, y = on_screen(window, TITLE_INSIDE, scene)
    check(near(pixel(x, y), PALE_ORANGE), "maximised again: the title's box where the layout puts it")

    # No window manager: another program may give any size.
    display.stop_wm()
    run("xdotool", "windowsize", window, "32000", "32000")
    # The server grants it at once; the program then takes it back to what a screen can show.
    g = wait_until(lambda: (lambda i: i if i["w"] <= 3840 and i["h"] <= 2160 else None)(info(window))) or info(window)
    rss = game.rss_kib() // 1024
    check(g["w"] <= 3840 and g["h"] <= 2160, f"forced to 32000 x 32000: kept to {g['w']} x {g['h']}")
    check(rss < 200, f"forced to 32000 x 32000: {rss} MiB resident")
    game.kill()
    display.start_wm()

    for scale in (0.5, 1.5, 3):
        game, window = start_presentation(kovrant, scale=scale)
        wait_until(lambda: info(window)["w"] >= SCREEN[0] - 2)
        # The first paint after the window manager's resize.
        painted = lambda: near(pixel(*on_screen(window, TITLE_INSIDE, scene)), PALE_ORANGE)
        wait_until(painted)
        spots = [pixel(*on_screen(window, TITLE_INSIDE, scene)), pixel(*on_screen(window, TARGET_YELLOW, scene))]
        check(near(spots[0], PALE_ORANGE) and near(spots[1], YELLOW),
              f"at scale factor {scale}: the scene fits the window (title box {spots[0]}, target {spots[1]})")
        game.kill()


def main():
    part, kovrant, one_screen = sys.argv[1:4]
    for tool in ("Xvfb", "openbox", "xdotool", "wmctrl", "xwininfo", "xprop", "import"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: scripts/setup-debian.sh --tests installs it")
    display = Display()
    try:
        if part == "closing":
            closing(kovrant, one_screen, display)
        else:
            geometry(kovrant, display)
    finally:
        for game in games:
            game.kill()
        display.close()
    print(f"{part}: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
