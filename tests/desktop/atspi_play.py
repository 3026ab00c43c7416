#!/usr/bin/python3
"""Plays a whole game of Les Kovrant with the keyboard alone, reading the screens as an assistive
technology does, through the accessibility bus: the rules screen, one poor answer, ten exact answers,
and the congratulations.

    atspi_play.py [keyboards]

keyboards: plays two questions only, keyed on French then Belgian AZERTY keyboards (see keyboards()).
Run inside scripts/session.sh with --program.
"""

from player import *  # noqa: F403 (the shared vocabulary of the desktop tests)

EXACT = "Excellent, tu marques 10 points"
FAR_OFF = "Dommage, tu perds 5 points"
# The top row's 1 to 9 and 0 by their key codes: on AZERTY without Shift they type & é " ' ( - è _ ç à.
TOP_ROW = {str(d): str(10 + (d + 9) % 10) for d in range(10)}


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


def calculation(screen):
    return wait_until(lambda: find(screen, pyatspi.ROLE_LABEL, match=lambda t: CALCULATION.fullmatch(t) is not None),
                      lambda: "a calculation posed (the screen holds %s)" % [
                          describe(o) for o in descendants(screen) if quietly(o.getRole) == pyatspi.ROLE_LABEL])


def question(screen, score, exact, top_row=False):
    """One calculation: reads it, keys the exact result (or three times it, when not `exact`: more than
    twice the result loses points), with the top row's key codes when `top_row`, confirms with Enter and
    checks the verdict and the score; returns the new score."""
    calcul = calculation(screen)
    posed = calcul.name
    result = exact_result(posed)
    for label in ("Score %d" % score, EXACT, FAR_OFF):
        shown = find(screen, pyatspi.ROLE_LABEL, label)
        if shown is not None and has(shown, pyatspi.STATE_SHOWING):
            raise Failure("%r still shows while %r is posed" % (label, posed))

    answer = str(result if exact else 3 * result)
    keys(*(TOP_ROW[d] for d in answer) if top_row else answer)
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


def layout(name):
    """Switches the X server's keyboard layout while the game runs; AZERTY's top row types & without Shift."""
    subprocess.run(["setxkbmap", name], check=True)
    keymap = subprocess.run(["xkbcomp", "-w", "0", os.environ["DISPLAY"], "-"], capture_output=True, text=True)
    if not re.search(r"key <AE01> *\{[^}]*\[ *ampersand,", keymap.stdout):
        raise Failure("the X server did not take the %s layout" % name)


def keyboards(game):
    """French then Belgian AZERTY: the top row without Shift keys digits, letters are no answer. The
    pointer chooses on the presentation screen."""
    screen = game.active_window(PRESENTATION, timeout=10)
    box = need(screen, pyatspi.ROLE_CHECK_BOX, FAMILIES[0])
    click(*point(box))
    wait_state(box, pyatspi.STATE_CHECKED, what="the additions' box after a click")
    click(*point(need(screen, pyatspi.ROLE_PUSH_BUTTON, "Commencer le jeu")))
    screen = game.active_window(EXERCISE)
    score = 0
    for name in ("fr", "be"):
        layout(name)
        # Enter alone, then letters and Enter, judge nothing: the answer keyed next is the first one.
        keys("Return", "a", "z", "e", "Return")
        score = question(screen, score, exact=True, top_row=True)
        keys(TOP_ROW["0"])  # a top-row key ends the pause like any other
    calculation(screen)


def main():
    game = Game(int(os.environ["KOVRANT_PID"]))
    if sys.argv[1:] == ["keyboards"]:
        return keyboards(game)
    choose_and_start(game)

    screen = game.active_window(EXERCISE)
    wait_until(lambda: game.window(PRESENTATION) is None, "the presentation to leave the bus")
    score = question(screen, 0, exact=False)
    while score <= 99:
        keys("space")  # any key leaves the pause and poses the next calculation
        score = question(screen, score, exact=True)

    # The farewell that follows, and the end of the program, are heard in orca_play.py.
    keys("space")
    end = game.active_window(END)
    need(end, pyatspi.ROLE_LABEL, "Félicitations")
    announced(end, "Félicitations")


if __name__ == "__main__":
    run(main)
