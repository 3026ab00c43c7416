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

// One step on the active window: keys t Tab, T Shift+Tab, s Space, e Enter, > Right, a the letter, z Escape,
// digits and blanks as typed; b the second box, f the arrow, x the stop sign clicked, or touched when in
// capitals; ! the end screen shown.
void step(testsupport::Game& game, QChar s) {
    ui::Form& form = *game.runtime().activeForm();
    const int key = u"tTse>az"_s.indexOf(s);
    const int pointed = u"bfxBFX"_s.indexOf(s);
    if (key >= 0) {
        const Qt::Key keys[] = {Qt::Key_Tab,   Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Return,
                                Qt::Key_Right, Qt::Key_A,       Qt::Key_Escape};
        const char16_t* const texts[] = {u"\t", u"\t", u" ", u"\r", u"", u"a", u"\x1b"};
        testsupport::typeKey(form, keys[key], QString::fromUtf16(texts[key]));
    } else if (pointed >= 0) {
        const QStringView names[] = {u"Table", u"flèche", u"arret"};
        const ui::Control& control = *form.findControl(names[pointed % 3], pointed % 3 == 0 ? 2 : 0);
        pointed < 3 ? QTest::mouseClick(&form, Qt::LeftButton, {}, centreOf(form, control))
                    : touch(form, control);
    } else if (s == u'!') {
        game.fin().show();
    } else {
        testsupport::typeText(form, s);
    }
    settle();
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

    // Each key at least 1.5 cm on the screen, in the window's own pixels at any scale; on a window too
    // small for that, the pad takes all the room it may, and never covers the scene.
    void keySizes_data() {
        QTest::addColumn<QSizeF>("fraction"); // of the screen, or of the window's limits when negative
        QTest::addColumn<int>("beside");      // 1 beside, 0 below, -1 either
        QTest::newRow("smallest window") << QSizeF(-1, -1) << -1;
        QTest::newRow("the whole screen") << QSizeF(1.0, 1.0) << -1;
        QTest::newRow("a wide window") << QSizeF(1.0, 0.45) << 1;
        QTest::newRow("a tall window") << QSizeF(0.5, 1.0) << 0;
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

    // The pad's keys are buttons a screen reader names, after the window's own controls; Tab reaches
    // them only when asked, Space presses the focused one, Enter stays the window's confirmation.
    void padKeysForScreenReaders() {
        testsupport::Game game(5, false, avecPave());
        game.runtime().setAccessibilityListener(listen);
        Kovrant& k = game.startGame({1});
        QAccessibleInterface* w = QAccessible::queryAccessibleInterface(&k);
        QStringList buttons;
        for (int i = 0; i < w->childCount(); ++i) {
            if (w->child(i)->role() == QAccessible::PushButton && w->child(i)->state().focusable) {
                buttons.append(w->child(i)->text(QAccessible::Name));
            }
        }
        QCOMPARE(buttons.join(u' '), u"1 2 3 4 5 6 7 8 9 0 effacer valider"_s);
        for (const QChar s : u" ttt \r"_s) {
            step(game, s == u'\r' ? u'e' : s == u' ' ? u's' : s);
        }
        QCOMPARE(w->focusChild()->text(QAccessible::Name), u"3"_s);
        QCOMPARE(k.champs().reponse_affichee, u"3"_s); // the first Space, with nothing focused, keyed nothing
        QCOMPARE(k.modele().phase(), exercise::Exercice::Phase::Pause);
    }

    // A finger works wherever the mouse does, Qt making clicks of touch; the focus mark shows from the
    // first key that moves or uses the focus, on every window after it, never to a player who points.
    void pointerAndKeysEverywhere_data() {
        QTest::addColumn<QString>("steps");  // as step() takes them
        QTest::addColumn<QString>("screen"); // active at the end; empty once the program has ended
        QTest::addColumn<int>("marked");     // the focus mark drawn; -1 where nothing has the focus
        QTest::newRow("rules at start") << u""_s << u"présentation"_s << 0;
        QTest::newRow("a click, a letter") << u"ba"_s << u"présentation"_s << 0;
        for (const QString& key : {u"t"_s, u"T"_s, u"s"_s, u"e"_s, u">"_s}) {
            QTest::addRow("key %s", qPrintable(key)) << key << u"présentation"_s << 1;
        }
        QTest::newRow("box and arrow touched") << u"BF"_s << u"Kovrant"_s << -1;
        QTest::newRow("stop sign touched, farewell") << u"X"_s << u"Aurevoir"_s << 0;
        QTest::newRow("Tab on the rules, farewell") << u"tx"_s << u"Aurevoir"_s << 1;
        QTest::newRow("exercise's arrow touched") << u"BF12eFz"_s << u"Aurevoir"_s << 0;
        QTest::newRow("exercise's stop sign touched") << u"BF12eX"_s << u"Aurevoir"_s << 0;
        QTest::newRow("exercise keyed, Enter and Space") << u"BF12e sz"_s << u"Aurevoir"_s << 0;
        QTest::newRow("the pad reached by Tab") << u"BFtz"_s << u"Aurevoir"_s << 1;
        QTest::newRow("end and farewell touched") << u"!FF"_s << QString() << -1;
    }
    void pointerAndKeysEverywhere() {
        QFETCH(QString, steps);
        QFETCH(QString, screen);
        QFETCH(int, marked);
        testsupport::Game game(1, false, avecPave());
        game.accueil().show();
        for (const QChar s : steps) {
            step(game, s);
        }
        QCOMPARE(game.ended(), screen.isEmpty());
        if (!screen.isEmpty()) {
            QVERIFY(game.isActive(game.screen(screen)));
            ui::Form& form = *game.runtime().activeForm();
            QCOMPARE(form.focusedControl() != nullptr, marked >= 0); // for screen readers, from the start
            // Drawn if and only if turning the marks on changes nothing.
            const QImage now = form.grab().toImage();
            game.runtime().showFocusMarks();
            QVERIFY(marked < 0 || (form.grab().toImage() == now) == (marked == 1));
        }
    }
};

QTEST_MAIN(PaveTest)
#include "tst_pave.moc"
