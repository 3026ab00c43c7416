#!/usr/bin/python3
"""The announcements of the Windows build, as UI Automation hands them to a screen reader, under Wine.

    session.sh --wm -- windows_uia_play.py STAGE STANDIN.DLL CLIENT.EXE

In a Wine prefix of its own, STANDIN.DLL takes the place of the system's UIAutomationCore.dll (native first
for uiautomationcore): it records each notification event, with its kind, its processing and the window it
comes from. The game of STAGE (the folder the installer is made from) starts; CLIENT.EXE asks its window
for its UI Automation provider, as a screen reader does first, which turns the program's accessibility on.
One question is played on the keyboard, the exact result keyed and confirmed: the record must hold, in
this order and from the game's window, the calculation, the answer as it grows, and the verdict with its
points, the exact result and the score. The same game then runs on Wine's own UIAutomationCore.dll, which
lacks the event, as Windows 10 before 1709 does: nothing is recorded, and the game plays and ends with
status 0 all the same.
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
SYSTEM_COPY = os.path.join(PREFIX, "drive_c", "windows", "system32", "uiautomationcore.dll")
WINDOW = "Les Kovrant"
ACTIVITY = "fr.leskovrant.Kovrant.annonce"
KIND_OTHER, IMPORTANT_ALL = "4", "0"
OPERATIONS = {"plus": lambda a, b: a + b, "moins": lambda a, b: a - b, "fois": lambda a, b: a * b,
              "divisé par": lambda a, b: a // b}


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def wine_env(native):
    overrides = "mscoree,mshtml=" + (";uiautomationcore=n" if native else ";uiautomationcore=b")
    return dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES=overrides,
                KOVRANT_UIA_RECORD=windows_path(RECORD))


failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def finish():
    subprocess.run(["wineserver", "-k"], env=wine_env(False), capture_output=True)
    sys.exit(1 if failures else 0)


def wait_until(predicate, seconds):
    deadline = time.monotonic() + seconds
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return value


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def focused_window(known):
    """The game's window that has the keyboard, once it is another than `known`."""
    def found():
        windows = run("xdotool", "search", "--onlyvisible", "--name", f"^{WINDOW}$").split()
        focus = run("xdotool", "getwindowfocus", "-f").strip()
        return focus if focus in windows and focus != known else None
    return wait_until(found, 60)


def press(*keys):
    subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True)


def records():
    """The stand-in's record: (kind, processing, window, text, activity) per call."""
    if not os.path.exists(RECORD):
        return []
    with open(RECORD, encoding="utf-8") as f:
        return [tuple(line.rstrip("\n").split("\t")) for line in f]


def play(native):
    """Starts the game, turns its accessibility on, plays one question and leaves: the exit status, and
    the record as it stood once the verdict was said."""
    env = wine_env(native)
    log = open(os.path.join(SESSION, "kovrant.log"), "ab")
    game = subprocess.Popen(["wine", os.path.join(stage, "kovrant.exe"), "--temps", "aucune"], env=env,
                            cwd=SESSION, stdout=log, stderr=log)
    presentation = focused_window(None)
    if not check(presentation is not None, "the game shows its presentation"):
        return None, []
    asked = subprocess.run(["wine", client, WINDOW], env=env, capture_output=True, timeout=60)
    check(asked.returncode == 0, "the game's window answers a screen reader's first question")
    # Additions ticked (the focus is on them), then Tab to the arrow and Enter: the exercise.
    press("space", "Tab", "Tab", "Tab", "Return")
    exercise = focused_window(presentation)
    if not check(exercise is not None, "the arrow opens the exercise"):
        return None, []
    if native:
        first = wait_until(records, 20)
        calculation = re.fullmatch(r"(\d+) (plus|moins|fois|divisé par) (\d+)", first[0][3]) if first else None
        if not check(calculation is not None, f"the calculation is announced first: {first[:1]}"):
            return None, []
        answer = str(OPERATIONS[calculation[2]](int(calculation[1]), int(calculation[3])))
    else:
        answer = "1"
    press(*answer, "Return")
    at_verdict = native and wait_until(
        lambda: (said := records()) and said[-1][3].startswith("Excellent") and said, 20)
    press("Escape", "Escape")  # the next question, then the farewell over the exercise
    if check(focused_window(exercise) is not None, "Escape leads to the farewell"):
        press("Return")
    try:
        return game.wait(30), at_verdict or []
    except subprocess.TimeoutExpired:
        game.kill()
        return None, at_verdict or []


for tool in ("wine", "wineserver", "xdotool"):
    if shutil.which(tool) is None:
        print(f"{tool} is missing (scripts/build-qt-windows.sh and scripts/setup-debian.sh --tests install it)")
        sys.exit(77)

if not check(subprocess.run(["wine", "wineboot", "-i"], env=wine_env(False), capture_output=True,
                            timeout=180).returncode == 0, "a new Wine prefix"):
    finish()
subprocess.run(["wineserver", "-w"], env=wine_env(False))

# The stand-in in the system's folder, where the program and Qt's bridge look for the library.
shutil.copyfile(standin, SYSTEM_COPY)
status, said = play(native=True)
check(status == 0, f"the game ends with status 0 (status {status})")
for line in records():
    print("     recorded: " + " | ".join(line), flush=True)
check(len(said) >= 3 and all(len(r) == 5 for r in said), f"{len(said)} notifications, each complete")
check(all(r[:3] == (KIND_OTHER, IMPORTANT_ALL, WINDOW) and r[4] == ACTIVITY for r in said),
      "every one of kind Other, processing ImportantAll, activity " + ACTIVITY + ", from the game's window")
if len(said) >= 3:
    calculation = re.fullmatch(r"(\d+) (plus|moins|fois|divisé par) (\d+)", said[0][3])
    answer = str(OPERATIONS[calculation[2]](int(calculation[1]), int(calculation[3]))) if calculation else "?"
    keyed = " ".join(answer[:n] for n in range(1, len(answer) + 1))
    check(" ".join(r[3] for r in said[1:-1]) == keyed, f"then the answer as it is keyed: {keyed}")
    check(said[-1][3] == f"Excellent, tu marques 10 points. La réponse exacte est {answer}. Score 10.",
          "last, the verdict with its points, the exact result and the score")

# Wine's own library, without the event.
os.remove(SYSTEM_COPY)
os.remove(RECORD)
status, _ = play(native=False)
check(status == 0, f"without the event, the game plays and ends with status 0 (status {status})")
check(not os.path.exists(RECORD), "and nothing is recorded")
finish()
