#!/usr/bin/python3
"""The Windows installer under Wine, as a school's deployment tool and then a child use it.

    session.sh --wm -- windows_install_play.py SETUP.EXE STAGE

In a Wine prefix of its own (inside the session's folder, gone with it): SETUP.EXE /S lays down exactly
the files of STAGE (the folder the installer was made from), the Start-menu shortcuts, the entry of "Apps
and features" and the séance files' type for every account; the installed kovrant.exe starts and draws its
presentation; a question is played through the X server's keyboard on French AZERTY, where the top row
types digits only through Windows' virtual keys; Escape leads to the farewell, whose Enter ends the
program with status 0; uninstall.exe /S takes everything away again, the séance type with it.
KOVRANT_WINDOWS_SHOT names a file for a picture of the game as installed.
Wine has no accessibility bus to ask where controls are: positions come from the layouts, in twips, 15
to the pixel, the scene scaled to fit the window and centred.
"""

import os
import shutil
import subprocess
import sys
import time

setup, stage = sys.argv[1], sys.argv[2]
SESSION = os.environ["SESSION_DIR"]
PREFIX = os.path.join(SESSION, "wine")
INSTALLED = os.path.join(PREFIX, "drive_c", "Program Files", "Les Kovrant")
PROGRAM = "C:\\Program Files\\Les Kovrant\\kovrant.exe"
START_MENU = os.path.join(PREFIX, "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs")
SHORTCUTS = {  # the shortcut's name, and the arguments it gives the program
    "Les Kovrant": "",
    "Les Kovrant - Tiers-temps (40 secondes)": "--temps 40",
    "Les Kovrant - Sans limite de temps": "--temps aucune",
}
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Les Kovrant"
CLASSES = "HKLM\\Software\\Classes"
ASSOCIATION = {  # a key for every account, and a value it must hold
    CLASSES + "\\.kovrant": "(Default)    REG_SZ    LesKovrant.Seance",
    CLASSES + "\\LesKovrant.Seance\\DefaultIcon": f"(Default)    REG_SZ    {PROGRAM},0",
    CLASSES + "\\LesKovrant.Seance\\shell\\open\\command": f'(Default)    REG_SZ    "{PROGRAM}" "%1"',
    "HKCR\\.kovrant": "(Default)    REG_SZ    LesKovrant.Seance",
}
SCENE = (18960, 10215)  # the presentation's and the exercise's client area, in twips
TARGET_YELLOW = (750 * 20, 265 * 20)  # in the target's yellow disc, below the "+10"
EXERCISE_ARROW = ((10920, 9480), (11160, 9720))  # the middle of `flèche`, shown after a verdict
WINE_ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def finish():
    """Ends the test, with a picture of the screen if anything failed."""
    if failures:
        shot = os.path.join(os.environ.get("TMPDIR", "/tmp"), "kovrant-windows-failure.png")
        subprocess.run(["import", "-window", "root", shot], capture_output=True)
        print("the screen as it was: " + shot, flush=True)
    subprocess.run(["wineserver", "-k"], env=WINE_ENV, capture_output=True)
    sys.exit(1 if failures else 0)


def wine(*args, timeout=180):
    return subprocess.run(["wine", *args], env=WINE_ENV, capture_output=True, timeout=timeout)


def wait_until(predicate, seconds):
    deadline = time.monotonic() + seconds
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return value


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def files_under(folder):
    paths = [os.path.join(root, name) for root, _, names in os.walk(folder) for name in names]
    return {os.path.relpath(path, folder): open(path, "rb").read() for path in paths}


def colours(x, y, w=1, h=1):
    """The screen's pixels in a box, as (r, g, b) tuples."""
    data = subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "-depth", "8", "rgb:-"],
                          capture_output=True).stdout
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]


def geometry(window):
    """The client area on the root window (xdotool counts the frame twice under openbox)."""
    fields = dict(line.strip().partition(":")[::2] for line in run("xwininfo", "-id", window).splitlines())
    return [int(fields[k].strip()) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]


def at(window, twips):
    x, y, w, h = geometry(window)
    s = min(w / (SCENE[0] / 15), h / (SCENE[1] / 15))
    return (x + round((w - SCENE[0] / 15 * s) / 2) + int(twips[0] / 15 * s),
            y + round((h - SCENE[1] / 15 * s) / 2) + int(twips[1] / 15 * s))


def shown_windows():
    return run("xdotool", "search", "--onlyvisible", "--name", "^Les Kovrant$").split()


def new_window(known, alone=True):
    """The game's window that has the keyboard once it is another than `known`; `alone`: the one shown."""
    def found():
        windows = shown_windows()
        focus = run("xdotool", "getwindowfocus", "-f").strip()
        if focus in windows and focus != known and (len(windows) == 1 or not alone):
            return focus
        return None
    return wait_until(found, 60)


def arrow_shown(window):
    (x0, y0), (x1, y1) = at(window, EXERCISE_ARROW[0]), at(window, EXERCISE_ARROW[1])
    dark = [sum(c) < 3 * 200 for c in colours(x0, y0, x1 - x0, y1 - y0)]
    return sum(dark) > len(dark) // 4


