#!/usr/bin/python3
"""The Windows program's lines at the console, under Wine.

    windows_console.py KOVRANT.EXE      (KOVRANT_WINEPREFIX: a Wine prefix made for the run)

kovrant.exe is a windowed program, which Windows starts without a console. Started from cmd, its help
and its command-line mistakes must reach cmd's console, or the files cmd sends them to, with the status
of the run. Both are tried through Wine's cmd: once with cmd's redirections, and once in a terminal of
our own (a pseudo-terminal through script(1)), where Wine gives cmd a console.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

program = sys.argv[1]
ENV = dict(os.environ, WINEPREFIX=os.environ["KOVRANT_WINEPREFIX"], WINEDEBUG="-all",
           WINEDLLOVERRIDES="mscoree,mshtml=", HOME=os.environ["KOVRANT_WINEPREFIX"] + ".home")
ENV.pop("DISPLAY", None)

# The arguments, the status, the stream, and a line that must be seen.
CASES = [
    ("--help", 0, "stdout", "Les Kovrant : un jeu pour apprendre à estimer vite le résultat d'un calcul."),
    ("--temps zz", 2, "stderr", "Les Kovrant : « zz » n'est pas une durée possible pour --temps"),
]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


if shutil.which("wine") is None or shutil.which("script") is None:
    print("wine or script is missing")
    sys.exit(77)



def in_console(command):
    """What a terminal of our own shows of `wine cmd /c COMMAND`, then the status."""
    shell = f"wine cmd /c '{command}'; echo status=$?"
    seen = subprocess.run(["script", "-qec", shell, "/dev/null"], env=ENV, capture_output=True, timeout=120,
                          stdin=subprocess.DEVNULL).stdout.decode("utf-8", "replace")
    # Wine's console draws a blank as a cursor move.
    seen = re.sub(r"\x1b\[(\d*)C", lambda m: " " * int(m[1] or 1), seen)
    return re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", seen).replace("\r", "").strip()


work = tempfile.mkdtemp()
for arguments, status, stream, line in CASES:
    # Sent to files: the lines go there, and not to the console.
    out, err = os.path.join(work, "out.txt"), os.path.join(work, "err.txt")
    seen = in_console(f"{windows_path(program)} {arguments} > {windows_path(out)} 2> {windows_path(err)}")
    texts = {name: open(path, "rb").read().decode("cp1252") for name, path in (("stdout", out), ("stderr", err))}
    other = "stderr" if stream == "stdout" else "stdout"
    check(seen == f"status={status}" and line in texts[stream] and texts[other] == "",
          f"kovrant.exe {arguments} > file: {seen!r}, {stream} {texts[stream]!r}")

    # In cmd's console, whatever the stream.
    seen = in_console(f"{windows_path(program)} {arguments}")
    check(line in seen and seen.endswith(f"status={status}"), f"kovrant.exe {arguments} in a console: {seen!r}")
shutil.rmtree(work)
sys.exit(1 if failures else 0)
