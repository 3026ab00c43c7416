#include "support.h"

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

// What a screen reader would have said, in order: each announcement, and "[name]" for a box ticked or
// unticked; the control it was last told had the focus.
QStringList heard;
QString focus;

void listen(QAccessibleEvent* event) {
    const QString name = event->accessibleInterface()->text(QAccessible::Name);
    if (event->type() == QAccessible::Focus) {
        focus = name;
    } else if (event->type() == QAccessible::StateChanged ||
               (event->type() == QAccessible::ObjectShow &&
                event->accessibleInterface()->role() == QAccessible::Notification)) {
        heard.append(event->type() == QAccessible::StateChanged ? u'[' + name + u']' : name);
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

// A screen shown the way the game reaches it; the exercise with multiplications alone.
ui::Form& open(const QString& s) {
    if (s == u"présentation") {
        game->accueil().show();
    }
    game->module11.operations_choisies[2] = s == u"Kovrant" ? 1 : 0;
    ui::FormSlot& slot = game->screen(s);
    slot.show();
    said();
    return slot.get();
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
    const quint64 on[] = {s.focusable, s.focused, s.checked, s.invisible};
    const char* const states[] = {" focusable", " focused", " checked", " invisible"};
    for (int i = 0; i < 4; ++i) {
        text += on[i] ? QString::fromLatin1(states[i]) : QString();
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
            QVERIFY(actions != nullptr);
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

// The object a screen reader finds at a point of the layout, as the window maps it.
QAccessibleInterface* at(ui::Form& form, QPointF twips) {
    const QPoint p = form.mapToGlobal(form.widgetPointForTwips(twips).toPoint());
    return window(form)->childAt(p.x(), p.y());
}

} // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        game.emplace(77);
        game->runtime().setAccessibilityListener(listen);
        heard.clear();
        focus.clear();
    }
    void cleanupTestCase() { game.reset(); }

    // Each window's children, both ways, the voice last; some of the objects as the screen shows, the
    // legends inside the target.
    void windowsHoldTheirChildren_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("objects"); // among the children and theirs, in reading order
        QTest::newRow("welcome, silent")
            << u"Accueil"_s << u"Les Kovrant, accueil"_s << QStringList{u"  Notification \"\" invisible"_s};
        QTest::newRow("presentation, a rule's double blank read once")
            << u"présentation"_s << u"Les Kovrant, règles du jeu et choix des opérations"_s
            << QStringList{u"StaticText \"Quand ta réponse clignotera sur la cible\""_s,
                           u"StaticText \"Je vais te proposer des calculs compliqués.\""_s,
                           u"Graphic \"Cible : la réponse exacte est au centre\""_s,
                           u"  StaticText \"+10\""_s};
        QTest::newRow("exercise, in a question")
            << u"Kovrant"_s << u"Les Kovrant, exercice"_s
            << QStringList{u"StaticText \"0 seconde\""_s, u"Graphic \"environ égal à\""_s,
                           u"Button \"Question suivante\" invisible [Press]"_s, u"  StaticText \"-5\""_s,
                           u"StaticText \"\" invisible"_s};
        QTest::newRow("end, keeping its keys")
            << u"FIN"_s << u"Les Kovrant, fin du jeu"_s
            << QStringList{u"Button \"Au revoir\" [Press]"_s, u"  Notification \"Félicitations !\""_s};
        QTest::newRow("farewell") << u"Aurevoir"_s << u"Les Kovrant, au revoir"_s
                                  << QStringList{u"Graphic \"Courrier électronique\""_s};
    }
    void windowsHoldTheirChildren() {
        QFETCH(QString, screen);
        QFETCH(QString, name);
        QFETCH(QStringList, objects);
        QAccessibleInterface* w = window(open(screen));
        QVERIFY(describe(w).startsWith(u"Window \""_s + name + u'"'));
        QStringList all; // the window's children, each followed by its own, indented
        for (int i = 0; i < w->childCount(); ++i) {
            QAccessibleInterface* child = w->child(i);
            for (int j = -1; j < child->childCount(); ++j) {
                QAccessibleInterface* parent = j < 0 ? w : child;
                QAccessibleInterface* object = j < 0 ? child : child->child(j);
                QCOMPARE(object->parent(), parent);
                QCOMPARE(parent->indexOfChild(object), j < 0 ? i : j);
                all.append((j < 0 ? u""_s : u"  "_s) + describe(object));
            }
        }
        // The voice last, inside a status bar of its own: Orca then says its words without naming it.
        QCOMPARE(all.at(all.size() - 2), u"StatusBar \"Annonces\""_s);
        QVERIFY(all.last().startsWith(u"  Notification"_s));
        qsizetype from = 0;
        for (const QString& object : objects) {
            from = all.indexOf(object, from);
            QVERIFY2(from >= 0, qPrintable(object));
        }
    }

    // Where the player sees them, whatever the window's size: points of the layout, as the window maps
    // them, find the objects shown there, and a click there lands on them.
    void extentsFollowTheWindow_data() {
        QTest::addColumn<QSize>("size");
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
        QCOMPARE(at(form, QPointF(18480, 9840)), of(form, u"flèche"));
        // A legend before the target it lies on, the target elsewhere.
        QCOMPARE(at(form, QPointF(14940, 5015)), of(form, u"Label1"));
        QCOMPARE(at(form, QPointF(14000, 3000)), painted(form, 0));
        testsupport::clickControl(form, u"Table", 2);
        QVERIFY(testsupport::checkBox(form, 2).isChecked());
    }

    // The verdict, what is said before and nothing after it; what the painted items are then called and
    // where they are painted.
    void verdictAndPaintedItems_data() {
        QTest::addColumn<bool>("exact"); // keyed and confirmed; otherwise nothing keyed until the clock ends
        QTest::addColumn<QStringList>("said"); // the answer's digits aside
        QTest::addColumn<QString>("cible");
        QTest::newRow("exact by Enter")
            << true << QStringList{u"Excellent, tu marques 10 points. La réponse exacte est %1. Score 10."_s}
            << u"Cible : ta réponse est dans le disque jaune du centre, plus 10 points"_s;
        QTest::newRow("nothing by the clock, 20 then 10 seconds left")
            << false
            << QStringList{u"Plus que 20 secondes"_s, u"Plus que 10 secondes"_s,
                           u"Temps écoulé. Dommage, tu perds 5 points. La réponse exacte est %1. Score 0. Aide : %2."_s}
            << u"Cible : ta réponse est dans l'anneau blanc, moins 5 points"_s;
    }
    void verdictAndPaintedItems() {
        QFETCH(bool, exact);
        QFETCH(QStringList, said);
        QFETCH(QString, cible);
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        const QString resultat = QString::number(qint64(k.champs().calcul.resultat));
        QCOMPARE(of(k, u"Calcul")->text(QAccessible::Name), heard.value(0)); // as posed, nothing keyed yet
        heard.clear();
        play(k, u"."_s);
        QCOMPARE(of(k, u"chronometre")->text(QAccessible::Name), u"1 seconde"_s);
        play(k, (exact ? resultat + u'\r' : QString(29, u'.')) + QString(25, u'.'));
        QAccessibleInterface* aide = painted(k, 1);
        QAccessibleInterface* score = painted(k, 2);
        const QString help = aide->text(QAccessible::Name);
        QVERIFY(exact || QRegularExpression(u"^\\d+ fois \\d+ égale \\d+$"_s).match(help).hasMatch());
        QCOMPARE(heard.filter(QRegularExpression(u"\\D"_s)),
                 said.replaceInStrings(u"%1"_s, resultat).replaceInStrings(u"%2"_s, help));
        QCOMPARE(describe(score), exact ? u"StaticText \"Score 10\""_s : u"StaticText \"Score 0\""_s);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name), cible);
        QCOMPARE(of(k, u"réponse_exacte")->text(QAccessible::Name), u"la réponse exacte est "_s + resultat);
        const QString answer = exact ? resultat : u"0"_s;
        QCOMPARE(of(k, u"Calcul")->text(QAccessible::Name).section(u", "_s, 1), u"ta réponse "_s + answer);
        // Found where they are painted: the score's frame, the help line's ellipse (in points).
        QCOMPARE(at(k, QPointF(300, 480) * 20), score);
        QCOMPARE(at(k, QPointF(300, 350) * 20), exact ? nullptr : aide);
        play(k, u" "_s); // the next question paints them over
        QVERIFY(aide->state().invisible && score->state().invisible);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name), u"Cible"_s);
    }

    // The keyboard alone, and a screen reader's actions, do what the mouse does. What a screen reader hears
    // on the way (the calculation posed as "?"), and what has the focus in the window in front at the end,
    // the last control a screen reader was told of.
    void keyboardAndActions_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("steps"); // as play() takes them
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("focused");
        const QString p = u"présentation"_s, k = u"Kovrant"_s;
        QTest::newRow("space ticks additions")
            << p << u"s"_s << u"[Additions, soustractions]"_s
            << u"CheckBox \"Additions, soustractions\" focusable focused checked [Toggle,Press]"_s;
        QTest::newRow("tab round to the arrow, which explains with nothing ticked")
            << p << u"ttte"_s << u"Choisis d'abord une opération."_s
            << u"Button \"Commencer le jeu\" focusable focused [Press]"_s;
        QTest::newRow("enter on a box ticks nothing")
            << p << u"te"_s << u""_s << u"CheckBox \"Multiplications\" focusable focused [Toggle,Press]"_s;
        QTest::newRow("actions as clicks: toggle on a box, press on the arrow")
            << p << u"ttata"_s << u"[Divisions]|?"_s << u""_s;
        QTest::newRow("shift-tab round to the stop sign, space on it")
            << p << u"Ts"_s << u"Au revoir"_s << u"Button \"Quitter le jeu\" focusable focused [Press]"_s;
        QTest::newRow("reactivated: ticks cleared, focus kept")
            << p << u"tsr"_s << u"[Multiplications]|Au revoir|[Multiplications]"_s
            << u"CheckBox \"Multiplications\" focusable focused [Toggle,Press]"_s;
        QTest::newRow("the answer as it grows") << k << u"12"_s << u"?|1|12"_s << u""_s;
        QTest::newRow("refused keys say nothing, tab moves nothing") << k << u"0at5"_s << u"?|0"_s << u""_s;
        QTest::newRow("Backspace") << k << u"7\b\b"_s << u"?|7|Réponse effacée"_s << u""_s;
        QTest::newRow("the clock runs out behind the farewell, unheard")
            << k << u"\x1b"_s + QString(30, u'.') << u"?|Au revoir"_s
            << u"Button \"Quitter le jeu\" focusable focused [Press]"_s;
        QTest::newRow("space on FIN opens nothing") << u"FIN"_s << u"ts"_s << u"Félicitations !"_s << u""_s;
    }
    void keyboardAndActions() {
        QFETCH(QString, screen);
        QFETCH(QString, steps);
        QFETCH(QString, said);
        QFETCH(QString, focused);
        play(open(screen), steps);
        QCOMPARE(heard.replaceInStrings(QRegularExpression(u"^\\d+ \\D+ \\d+$"_s), u"?"_s).join(u'|'), said);
        QAccessibleInterface* object = window(*game->runtime().activeForm())->focusChild();
        const bool child = object != nullptr && object->object() == nullptr; // not the window itself
        QCOMPARE(child ? describe(object) : QString(), focused);
        QVERIFY(!child || focus == object->text(QAccessible::Name));
    }

    // Without a screen reader the game creates nothing and sends nothing for one.
    void silentWithoutAssistiveTechnology() {
        game->runtime().setAccessibilityListener({});
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        play(k, u"12\r"_s + QString(30, u'.'));
        game->runtime().setAccessibilityListener(listen);
        QVERIFY(said().isEmpty());
        QVERIFY(!k.hasAccessibleTree());
    }
};

QTEST_MAIN(AccessibleTest)
#include "tst_accessible.moc"
