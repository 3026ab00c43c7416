// The number pad of the exercise, touch on every screen, and the focus mark shown only to a player who
// uses the keyboard. Run also with QT_SCALE_FACTOR at 0.5 and 3 (see CMakeLists.txt): the keys' sizes
// are checked in centimetres of the screen, whatever its scale.

#include "support.h"

#include <QAccessible>
#include <QPointingDevice>
#include <QScreen>
#include <QTest>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

exercise::Reglages avecPave() {
    exercise::Reglages reglages;
    reglages.pave = true;
    return reglages;
}

// What a screen reader was told, in order.
QStringList heard;

void listen(QAccessibleEvent* event) {
    if (event->type() == QAccessible::ObjectShow &&
        event->accessibleInterface()->role() == QAccessible::Notification) {
        heard.append(event->accessibleInterface()->text(QAccessible::Name));
    }
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

QPoint centreOf(const ui::Form& form, const ui::Control& control) {
    return form.sceneToWidget().mapRect(control.sceneRect()).center().toPoint();
}

ui::PadKey& padKey(const ui::Form& form, QChar step) {
    const QString caption = step == u'\b' ? u"effacer"_s : step == u'\r' ? u"valider"_s : QString(step);
    for (ui::PadKey* key : form.padKeys()) {
        if (key->caption() == caption) {
            return *key;
        }
    }
    throw std::logic_error("no such pad key");
}

QPointingDevice* touchScreen() {
    static QPointingDevice* device = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return device;
}

// A finger put down and lifted on a control.
void touch(ui::Form& form, const ui::Control& control) {
    const QPoint at = centreOf(form, control);
    QTest::touchEvent(&form, touchScreen()).press(0, at);
    QTest::touchEvent(&form, touchScreen()).release(0, at);
}

// Keys as on the keyboard (digits, \b Backspace, \r Enter), or the same on the pad, by clicks or by touch.
enum class Par { Clavier, Clic, Toucher };

void key(Kovrant& k, QChar step, Par par) {
    if (par == Par::Clavier) {
        step == u'\b' ? testsupport::typeKey(k, Qt::Key_Backspace, u"\b"_s) : testsupport::typeText(k, step);
    } else if (par == Par::Clic) {
        QTest::mouseClick(&k, Qt::LeftButton, {}, centreOf(k, padKey(k, step)));
    } else {
        touch(k, padKey(k, step));
    }
    settle();
}

// What a player sees and hears of a question: the calculation's line, the verdict, the score, and what a
// screen reader said.
struct Vu {
    QString calcul, commentaire;
    int score = 0;
    bool pause = false;
    QStringList dit;
    bool operator==(const Vu&) const = default;
};

Vu jouer(const QString& keys, Par par) {
    heard.clear();
    testsupport::Game game(5, false, avecPave());
    game.runtime().setAccessibilityListener(listen);
    Kovrant& k = game.startGame({1});
    settle();
    for (const QChar step : keys) {
        key(k, step, par);
    }
    return {testsupport::label(k, u"Calcul").caption().mid(k.champs().calcul.texte_calcul.size()),
            testsupport::label(k, u"commentaire").isVisible()
                ? testsupport::label(k, u"commentaire").caption()
                : QString(),
            game.module11.score.value(), k.modele().phase() == exercise::Exercice::Phase::Pause, heard};
}

} // namespace

class PaveTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The pad keys exactly what the keyboard keys: same answer, verdict, score and announcements, by
    // click or by touch.
    void padAndKeyboardAgree_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown"); // after the calculation
        QTest::addColumn<bool>("pause");
        QTest::newRow("digits grouped, no verdict yet") << u"1234"_s << u"       1 234 ?"_s << false;
        QTest::newRow("erase, then a digit") << u"12\b4"_s << u"       4 ?"_s << false;
        QTest::newRow("the ninth digit refused") << u"123456789"_s << u"       12 345 678 ?"_s << false;
        QTest::newRow("no digit after a lone zero") << u"005"_s << u"       0 ?"_s << false;
        QTest::newRow("confirm with nothing keyed") << u"\r"_s << u"        ?"_s << false;
        QTest::newRow("confirm judges") << u"25\r"_s << u"       25"_s << true;
        QTest::newRow("a key in the pause poses the next question") << u"25\r7"_s << u"        ?"_s << false;
    }
    void padAndKeyboardAgree() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(bool, pause);
        const Vu clavier = jouer(keys, Par::Clavier);
        QCOMPARE(clavier.calcul, shown);
        QCOMPARE(clavier.pause, pause);
        QCOMPARE(clavier.commentaire.isEmpty(), !pause);
        QVERIFY(!clavier.dit.isEmpty()); // the calculation, at least
        for (const Par par : {Par::Clic, Par::Toucher}) {
            const Vu pave = jouer(keys, par);
            QCOMPARE(pave.calcul, clavier.calcul);
            QCOMPARE(pave.commentaire, clavier.commentaire);
            QCOMPARE(pave.score, clavier.score);
            QCOMPARE(pave.dit, clavier.dit);
        }
    }

    // A finger works wherever the mouse does: touch the Qt turns into clicks reaches every screen's
    // controls.
    void touchEverywhere_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("after"); // the screen active after the touch, or "box" ticked, "fin"
        QTest::newRow("presentation's box") << u"présentation"_s << u"Table"_s << 2 << u"box"_s;
        QTest::newRow("presentation's arrow, a box touched first")
            << u"présentation"_s << u"flèche"_s << 0 << u"Kovrant"_s;
        QTest::newRow("presentation's stop sign") << u"présentation"_s << u"arret"_s << 0 << u"Aurevoir"_s;
        QTest::newRow("exercise's arrow") << u"Kovrant"_s << u"flèche"_s << 0 << u"question"_s;
        QTest::newRow("exercise's stop sign") << u"Kovrant"_s << u"arret"_s << 0 << u"Aurevoir"_s;
        QTest::newRow("end's arrow") << u"FIN"_s << u"flèche"_s << 0 << u"Aurevoir"_s;
        QTest::newRow("farewell's arrow") << u"Aurevoir"_s << u"flèche"_s << 0 << u"ended"_s;
    }
    void touchEverywhere() {
        QFETCH(QString, screen);
        QFETCH(QString, control);
        QFETCH(int, index);
        QFETCH(QString, after);
        testsupport::Game game(3, false, avecPave());
        game.module11.operations_choisies[2] = 1;
        if (screen == u"présentation") {
            game.accueil().show();
        } else {
            game.screen(screen).show();
        }
        ui::Form& form = game.screen(screen).get();
        if (screen == u"Kovrant") {
            testsupport::answer(game.exercise()); // the arrow and the stop sign show in the pause
        } else if (control == u"flèche" && screen == u"présentation") {
            touch(form, testsupport::checkBox(form, 3));
            settle();
        }
        touch(form, *form.findControl(control, index));
        settle();
        if (after == u"box") {
            QVERIFY(testsupport::checkBox(form, index).isChecked());
        } else if (after == u"question") {
            QCOMPARE(game.exercise().modele().phase(), exercise::Exercice::Phase::Question);
        } else if (after == u"ended") {
            QVERIFY(game.ended());
        } else {
            QVERIFY(game.isActive(game.screen(after)));
        }
    }

    // Each key at least 1.5 cm on the screen, in the window's own pixels at any scale; on a window too
    // small for that, the pad takes all the room it may, and never covers the scene.
    void keySizes_data() {
        QTest::addColumn<QSizeF>("fraction"); // of the screen, or of the window's limits when negative
        QTest::addColumn<int>("beside");      // 1 beside, 0 below, -1 either
        QTest::newRow("smallest window") << QSizeF(-1, -1) << -1;
        QTest::newRow("the whole screen") << QSizeF(1.0, 1.0) << -1;
        QTest::newRow("a wide window") << QSizeF(1.0, 0.45) << 1;
        QTest::newRow("a tall window") << QSizeF(0.5, 1.0) << 0;
        QTest::newRow("a strip") << QSizeF(1.0, 0.3) << 1;
        QTest::newRow("largest window") << QSizeF(-2, -2) << 1;
    }
    void keySizes() {
        QFETCH(QSizeF, fraction);
        QFETCH(int, beside);
        testsupport::Game game(1, false, avecPave());
        Kovrant& k = game.startGame({1});
        k.setWindowState(Qt::WindowNoState);
        const QSize screen = k.screen()->size();
        k.resize(
            fraction.width() == -1 ? k.minimumSize()
            : fraction.width() == -2
                ? k.maximumSize()
                : QSizeF(screen.width() * fraction.width(), screen.height() * fraction.height()).toSize());
        const QRectF window(QPointF(0, 0), QSizeF(k.size()));
        const qreal smallest = 1.5 / 2.54 * k.screen()->physicalDotsPerInch(); // 1.5 cm
        const ui::PadPlacement& placed = k.padPlacement();
        QVERIFY(beside < 0 || placed.beside == (beside == 1));
        const QRectF scene = k.sceneToWidget().mapRect(QRectF(QPointF(0, 0), k.sceneSize()));
        QVERIFY(window.adjusted(-1, -1, 1, 1).contains(scene));
        QCOMPARE(k.padKeys().size(), std::size_t(12));
        for (const ui::PadKey* key : k.padKeys()) {
            const QRectF box = k.sceneToWidget().mapRect(key->sceneRect());
            QVERIFY2(window.adjusted(-1, -1, 1, 1).contains(box), qPrintable(key->caption()));
            QVERIFY(!box.adjusted(1, 1, -1, -1).intersects(scene));
            QVERIFY(std::abs(box.width() - box.height()) < 1);
            if (box.width() < smallest - 0.5) {
                // Too small a window: the pad spans it across, or takes half of it.
                const QRectF pad = placed.pad;
                QVERIFY2(placed.beside
                             ? pad.height() > window.height() - 1 || pad.width() > window.width() / 2 - 1
                             : pad.width() > window.width() - 1 || pad.height() > window.height() / 2 - 1,
                         qPrintable(u"%1 px for %2"_s.arg(box.width()).arg(smallest)));
            }
        }
        // The scene is as large as the pad leaves it: it fills its part of the window one way.
        const QRectF area = placed.scene;
        QVERIFY(std::abs(scene.width() - area.width()) < 1.5 ||
                std::abs(scene.height() - area.height()) < 1.5);
    }

    // The pad's keys are buttons a screen reader names, after the window's own controls, and Tab reaches
    // them; Space presses the focused one, Enter stays the window's confirmation.
    void padKeysForScreenReaders() {
        heard.clear();
        testsupport::Game game(5, false, avecPave());
        game.runtime().setAccessibilityListener(listen);
        Kovrant& k = game.startGame({1});
        settle();
        QAccessibleInterface* w = QAccessible::queryAccessibleInterface(&k);
        QStringList buttons;
        for (int i = 0; i < w->childCount(); ++i) {
            if (w->child(i)->role() == QAccessible::PushButton && w->child(i)->state().focusable) {
                buttons.append(w->child(i)->text(QAccessible::Name));
            }
        }
        QCOMPARE(buttons, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s,
                                       u"0"_s, u"effacer"_s, u"valider"_s}));
        QCOMPARE(k.focusedControl(), nullptr); // the keys wait for Tab
        testsupport::typeKey(k, Qt::Key_Space, u" "_s);
        settle();
        QCOMPARE(game.module11.reponse, QString());
        for (int i = 0; i < 3; ++i) {
            testsupport::typeKey(k, Qt::Key_Tab, u"\t"_s);
        }
        QCOMPARE(w->focusChild()->text(QAccessible::Name), u"3"_s);
        testsupport::typeKey(k, Qt::Key_Space, u" "_s);
        settle();
        QCOMPARE(game.module11.reponse, u"3"_s);
        testsupport::typeKey(k, Qt::Key_Return, u"\r"_s);
        settle();
        QCOMPARE(k.modele().phase(), exercise::Exercice::Phase::Pause);
    }

    // The focus mark shows from the first key that moves or uses the focus, on every window after it, and
    // never to a player who points; the focus itself is there from the start, for screen readers.
    void focusMarkAfterKeys_data() {
        QTest::addColumn<QString>("steps"); // t Tab, T Shift+Tab, s Space, e Enter, > Right, a the letter,
                                            // c a click on a box, x a click on the stop sign, z Escape
        QTest::addColumn<bool>("marked");
        QTest::newRow("at start") << u""_s << false;
        QTest::newRow("a click on a box") << u"c"_s << false;
        QTest::newRow("a letter") << u"a"_s << false;
        QTest::newRow("Tab") << u"t"_s << true;
        QTest::newRow("Shift+Tab") << u"T"_s << true;
        QTest::newRow("Space") << u"s"_s << true;
        QTest::newRow("Enter") << u"e"_s << true;
        QTest::newRow("an arrow") << u">"_s << true;
        QTest::newRow("farewell from a click") << u"cx"_s << false;
        QTest::newRow("farewell after Tab on the rules") << u"tx"_s << true;
        QTest::newRow("exercise keyed, farewell by Escape") << u"c^12e sz"_s << false;
        QTest::newRow("exercise's pad reached by Tab") << u"c^tz"_s << true;
    }
    void focusMarkAfterKeys() {
        QFETCH(QString, steps);
        QFETCH(bool, marked);
        testsupport::Game game(1, false, avecPave());
        game.accueil().show();
        for (const QChar step : steps) {
            ui::Form& form = *game.runtime().activeForm();
            const int i = u"tTse>az"_s.indexOf(step);
            if (i >= 0) {
                const Qt::Key keys[] = {Qt::Key_Tab,   Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Return,
                                        Qt::Key_Right, Qt::Key_A,       Qt::Key_Escape};
                const char16_t* const texts[] = {u"\t", u"\t", u" ", u"\r", u"", u"a", u"\x1b"};
                testsupport::typeKey(form, keys[i], QString::fromUtf16(texts[i]));
            } else if (step == u'c') {
                testsupport::clickControl(form, u"Table", 2);
            } else if (step == u'x') {
                testsupport::clickControl(form, u"arret");
            } else if (step == u'^') {
                testsupport::clickControl(form, u"flèche");
            } else {
                testsupport::typeText(form, step);
            }
        }
        ui::Form& form = *game.runtime().activeForm();
        QVERIFY(form.focusedControl() != nullptr);
        // Drawn now if and only if turning the marks on changes nothing.
        const QImage now = form.grab().toImage();
        game.runtime().showFocusMarks();
        QCOMPARE(form.grab().toImage() == now, marked);
    }
};

QTEST_MAIN(PaveTest)
#include "tst_pave.moc"
