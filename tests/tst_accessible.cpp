#include "exercise/regles.h"
#include "support.h"
#include "ui/numbers.h"

#include <QAccessible>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QTest>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

// What a screen reader would have said, in order: each announcement, "[name]" for a box ticked or
// unticked, ">name" for the focus moving to a control (told again when its window becomes active).
QStringList heard;
QString focus;

void listen(QAccessibleEvent* event) {
    QAccessibleInterface* object = event->accessibleInterface();
    const QString name = object != nullptr ? object->text(QAccessible::Name) : QString();
    if (event->type() == QAccessible::ObjectShow && object->role() == QAccessible::Notification) {
        heard.append(name);
    } else if (event->type() == QAccessible::StateChanged) {
        heard.append(u'[' + name + u']');
    } else if (event->type() == QAccessible::Focus && name != focus) {
        focus = name;
        heard.append(u'>' + name);
    }
}

// The event loop run until the window system has caught up with the windows shown: activations and
// what waits for them come through it, posted in turn.
QStringList said() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
    return heard;
}

ui::FormSlot& slotNamed(const QString& s) {
    return s == u"présentation" ? game->presentation()
           : s == u"Kovrant"    ? game->kovrant()
           : s == u"FIN"        ? game->fin()
                                : (s == u"Aurevoir" ? game->aurevoir() : game->accueil());
}

// A screen shown the way the game reaches it; the exercise with multiplications alone.
ui::Form& open(const QString& screen) {
    if (screen == u"présentation") {
        game->accueil().show();
    }
    game->module11.operations_choisies[2] = screen == u"Kovrant" ? 1 : 0;
    slotNamed(screen).show();
    said();
    return slotNamed(screen).get();
}

QAccessibleInterface* window(ui::Form& form) {
    return QAccessible::queryAccessibleInterface(&form);
}

QAccessibleInterface* of(ui::Form& form, QStringView control, int index = 0) {
    return form.accessibleTree()->interfaceOf(form.findControl(control, index));
}

QAccessibleInterface* painted(ui::Form& form, int index) {
    return form.accessibleTree()->interfaceOf(form.paintedItems().at(std::size_t(index)).get());
}

// An object as a screen reader lists it: role, name, the states that matter here, its actions.
QString describe(QAccessibleInterface* object) {
    const QAccessible::State s = object->state();
    QString text = QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(object->role())) +
                   u" \""_s + object->text(QAccessible::Name) + u'"';
    const std::pair<bool, QString> states[] = {{s.focusable, u"focusable"_s},
                                               {s.focused, u"focused"_s},
                                               {s.checked, u"checked"_s},
                                               {s.invisible, u"invisible"_s}};
    for (const auto& [on, state] : states) {
        text += on ? u' ' + state : QString();
    }
    const auto* actions = object->actionInterface();
    return actions != nullptr ? text + u" ["_s + actions->actionNames().join(u',') + u']' : text;
}

// Steps on a window, each followed by the event loop: digits, \b Backspace, \r, \x1b and other characters
// as typed; t Tab, T Shift+Tab, s Space, e Enter; a the focused object's first action; r the window
// reactivated from the farewell screen; . a second of the exercise's answer clock.
void play(ui::Form& form, const QString& steps) {
    for (const QChar step : steps) {
        const int key = u"tTse"_s.indexOf(step);
        if (step == u'a') {
            QAccessibleActionInterface* actions = window(form)->focusChild()->actionInterface();
            actions->doAction(actions->actionNames().first());
        } else if (step == u'r') {
            game->aurevoir().show();
            said();
            game->presentation().show();
        } else if (step == u'.') {
            static_cast<Kovrant&>(form).timer1().fire();
        } else if (key >= 0) {
            const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Return};
            testsupport::typeKey(form, keys[key], QString(u"\t\t \r"_s[key]));
        } else {
            testsupport::typeText(form, step);
        }
        said();
    }
}

