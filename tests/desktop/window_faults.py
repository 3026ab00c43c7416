#!/usr/bin/python3
"""What a desktop can do to the game's windows, under a window manager.

    window_faults.py closing|geometry KOVRANT ONE_SCREEN

closing:  every screen closed from its frame or with Alt+F4 (Kovrant in the middle of a question), a
          window destroyed by another program, the display lost: the program ends promptly with a clear
          status, or goes on with a window to play in.
geometry: un-maximised, minimised and restored, sent to another workspace, made tiny and huge, shown at
          scale factors 0.5 to 3: the frame stays on the screen, the scene whole in the window, the
          memory bounded.

Run inside scripts/session.sh --wm. ONE_SCREEN shows FIN over Kovrant (FIN is otherwise only
reached by winning). Where a control is comes from the program, through the accessibility bus.
"""
import signal

from player import *  # noqa: F403 (the shared vocabulary of the desktop tests)

PALE_ORANGE = (255, 224, 192)
YELLOW = (255, 255, 0)
runs = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        raise Failure(what)
    return condition


def sh(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def until(probe, seconds=3.0):
    """probe()'s first true value within the deadline, or its last false one."""
    try:
        return wait_until(probe, "", seconds, 0.05)
    except Failure:
        return probe()


class Run:
    """One run of a program with the accessibility bridge on, its windows found by its process id."""

    def __init__(self, program, *args, scale=None):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_SCALE_FACTOR=str(scale or 1))
        self.process = subprocess.Popen([program, *args], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.bus = None
        runs.append(self)

    def windows(self):
        return sh("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)).split()

    def new_window(self, what, known=()):
        # The welcome screen, captioned "accueil", is gone as soon as présentation is shown.
        found = until(lambda: [w for w in self.windows() if w not in known and name(w) != "accueil"], 8.0)
        return check(found, what)[-1]

    def frame(self, title):
        """The window of that accessible name, once on the bus."""
        self.bus = self.bus or Game(self.process.pid)
        return wait_until(lambda: self.bus.window(title), "the window %r on the bus" % title)

    def press(self, window, title, role, label):
        """Clicks the control of that role and name in the window of that accessible name."""
        frame = self.frame(title)
        click(*spot(window, frame, need(frame, role, label)))

    def ends(self, what, status=0, seconds=2.0, message=None):
        until(lambda: self.process.poll() is not None, seconds)
        got = self.process.returncode
        check(got == status, f"{what}: ends with status {status} within {seconds:g} s (status {got})")
        if message is not None:
            said = self.process.stderr.read().strip()
            check(message in said, f"{what}: says '{message}' (said {said!r})")

    def alive(self):
        return self.process.poll() is None


def name(window):
    return sh("xdotool", "getwindowname", window).strip()


def info(window):
    """The client area on the root window ("-root": the screen), and whether it is viewable."""
    fields = dict(line.strip().partition(":")[::2] for line in sh("xwininfo", *(
        [window] if window == "-root" else ["-id", window])).splitlines())
    return {"x": int(fields["Absolute upper-left X"]), "y": int(fields["Absolute upper-left Y"]),
            "w": int(fields["Width"]), "h": int(fields["Height"]),
            "viewable": fields.get("Map State", "").strip() == "IsViewable"} if "Width" in fields else None


def viewable(window):
    return (info(window) or {}).get("viewable", False)


def spot(window, frame, obj, fx=0.5, fy=0.5):
    """Where the point at fractions (fx, fy) of `obj` lands on the root window: its place in its frame, as
    the program reports both, carried over to the window's size on the X server (at scale factors other
    than 1 the two are not counted in the same pixels)."""
    g, (x0, y0, w, h), (x, y) = info(window), extents(frame), point(obj, fx, fy)
    return g["x"] + round((x - x0) * g["w"] / w), g["y"] + round((y - y0) * g["h"] / h)


def pixel(x, y):
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    at = header.end() + 3 * (y * int(header.group(1)) + x)
    return tuple(data[at:at + 3])


def near(colour, expected, tolerance=24):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def alt_f4(window):
    sh("xdotool", "windowactivate", "--sync", window, "keydown", "Alt_L", "key", "F4", "keyup", "Alt_L")


def frame_close(window):
    sh("wmctrl", "-i", "-c", window)  # the frame's close button: the window manager's request


def start_presentation(kovrant, **kwargs):
    game = Run(kovrant, **kwargs)
    # The welcome screen never reaches the screen: présentation is the one window.
    only = until(lambda: (lambda shown: shown if len(shown) == 1 else None)(game.windows()), 10.0)
    return game, check(only, "the game shows its presentation screen, and only that")[0]


def closing(kovrant, one_screen):
    # présentation from its frame's close button; the welcome screen is gone before anyone can close
    # it (its activation shows présentation, whose activation unloads it).
    game, window = start_presentation(kovrant)
    frame_close(window)
    game.ends("présentation closed from its frame")

    # Kovrant with Alt+F4 in the middle of a question, digits keyed.
    game, window = start_presentation(kovrant)
    game.press(window, PRESENTATION, pyatspi.ROLE_CHECK_BOX, FAMILIES[0])
    game.press(window, PRESENTATION, pyatspi.ROLE_PUSH_BUTTON, "Commencer le jeu")
    exercise = game.new_window("the arrow leads to Kovrant", known=(window,))
    sh("xdotool", "windowactivate", "--sync", exercise, "type", "12")
    alt_f4(exercise)
    game.ends("Kovrant closed with Alt+F4 during a question")

    # Aurevoir closed: présentation stays, still leads to Aurevoir, whose arrow ends the game.
    game, window = start_presentation(kovrant)
    game.press(window, PRESENTATION, pyatspi.ROLE_PUSH_BUTTON, "Arrêter le jeu")
    farewell = game.new_window("the stop sign opens Aurevoir", known=(window,))
    alt_f4(farewell)
    check(until(lambda: farewell not in game.windows()) and game.alive() and viewable(window),
          "Aurevoir closed with Alt+F4: présentation stays on screen")
    game.press(window, PRESENTATION, pyatspi.ROLE_PUSH_BUTTON, "Arrêter le jeu")
    farewell = game.new_window("présentation still leads to Aurevoir", known=(window,))
    game.press(farewell, FAREWELL, pyatspi.ROLE_PUSH_BUTTON, "Quitter le jeu")
    game.ends("then Aurevoir's arrow")

    # FIN over Kovrant: closing FIN leaves the game; closing Kovrant then ends it.
    game = Run(one_screen)
    windows = check(until(lambda: (lambda shown: len(shown) == 2 and shown)(game.windows())), "FIN over Kovrant")
    fin = next((w for w in windows if name(w) == "FIN"), windows[-1])
    frame_close(fin)
    check(until(lambda: fin not in game.windows()) and game.alive() and viewable(next(w for w in windows if w != fin)),
          "FIN closed from its frame: Kovrant stays on screen")
    frame_close(next(w for w in windows if w != fin))
    game.ends("then Kovrant closed from its frame")

    # Destroyed by another program (XDestroyWindow, not a request): like a close.
    game, window = start_presentation(kovrant)
    sh("xdotool", "windowclose", window)
    game.ends("présentation destroyed by another program", seconds=1.0, message="détruite par un autre programme")

    # The display lost.
    game, window = start_presentation(kovrant)
    os.kill(int(os.environ["XVFB_PID"]), signal.SIGTERM)
    game.ends("the X server gone", status=1, seconds=1.0, message="connexion à l'affichage est perdue")


def target_ratios(frame):
    """The window's width and height over the target's: at least the scene's, equal where they limit the
    scale the scene is drawn at."""
    _, _, w, h = extents(frame)
    side = extents(target(frame))[2]
    return w / side, h / side


def geometry(kovrant):
    screen = info("-root")
    game, window = start_presentation(kovrant)
    frame = game.frame(PRESENTATION)
    g = info(window)
    check(g["w"] >= screen["w"] - 2 and g["h"] >= screen["h"] - 40, f"opens maximised ({g['w']} x {g['h']})")
    shapes = [target_ratios(frame)]

    sh("wmctrl", "-i", "-r", window, "-b", "remove,maximized_vert,maximized_horz")
    until(lambda: info(window)["w"] < screen["w"] - 10)
    g, (left, right, top, bottom) = info(window), (int(v) for v in sh(
        "xprop", "-id", window, "_NET_FRAME_EXTENTS").split("=")[1].split(","))
    check(top > 0 and g["y"] - top >= 0 and g["x"] - left >= 0 and g["x"] + g["w"] + right <= screen["w"]
          and g["y"] + g["h"] + bottom <= screen["h"],
          f"un-maximised: the frame whole on the screen (client {g['w']} x {g['h']} at {g['x']}, {g['y']},"
          f" title bar {top} high)")

    sh("xdotool", "windowminimize", "--sync", window)
    hidden = until(lambda: not viewable(window))
    sh("xdotool", "windowactivate", "--sync", window)
    after = until(lambda: viewable(window) and info(window))
    check(hidden and after and (after["w"], after["h"]) == (g["w"], g["h"]),
          "minimised and restored: shown again, same size")

    sh("wmctrl", "-i", "-r", window, "-t", "1")
    away = until(lambda: not viewable(window))
    sh("wmctrl", "-s", "1")
    there = until(lambda: viewable(window))
    sh("wmctrl", "-s", "0")
    sh("wmctrl", "-i", "-r", window, "-t", "0")
    check(away and there and game.alive(), "sent to another workspace: shown there")

    # The scene's size in targets, measured in the maximised window and a wide one.
    sh("xdotool", "windowsize", "--sync", window, "1100", "300")
    until(lambda: extents(frame)[3] < 400)
    shapes.append(target_ratios(frame))
    scene_w, scene_h = min(s[0] for s in shapes), min(s[1] for s in shapes)
    check(abs(g["w"] / g["h"] - scene_w / scene_h) < 0.01,
          f"un-maximised: the scene's proportions ({g['w']} x {g['h']}, {scene_w / scene_h:.3f})")
    sh("xdotool", "windowsize", window, "10", "10")
    tiny = until(lambda: info(window)["w"] < 400 and info(window))
    check(tiny and tiny["w"] >= 200 and tiny["h"] >= 100, f"made tiny: kept usable ({tiny and tiny['w']} px wide)")
    sh("wmctrl", "-i", "-r", window, "-b", "add,maximized_vert,maximized_horz")
    until(lambda: info(window)["w"] >= screen["w"] - 2)
    title = need(frame, pyatspi.ROLE_LABEL, "Les Kovrant")
    check(until(lambda: near(pixel(*spot(window, frame, title, 0.02)), PALE_ORANGE)),
          "maximised again: the title's box where the program says it is")

    # No window manager: another program may give any size.
    sh("openbox", "--exit")
    until(lambda: "Openbox" not in sh("wmctrl", "-m"))
    sh("xdotool", "windowsize", window, "32000", "32000")
    # The server grants it at once; the program then takes it back to what a screen can show.
    g = until(lambda: (lambda i: i if i["w"] <= 3840 and i["h"] <= 2160 else None)(info(window))) or info(window)
    check(g["w"] <= 3840 and g["h"] <= 2160, f"forced to 32000 x 32000: kept to {g['w']} x {g['h']}")
    with open(f"/proc/{game.process.pid}/status") as status:
        rss = next(int(line.split()[1]) for line in status if line.startswith("VmRSS:")) // 1024
    check(rss < 200, f"forced to 32000 x 32000: {rss} MiB resident")
    game.process.kill()
    subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    until(lambda: "Openbox" in sh("wmctrl", "-m"))

    for scale in (0.5, 1.5, 3):
        game, window = start_presentation(kovrant, scale=scale)
        until(lambda: info(window)["w"] >= screen["w"] - 2)
        frame = game.frame(PRESENTATION)
        title, disc = need(frame, pyatspi.ROLE_LABEL, "Les Kovrant"), target(frame)
        # The first paint after the window manager's resize; the yellow disc below the "+10".
        spots = lambda: [pixel(*spot(window, frame, title, 0.02)), pixel(*spot(window, frame, disc, 0.5, 0.55))]
        until(lambda: near(spots()[0], PALE_ORANGE))
        seen, (w, h) = spots(), target_ratios(frame)
        fit = min(w / scene_w, h / scene_h)
        check(abs(fit - 1) < 0.02 and near(seen[0], PALE_ORANGE) and near(seen[1], YELLOW),
              f"at scale factor {scale}: the scene fits the window ({fit:.3f} of it; title box {seen[0]},"
              f" target {seen[1]})")
        game.process.kill()


def main():
    part, kovrant, one_screen = sys.argv[1:4]
    try:
        closing(kovrant, one_screen) if part == "closing" else geometry(kovrant)
    finally:
        for game in runs:
            game.process.kill()
            game.process.wait()


if __name__ == "__main__":
    run(main)
