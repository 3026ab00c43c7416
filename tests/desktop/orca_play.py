#!/usr/bin/python3
"""Plays Les Kovrant as a child who cannot see the screen: by ear, from what the Orca screen reader
says, and with the keyboard alone. Chooses a family, answers every calculation exactly as heard until
the score passes 99, hears the congratulations and the farewell, and ends the program.

    orca_play.py ORCA_LOG SYNTHESIZED SPOKEN_OUT

ORCA_LOG is the file orca_run.py writes, SYNTHESIZED the one the speech synthesizer writes; SPOKEN_OUT
receives what Orca said, one utterance a line.
Run by orca_speech.sh, once Orca and then the program have started.
"""
import re
import sys
import time

from player import CALCULATION, Failure, exact_result, keys, run, wait_until

SPOKEN = re.compile(r"^(\d\d:\d\d:\d\d\.\d+) - SPEECH OUTPUT: '(.*?)'(?: voice=\w+)?\s*(?:\{.*\})?$")


class Ear:
    """What Orca has said so far, and where the player's attention is: each step listens only to what
    was said after the previous one."""

    def __init__(self, log, synthesized):
        self.log = log
        self.synthesized = synthesized
        self.heard = []  # (time, text)
        self.mark = 0

    def listen(self):
        with open(self.log, encoding="utf-8", errors="replace") as f:
            self.heard = [m.groups() for m in map(SPOKEN.match, f.read().splitlines()) if m]
        return self.heard

    def since_mark(self):
        return [text for _, text in self.listen()[self.mark:]]

    def hear(self, what, accept, timeout=8):
        """Waits for an utterance, said since the last step, that `accept`s; returns it and moves the
        attention past it."""
        def probe():
            for i, text in enumerate(self.since_mark()):
                if accept(text):
                    self.mark += i + 1
                    return text
            return None

        try:
            return wait_until(probe, what, timeout)
        except Failure as failure:
            raise Failure("%s; Orca said since the previous step: %s" % (failure, self.since_mark()))

    def hear_text(self, fragment, timeout=8):
        return self.hear("Orca to say %r" % fragment, lambda text: fragment in text, timeout)

    def synthesizer_got(self, fragment, timeout=5):
        """Waits for the synthesizer to receive `fragment` (Orca cancels speech on each key)."""
        def probe():
            try:
                with open(self.synthesized, encoding="utf-8", errors="replace") as f:
                    return fragment in f.read()
            except FileNotFoundError:
                return False

        wait_until(probe, "the speech synthesizer to receive %r" % fragment, timeout)

    def step(self):
        """The next utterances belong to the next step."""
        self.mark = len(self.listen())


def play_question(ear, score):
    calculation = ear.hear("Orca to say a calculation", lambda text: CALCULATION.search(text) is not None)
    result = exact_result(calculation)
    ear.synthesizer_got(CALCULATION.search(calculation).group(0))
    ear.step()
    # Each digit once the game has said back the answer so far: its own words, not Orca's echo of the key.
    keyed = ""
    for digit in str(result):
        keys(digit)
        keyed += digit
        ear.hear("Orca to say the answer %s as keyed" % keyed,
                 lambda text, keyed=keyed: re.search(r"notification %s\b" % keyed, text) is not None)
    ear.step()
    keys("Return")
    score += 10
    verdict = "Excellent, tu marques 10 points. La réponse exacte est %d. Score %d." % (result, score)
    ear.hear_text(verdict)
    print("  heard %r, keyed %d, heard %r" % (CALCULATION.search(calculation).group(0), result, verdict))
    return score


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    ear = Ear(sys.argv[1], sys.argv[2])
    try:
        ear.hear_text("Additions, soustractions", timeout=15)
        ear.step()
        keys("space")
        ear.hear_text("cochée")
        ear.step()
        keys("Tab", "Tab", "Tab", delay_ms=150)
        ear.hear_text("Commencer le jeu")
        ear.step()
        keys("Return")
        score = 0
        while score <= 99:
            score = play_question(ear, score)
            ear.step()
            keys("space")  # the next calculation, or the end of the game
        ear.hear_text("Félicitations")
        ear.step()
        keys("Return")
        ear.hear_text("Au revoir")
        ear.hear_text("Quitter le jeu")
        ear.synthesizer_got("Quitter le jeu")
        keys("Return")
    finally:
        with open(sys.argv[3], "w", encoding="utf-8") as out:
            out.writelines("%s %s\n" % heard for heard in ear.listen())


if __name__ == "__main__":
    run(main)