// What the window shows a tenth of the way into an object's extents at mid-height, then three pixels
// beyond each of its edges.
QList<QColor> shownAround(ui::Form& form, QAccessibleInterface* object) {
    const QImage shown = form.grab().toImage();
    const QRect r = object->rect().translated(-form.mapToGlobal(QPoint(0, 0)));
    const QPoint c = r.center();
    QList<QColor> colours;
    for (const QPoint p :
         {QPoint(r.left() + r.width() / 10, c.y()), QPoint(r.left() - 3, c.y()), QPoint(r.right() + 3, c.y()),
          QPoint(c.x(), r.top() - 3), QPoint(c.x(), r.bottom() + 3)}) {
        colours.append(shown.pixelColor(p));
    }
    return colours;
}

} // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        game.reset();
        game.emplace(77);
        ui::setAccessibilityListener(listen);
        heard.clear();
        focus.clear();
    }
    void cleanupTestCase() {
        ui::setAccessibilityListener(nullptr);
        game.reset();
    }

    // Each window's children, both ways, the legends inside the target, the voice last; some of the
    // objects as the screen shows.
    void windowsHoldTheirChildren_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("children");
        QTest::addColumn<int>("legends");
        QTest::addColumn<QStringList>("objects"); // among the children and theirs
        QTest::newRow("welcome, silent") << u"Accueil"_s << u"Les Kovrant, accueil"_s << 1 << 0
                                         << QStringList{u"Notification \"\" invisible"_s};
        // 33 controls less the frame and the 17 legends; the target; the voice.
        QTest::newRow("presentation, additions focused, a rule's double blank read once")
            << u"présentation"_s << u"Les Kovrant, règles du jeu et choix des opérations"_s << 17 << 17
            << QStringList{u"CheckBox \"Additions, soustractions\" focusable focused [Toggle,Press]"_s,
                           u"Button \"Commencer le jeu\" focusable [Press]"_s, u"StaticText \"+10\""_s,
                           u"StaticText \"Quand ta réponse clignotera sur la cible\""_s,
                           u"Graphic \"Cible : la réponse exacte est au centre\""_s};
        // 27 controls less the legends; the target, the help line, the score; the voice.
        QTest::newRow("exercise, in a question")
            << u"Kovrant"_s << u"Les Kovrant, exercice"_s << 14 << 17
            << QStringList{u"StaticText \"0 seconde\""_s, u"Graphic \"environ égal à\""_s,
                           u"Button \"Question suivante\" invisible [Press]"_s,
                           u"StaticText \"\" invisible"_s};
        QTest::newRow("end, keeping its keys")
            << u"FIN"_s << u"Les Kovrant, fin du jeu"_s << 3 << 0
            << QStringList{u"Button \"Au revoir\" [Press]"_s, u"Notification \"Félicitations !\""_s};
        QTest::newRow("farewell, its arrow focused")
            << u"Aurevoir"_s << u"Les Kovrant, au revoir"_s << 5 << 0
            << QStringList{u"Button \"Quitter le jeu\" focusable focused [Press]"_s,
                           u"Graphic \"Courrier électronique\""_s, u"Notification \"Au revoir\""_s};
    }
    void windowsHoldTheirChildren() {
        QFETCH(QString, screen);
        QFETCH(QString, name);
        QFETCH(int, children);
        QFETCH(int, legends);
        QFETCH(QStringList, objects);
        QAccessibleInterface* w = window(open(screen));
        QVERIFY(describe(w).startsWith(u"Window \""_s + name + u'"'));
        QCOMPARE(w->childCount(), children);
        QStringList all;
        int held = 0;
        for (int i = 0; i < children; ++i) {
            QAccessibleInterface* child = w->child(i);
            QCOMPARE(child->parent(), w);
            QCOMPARE(w->indexOfChild(child), i);
            all.append(describe(child));
            for (int j = 0; j < child->childCount(); ++j, ++held) {
                QCOMPARE(child->child(j)->parent(), child);
                QCOMPARE(child->indexOfChild(child->child(j)), j);
                all.append(describe(child->child(j)));
                QVERIFY(QRegularExpression(u"^StaticText \"[-+]?\\d+\"$"_s).match(all.last()).hasMatch());
            }
        }
        QCOMPARE(held, legends);
        QVERIFY(all.last().startsWith(u"Notification"_s));
        for (const QString& object : objects) {
            QVERIFY2(all.contains(object), qPrintable(object));
        }
    }

    // Where the player sees them, whatever the window's size: the focus mark painted around a box lies on
    // its extents, and points of the layout, as the window maps them, find the objects shown there.
    void extentsFollowTheWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("designed size") << QSize(1264, 681);
        QTest::newRow("half size") << QSize(632, 341);
        QTest::newRow("tall window, bands above and below") << QSize(1264, 881);
        QTest::newRow("wide window, twice as big, bands aside") << QSize(2928, 1362);
    }
    void extentsFollowTheWindow() {
        QFETCH(QSize, size);
        ui::Form& form = open(u"présentation"_s);
        form.setWindowState(Qt::WindowNoState);
        form.resize(size);
        said();
        QCOMPARE(form.size(), size);
        const QImage focused = form.grab().toImage();
        form.findControl(u"Table", 1)->setFocus(false);
        const QImage unfocused = form.grab().toImage();
        QRect mark;
        qreal darkest = 1.0;
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x) {
                if (focused.pixel(x, y) != unfocused.pixel(x, y)) {
                    mark |= QRect(x, y, 1, 1);
                    darkest = std::min(darkest, qreal(focused.pixelColor(x, y).lightnessF()));
                }
            }
        }
        QVERIFY(darkest < 0.3); // dark red on white, ten to one; light red would be four
        const QPoint corner = form.mapToGlobal(QPoint(0, 0));
        const QRect box = of(form, u"Table", 1)->rect().translated(-corner);
        QVERIFY2(box.adjusted(-1, -1, 1, 1).contains(mark), "the mark strays from its box");
        QVERIFY(std::abs(mark.top() - box.top()) <= 1 && std::abs(mark.bottom() - box.bottom()) <= 1);
        const auto at = [&](QPointF twips) {
            const QPoint p = corner + form.widgetPointForTwips(twips).toPoint();
            return window(form)->childAt(p.x(), p.y());
        };
        QCOMPARE(at(QPointF(18480, 9840)), of(form, u"flèche"));
        // A legend before the target it lies on, the target elsewhere.
        QCOMPARE(at(QPointF(14940, 5015)), of(form, u"Label1"));
        QCOMPARE(at(QPointF(14000, 3000)), painted(form, 0));
    }

    // Read right by a French synthesiser: numbers whole, operators in words.
    void readAloud_data() {
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("expected");
        using O = exercise::Operation;
        QTest::newRow("grouped operands")
            << ui::spokenText(u"12 345 + 67 890        ?"_s) << u"12345 + 67890 ?"_s;
        QTest::newRow("eight digits, two blanks") << ui::spokenText(u"12 345 678"_s) << u"12345678"_s;
        QTest::newRow("multiplication sign") << ui::spokenText(u"1 234 × 567"_s) << u"1234 fois 567"_s;
        QTest::newRow("separate numbers stay apart")
            << ui::spokenText(u"10 points sur 100"_s) << u"10 points sur 100"_s;
        QTest::newRow("four digits after a blank") << ui::spokenText(u"12 3456"_s) << u"12 3456"_s;
        QTest::newRow("addition") << exercise::calcul_a_dire(O::Addition, 12345, 67890)
                                  << u"12345 plus 67890"_s;
        QTest::newRow("subtraction") << exercise::calcul_a_dire(O::Soustraction, 5000, 2345)
                                     << u"5000 moins 2345"_s;
        QTest::newRow("multiplication, no exponent")
            << exercise::calcul_a_dire(O::Multiplication, 10000, 1000) << u"10000 fois 1000"_s;
        QTest::newRow("division") << exercise::calcul_a_dire(O::Division, 5929, 7) << u"5929 divisé par 7"_s;
    }
    void readAloud() {
        QFETCH(QString, read);
        QFETCH(QString, expected);
        QCOMPARE(read, expected);
    }

    // What the exercise says after the calculation, and the calculation's name then.
    void exerciseSpeaks_data() {
        QTest::addColumn<QString>("steps"); // as play() takes them
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("calcul"); // what follows the calculation in its name
        QTest::newRow("the answer as it grows")
            << u"12"_s << QStringList{u"1"_s, u"12"_s} << u", ta réponse 12"_s;
        QTest::newRow("a refused key says nothing") << u"0a5"_s << QStringList{u"0"_s} << u", ta réponse 0"_s;
        QTest::newRow("Backspace") << u"7\b\b"_s << QStringList{u"7"_s, u"Réponse effacée"_s} << u""_s;
        QTest::newRow("20 then 10 seconds left")
            << QString(20, u'.') << QStringList{u"Plus que 20 secondes"_s, u"Plus que 10 secondes"_s}
            << u""_s;
        QTest::newRow("nothing after the verdict")
            << u"1\r"_s + QString(25, u'.') << QStringList{u"1"_s, u"Dommage, tu perds 5 points."_s}
            << u", ta réponse 1"_s;
        QTest::newRow("the clock runs out behind the farewell, unheard")
            << u"\x1b"_s + QString(30, u'.') << QStringList{u">Quitter le jeu"_s, u"Au revoir"_s}
            << u", ta réponse 0"_s;
    }
    void exerciseSpeaks() {
        QFETCH(QString, steps);
        QFETCH(QStringList, said);
        QFETCH(QString, calcul);
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        QCOMPARE(heard.size(), 1);
        const QString posed = heard.takeFirst();
        const auto operands = QRegularExpression(u"^(\\d+) fois (\\d+)$"_s).match(posed);
        QCOMPARE(operands.captured(1).toFloat(), k.champs().calcul.nombre1);
        QCOMPARE(operands.captured(2).toFloat(), k.champs().calcul.nombre2);
        play(k, steps);
        QCOMPARE(heard.replaceInStrings(QRegularExpression(u" La réponse exacte est .*"_s), QString()), said);
        QCOMPARE(of(k, u"Calcul")->text(QAccessible::Name), posed + calcul);
    }

    // The verdict, what the painted items are then called and where they are painted.
    void verdictAndPaintedItems_data() {
        QTest::addColumn<bool>("exact"); // keyed and confirmed; otherwise nothing keyed until the clock ends
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("cible");
        QTest::newRow("exact by Enter")
            << true << u"Excellent, tu marques 10 points. La réponse exacte est %1. Score 10."_s
            << u"Cible : ta réponse est dans le disque jaune du centre, plus 10 points"_s;
        QTest::newRow("nothing by the clock")
            << false
            << u"Temps écoulé. Dommage, tu perds 5 points. La réponse exacte est %1. Score 0. Aide : %2."_s
            << u"Cible : ta réponse est dans l'anneau blanc, moins 5 points"_s;
    }
    void verdictAndPaintedItems() {
        QFETCH(bool, exact);
        QFETCH(QString, said);
        QFETCH(QString, cible);
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        const QString resultat = QString::number(qint64(k.champs().calcul.resultat));
        play(k, exact ? resultat + u'\r' : QString(30, u'.'));
        QAccessibleInterface* aide = painted(k, 1);
        QAccessibleInterface* score = painted(k, 2);
        const QString help = aide->text(QAccessible::Name);
        QVERIFY(exact || QRegularExpression(u"^\\d+ fois \\d+ égale \\d+$"_s).match(help).hasMatch());
        QCOMPARE(heard.last(), QString(said).replace(u"%1"_s, resultat).replace(u"%2"_s, help));
        QCOMPARE(describe(score), exact ? u"StaticText \"Score 10\""_s : u"StaticText \"Score 0\""_s);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name), cible);
        // The score's red frame, the help line's green ellipse, on white.
        const QColor white(Qt::white);
        QCOMPARE(shownAround(k, score), (QList<QColor>{QColor(128, 0, 0), white, white, white, white}));
        QCOMPARE(bool(aide->state().invisible), exact);
        if (!exact) {
            QCOMPARE(shownAround(k, aide), (QList<QColor>{QColor(0, 128, 0), white, white, white, white}));
        }
        play(k, u" "_s); // the next question paints them over
        QVERIFY(aide->state().invisible && score->state().invisible);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name), u"Cible"_s);
    }

    // The keyboard alone, and a screen reader's actions, do what the mouse does; what is heard on the way,
    // and the focused object of the window in front at the end.
    void keyboardAndActions_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("steps"); // as play() takes them
        QTest::addColumn<QString>("said");  // the calculation posed as "?"
        QTest::addColumn<QString>("focused");
        const QString p = u"présentation"_s;
        QTest::newRow("space ticks additions")
            << p << u"s"_s << u">Additions, soustractions|[Additions, soustractions]"_s
            << u"CheckBox \"Additions, soustractions\" focusable focused checked [Toggle,Press]"_s;
        QTest::newRow("tab round to the arrow, which explains with nothing ticked")
            << p << u"ttte"_s
            << u">Additions, soustractions|>Multiplications|>Divisions|>Commencer le jeu|Choisis d'abord une opération."_s
            << u"Button \"Commencer le jeu\" focusable focused [Press]"_s;
        QTest::newRow("enter on a box ticks nothing")
            << p << u"te"_s << u">Additions, soustractions|>Multiplications"_s
            << u"CheckBox \"Multiplications\" focusable focused [Toggle,Press]"_s;
        QTest::newRow("toggle action as a click")
            << p << u"tta"_s << u">Additions, soustractions|>Multiplications|>Divisions|[Divisions]"_s
            << u"CheckBox \"Divisions\" focusable focused checked [Toggle,Press]"_s;
        QTest::newRow("press action on the arrow starts")
            << p << u"ttsta"_s
            << u">Additions, soustractions|>Multiplications|>Divisions|[Divisions]|>Commencer le jeu|?"_s
            << u""_s;
        QTest::newRow("shift-tab round to the stop sign, space on it")
            << p << u"Ts"_s << u">Additions, soustractions|>Arrêter le jeu|>Quitter le jeu|Au revoir"_s
            << u"Button \"Quitter le jeu\" focusable focused [Press]"_s;
        QTest::newRow("reactivated: ticks cleared, focus kept")
            << p << u"tsr"_s
            << u">Additions, soustractions|>Multiplications|[Multiplications]|>Quitter le jeu|Au revoir|[Multiplications]|>Multiplications"_s
            << u"CheckBox \"Multiplications\" focusable focused [Toggle,Press]"_s;
        QTest::newRow("space on FIN opens nothing") << u"FIN"_s << u"ts"_s << u"Félicitations !"_s << u""_s;
    }
    void keyboardAndActions() {
        QFETCH(QString, screen);
        QFETCH(QString, steps);
        QFETCH(QString, said);
        QFETCH(QString, focused);
        play(open(screen), steps);
        QCOMPARE(heard.replaceInStrings(QRegularExpression(u"^\\d.*"_s), u"?"_s).join(u'|'), said);
        QAccessibleInterface* focus = window(*game->runtime().activeForm())->focusChild();
        QCOMPARE(focus != nullptr && focus->object() == nullptr ? describe(focus) : QString(), focused);
    }

    // Without a screen reader the game creates nothing and sends nothing for one.
    void silentWithoutAssistiveTechnology() {
        ui::setAccessibilityListener(nullptr);
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        play(k, u"12\r"_s + QString(30, u'.'));
        ui::setAccessibilityListener(listen);
        QVERIFY(said().isEmpty());
        QVERIFY(!k.hasAccessibleTree());
    }
};

QTEST_MAIN(AccessibleTest)
#include "tst_accessible.moc"