def press(*keys):
    subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True)


for tool in ("wine", "wineserver", "xdotool", "xwininfo", "import", "setxkbmap", "xkbcomp"):
    if shutil.which(tool) is None:
        print(f"{tool} is missing (scripts/build-qt-windows.sh and scripts/setup-debian.sh --tests install it)")
        sys.exit(77)

# A new prefix, as on a freshly imaged school computer.
if not check(wine("wineboot", "-i").returncode == 0, "a new Wine prefix"):
    finish()
subprocess.run(["wineserver", "-w"], env=WINE_ENV)

# The deployment tool's silent install.
check(wine(setup, "/S").returncode == 0, "the installer ends with status 0 under /S")
staged = files_under(stage)
installed = files_under(INSTALLED)
check(installed.pop("uninstall.exe", None) is not None, "an uninstaller is installed")
check(installed == staged, f"the {len(staged)} staged files are installed, byte for byte")
for name, arguments in SHORTCUTS.items():
    path = os.path.join(START_MENU, name + ".lnk")
    link = open(path, "rb").read() if os.path.exists(path) else b""
    check(link and "kovrant.exe".encode("utf-16-le") in link.lower() and
          arguments.encode("utf-16-le") in link, f'the Start menu has "{name}" {arguments}'.rstrip())
entry = wine("reg", "query", UNINSTALL_KEY).stdout.decode(errors="replace")
for value in ("DisplayName    REG_SZ    Les Kovrant", "Publisher    REG_SZ    Les Kovrant",
              "DisplayVersion    REG_SZ    ", "DisplayIcon    REG_SZ    C:\\Program Files\\Les Kovrant\\kovrant.exe",
              'QuietUninstallString    REG_SZ    "C:\\Program Files\\Les Kovrant\\uninstall.exe" /S'):
    check(value in entry, f"Apps and features lists {value.split()[0]}")
for key, value in ASSOCIATION.items():
    check(value in wine("reg", "query", key).stdout.decode(errors="replace"), f"{key} holds {value}")

# French AZERTY: the top row types & é " ... without Shift.
subprocess.run(["setxkbmap", "fr"], check=True)
check('ampersand' in run("sh", "-c", "xkbcomp -w 0 $DISPLAY - | grep -A2 'key <AE01>'"), "the X server is on AZERTY")

# The program as the Start menu starts it, from elsewhere than its folder.
log = open(os.path.join(SESSION, "kovrant.log"), "wb")
game = subprocess.Popen(["wine", PROGRAM], env=WINE_ENV, cwd=SESSION, stdout=log, stderr=log)
presentation = new_window(None)
if not check(presentation is not None, "the installed program shows its presentation"):
    finish()


def target_drawn():
    return colours(*at(presentation, TARGET_YELLOW)) == [(255, 255, 0)]


check(wait_until(target_drawn, 20), "the presentation's target is drawn")
if os.environ.get("KOVRANT_WINDOWS_SHOT"):
    subprocess.run(["import", "-window", "root", os.environ["KOVRANT_WINDOWS_SHOT"]])

# Additions ticked (they have the focus), then Tab to the arrow and Enter: the exercise.
press("space", "Tab", "Tab", "Tab", "Return")
exercise = new_window(presentation)
if not check(exercise is not None, "the arrow opens the exercise"):
    finish()
check(not arrow_shown(exercise), "a question waits for its answer")
# The top row's 1 and 2 (& and é on AZERTY), then Enter: judged, so they were taken as digits.
press("10", "11", "Return")
check(wait_until(lambda: arrow_shown(exercise), 10), "& é and Enter on AZERTY give a verdict")
press("Escape")
check(wait_until(lambda: not arrow_shown(exercise), 10), "a key after the verdict poses the next question")
press("Escape")
farewell = new_window(exercise, alone=False)  # over the exercise
if not check(farewell is not None, "Escape leads to the farewell"):
    finish()
press("Return")
try:
    status = game.wait(30)
except subprocess.TimeoutExpired:
    status = None
check(status == 0, f"Enter on the farewell ends the program with status 0 (status {status})")

# The deployment tool's silent uninstall: the uninstaller runs on from a copy of itself, hence the wait
# for the whole prefix to settle.
check(wine(PROGRAM.replace("kovrant.exe", "uninstall.exe"), "/S").returncode == 0,
      "the uninstaller ends with status 0 under /S")
subprocess.run(["wineserver", "-w"], env=WINE_ENV, timeout=120)
check(not os.path.exists(INSTALLED), "the program's folder is gone")
check(not any(os.path.exists(os.path.join(START_MENU, n + ".lnk")) for n in SHORTCUTS), "the shortcuts are gone")
check(wine("reg", "query", UNINSTALL_KEY).returncode != 0, "Apps and features no longer lists it")
for key in ASSOCIATION:
    check(wine("reg", "query", key).returncode != 0, f"{key} is gone")
finish()
