#!/usr/bin/env python3
"""Planted faults: proves that the test suites catch what they are meant to catch.

Each fault below is one line of the sources changed the way a slip of the keyboard would change it. The
tool copies the repository's files into a scratch tree (kept between runs), applies one fault at a time,
rebuilds incrementally, runs the suites and writes which tests failed. A fault no test notices is MISSED;
a fault that no longer builds is "not applicable". A fault whose text is not found exactly once stops
the run at once: the code it aimed at has moved, and the fault must follow it.

    tools/mutants.py [--only ID...] [--suites in-process|all] [--first] [--jobs N] [--out table.md]
    tools/mutants.py --windows QT [--only ID...] [--first] [--jobs N] [--out table.md]

The suites run one by one, fastest first as timed on the unchanged tree; --first stops at the first that
fails. With --suites all, the desktop suites also run for the faults of the areas only a real display
shows (windows, keyboards), when the in-process suites miss them. The faults of the Windows build (area
"windows-build": code that only Windows compiles, the installer) run only with --windows, in a cross build
against that Qt for Windows (scripts/build-qt-windows.sh), where the suites labelled windows judge them.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

# (id, area, description, file, text to replace, replacement)
FAULTS = [
    # Rules.
    ("rules-family-1-3", "rules", "families 1 and 3 alone draw 1 or 2",
     "src/model/regles.cpp", "(base::Integer(2) * entierCourt(2 * r()) + 1)", "(entierCourt(2 * r()) + 1)"),
    ("rules-gap-100", "rules", "a subtraction's rounded operands may differ by 10",
     "src/model/regles.cpp", "c.nombre2)) > 100.0f) {", "c.nombre2)) > 10.0f) {"),
    ("rules-larger-first", "rules", "a subtraction may come out negative",
     "src/model/regles.cpp", "if (c.nombre1 < c.nombre2) {", "if (c.nombre1 > c.nombre2) {"),
    ("rules-level-20", "rules", "multiplications change level one score early",
     "src/model/regles.cpp", "} else if (score_ <= 20) {", "} else if (score_ < 20) {"),
    ("rules-whole-division", "rules", "a division no longer comes out whole",
     "src/model/regles.cpp", "double(c.resultat) * double(c.nombre2));",
     "double(c.resultat) * double(c.nombre2) + 1);"),
    ("rules-offset-times", "rules", "the second operand's blank shifts a product by 10",
     "src/model/regles.cpp", "base::Integer(blanc2 ? 8 : 0)", "base::Integer(blanc2 ? 10 : 0)"),
    ("rules-divide-sign", "rules", "a division is written with a slash",
     "src/model/regles.cpp", 'return QStringLiteral(" : ");', 'return QStringLiteral(" / ");'),
    ("rules-band-limit", "scoring", "the centre takes answers up to 6 % off",
     "src/model/regles.cpp", '{0.05f, 10, "Excellent', '{0.06f, 10, "Excellent'),
    ("rules-band-points", "scoring", "the red ring gives 4 points",
     "src/model/regles.cpp", '{0.1f, 5, "Tr', '{0.1f, 4, "Tr'),
    ("rules-ratio-inverse", "scoring", "an answer above the result is not measured as a ratio below 1",
     "src/model/regles.cpp", "if (q > 1.0f) {", "if (q > 2.0f) {"),
    ("rules-help-minus", "rules", "the help's rounded difference is taken the wrong way",
     "src/model/regles.cpp", "double(l.arrondi1) - double(l.arrondi2)", "double(l.arrondi2) - double(l.arrondi1)"),
    ("rules-help-divide", "rules", "the help's rounded quotient is not rounded",
     "src/model/regles.cpp", "l.resultat_arrondi = base::roundToLeadingDigit(l.arrondi1);",
     "l.resultat_arrondi = l.arrondi1;"),
    ("rules-rounded-text", "rules", "rounded numbers of ten million are written with an exponent later",
     "src/model/regles.cpp", "if (x >= 1.0e7f) {", "if (x >= 1.0e8f) {"),
    # Keying.
    ("keying-eight-digits", "keying", "a ninth digit is taken",
     "src/model/exercice.cpp", "if (reponse.size() < 8 && chiffre", "if (reponse.size() < 9 && chiffre"),
    ("keying-nine", "keying", "the digit 9 is not taken",
     "src/model/exercice.cpp", "touche[0] <= u'9'", "touche[0] <= u'8'"),
    ("keying-lone-zero", "keying", "a digit is taken after a lone zero",
     "src/model/exercice.cpp", 'chiffre && reponse != QLatin1String("0")) {', "chiffre) {"),
    ("keying-backspace", "keying", "Backspace no longer clears the answer",
     "src/model/exercice.cpp", "if (touche == base::characterOf(base::chars::backspace)) {",
     "if (touche == base::characterOf(base::chars::tab)) {"),
    ("keying-empty-enter", "keying", "Enter judges an empty answer",
     "src/model/exercice.cpp", "if (!reponse.isEmpty() && (touche", "if ((touche"),
    ("keying-equals", "keying", "= no longer judges the answer",
     "src/model/exercice.cpp", '|| touche == QLatin1String("="))) {',
     '|| touche == QLatin1String("+"))) {'),
    ("keying-escape", "keying", "Escape no longer leaves the question",
     "src/model/exercice.cpp", "if (charCode == base::chars::escape) {", "if (charCode == base::chars::tab) {"),
    ("keying-pause-any-key", "keying", "in the pause only Enter poses the next question",
     "src/model/exercice.cpp", "if (phase_ == Phase::Pause) {",
     "if (phase_ == Phase::Pause && charCode == base::chars::enter) {"),
    # Clocks.
    ("clock-pause", "clock", "the clock goes on counting in the pause",
     "src/model/exercice.cpp", "if (module11_.attente_reponse != 1) {",
     "if (module11_.attente_reponse < 0) {"),
    ("clock-30", "clock", "time runs out a second late",
     "src/model/exercice.cpp", "if (reste == 0) {", "if (reste == -1) {"),
    ("clock-warning", "clock", "the second warning comes at 25 seconds",
     "src/model/exercice.cpp", "reste == 20 || reste == 10", "reste == 20 || reste == 5"),
    ("clock-reset", "clock", "a new question starts its clock at 1",
     "src/model/exercice.cpp", "c_.secondes = 0;", "c_.secondes = 1;"),
    ("clock-blink-end", "clock", "the blink timer runs two blinks longer",
     "src/model/exercice.h", "return c_.nb_clignotements < 170;", "return c_.nb_clignotements < 190;"),
    ("clock-blink-colours", "clock", "the mark's two colours are swapped",
     "src/model/exercice.cpp", "std::fmod(n, 20.0f) != 0 ?", "std::fmod(n, 20.0f) == 0 ?"),
    # Scoring.
    ("scoring-clamp", "scoring", "the score may go down to -5",
     "src/model/exercice.cpp", "if (module11_.score < 0) {", "if (module11_.score < -5) {"),
    ("scoring-add", "scoring", "every verdict gives a point more",
     "src/model/exercice.cpp", "module11_.score += bande_->points;",
     "module11_.score += bande_->points + 1;"),
    ("scoring-end", "scoring", "the game ends only above 100",
     "src/model/exercice.cpp", "if (module11_.score > 99) {", "if (module11_.score > 100) {"),
    ("scoring-help", "scoring", "the help shows for the close answers",
     "src/screens/kovrant.cpp", "if (modele_.bande().aide) {", "if (!modele_.bande().aide) {"),
    ("scoring-frame", "scoring", "the score's frame is 10 points narrower",
     "src/screens/kovrant.cpp", "const float h = w / 2;", "const float h = w / 2 - 5;"),
    # Screens.
    ("screens-reseed", "screens", "a new game does not start the draws again",
     "src/model/exercice.cpp", "hasard_.reseed();", "(void)hasard_;"),
    ("screens-arret", "screens", "the stop sign poses the next question",
     "src/screens/kovrant.cpp", "arret.onClick = [this] { arret_Click(); };",
     "arret.onClick = [this] { fleche_Click(); };"),
    ("screens-calcul-left", "screens", "the calculation ends 10 points further right",
     "src/screens/kovrant.cpp", "twipsFromPoints(320.0 - w", "twipsFromPoints(330.0 - w"),
    ("screens-accueil", "screens", "the welcome screen leads to the goodbye",
     "src/screens/accueil.cpp", "programme_.presentation().show();", "programme_.aurevoir().show();"),
    ("screens-accueil-stays", "screens", "the welcome screen stays loaded",
     "src/screens/presentation.cpp", "programme_.accueil().unload();", "(void)programme_.accueil();"),
    ("screens-toggle", "screens", "a second click keeps the family chosen",
     "src/screens/presentation.cpp",
     "operations_choisies[index] = base::Integer(1) - module11.operations_choisies[index];",
     "operations_choisies[index] = 1;"),
    ("screens-no-family", "screens", "the game starts with no family chosen",
     "src/screens/presentation.cpp", "choisies[3] > 0) {", "choisies[3] >= 0) {"),
    ("screens-boxes-reset", "screens", "the first box shows ticked on entry",
     "src/screens/presentation.cpp", "Table[i]->setChecked(false);", "Table[i]->setChecked(i == 1);"),
    ("screens-fin-escape", "screens", "Escape no longer leaves the end screen",
     "src/screens/fin.cpp", "if (charCode == base::chars::enter || charCode == base::chars::escape) {",
     "if (charCode == base::chars::enter) {"),
    ("screens-fin-right", "screens", "the left arrow leaves the end screen, not the right one",
     "src/screens/fin.cpp", "if (keyCode == base::keys::right) {", "if (keyCode == base::keys::left) {"),
    # Keyboards.
    ("kb-xkb-zero", "keyboards", "xkb's top-row 0 is no digit",
     "src/ui/keyboard.cpp", "scanCode <= 19 ?", "scanCode <= 18 ?"),
    ("kb-windows", "keyboards", "Windows' top row is off by one",
     "src/ui/keyboard.cpp", "int(virtualKey - 0x30) : noDigit", "int(virtualKey - 0x31) : noDigit"),
    ("kb-mac", "keyboards", "the Mac's 5 and 6 are swapped",
     "src/ui/keyboard.cpp", "0x15, 0x17, 0x16,", "0x15, 0x16, 0x17,"),
    ("kb-group-switch", "keyboards", "AltGr as the group switch types a digit",
     "src/ui/keyboard.cpp", "Qt::MetaModifier | Qt::GroupSwitchModifier;", "Qt::MetaModifier;"),
    ("kb-mod5", "keyboards", "AltGr as Mod5 is not seen",
     "src/ui/keyboard.cpp", "constexpr quint32 mod5 = 0x80;", "constexpr quint32 mod5 = 0x40;"),
    ("kb-keypad-chord", "keyboards", "the keypad types digits under Ctrl",
     "src/ui/keyboard.cpp", "return {keys::numpad0 + digit, held ? -1 : '0' + digit};",
     "return {keys::numpad0 + digit, '0' + digit};"),
    ("kb-control-typed", "keyboards", "a remote keyboard's Enter on a top-row key is taken as a digit",
     "src/ui/keyboard.cpp", "(isDigitCode(typed) || (typed >= 0 && typed < ' '))", "isDigitCode(typed)"),
    ("kb-wayland", "keyboards", "Wayland's keyboards are not read as xkb",
     "src/ui/keyboard.cpp", 'platformName == u"xcb" || platformName.startsWith(u"wayland")',
     'platformName == u"xcb"'),
    ("kb-ctrl-digit", "keyboards", "Ctrl with a top-row key types its control character",
     "src/ui/keyboard.cpp", "typed >= ' ' && !isDigitCode(typed) ? typed : -1};", "typed};"),
    # Accessibility.
    ("a11y-checked", "accessibility", "a ticked box is told as unticked",
     "src/ui/accessible.cpp", "s.checked = box->isChecked();", "s.checked = !box->isChecked();"),
    ("a11y-hidden", "accessibility", "hidden controls are told as shown",
     "src/ui/accessible.cpp", "s.invisible = !control_->isVisible() || !form_.isVisible();",
     "s.invisible = !form_.isVisible();"),
    ("a11y-inactive-speaks", "accessibility", "a window behind speaks",
     "src/ui/accessible.cpp", "if (text.isEmpty() || form_.runtime().activeForm() != &form_) {",
     "if (text.isEmpty()) {"),
    ("a11y-hidden-action", "accessibility", "a hidden control takes a screen reader's click",
     "src/ui/accessible.cpp", "control_ != nullptr && control_->isVisible() && actionNames()",
     "control_ != nullptr && actionNames()"),
    ("a11y-reading-order", "accessibility", "controls are read left to right only",
     "src/ui/accessible.cpp", "return a->top() != b->top() ? a->top() < b->top() : a->left() < b->left();",
     "return a->left() < b->left();"),
    ("a11y-notice-last", "accessibility", "a painted item comes after the window's voice",
     "src/ui/accessible.cpp", "items_.insert(notification_ != nullptr ? items_.end() - 1 : items_.end(), item);",
     "items_.push_back(item);"),
    ("a11y-seconds", "accessibility", "the clock says 1 secondes",
     "src/screens/kovrant.cpp", '(n > 1 ? QStringLiteral(" secondes")', '(n > 0 ? QStringLiteral(" secondes")'),
    ("a11y-verdict-help", "accessibility", "the verdict tells the help when none is shown",
     "src/screens/kovrant.cpp", "if (Titre_aide.isVisible()) {", "if (!Titre_aide.isVisible()) {"),
    ("a11y-zone", "accessibility", "the red ring is told as worth 1 point",
     "src/screens/kovrant.cpp", '"l\'anneau rouge, plus 5 points",', '"l\'anneau rouge, plus 1 point",'),
    ("a11y-time-left", "accessibility", "the warning tells the seconds gone, not those left",
     "src/model/exercice.cpp", "tic.rappel = reste;", "tic.rappel = c_.secondes.value();"),
    ("a11y-cleared", "accessibility", "a cleared answer is not told",
     "src/screens/kovrant.cpp", 'QStringLiteral("Réponse effacée")', "QString()"),
    ("a11y-times-word", "accessibility", "the times sign is read as x",
     "src/base/numbers.cpp", 'QLatin1String(" fois ")', 'QLatin1String(" x ")'),
    # Windows.
    ("win-destroyed", "window", "a destroyed window is not noticed",
     "src/ui/window_system.cpp", "if (event.event == event.window) {", "if (event.event != event.window) {"),
    ("win-x-errors", "window", "errors about a destroyed window are written out",
     "src/ui/window_system.cpp", "return gone_.contains(error.resource);", "return error.resource == 0;"),
    ("win-display-lost", "window", "a lost X display is not noticed",
     "src/ui/window_system.cpp", '"The X11 connection broke"', '"The X11 connection broken"'),
    ("win-last-closed", "window", "closing the last window does not end the program",
     "src/ui/runtime.cpp", "if (!anyLoaded()) {", "if (anyLoaded()) {"),
    ("win-oversize", "window", "a window may be made larger than useful",
     "src/ui/form.cpp", "if (width() > largest.width() || height() > largest.height()) {",
     "if (width() > 2 * largest.width()) {"),
    ("win-unmaximise", "window", "an un-maximised window keeps the whole work area",
     "src/ui/form.cpp", "if ((before & large) && !(windowState() & (large | Qt::WindowMinimized))) {",
     "if ((before & large) && !(windowState() & large) && false) {"),
    ("win-min-size", "window", "the smallest window is twice as large",
     "src/ui/form.cpp", "QSize smallest(320, 200);", "QSize smallest(640, 400);"),
    ("win-keys-follow", "window", "keys stay with the window the system focused",
     "src/ui/form.cpp", "active != nullptr && active != this && active->isVisible()) {",
     "active != nullptr && active != this && !active->isVisible()) {"),
    ("win-centre", "window", "the scene is not centred across",
     "src/ui/form.cpp", "const qreal dx = std::round(", "const qreal dx = 0 * std::round("),
    ("win-space-repeat", "window", "Space held on a check box ticks it on every repeat",
     "src/ui/form.cpp", "if (!event->isAutoRepeat()) {", "if (!event->isAutoRepeat() || true) {"),
    ("win-enter-box", "window", "Enter ticks a focused check box",
     "src/ui/form.cpp", "(enter && dynamic_cast<CheckBox*>(focused) == nullptr)", "enter"),
    ("win-first-focus", "window", "the last control of the chain takes the focus first",
     "src/ui/form.cpp", "chain.front()->setFocus(true);", "chain.back()->setFocus(true);"),
    ("win-hidden-focus", "window", "a hidden focused control takes Space",
     "src/ui/form.cpp", "focused != nullptr && focused->isVisible() &&", "focused != nullptr &&"),
    # Numbers.
    ("num-exponent", "numbers", "ten million is written in full",
     "src/base/numbers.cpp", "if (d.exponent >= 7 || d.exponent < -5) {", "if (d.exponent >= 8 || d.exponent < -5) {"),
    ("num-leading-point", "numbers", "a half is written 0.5",
     "src/base/numbers.cpp", "text = QLatin1Char('.') + QString(", "text = QLatin1String(\"0.\") + QString("),
    ("num-millions", "numbers", "millions lose their second blank",
     "src/base/numbers.cpp", "if (t.size() > 7) {", "if (t.size() > 8) {"),
    ("num-round", "numbers", "rounding to the leading digit truncates",
     "src/base/numbers.cpp", "std::floor(n / p + 0.5) * p", "std::floor(n / p) * p"),
    ("num-positive-blank", "numbers", "a whole number is written without its sign's blank",
     "src/base/numbers.cpp", "return n.value() < 0 ? QString::number(n.value()) : QLatin1Char(' ') + QString::number(n.value());",
     "return QString::number(n.value());"),
    ("num-overflow", "numbers", "a whole number above 32767 no longer stops the program",
     "src/base/integer.h", "|| v > std::numeric_limits<std::int16_t>::max()) {", ") {"),
    # The Windows build.
    ("winb-uia-silent", "windows-build", "Windows screen readers are told nothing",
     "src/ui/accessible.cpp", "raiseWindowsNotification(form_, notification_->text(QAccessible::Name));",
     "raiseWindowsNotification(form_, QString());"),
    ("winb-uia-most-recent", "windows-build", "an announcement may cut the one before it",
     "src/ui/windows_notification.cpp", "NotificationProcessing_ImportantAll, spoken",
     "NotificationProcessing_MostRecent, spoken"),
    ("winb-uia-missing", "windows-build", "a system without the notification event calls nothing all the same",
     "src/ui/windows_notification.cpp", "if (uia.raise == nullptr || uia.hostProvider == nullptr || text.isEmpty()) {",
     "if (text.isEmpty()) {"),
    ("winb-console-redirect", "windows-build", "lines sent to a file go to the console instead",
     "src/app/console_windows.cpp", "if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {",
     "if (type == FILE_TYPE_DISK && type == FILE_TYPE_PIPE) {"),
    ("winb-seance-left", "windows-build", "the uninstaller leaves the séance type behind",
     "packaging/windows/kovrant.nsi", 'DeleteRegKey HKLM "${CLASSES}\\${SEANCE_TYPE}"\n',
     'DeleteRegKey HKLM "${CLASSES}\\${SEANCE_TYPE}\\shell"\n'),
    ("winb-seance-no-file", "windows-build", "a double-clicked séance is not handed to the game",
     "packaging/windows/kovrant.nsi", """'"$INSTDIR\\kovrant.exe" "%1"'""", """'"$INSTDIR\\kovrant.exe"'"""),
]

DESKTOP_AREAS = {"window", "keyboards"}
WINDOWS_AREA = "windows-build"
ROOT = Path(__file__).resolve().parent.parent


def run(cmd, cwd, log):
    out = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         stdin=subprocess.DEVNULL)
    log.write(f"$ {' '.join(map(str, cmd))}\n{out.stdout}\n")
    return out.returncode


def sync_tree(scratch):
    """Copies the repository's own files into the scratch tree, touching only what differs."""
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT, check=True,
                            stdout=subprocess.PIPE).stdout.decode().split("\0")
    wanted = {name for name in listed if name and (ROOT / name).is_file()}
    for name in wanted:
        source, target = ROOT / name, scratch / name
        if not target.exists() or target.read_bytes() != source.read_bytes():
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, target)
    for path in scratch.rglob("*"):
        relative = path.relative_to(scratch).as_posix()
        if path.is_file() and not relative.startswith("build/") and relative not in wanted:
            path.unlink()


