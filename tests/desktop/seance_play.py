#!/usr/bin/python3
"""A teacher's séance on a real display: opened as a double click opens it, played, and cut short by the
session's end, each time leaving its bilan whole in the folder the séance names.

    seance_play.py xdg-open|display KOVRANT DESKTOP_ENTRY MIME_XML

xdg-open: the desktop entry and the MIME type installed in a data folder of our own, as the package
          installs them; `xdg-open maths.kovrant` starts the game on that séance; one calculation
          answered, then SIGTERM as a logout sends it.
display:  two calculations answered, then the X server stopped under the game.
Either way the bilan holds its header, a row per calculation answered and a last row that says the
séance was interrupted. Run inside scripts/session.sh (without --program).
"""
import csv
import glob
import signal

from player import *  # noqa: F403 (the shared vocabulary of the desktop tests)

CALCULS = [("345 × 21", "345 fois 21", 7245), ("5 929 : 7", "5929 divisé par 7", 847),
           ("12 345 + 67 890", "12345 plus 67890", 80235)]
HEADER = ["date", "heure", "séance", "compte", "prénom", "n°", "calcul", "estimation", "résultat exact",
          "écart en %", "points", "anneau", "secondes"]


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        raise Failure(what)


def prepare():
    here = os.path.join(os.environ["SESSION_DIR"], "classe")
    os.makedirs(os.path.join(here, "bilans"))
    seance = os.path.join(here, "maths.kovrant")
    with open(seance, "w", encoding="utf-8") as f:
        f.write("titre = Du tableau\nbilan = bilans\n" + "".join(c + "\n" for c, _, _ in CALCULS))
    return seance, os.path.join(here, "bilans")


def install(entry, mime_xml, kovrant):
    """The entry and the type where a package puts them, in a data folder of our own, the entry's program
    being the one under test; returns the environment that sees them."""
    share = os.path.join(os.environ["SESSION_DIR"], "share")
    os.makedirs(os.path.join(share, "applications"))
    os.makedirs(os.path.join(share, "mime", "packages"))
    with open(entry, encoding="utf-8") as f:
        text = re.sub(r"^Exec=kovrant ", "Exec=%s " % kovrant, f.read(), flags=re.M)
    with open(os.path.join(share, "applications", os.path.basename(entry)), "w", encoding="utf-8") as f:
        f.write(text)
    shutil.copy(mime_xml, os.path.join(share, "mime", "packages"))
    subprocess.run(["update-mime-database", os.path.join(share, "mime")], check=True, capture_output=True)
    subprocess.run(["update-desktop-database", os.path.join(share, "applications")], check=True)
    return dict(os.environ, XDG_DATA_HOME=share, XDG_DATA_DIRS="/usr/share",
                XDG_CONFIG_HOME=os.path.join(os.environ["SESSION_DIR"], "config"),
                XDG_CURRENT_DESKTOP="", QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")


def game_pid(kovrant, seance):
    """The game xdg-open started, found among our session's processes by its command line."""
    for stat in glob.glob("/proc/[0-9]*/cmdline"):
        try:
            with open(stat, "rb") as f:
                line = f.read().split(b"\0")
        except OSError:
            continue
        if line and line[0] == kovrant.encode() and seance.encode() in line:
            return int(stat.split("/")[2])
    return None


def answer(screen, n):
    """Answers the séance's calculation n exactly, as posed in the séance's order."""
    posed = wait_until(lambda: find(screen, pyatspi.ROLE_LABEL, match=lambda t: CALCULATION.fullmatch(t) is not None),
                       "calculation %d posed" % (n + 1))
    check(posed.name == CALCULS[n][1], "calculation %d is the séance's %r (%r)" % (n + 1, CALCULS[n][1], posed.name))
    keys(*str(CALCULS[n][2]), "Return")
    wait_state(need(screen, pyatspi.ROLE_PUSH_BUTTON, "Question suivante"), pyatspi.STATE_SHOWING)
    if n + 1 < len(CALCULS):
        keys("space")


def play(pid, answered):
    game = Game(pid)
    rules = game.active_window(PRESENTATION, timeout=10)
    need(rules, pyatspi.ROLE_PUSH_BUTTON, "Commencer le jeu").queryAction().doAction(0)
    screen = game.active_window(EXERCISE, timeout=10)
    for n in range(answered):
        answer(screen, n)


def bilan_complete(folder, answered):
    files = glob.glob(os.path.join(folder, "*.csv"))
    check(len(files) == 1, "one bilan in the séance's folder (%s)" % files)
    name = os.path.basename(files[0])
    check(re.fullmatch(r"\d{4}-\d\d-\d\d_\d\dh\d\d_maths_.*\.csv", name) is not None, "its name: %s" % name)
    with open(files[0], "rb") as f:
        raw = f.read()
    check(raw.startswith(b"\xef\xbb\xbf"), "UTF-8 with a byte-order mark")
    rows = list(csv.reader(raw.decode("utf-8-sig").splitlines(), delimiter=";"))
    check(rows[0] == HEADER, "the header row")
    check(len(rows) == answered + 2, "%d rows and the interruption (%d rows)" % (answered, len(rows) - 1))
    for n, row in enumerate(rows[1:-1]):
        calcul, _, result = CALCULS[n]
        check(row[5:9] == [str(n + 1), calcul, str(result), str(result)] and row[10] == "10",
              "row %d: %s" % (n + 1, row))
    check("séance interrompue" in rows[-1][6], "the last row says the séance was interrupted: %s" % rows[-1])


def main():
    mode, kovrant, entry, mime_xml = sys.argv[1:5]
    seance, folder = prepare()
    if mode == "xdg-open":
        env = install(entry, mime_xml, kovrant)
        kind = subprocess.run(["xdg-mime", "query", "filetype", seance], env=env, capture_output=True, text=True)
        check(kind.stdout.strip() == "application/x-kovrant", "a séance is application/x-kovrant (%r)" % kind.stdout)
        subprocess.Popen(["xdg-open", seance], env=env, stdin=subprocess.DEVNULL)
        pid = wait_until(lambda: game_pid(kovrant, seance), "the game started by xdg-open on the séance", 10)
        play(pid, 1)
        os.kill(pid, signal.SIGTERM)
        wait_until(lambda: ended(pid), "the game ended by SIGTERM")
        bilan_complete(folder, 1)
    else:
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        game = subprocess.Popen([kovrant, seance], env=env, stdin=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                text=True)
        play(game.pid, 2)
        os.kill(int(os.environ["XVFB_PID"]), signal.SIGTERM)
        game.wait(timeout=10)
        check(game.returncode == 1, "the display lost: status 1 (%s)" % game.returncode)
        bilan_complete(folder, 2)


run(main, "xdg-open", "xdg-mime", "update-mime-database", "update-desktop-database")
