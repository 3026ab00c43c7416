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
     "src/model/regles.cpp", "100.0f) {", "10.0f) {"),
    ("rules-larger-first", "rules", "a subtraction may come out negative",
     "src/model/regles.cpp", "if (c.nombre1 < c.nombre2) {", "if (c.nombre1 > c.nombre2) {"),
    ("rules-level-20", "rules", "multiplications change level one score early",
     "src/model/regles.cpp", "} else if (score_ <= 20) {", "} else if (score_ < 20) {"),
    ("rules-whole-division", "rules", "a division no longer comes out whole",
     "src/model/regles.cpp", "double(c.resultat) * double(c.nombre2));",
     "double(c.resultat) * double(c.nombre2) + 1);"),
    ("rules-offset-times", "rules", "the second operand's blank shifts a product by 10",
     "src/model/regles.cpp", '" fois ", 8, 8,', '" fois ", 8, 10,'),
    ("rules-divide-sign", "rules", "a division is written with a slash",
     "src/model/regles.cpp", "{u':', \" divisé par \"", "{u'/', \" divisé par \""),
    ("rules-band-limit", "scoring", "the centre takes answers up to 6 % off",
     "src/model/regles.cpp", '{0.05f, 10, "Excellent', '{0.06f, 10, "Excellent'),
    ("rules-band-points", "scoring", "the red ring gives 4 points",
     "src/model/regles.cpp", '{0.1f, 5, "Tr', '{0.1f, 4, "Tr'),
    ("rules-ratio-inverse", "scoring", "an answer above the result is not measured as a ratio below 1",
     "src/model/regles.cpp", "if (q > 1.0f) {", "if (q > 2.0f) {"),
    ("rules-help-minus", "rules", "a difference is taken the wrong way",
     "src/model/regles.cpp", "{ return a - b; }", "{ return b - a; }"),
    ("rules-help-divide", "rules", "the help's rounded quotient is not rounded",
     "src/model/regles.cpp", "l.resultat_arrondi = base::roundToLeadingDigit(static_cast<float>(r.calculer(",
     "l.resultat_arrondi = (static_cast<float>(r.calculer("),
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
     "src/model/exercice.cpp", "if (!reponse.isEmpty() &&", "if (true &&"),
    ("keying-equals", "keying", "= no longer judges the answer",
     "src/model/exercice.cpp", '|| touche == QLatin1String("="))) {',
     '|| touche == QLatin1String("+"))) {'),
    ("keying-escape", "keying", "Escape no longer leaves the question",
     "src/model/exercice.cpp", "if (charCode == base::chars::escape) {", "if (charCode == base::chars::tab) {"),
    ("keying-pause-any-key", "keying", "in the pause only Enter poses the next question",
     "src/model/exercice.cpp", "if (phase() == Phase::Pause) {",
     "if (phase() == Phase::Pause && charCode == base::chars::enter) {"),
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
     "src/model/exercice.cpp", "return module11_.score > 99;", "return module11_.score > 100;"),
    ("scoring-help", "scoring", "the help shows for the close answers",
     "src/screens/kovrant.cpp", "if (verdict.aide) {", "if (!verdict.aide) {"),
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
     "src/screens/presentation.cpp", "Table[i]->setChecked(module11.operations_choisies[i] == 1);",
     "Table[i]->setChecked(i == 1 || module11.operations_choisies[i] == 1);"),
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
     "src/ui/keyboard.cpp", "return {base::keys::numpad0 + digit, held ? -1 : '0' + digit};",
     "return {base::keys::numpad0 + digit, '0' + digit};"),
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
     "src/screens/kovrant.cpp", "if (bande.aide) {", "if (!bande.aide) {"),
    ("a11y-zone", "accessibility", "the red ring is told as worth 1 point",
     "src/model/regles.cpp", '"l\'anneau rouge, plus 5 points",', '"l\'anneau rouge, plus 1 point",'),
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
     "src/ui/controls.h", "bool keepsEnterForWindow() const override { return true; }",
     "bool keepsEnterForWindow() const override { return false; }"),
    ("win-first-focus", "window", "the last control of the chain takes the focus first",
     "src/ui/form.cpp", "chain.front()->setFocus(true);", "chain.back()->setFocus(true);"),
    ("win-hidden-focus", "window", "a hidden focused control takes Space",
     "src/ui/form.cpp", "focused != nullptr && focused->isVisible() &&", "focused != nullptr &&"),
    # The model decides, each rule once.
    ("model-key-argument", "keying", "the answer reads the last key typed, not the key it is handed",
     "src/model/exercice.cpp", "Exercice::saisir_reponse(const QString& touche) {",
     "Exercice::saisir_reponse(const QString&) { const QString& touche = module11_.touche;"),
    ("model-verdict-question", "scoring", "the last verdict is still given during the next question",
     "src/model/exercice.h", "return phase() == Phase::Pause ? bande_ : nullptr;", "return bande_;"),
    ("model-answer-kept", "accessibility", "a new question is told with the last answer",
     "src/model/exercice.cpp", "c_.reponse_affichee.clear();", ""),
    ("rules-minus-word", "accessibility", "a subtraction is said as an addition",
     "src/model/regles.cpp", '{u\'-\', " moins ",', '{u\'-\', " plus ",'),
    ("rules-help-blank", "rules", "the help line loses the blank after its plus sign",
     "src/model/regles.cpp", "{u'+', \" plus \", 10, 10, true,", "{u'+', \" plus \", 10, 10, false,"),
    ("rules-offset-divide", "rules", "a divisor's blank shifts a division",
     "src/model/regles.cpp", "\" divisé par \", 10, 0,", "\" divisé par \", 10, 10,"),
    ("target-centre", "screens", "the target is drawn two points low",
     "src/screens/cible.h", "centre_cible{750, 250}", "centre_cible{750, 252}"),
    ("target-box", "accessibility", "the target's box is half its height",
     "src/screens/cible.h", "2 * rayon_cible, 2 * rayon_cible}", "2 * rayon_cible, rayon_cible}"),
    ("target-mark", "screens", "the mark blinks away from where it landed",
     "src/screens/kovrant.cpp", "x_reponse = static_cast<float>(c.dx_reponse + centre_cible.x());",
     "x_reponse = static_cast<float>(c.dy_reponse + centre_cible.x());"),
    ("a11y-zone-verdict", "accessibility", "the target tells no ring after the verdict",
     "src/screens/kovrant.cpp", "QString::fromUtf8(verdict->zone)", "QString()"),
    ("a11y-answer-told", "accessibility", "the calculation's name leaves out the keyed answer",
     "src/screens/kovrant.cpp", "base::spokenText(champs().reponse_affichee)", "QString()"),
    # The number pad, touch, and the focus mark.
    ("pad-types-nothing", "pad", "a key of the pad types no character",
     "src/ui/form.cpp", "key->onClick = [this, k = key.get()] { pressKey(k->key()); };",
     "key->onClick = [this, k = key.get()] { pressKey({k->key().keyCode, -1}); };"),
    ("pad-one-cm", "pad", "a key may be 1 cm wide",
     "src/ui/keypad.cpp", "return 1.5 / 2.54 * dotsPerInch;", "return 1.0 / 2.54 * dotsPerInch;"),
    ("pad-always-beside", "pad", "the pad stands beside the scene even in a tall window",
     "src/ui/keypad.cpp", "return rank(below) > rank(beside) ? below.placement : beside.placement;",
     "return rank(below) > rank(below) ? below.placement : beside.placement;"),
    ("pad-over-scene", "pad", "the scene keeps the whole window, under the pad",
     "src/ui/form.cpp", "const QRectF area = hasKeyPad() ? padPlacement_.scene : QRectF(rect());",
     "const QRectF area = QRectF(rect());"),
    ("pad-focus-at-start", "pad", "a key of the pad has the focus from the start, and takes Space",
     "src/ui/form.cpp", "std::erase_if(chain, [](const Control* c) { return dynamic_cast<const PadKey*>(c) != nullptr; });",
     "(void)chain;"),
    ("pad-enter-clicks", "pad", "Enter presses the focused key of the pad instead of confirming",
     "src/ui/keypad.h", "bool keepsEnterForWindow() const override { return true; }",
     "bool keepsEnterForWindow() const override { return false; }"),
    ("pad-unnamed", "pad", "screen readers read the keys' captions' neighbours: no name",
     "src/ui/keypad.cpp", "accessibleName = [name] { return name; };", "accessibleName = [] { return QString(); };"),
    ("focus-mark-always", "focus", "the focus mark shows to a player who only points",
     "src/ui/controls.h", "bool showsFocusMark() const { return focus_ && host_.focusMarkShown(); }",
     "bool showsFocusMark() const { return focus_; }"),
    ("focus-mark-arrows", "focus", "the arrows do not show the focus mark",
     "src/ui/form.cpp", "const bool arrow = event->key() >= Qt::Key_Left", "const bool arrow = false && event->key() >= Qt::Key_Left"),
    ("focus-mark-any-enter", "focus", "Enter on a window with nothing focused shows the focus mark",
     "src/ui/form.cpp", "(onFocus && (enter || event->key() == Qt::Key_Space))",
     "((onFocus || enter) && (enter || event->key() == Qt::Key_Space))"),
    ("a11y-no-status-bar", "accessibility", "the window's voice is a notification among the controls: Orca names it",
     "src/ui/accessible.cpp", "return voice_ == Voice::StatusBar ? QAccessible::StatusBar : QAccessible::Notification;",
     "return QAccessible::Notification;"),
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
    # The forms runtime.
    ("rt-nested", "runtime", "an outside event runs inside the handler that is running",
     "src/ui/runtime.cpp", "if (depth_ > 0) {\n        queue_.push_back(handler);",
     "if (depth_ < 0) {\n        queue_.push_back(handler);"),
    ("rt-lifo", "runtime", "what handlers cause runs last caused first",
     "src/ui/runtime.cpp", "std::move(queue_.front());\n            queue_.pop_front();",
     "std::move(queue_.back());\n            queue_.pop_back();"),
    ("rt-activate-again", "runtime", "showing the active window runs its Activate again",
     "src/ui/runtime.cpp", "if (active_ == &form) {\n        return;", "if (active_ == &form && false) {\n        return;"),
    ("rt-activate-unloaded", "runtime", "an Activate runs for a window unloaded since it was caused",
     "src/ui/runtime.cpp", "if (target && target->isLoaded()) {\n            target->activate();",
     "if (target) {\n            target->activate();"),
    ("rt-stale-activation", "runtime", "a late activation from the window system runs Activate again",
     "src/ui/runtime.cpp", "if (expected_ != nullptr) {", "if (false) {"),
    ("rt-destroy-at-once", "runtime", "a window that unloads itself is destroyed under its own handler",
     "src/ui/runtime.cpp", "retired_.push_back(std::move(form));", "form.reset();"),
    ("rt-after-end", "runtime", "an outside event still runs after the end",
     "src/ui/runtime.cpp", "if (ended_) {\n        return;\n    }\n    if (depth_ > 0) {", "if (depth_ > 0) {"),
    ("rt-error-keeps-queue", "runtime", "what a failed handler caused runs with the next event",
     "src/ui/runtime.cpp", "rt_.queue_.clear();\n            rt_.retired_.clear();", "rt_.retired_.clear();"),
    ("form-tick-unloaded", "runtime", "a tick queued for an unloaded window runs",
     "src/ui/form.cpp", "if (form && form->isLoaded()) {\n            tick();", "if (form) {\n            tick();"),
    ("form-key-unloaded", "runtime", "a key queued for an unloaded window runs",
     "src/ui/form.cpp", "if (form && form->isLoaded()) {\n                form->keyPress(character);",
     "if (form) {\n                form->keyPress(character);"),
    ("form-click-unloaded", "runtime", "a click queued for an unloaded window runs",
     "src/ui/form.cpp", "if (form && form->isLoaded()) {\n            control.click();",
     "if (form) {\n            control.click();"),
    ("form-press-elsewhere", "runtime", "a press on one control and a release on another clicks",
     "src/ui/form.cpp", "control != nullptr && control == pressed_;", "control != nullptr;"),
    ("form-hidden-painted", "runtime", "hidden controls are painted",
     "src/ui/form.cpp", "if ((*it)->isVisible() && (exposed.isNull()", "if ((exposed.isNull()"),
    ("form-render-scale", "runtime", "a render at scale 2 draws the scene at scale 1",
     "src/ui/form.cpp", "painter.scale(scale, scale);", "painter.scale(1, 1);"),
    ("ctl-autosize", "runtime", "an auto-sized label keeps its designed box",
     "src/ui/controls.cpp", "if (!look_.autoSize) {", "if (look_.autoSize) {"),
    ("ctl-centre", "runtime", "a centred caption is drawn from the left",
     "src/ui/controls.cpp", "(look_.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft)", "Qt::AlignLeft"),
    ("ctl-border", "runtime", "a framed label loses its frame",
     "src/ui/controls.cpp", "if (look_.border) {\n        // One pixel", "if (false) {\n        // One pixel"),
    ("ctl-box-stays", "runtime", "a check box clicked twice stays ticked",
     "src/ui/controls.cpp", "setChecked(!checked_);", "setChecked(true);"),
    ("ctl-corners", "runtime", "a rounded frame's corners are twice as round",
     "src/ui/controls.cpp", "std::min(box.width(), box.height()) / 10.0;", "std::min(box.width(), box.height()) / 5.0;"),
    ("srf-clear", "runtime", "clearing the drawing leaves it there",
     "src/ui/surface.cpp", "operations_.clear();\n    currentX_ = 0;", "currentX_ = 0;"),
    ("srf-cover", "runtime", "what is painted over is kept and replayed",
     "src/ui/surface.cpp", "return sameEllipse || contains(covered, earlier.rect);", "return sameEllipse;"),
    ("srf-ellipse-covers-box", "runtime", "an ellipse is taken to cover its whole bounding box",
     "src/ui/surface.cpp", "const qreal k = (1.0 - M_SQRT1_2) / 2.0;", "const qreal k = 0.0;"),
    ("srf-next-line", "runtime", "printed lines follow one another a text height too low",
     "src/ui/surface.cpp", "currentY_ += metrics.height() / scale_;", "currentY_ += metrics.height();"),
    ("fonts-twice", "runtime", "each programme adds the bundled faces to the process again",
     "src/ui/fonts.cpp", "Registration& added = registrations()[index];",
     "Registration added;\n    (void)registrations;"),
    ("fonts-none", "runtime", "no bundled face is added",
     "src/ui/fonts.cpp", "if (!resource.isValid()) {\n        return -1;", "if (true) {\n        return -1;"),
    # The time allowed, as the adult sets it.
    ("temps-minimum", "options", "29 seconds are allowed",
     "src/model/temps_accorde.h", "secondes < minimum ||", "secondes < minimum - 1 ||"),
    ("temps-maximum", "options", "300 seconds are refused",
     "src/model/temps_accorde.h", "|| secondes > maximum)", "|| secondes >= maximum)"),
    ("temps-aucune", "options", "no limit is no longer read",
     "src/model/temps_accorde.cpp", 'if (t == u"aucune") {', 'if (t == u"aucun") {'),
    ("temps-blanks", "options", "a value with blanks around it is refused",
     "src/model/temps_accorde.cpp", "const QStringView t = texte.trimmed();", "const QStringView t = texte;"),
    ("temps-sign", "options", "a value with a sign is read",
     "src/model/temps_accorde.cpp", "if (c < u'0' || c > u'9') {", "if (c > u'9') {"),
    ("temps-clock-font", "options", "a clock of 100 seconds keeps the large font",
     "src/screens/kovrant.cpp", "modele_.temps().secondes() > 99", "modele_.temps().secondes() > 100"),
    ("opt-glued", "options", "--temps=40 reads its value one character early",
     "src/programme/options.cpp", "argument.mid(8)", "argument.mid(7)"),
    ("opt-missing", "options", "--temps as the last argument is not refused",
     "src/programme/options.cpp", "if (!colle && i + 1 == arguments.size()) {",
     "if (!colle && i + 2 == arguments.size()) {"),
    ("opt-qt-value", "options", "a Qt option's value is taken for an argument of the game",
     "src/programme/options.cpp", "if (qt->valeur && egal < 0) {", "if (qt->valeur && egal > 0) {"),
    ("opt-help-status", "options", "--help ends with status 1",
     "src/programme/options.cpp", ".statut = 0, .texte = aide()", ".statut = 1, .texte = aide()"),
    ("opt-setting-wins", "options", "the machine's setting beats --temps",
     "src/programme/options.cpp", "if (demande.temps) {\n        return {*demande.temps, {}};",
     "if (demande.temps && false) {\n        return {*demande.temps, {}};"),
    ("opt-unreadable", "options", "a settings file that cannot be parsed is not noticed",
     "src/programme/options.cpp", "if (reglages.status() != QSettings::NoError) {",
     "if (reglages.status() == QSettings::AccessError) {"),
    ("opt-list", "options", "a setting written as a list is read as its first value",
     "src/programme/options.cpp", 'valeur.toStringList().join(u", ")', "valeur.toStringList().value(0)"),
    # The layers.
    ("layers-path", "layers", "an include by a relative path is let through",
     "src/check_layers.cmake", 'if(included MATCHES "[/\\\\\\\\]")', 'if(included MATCHES "^/")'),
    ("layers-folder", "layers", "a source file outside the layer folders is let through",
     "src/check_layers.cmake", "if(NOT folder IN_LIST LAYERS)", "if(FALSE)"),
    ("layers-warning", "layers", "a broken layer is only warned about",
     "src/check_layers.cmake", "message(FATAL_ERROR \"Layers broken", "message(WARNING \"Layers broken"),
    ("layers-include-wide", "layers", "every layer's include path holds the programme's folder",
     "src/CMakeLists.txt", "target_include_directories(kovrant_${layer} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})",
     "target_include_directories(kovrant_${layer} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src/programme)"),
    # Séance files and their bilan.
    ("seance-division-whole", "seance", "a listed division may leave a remainder of 1",
     "src/programme/seance_fichier.cpp", "a % b != 0", "a % b > 1"),
    ("seance-subtraction-zero", "seance", "a listed subtraction may come to nothing",
     "src/programme/seance_fichier.cpp", "Soustraction && resultat < 1)", "Soustraction && resultat < 0)"),
    ("seance-calculs-zero", "seance", "calculs = 0 is taken",
     "src/programme/seance_fichier.cpp", "entierEntre(texte, 1, calculsMax)", "entierEntre(texte, 0, calculsMax)"),
    ("seance-niveau-five", "seance", "niveau = 5 is taken",
     "src/programme/seance_fichier.cpp", "entierEntre(texte, 1, 4)", "entierEntre(texte, 1, 5)"),
    ("seance-list-and-count", "seance", "a key after a list goes unnoticed",
     "src/programme/seance_fichier.cpp", "premierCalcul_ != 0) {", "premierCalcul_ < 0) {"),
    ("seance-twice", "seance", "a key given twice goes unnoticed",
     "src/programme/seance_fichier.cpp", "if (vu != 0) {", "if (vu < 0) {"),
    ("seance-nul", "seance", "a NUL byte passes for text",
     "src/programme/seance_fichier.cpp", "utf8.hasError() || octets.contains('\\0')", "utf8.hasError()"),
    ("seance-product-limit", "seance", "a product of ten million is taken",
     "src/programme/seance_fichier.cpp", "constexpr qint64 resultatMax = 9'999'999;", "constexpr qint64 resultatMax = 10'000'000;"),
    ("seance-size", "seance", "a file of any size is read",
     "src/programme/seance_fichier.cpp", "if (contenu.size() > tailleMaxSeance) {", "if (contenu.size() > 2 * tailleMaxSeance) {"),
    ("csv-bom", "bilan", "the spreadsheet file has no byte-order mark",
     "src/model/bilan_csv.cpp", 'u"\\uFEFFdate;', 'u"date;'),
    ("csv-quotes", "bilan", "a quote inside a field is not doubled",
     "src/model/bilan_csv.cpp", 'texte.replace(u"\\""_s, u"\\"\\""_s);', ""),
    ("csv-percent", "bilan", "the gap is written as a tenth of its percentage",
     "src/model/bilan_csv.cpp", "double(ecart) * 100.0", "double(ecart) * 10.0"),
    ("csv-interrupted", "bilan", "a séance cut short has no last row saying so",
     "src/model/bilan_csv.cpp", "if (bilan.interrompu) {", "if (false) {"),
    ("file-overwrite", "bilan", "a bilan is written over a file of the same name",
     "src/programme/bilan_fichier.cpp", "QIODevice::WriteOnly | QIODevice::NewOnly", "QIODevice::WriteOnly"),
    ("file-not-writable", "bilan", "a folder nobody can write to passes the check",
     "src/programme/bilan_fichier.cpp", 'if (!essai.open() || essai.write("\\n") != 1 || !essai.flush()) {', "if (false) {"),
    ("prog-save-twice", "bilan", "a saved bilan is saved again as the program ends",
     "src/programme/programme.cpp", "|| bilan.enregistre) {", ") {"),
    ("prog-interrupted", "bilan", "a finished séance is marked interrupted",
     "src/programme/programme.cpp", "bilan.lignes.size() < prevus", "bilan.lignes.size() <= prevus"),
    ("options-pad-order", "options", "the séance's pad wins over the command line's",
     "src/programme/options.cpp", "p.pave = demande.pave ? demande.pave : lue.pave;", "p.pave = lue.pave ? lue.pave : demande.pave;"),
    ("options-folder-unchecked", "options", "a missing bilan folder is found only at the end",
     "src/programme/options.cpp", "!faute.isEmpty()) {", "false) {"),
    # A teacher's séance.
    ("seance-end", "seance", "a séance poses one calculation more than it lists",
     "src/model/exercice.cpp", "return juges_ >= seance_->nombre_de_calculs();",
     "return juges_ > seance_->nombre_de_calculs();"),
    ("seance-end-score", "seance", "a séance stops at 100 points before its calculations are done",
     "src/model/exercice.cpp", "seance_->nombre_de_calculs() > 0) {",
     "seance_->nombre_de_calculs() > 0 && module11_.score <= 99) {"),
    ("seance-no-bilan", "seance", "a séance's end shows the congratulations, not its bilan",
     "src/screens/kovrant.cpp", "programme_.ecran_bilan().show();", "programme_.fin().show();"),
    ("seance-bilan-fin", "seance", "the bilan's arrow skips the congratulations above 99",
     "src/screens/ecran_bilan.cpp", "programme_.fin().show();", "programme_.aurevoir().show();"),
    ("seance-interrupted", "seance", "a séance left early is not marked as cut short",
     "src/screens/kovrant.cpp", "programme_.bilan.interrompu = true;", "programme_.bilan.interrompu = false;"),
    ("seance-count", "seance", "the count shows the calculations judged, not the one on show",
     "src/screens/kovrant.cpp", ".arg(modele_.numero_calcul()).arg(n)", ".arg(modele_.calculs_juges()).arg(n)"),
    ("seance-locked", "seance", "the child can change the teacher's families",
     "src/screens/presentation.cpp", "Table[i]->setLocked(true);", "Table[i]->setLocked(false);"),
    ("seance-blank-name", "seance", "blanks pass for a first name",
     "src/screens/presentation.cpp", "prenom.text().trimmed().isEmpty()) {", "prenom.text().isEmpty()) {"),
    ("bilan-total-clamp", "seance", "the bilan's score goes below nothing",
     "src/model/deroulement.cpp", "t.score = std::max(0, t.score + l.points);", "t.score += l.points;"),
    ("bilan-ring-count", "seance", "each ring counts once at most",
     "src/model/deroulement.cpp", "t.par_anneau[std::size_t(a - anneaux.begin())] += 1;",
     "t.par_anneau[std::size_t(a - anneaux.begin())] = 1;"),
    ("bilan-estimate", "seance", "the bilan keeps the answer as shown, a timeout's 0 included",
     "src/model/exercice.cpp", "ligne_bilan(juges_, c_.calcul, module11_.reponse,",
     "ligne_bilan(juges_, c_.calcul, c_.reponse_affichee,"),
    ("bilan-losses", "seance", "the bilan records no lost points",
     "src/model/deroulement.cpp", "l.points = bande.points;", "l.points = bande.points > 0 ? bande.points : 0;"),
    ("listed-order", "seance", "a listed séance is posed from its end",
     "src/model/exercice.cpp", "calcul_donne(seance_->liste[juges_])",
     "calcul_donne(seance_->liste[seance_->liste.size() - 1 - juges_])"),
    ("listed-difference", "seance", "a listed difference is taken the wrong way",
     "src/model/deroulement.cpp", "c.resultat = static_cast<float>(a - b);", "c.resultat = static_cast<float>(b - a);"),
    ("level-band", "seance", "level 3 sizes products as level 2",
     "src/model/regles.cpp", "scores[] = {0, 11, 21, 31};", "scores[] = {0, 11, 20, 31};"),
    ("level-ignored", "seance", "the level is not held",
     "src/model/regles.cpp", "score_du_niveau(niveau, score));", "score_du_niveau(niveau * 0, score));"),
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