def check_faults(faults):
    """Every fault's text must be found exactly once, or the fault no longer says what it did."""
    wrong = []
    for fid, _area, _what, file, old, _new in faults:
        count = (ROOT / file).read_text().count(old)
        if count != 1:
            wrong.append(f"{fid}: {file} holds its text {count} times")
    if wrong:
        sys.exit("faults to re-target:\n  " + "\n  ".join(wrong))


def list_tests(build, labels):
    out = subprocess.run(["ctest", "--test-dir", str(build), "-N", *labels], stdout=subprocess.PIPE, text=True)
    return [line.split(":", 1)[1].strip() for line in out.stdout.splitlines() if line.strip().startswith("Test")
            and "#" in line]


def run_suites(build, tests, log, first):
    """The tests that fail, in the order given; with `first`, the first one alone."""
    failed = []
    for test in tests:
        if run(["ctest", "--test-dir", str(build), "-R", f"^{test}$", "--timeout", "180",
                "--output-on-failure"], build, log) != 0:
            failed.append(test)
            if first:
                break
    return failed


def timed(build, tests, log):
    """The tests that pass on the unchanged tree, fastest first, and those that fail there."""
    seconds, broken = {}, []
    for test in tests:
        started = time.monotonic()
        if run_suites(build, [test], log, True):
            broken.append(test)
        seconds[test] = time.monotonic() - started
    return sorted((t for t in tests if t not in broken), key=seconds.get), broken


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", nargs="+", metavar="ID", help="these faults alone")
    parser.add_argument("--suites", choices=["in-process", "all"], default="in-process")
    parser.add_argument("--jobs", type=int, default=2, help="for the builds")
    parser.add_argument("--first", action="store_true", help="stop at the first suite that catches a fault")
    parser.add_argument("--out", default="mutants.md", help="the markdown table")
    parser.add_argument("--windows", metavar="QT", help="the Windows build's faults, against this Qt for Windows")
    # Inside the repository (build* is ignored), the copy's objects are those of the usual build to ccache.
    parser.add_argument("--scratch", default=str(ROOT / "build-mutants"))
    args = parser.parse_args()

    faults = [f for f in FAULTS
              if (not args.only or f[0] in args.only) and (f[1] == WINDOWS_AREA) == bool(args.windows)]
    if args.only and len(faults) != len(args.only):
        sys.exit(f"unknown fault ids: {sorted(set(args.only) - {f[0] for f in faults})}")
    check_faults(faults)

    started = time.monotonic()
    scratch = Path(args.scratch)
    build = scratch / ("build-windows" if args.windows else "build")
    scratch.mkdir(parents=True, exist_ok=True)
    sync_tree(scratch)
    os.environ.update(CCACHE_BASEDIR=str(scratch), CCACHE_NOHASHDIR="true")
    log = open(scratch / "mutants.log", "w", buffering=1)
    cross = [f"-DCMAKE_TOOLCHAIN_FILE={scratch / 'cmake/mingw-w64-x86_64.cmake'}",
             f"-DCMAKE_PREFIX_PATH={args.windows}"] if args.windows else []
    if run(["cmake", "-S", scratch, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DKOVRANT_WERROR=ON", "-DKOVRANT_BUILD_BENCH=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", *cross],
           scratch, log) != 0:
        sys.exit(f"cmake failed, see {scratch / 'mutants.log'}")
    if run(["cmake", "--build", build, "-j", str(args.jobs)], scratch, log) != 0:
        sys.exit(f"the unchanged tree does not build, see {scratch / 'mutants.log'}")
    # Suites that fail without any fault tell nothing about one.
    if args.windows:
        # Under Wine; ctest adds the Wine prefix's making and removal to each test that needs them.
        labelled = [t for t in list_tests(build, ["-L", "windows"]) if not t.startswith("windows_wine_")]
        in_process, broken = timed(build, labelled, log)
    else:
        in_process, broken = timed(build, list_tests(build, ["-LE", "desktop"]), log)
    desktop = []
    if args.suites == "all":
        desktop, broken_desktop = timed(build, list_tests(build, ["-L", "desktop"]), log)
        broken += broken_desktop

    rows = []
    for fid, area, what, file, old, new in faults:
        path = scratch / file
        original = path.read_text()
        path.write_text(original.replace(old, new))
        try:
            if run(["cmake", "--build", build, "-j", str(args.jobs)], scratch, log) != 0:
                caught = None
            else:
                caught = run_suites(build, in_process, log, args.first)
                if not caught and desktop and area in DESKTOP_AREAS:
                    caught = run_suites(build, desktop, log, args.first)
        finally:
            path.write_text(original)
        verdict = "not applicable (does not build)" if caught is None else ", ".join(caught) or "MISSED"
        print(f"{fid}: {verdict}", flush=True)
        rows.append((fid, area, what, file, verdict))

    minutes = (time.monotonic() - started) / 60
    missed = [r[0] for r in rows if r[4] == "MISSED"]
    inapplicable = [r[0] for r in rows if r[4].startswith("not applicable")]
    with open(args.out, "w") as table:
        caught_by = "the first suite to fail" if args.first else "every suite that fails"
        table.write(f"Planted faults, suites: {args.suites}, caught by {caught_by}; {len(rows)} faults, "
                    f"{len(rows) - len(missed) - len(inapplicable)} caught, {len(missed)} missed, "
                    f"{len(inapplicable)} not applicable; {minutes:.0f} min.\n")
        if broken:
            table.write(f"Failing without any fault, left out: {', '.join(broken)}.\n")
        table.write("\n| Fault | Area | What it does | File | Caught by |\n|---|---|---|---|---|\n")
        for row in rows:
            table.write("| " + " | ".join(row) + " |\n")
        if missed:
            table.write(f"\nMissed: {', '.join(missed)}.\n")
        if inapplicable:
            table.write(f"Not applicable: {', '.join(inapplicable)}.\n")
    print(f"{len(missed)} missed, {len(inapplicable)} not applicable; table in {args.out}, {minutes:.0f} min")


if __name__ == "__main__":
    main()
