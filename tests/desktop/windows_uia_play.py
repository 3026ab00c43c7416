#!/usr/bin/python3
"""The announcements of the Windows build as UI Automation hands them to a screen reader, under Wine.

    session.sh --wm -- windows_uia_play.py STAGE STANDIN.DLL CLIENT.EXE

In a Wine prefix of its own, STANDIN.DLL takes the place of the system's UIAutomationCore.dll (native first)
and records each notification event. The game of STAGE starts; CLIENT.EXE asks its window for its
provider, as a screen reader does first, which turns the program's accessibility on. One question is
played, its exact result keyed: the record must hold, in order and from the game's window, the
calculation, the answer as it grows, then the verdict with its points, the exact result and the score.
Then on Wine's own library, which lacks the event as Windows 10 before 1709 does, a question is played
all the same, and the game ends with status 0.
"""

import os
import re
import shutil
import subprocess
import sys
import time

stage, standin, client = sys.argv[1], sys.argv[2], sys.argv[3]
SESSION = os.environ["SESSION_DIR"]
PREFIX = os.path.join(SESSION, "wine")
RECORD = os.path.join(SESSION, "uia.txt")
CALCULATION = re.compile(r"(\d+) (plus|moins|fois|divisé par) (\d+)")
OPERATIONS = {"plus": int.__add__, "moins": int.__sub__, "fois": int.__mul__, "divisé par": int.__floordiv__}
STANDIN = os.path.join(PREFIX, "drive_c", "windows", "system32", "uiautomationcore.dll")
ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;uiautomationcore=n,b",
           KOVRANT_UIA_RECORD="Z:" + RECORD.replace("/", "\\"))

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def finish():
    subprocess.run(["wineserver", "-k"], env=ENV, capture_output=True)
    sys.exit(1 if failures else 0)


def wait_until(predicate, seconds):
    deadline = time.monotonic() + seconds
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return value


def focused_window(known):
    """The game's window that has the keyboard, once it is another than `known`."""
    def found():
        run = lambda *args: subprocess.run(args, capture_output=True, text=True).stdout  # noqa: E731
        focus = run("xdotool", "getwindowfocus", "-f").strip()
        shown = run("xdotool", "search", "--onlyvisible", "--name", "^Les Kovrant$").split()
        return focus if focus in shown and focus != known else None
    return wait_until(found, 60)


def press(*keys):
    subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True)


def records():
    """(kind, processing, window, text, activity) for each call the stand-in recorded."""
    if not os.path.exists(RECORD):
        return []
    with open(RECORD, encoding="utf-8") as f:
        return [tuple(line.rstrip("\n").split("\t")) for line in f]


for tool in ("wine", "wineserver", "xdotool"):
    if shutil.which(tool) is None:
        print(f"{tool} is missing (scripts/build-qt-windows.sh and scripts/setup-debian.sh --tests install it)")
        sys.exit(77)
if not check(subprocess.run(["wine", "wineboot", "-i"], env=ENV, capture_output=True).returncode == 0,
             "a new Wine prefix"):
    finish()
subprocess.run(["wineserver", "-w"], env=ENV)


def play(answer):
    """Starts the game, has a screen reader ask for its window, answers one question (`answer()` gives the
    keys) and leaves: the exit status."""
    log = open(os.path.join(SESSION, "kovrant.log"), "ab")
    game = subprocess.Popen(["wine", os.path.join(stage, "kovrant.exe"), "--temps", "aucune"], env=ENV,
                            cwd=SESSION, stdout=log, stderr=log)
    presentation = focused_window(None)
    if not check(presentation is not None, "the game shows its presentation"):
        finish()
    asked = subprocess.run(["wine", client, "Les Kovrant"], env=ENV, capture_output=True, timeout=60)
    check(asked.returncode == 0, "its window answers a screen reader's first question")
    press("space", "Tab", "Tab", "Tab", "Return")  # additions ticked, then the arrow: the exercise
    exercise = focused_window(presentation)
    if not check(exercise is not None, "the arrow opens the exercise"):
        finish()
    press(*answer(), "Return")
    if os.path.exists(STANDIN):
        wait_until(lambda: (r := records()) and r[-1][3].startswith("Excellent"), 20)
    press("Escape", "Escape")  # the next question, then the farewell over the exercise
    if check(focused_window(exercise) is not None, "Escape leads to the farewell"):
        press("Return")
    try:
        return game.wait(30)
    except subprocess.TimeoutExpired:
        return None


def exact_answer():
    first = wait_until(records, 20)
    posed = CALCULATION.fullmatch(first[0][3]) if first else None
    if not check(posed is not None, f"the exercise announces its calculation first: {first}"):
        finish()
    return str(OPERATIONS[posed[2]](int(posed[1]), int(posed[3])))


# In the system's folder, where the program and Qt's bridge look for the library.
shutil.copyfile(standin, STANDIN)
status = play(exact_answer)
check(status == 0, f"the game ends with status 0 (status {status})")
for line in records():
    print("     recorded: " + " | ".join(line), flush=True)
said = records()
said = said[:1 + next((i for i, r in enumerate(said) if r[3].startswith("Excellent")), len(said))]
check(all(r[:3] == ("4", "0", "Les Kovrant") and r[4] == "fr.leskovrant.Kovrant.annonce" for r in said),
      "each of kind Other, processing ImportantAll, from the game's window, with the game's activity")
posed = CALCULATION.fullmatch(said[0][3]) if said else None
answer = str(OPERATIONS[posed[2]](int(posed[1]), int(posed[3]))) if posed else "?"
keyed = " ".join(answer[:n] for n in range(1, len(answer) + 1))
check(" ".join(r[3] for r in said[1:-1]) == keyed, f"after the calculation, the answer as it is keyed: {keyed}")
check(said and said[-1][3] == f"Excellent, tu marques 10 points. La réponse exacte est {answer}. Score 10.",
      "last, the verdict with its points, the exact result and the score")

os.remove(STANDIN)
if os.path.exists(RECORD):
    os.remove(RECORD)
status = play(lambda: "1")
check(status == 0 and not os.path.exists(RECORD), f"without the event, the game plays on (status {status})")
finish()
