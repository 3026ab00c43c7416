#!/usr/bin/python3
"""Plays Les Kovrant as a child at an interactive whiteboard: with the pointer alone, the answer keyed on
the game's own number pad. Ticks a family, starts, keys the exact result of the first calculation on the
pad (after a wrong digit erased), confirms on the pad, reads the verdict, poses the next calculation with
a key of the pad, and leaves by the stop sign and the farewell's arrow.

    pave_play.py PROGRAM

Run inside scripts/session.sh. The program is started with --pave; where the pad's keys are is read
from the accessibility bus, as everywhere in these tests, and every key is a real click of the X server.
"""
from player import *  # noqa: F403 (the shared vocabulary of the desktop tests)

PAD = [str(d) for d in range(10)] + ["effacer", "valider"]
SMALLEST_KEY_MM = 15


def pad_keys(screen):
    keys = {name: need(screen, pyatspi.ROLE_PUSH_BUTTON, name) for name in PAD}
    for name, key in keys.items():
        if not has(key, pyatspi.STATE_SHOWING) or not has(key, pyatspi.STATE_FOCUSABLE):
            raise Failure("the pad's key %s is not shown, or not reachable by Tab" % describe(key))
    return keys


def screen_mm_per_pixel():
    """The X screen's millimetres per pixel, across, as the server reports them."""
    out = subprocess.run(["xdpyinfo"], capture_output=True, text=True).stdout
    match = re.search(r"dimensions:\s+(\d+)x\d+ pixels \((\d+)x\d+ millimeters\)", out)
    return int(match.group(2)) / int(match.group(1)) if match else None


def press(key):
    click(*point(key))


def main():
    program = sys.argv[1]
    game_process = subprocess.Popen([program, "--pave"], env=dict(os.environ, QT_QPA_PLATFORM="xcb",
                                                                 QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    game = Game(game_process.pid)
    screen = game.active_window(PRESENTATION, timeout=10)
    box = need(screen, pyatspi.ROLE_CHECK_BOX, FAMILIES[0])
    press(box)
    wait_state(box, pyatspi.STATE_CHECKED, what="the additions' box after a click")
    press(need(screen, pyatspi.ROLE_PUSH_BUTTON, "Commencer le jeu"))

    screen = game.active_window(EXERCISE)
    keys = pad_keys(screen)
    mm = screen_mm_per_pixel()
    if mm is not None:
        for name, key in keys.items():
            width = extents(key)[2] * mm
            if width < SMALLEST_KEY_MM - 0.5:
                raise Failure("the pad's key %s is %.1f mm wide on this screen" % (name, width))
    calcul = wait_until(lambda: find(screen, pyatspi.ROLE_LABEL, match=lambda t: CALCULATION.fullmatch(t) is not None),
                        "a calculation posed")
    posed = calcul.name
    result = str(exact_result(posed))

    # A wrong first digit, erased; then the answer, one click a digit, the game saying each back.
    wrong = "9" if result[0] != "9" else "8"
    press(keys[wrong])
    wait_name(calcul, "%s, ta réponse %s" % (posed, wrong), "the calculation once %s is clicked" % wrong)
    press(keys["effacer"])
    wait_name(calcul, posed, "the calculation once the answer is erased")
    keyed = ""
    for digit in result:
        press(keys[digit])
        keyed += digit
        wait_name(calcul, "%s, ta réponse %s" % (posed, keyed), "the calculation once %s is clicked" % keyed)
    press(keys["valider"])
    verdict = "Excellent, tu marques 10 points"
    announced(screen, "%s. La réponse exacte est %s. Score 10." % (verdict, result))
    wait_state(need(screen, pyatspi.ROLE_LABEL, verdict), pyatspi.STATE_SHOWING)
    wait_state(need(screen, pyatspi.ROLE_LABEL, "Score 10"), pyatspi.STATE_SHOWING)
    print("  %-24s clicked %s on the pad -> %s" % (posed, result, verdict))

    # In the pause, a key of the pad poses the next calculation, as any key does.
    press(keys["5"])
    wait_until(lambda: quietly(lambda: calcul.name) != posed and CALCULATION.fullmatch(quietly(lambda: calcul.name, "")),
               "the next calculation after a pad key in the pause")
    stop = need(screen, pyatspi.ROLE_PUSH_BUTTON, "Arrêter le jeu")
    press(keys["valider"])  # nothing keyed: confirms nothing
    press(keys["4"])
    press(keys["valider"])
    wait_state(stop, pyatspi.STATE_SHOWING, what="the stop sign after a second verdict")
    press(stop)
    farewell = game.active_window(FAREWELL)
    press(need(farewell, pyatspi.ROLE_PUSH_BUTTON, "Quitter le jeu"))
    wait_until(lambda: game_process.poll() is not None, "the program to end after a click on its farewell arrow")
    if game_process.returncode != 0:
        raise Failure("the program ended with status %d" % game_process.returncode)


if __name__ == "__main__":
    run(main, "xdpyinfo")
