#!/usr/bin/python3
"""Plays Les Kovrant as a child who cannot see the screen: by ear, from what the Orca screen reader
says, and with the keyboard alone. Chooses a family, answers every calculation exactly as heard until
the score passes 99, hears the congratulations and the farewell, and ends the program.

    orca_play.py PROGRAM SPOKEN_LOG

Run inside scripts/session.sh. Starts Orca, then the program, as on the child's desktop. Speech
goes to a speech-dispatcher of our own whose only "synthesizer" appends each utterance to a file; no
sound device is needed. SPOKEN_LOG receives what Orca said, one utterance a line.
"""
from player import *  # noqa: F403 (the shared vocabulary of the desktop tests)

SPOKEN = re.compile(r"^(\d\d:\d\d:\d\d\.\d+) - SPEECH OUTPUT: '(.*?)'(?: voice=\w+)?\s*(?:\{.*\})?$")


class Ear:
    """What Orca has said so far, and where the player's attention is: each step listens only to what
    was said after the previous one."""

    def __init__(self, log, synthesized):
        self.log = log
        self.synthesized = synthesized
        self.mark = 0
        for path in (log, synthesized):
            open(path, "w").close()

    def listen(self):
        """What Orca has said so far: (time, text)."""
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return [m.groups() for m in map(SPOKEN.match, f.read().splitlines()) if m]

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

        return wait_until(probe, lambda: "%s; Orca said since the previous step: %s" % (what, self.since_mark()),
                          timeout)

    def hear_text(self, fragment, timeout=8):
        return self.hear("Orca to say %r" % fragment, lambda text: fragment in text, timeout)

    def synthesizer_got(self, fragment, timeout=5):
        """Waits for the synthesizer to receive `fragment` (Orca cancels speech on each key)."""
        wait_until(lambda: fragment in open(self.synthesized, encoding="utf-8", errors="replace").read(),
                   "the speech synthesizer to receive %r" % fragment, timeout)

    def step(self):
        """The next utterances belong to the next step."""
        self.mark = len(self.listen())


def spoken_alone(text, what):
    """The game's announcements are said as they are, without Orca naming the object that says them."""
    if "notification" in text.lower():
        raise Failure("Orca said %r for %s: the role's name before the game's words" % (text, what))
    return text


def play_question(ear, score):
    calculation = ear.hear("Orca to say a calculation", lambda text: CALCULATION.search(text) is not None)
    spoken_alone(calculation, "the calculation")
    if not CALCULATION.match(calculation):
        raise Failure("Orca said %r: something before the calculation" % calculation)
    result = exact_result(calculation)
    ear.synthesizer_got(CALCULATION.search(calculation).group(0))
    ear.step()
    # Each digit once the game has said back the answer so far: its own words, a sentence ("12."), not
    # Orca's echo of the key ("2 ").
    keyed = ""
    for digit in str(result):
        keys(digit)
        keyed += digit
        ear.hear("Orca to say the answer %s as keyed" % keyed,
                 lambda text, keyed=keyed: re.fullmatch(r"%s\." % keyed, text) is not None)
    ear.step()
    keys("Return")
    score += 10
    verdict = "Excellent, tu marques 10 points. La réponse exacte est %d. Score %d." % (result, score)
    said = spoken_alone(ear.hear_text(verdict), "the verdict")
    if not said.startswith(verdict):
        raise Failure("Orca said %r: something before the verdict" % said)
    print("  heard %r, keyed %d, heard %r" % (CALCULATION.search(calculation).group(0), result, verdict))
    return score


def run_orca(log):
    """Orca as its own launcher starts it, but under another process name (that launcher will not start
    while any Orca of the same user runs anywhere on the machine, and its --replace kills them all, so
    tests and the people at work on the machine would stop each other), and with what it says written
    to `log` line by line, every spoken text as "SPEECH OUTPUT: '...'" (Orca's own debug file is
    block-buffered and loses its end when Orca is stopped)."""
    sys.argv[0] = "kovrant-orca"
    from orca import debug
    debug.debugLevel = debug.LEVEL_INFO
    debug.debugFile = open(log, "w", buffering=1, encoding="utf-8")
    from orca import orca
    manager = orca.getSettingsManager()
    manager.activate(None, {})
    sys.path.insert(0, manager.getPrefsDir())
    return orca.main()


def start(name, *command, **env):
    log = open(os.path.join(os.environ["SESSION_DIR"], name + ".log"), "a")
    return subprocess.Popen(command, stdout=log, stderr=log, env=dict(os.environ, **env))


def speech(folder, synthesized):
    """speech-dispatcher with one module, which writes what it is to say to `synthesized`. It refuses a
    module without a voice, and a module that cannot open a sound device: libao's null driver is one.
    Clients send the language of their locale ("c", "en-us"); every one of them is read as UTF-8."""
    os.makedirs(folder + "/modules")
    with open(folder + "/speechd.conf", "w") as conf:
        conf.write(f'CommunicationMethod "unix_socket"\nSocketPath "{folder}/speechd.sock"\nTimeout 0\n'
                   'DefaultLanguage "fr"\nAudioOutputMethod "libao"\nAddModule "journal" "sd_generic" '
                   '"journal.conf"\nDefaultModule "journal"\nDisableAutoSpawn\n')
    with open(folder + "/modules/journal.conf", "w") as conf:
        conf.write(r"""GenericExecuteSynth "printf '%s\\n' \'$DATA\' >>""" + synthesized + '"\nAddVoice "fr" "MALE1" "fr"\n'
                   + "".join(f'GenericLanguage "{code}" "fr" "utf-8"\n' for code in ("fr", "c", "en", "en-us")))
    open(os.environ["HOME"] + "/.libao", "w").write("default_driver=null\n")
    start("speech-dispatcher", "speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", folder,
          "--pid-file", folder + "/pid", "--log-dir", folder, "--socket-path", folder + "/speechd.sock")
    wait_until(lambda: os.path.exists(folder + "/speechd.sock"), "speech-dispatcher to start")
    os.environ["SPEECHD_ADDRESS"] = "unix_socket:%s/speechd.sock" % folder


def main():
    if sys.argv[1] == "--orca":
        sys.exit(run_orca(sys.argv[2]))
    program, spoken = sys.argv[1:3]
    folder = os.environ["SESSION_DIR"]
    os.environ["LANG"] = "C.UTF-8"
    ear = Ear(folder + "/orca-speech.log", folder + "/synthesized.txt")
    speech(folder + "/speech", ear.synthesized)
    start("orca", sys.executable, os.path.abspath(__file__), "--orca", ear.log, LANGUAGE="fr")
    ear.hear_text("Lecteur d", timeout=10)
    game = start("kovrant", program, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
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
        wait_until(lambda: game.poll() is not None, "the program to end after Enter on its farewell arrow")
        if game.returncode != 0:
            raise Failure("the program ended with status %d" % game.returncode)
        for _, text in ear.listen():
            spoken_alone(text, "an announcement")
    except Failure:
        print("--- the synthesizer received:\n" + open(ear.synthesized).read())
        raise
    finally:
        with open(spoken, "w", encoding="utf-8") as out:
            out.writelines("%s %s\n" % heard for heard in ear.listen())
        print("--- Orca said (kept in %s):\n%s" % (spoken, open(spoken).read()))


if __name__ == "__main__":
    run(main, "speech-dispatcher", "orca", "/usr/lib/speech-dispatcher-modules/sd_generic")
