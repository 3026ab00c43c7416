#!/usr/bin/python3
"""Plays a whole game of Les Kovrant with the keyboard alone, reading the screens as an assistive
technology does, through the accessibility bus: the rules screen, one poor answer, ten exact answers,
the congratulations, the farewell, and the end of the program.

Run inside tests/desktop/session.sh with --program: it needs DISPLAY, the session bus and KOVRANT_PID.
"""
import os
import sys

try:
    import pyatspi
except ImportError:
    print("atspi_play: /usr/bin/python3 has no pyatspi (Debian python3-pyatspi)", file=sys.stderr)
    sys.exit(77)

from player import CALCULATION, Failure, exact_result, keys, run, wait_until

PRESENTATION = "Les Kovrant, règles du jeu et choix des opérations"
EXERCISE = "Les Kovrant, exercice"
END = "Les Kovrant, fin du jeu"
FAREWELL = "Les Kovrant, au revoir"
FAMILIES = ["Additions, soustractions", "Multiplications", "Divisions"]
EXACT = "Excellent, tu marques 10 points"
FAR_OFF = "Dommage, tu perds 5 points"


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


class Game:
    def __init__(self, pid):
        self.pid = pid
        self.app = wait_until(self._application, "the game on the accessibility bus", timeout=10)

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

    def closed(self, name):
        """Waits until no window of that name is left on the bus."""
        wait_until(lambda: self.window(name) is None, "the window %r to leave the bus" % name)


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


def choose_and_start(game):
    screen = game.active_window(PRESENTATION, timeout=10)
    boxes = [need(screen, pyatspi.ROLE_CHECK_BOX, name) for name in FAMILIES]
    start = need(screen, pyatspi.ROLE_PUSH_BUTTON, "Commencer le jeu")
    stop = need(screen, pyatspi.ROLE_PUSH_BUTTON, "Arrêter le jeu")
    need(screen, pyatspi.ROLE_LABEL, "Choisis tes opérations")
    for box in boxes:
        if has(box, pyatspi.STATE_CHECKED):
            raise Failure("%s is ticked before the player chose anything" % describe(box))
    wait_state(boxes[0], pyatspi.STATE_FOCUSED, what="the first family, when the rules show,")

    # Tab goes round the three families, the arrow and the stop sign; Shift+Tab back.
    cycle = boxes + [start, stop]
    for here, there in zip(cycle, cycle[1:] + cycle[:1]):
        keys("Tab")
        wait_state(there, pyatspi.STATE_FOCUSED, what="Tab from %s: %s" % (quietly(lambda: here.name), describe(there)))
        if has(here, pyatspi.STATE_FOCUSED):
            raise Failure("%s keeps the focus after Tab" % describe(here))
    keys("shift+Tab", "shift+Tab")
    wait_state(start, pyatspi.STATE_FOCUSED, what="the arrow after two Shift+Tab from the first family")

    # The arrow does nothing but say why while no family is chosen.
    keys("Return")
    announced(screen, "Choisis d'abord une opération")
    if game.window(EXERCISE) is not None:
        raise Failure("the exercise opened with no family chosen")

    # Every family, ticked with Space as the focus passes.
    keys("Tab", "Tab")
    for box in boxes:
        wait_state(box, pyatspi.STATE_FOCUSED)
        keys("space")
        wait_state(box, pyatspi.STATE_CHECKED, what="%s after Space" % describe(box))
        keys("Tab")
    wait_state(start, pyatspi.STATE_FOCUSED)
    keys("Return")


def question(screen, score, exact):
    """One calculation: reads it, keys the exact result (or three times it, when not `exact`: more than
    twice the result loses points), confirms with Enter and checks the verdict and the score; returns
    the new score."""
    calcul = wait_until(lambda: find(screen, pyatspi.ROLE_LABEL,
                                     match=lambda t: CALCULATION.fullmatch(t) is not None),
                        lambda: "a calculation posed (the screen holds %s)" % [
                            describe(o) for o in descendants(screen) if quietly(o.getRole) == pyatspi.ROLE_LABEL])
    posed = calcul.name
    result = exact_result(posed)
    for label in ("Score %d" % score, EXACT, FAR_OFF):
        shown = find(screen, pyatspi.ROLE_LABEL, label)
        if shown is not None and has(shown, pyatspi.STATE_SHOWING):
            raise Failure("%r still shows while %r is posed" % (label, posed))

    answer = str(result if exact else 3 * result)
    keys(*answer)
    wait_name(calcul, "%s, ta réponse %s" % (posed, answer), "the calculation once %s is keyed" % answer)
    announced(screen, answer)
    keys("Return")

    new_score = score + 10 if exact else max(score - 5, 0)
    verdict = EXACT if exact else FAR_OFF
    said = "%s. La réponse exacte est %d. Score %d." % (verdict, result, new_score)
    if exact:
        announced(screen, said)
    else:
        # A far-off answer also hears the same calculation on rounded operands.
        wait_until(lambda: find(screen, pyatspi.ROLE_NOTIFICATION, match=lambda t: t.startswith(said + " Aide : ")),
                   lambda: "the announcement %r followed by the help line (announcer: %s)" % (said, announcers(screen)))
        help_line = need(screen, pyatspi.ROLE_LABEL, match=lambda t: " égale " in t, what="help line")
        wait_state(help_line, pyatspi.STATE_SHOWING)
    comment = need(screen, pyatspi.ROLE_LABEL, verdict)
    wait_state(comment, pyatspi.STATE_SHOWING)
    need(screen, pyatspi.ROLE_LABEL, "la réponse exacte est %d" % result)
    wait_state(need(screen, pyatspi.ROLE_LABEL, "Score %d" % new_score), pyatspi.STATE_SHOWING)
    zone = ("le disque jaune du centre, plus 10 points" if exact else "l'anneau blanc, moins 5 points")
    need(screen, pyatspi.ROLE_IMAGE, "Cible : ta réponse est dans %s" % zone)
    wait_state(need(screen, pyatspi.ROLE_PUSH_BUTTON, "Question suivante"), pyatspi.STATE_SHOWING)
    print("  %-24s keyed %-9s -> %s, score %d" % (posed, answer, verdict, new_score))
    return new_score


def main():
    pid = int(os.environ["KOVRANT_PID"])
    game = Game(pid)
    choose_and_start(game)

    screen = game.active_window(EXERCISE)
    game.closed(PRESENTATION)
    score = question(screen, 0, exact=False)
    while score <= 99:
        keys("space")  # any key leaves the pause and poses the next calculation
        score = question(screen, score, exact=True)

    keys("space")
    end = game.active_window(END)
    need(end, pyatspi.ROLE_LABEL, "Félicitations")
    announced(end, "Félicitations")
    keys("Return")

    farewell = game.active_window(FAREWELL)
    announced(farewell, "Au revoir")
    arrow = need(farewell, pyatspi.ROLE_PUSH_BUTTON, "Quitter le jeu")
    wait_state(arrow, pyatspi.STATE_FOCUSED, what="the farewell's arrow")
    keys("Return")
    wait_until(lambda: not os.path.exists("/proc/%d" % pid) or
               open("/proc/%d/stat" % pid).read().split(") ")[1].startswith("Z"),
               "the program to end after Enter on its farewell arrow")
    print("the game ended by Enter on the farewell arrow")


if __name__ == "__main__":
    run(main)
