#include "exercise/regles.h"
#include "support.h"
#include "ui/numbers.h"

#include <QAccessible>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

// What a screen reader would have heard: each event with the role and name of its object at the time.
struct Heard {
    QAccessible::Event type;
    QAccessible::Role role;
    QString name;
};
QList<Heard> heard;

void listen(QAccessibleEvent* event) {
    if (QAccessibleInterface* object = event->accessibleInterface()) {
        heard.append({event->type(), object->role(), object->text(QAccessible::Name)});
    }
}

// The event loop run until the window system has caught up with the windows shown: activations come
// through it, posted in turn.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

// The names of the objects that had events of `type` (of `role`, if given), once the event loop has run.
QStringList heardOf(QAccessible::Event type, QAccessible::Role role = QAccessible::NoRole) {
    settle();
    QStringList names;
    for (const Heard& h : std::as_const(heard)) {
        if (h.type == type && (role == QAccessible::NoRole || h.role == role)) {
            names.append(h.name);
        }
    }
    return names;
}

QStringList announced() {
    return heardOf(QAccessible::ObjectShow, QAccessible::Notification);
}

ui::FormSlot& slotNamed(const QString& screen) {
    if (screen == u"présentation") {
        return game->presentation();
    }
    if (screen == u"Kovrant") {
        return game->kovrant();
    }
    if (screen == u"FIN") {
        return game->fin();
    }
    return screen == u"Aurevoir" ? game->aurevoir() : game->accueil();
}

// A screen shown the way the game reaches it; the exercise with multiplications alone.
ui::Form& open(const QString& screen) {
    if (screen == u"présentation") {
        game->accueil().show();
    }
    game->module11.operations_choisies[2] = screen == u"Kovrant" ? 1 : 0;
    slotNamed(screen).show();
    settle();
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

// A key typed on the window, the event loop run after it; what the key opens may destroy the window.
void press(ui::Form& form, Qt::Key key, const QString& text) {
    const QPointer<ui::Form> alive(&form);
    const Qt::KeyboardModifiers shift = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
    QKeyEvent down(QEvent::KeyPress, key, shift, text);
    QCoreApplication::sendEvent(&form, &down);
    if (alive) {
        QKeyEvent up(QEvent::KeyRelease, key, shift, text);
        QCoreApplication::sendEvent(&form, &up);
    }
    settle();
}

// Digits, \b Backspace and \r Enter as the exercise takes them, one event-loop turn each.
void type(ui::Form& form, const QString& keys) {
    for (const QChar key : keys) {
        testsupport::typeText(form, key);
        settle();
    }
}

void tick(Kovrant& k, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        k.timer1().fire();
        settle();
    }
}

} // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        game.reset();
        game.emplace(77);
        game->runtime().setAccessibilityListener(listen);
        heard.clear();
    }
    void cleanupTestCase() { game.reset(); }

    void windowsHoldTheirChildren_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("children"); // the last one the window's voice
        QTest::addColumn<int>("legends");  // labels inside the target
        QTest::newRow("welcome") << u"Accueil"_s << u"Les Kovrant, accueil"_s << 1 << 0;
        // 33 controls less the frame and the 17 legends, the target, the voice.
        QTest::newRow("presentation")
            << u"présentation"_s << u"Les Kovrant, règles du jeu et choix des opérations"_s << 17 << 17;
        // 27 controls less the legends; the target, the help line, the score; the voice.
        QTest::newRow("exercise") << u"Kovrant"_s << u"Les Kovrant, exercice"_s << 14 << 17;
        QTest::newRow("end") << u"FIN"_s << u"Les Kovrant, fin du jeu"_s << 3 << 0;
        QTest::newRow("farewell") << u"Aurevoir"_s << u"Les Kovrant, au revoir"_s << 5 << 0;
    }
    void windowsHoldTheirChildren() {
        QFETCH(QString, screen);
        QFETCH(QString, name);
        QFETCH(int, children);
        QFETCH(int, legends);
        QAccessibleInterface* w = window(slotNamed(screen).get()); // loaded, not shown: nothing said yet
        QCOMPARE(w->role(), QAccessible::Window);
        QCOMPARE(w->text(QAccessible::Name), name);
        QCOMPARE(w->childCount(), children);
        int held = 0;
        for (int i = 0; i < children; ++i) {
            QAccessibleInterface* child = w->child(i);
            QCOMPARE(child->parent(), w);
            QCOMPARE(w->indexOfChild(child), i);
            for (int j = 0; j < child->childCount(); ++j, ++held) {
                QCOMPARE(child->child(j)->parent(), child);
                QCOMPARE(child->indexOfChild(child->child(j)), j);
                QVERIFY(QRegularExpression(u"^[-+]?\\d+$"_s)
                            .match(child->child(j)->text(QAccessible::Name))
                            .hasMatch());
            }
        }
        QCOMPARE(held, legends);
        QCOMPARE(w->child(children - 1)->role(), QAccessible::Notification);
        QVERIFY(w->child(children - 1)->state().invisible);
    }

    void objectsSayWhatTheyAre_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("index");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("focusable");
        QTest::addColumn<bool>("invisible");
        using R = QAccessible::Role;
        const QString p = u"présentation"_s, k = u"Kovrant"_s;
        QTest::newRow("box") << p << u"Table"_s << 1 << R::CheckBox << u"Additions, soustractions"_s << true
                             << false;
        QTest::newRow("arrow that starts")
            << p << u"flèche"_s << 0 << R::PushButton << u"Commencer le jeu"_s << true << false;
        QTest::newRow("rule, its double blank read once")
            << p << u"Label3"_s << 0 << R::StaticText << u"Quand ta réponse clignotera sur la cible"_s
            << false << false;
        QTest::newRow("clock") << k << u"chronometre"_s << 0 << R::StaticText << u"0 seconde"_s << false
                               << false;
        QTest::newRow("arrow hidden in a question")
            << k << u"flèche"_s << 0 << R::PushButton << u"Question suivante"_s << false << true;
        QTest::newRow("picture") << k << u"environ"_s << 0 << R::Graphic << u"environ égal à"_s << false
                                 << false;
        QTest::newRow("end arrow, FIN keeps its keys")
            << u"FIN"_s << u"flèche"_s << 0 << R::PushButton << u"Au revoir"_s << false << false;
        QTest::newRow("farewell arrow")
            << u"Aurevoir"_s << u"flèche"_s << 0 << R::PushButton << u"Quitter le jeu"_s << true << false;
    }
    void objectsSayWhatTheyAre() {
        QFETCH(QString, screen);
        QFETCH(QString, control);
        QFETCH(int, index);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(bool, focusable);
        QFETCH(bool, invisible);
        QAccessibleInterface* object = of(open(screen), control, index);
        QCOMPARE(object->role(), role);
        QCOMPARE(object->text(QAccessible::Name), name);
        QCOMPARE(bool(object->state().focusable), focusable);
        QCOMPARE(bool(object->state().invisible), invisible);
        QCOMPARE(object->actionInterface() != nullptr,
                 role == QAccessible::PushButton || role == QAccessible::CheckBox);
    }

    // Where the player sees it, whatever the window's size: positions from the layout's twips.
    void extentsFollowTheWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPointF>("origin"); // where the scene's corner falls in the window
        QTest::addColumn<qreal>("scale");
        QTest::newRow("designed size") << QSize(1264, 681) << QPointF(0, 0) << 1.0;
        QTest::newRow("half size") << QSize(632, 341) << QPointF(0, 0) << 0.5;
        QTest::newRow("tall window, bands above and below") << QSize(1264, 881) << QPointF(0, 100) << 1.0;
        QTest::newRow("wide window, bands aside") << QSize(2928, 1362) << QPointF(200, 0) << 2.0;
    }
    void extentsFollowTheWindow() {
        QFETCH(QSize, size);
        QFETCH(QPointF, origin);
        QFETCH(qreal, scale);
        ui::Form& form = open(u"présentation"_s);
        form.setWindowState(Qt::WindowNoState);
        form.resize(size);
        settle();
        QCOMPARE(form.size(), size);
        const auto expected = [&](QRectF twips) {
            return QRectF(origin + twips.topLeft() / 15 * scale, twips.size() / 15 * scale)
                .toAlignedRect()
                .translated(form.mapToGlobal(QPoint(0, 0)));
        };
        const auto at = [&](QRectF twips) {
            const QPoint p = expected(twips).center();
            return window(form)->childAt(p.x(), p.y());
        };
        QCOMPARE(of(form, u"Table", 1)->rect(), expected(QRectF(4080, 6360, 3255, 360)));
        QCOMPARE(of(form, u"flèche")->rect(), expected(QRectF(18240, 9600, 480, 480)));
        // The target, painted from (598, 98) to (902, 402) points.
        QCOMPARE(painted(form, 0)->rect(), expected(QRectF(598 * 20, 98 * 20, 304 * 20, 304 * 20)));
        QCOMPARE(at(QRectF(18240, 9600, 480, 480)), of(form, u"flèche"));
        // A legend before the target it lies on, the target elsewhere.
        QCOMPARE(at(QRectF(14760, 4880, 360, 270)), of(form, u"Label1"));
        QCOMPARE(at(QRectF(14000, 3000, 10, 10)), painted(form, 0));
    }

    // Read right by a French synthesiser: numbers whole, operators in words.
    void spokenText_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("grouped operands") << u"12 345 + 67 890        ?"_s << u"12345 + 67890 ?"_s;
        QTest::newRow("eight digits, two blanks") << u"12 345 678"_s << u"12345678"_s;
        QTest::newRow("multiplication sign") << u"1 234 × 567"_s << u"1234 fois 567"_s;
        QTest::newRow("after two blanks")
            << u"la réponse exacte est  1 234"_s << u"la réponse exacte est 1234"_s;
        QTest::newRow("separate numbers stay apart") << u"10 points sur 100"_s << u"10 points sur 100"_s;
        QTest::newRow("four digits after a blank") << u"12 3456"_s << u"12 3456"_s;
    }
    void spokenText() {
        QFETCH(QString, shown);
        QFETCH(QString, spoken);
        QCOMPARE(ui::spokenText(shown), spoken);
    }

    void calculationsInWords_data() {
        QTest::addColumn<exercise::Operation>("operation");
        QTest::addColumn<float>("nombre1");
        QTest::addColumn<float>("nombre2");
        QTest::addColumn<QString>("spoken");
        using O = exercise::Operation;
        QTest::newRow("addition") << O::Addition << 12345.0f << 67890.0f << u"12345 plus 67890"_s;
        QTest::newRow("subtraction") << O::Soustraction << 5000.0f << 2345.0f << u"5000 moins 2345"_s;
        QTest::newRow("multiplication") << O::Multiplication << 10000.0f << 1000.0f << u"10000 fois 1000"_s;
        QTest::newRow("division") << O::Division << 5929.0f << 7.0f << u"5929 divisé par 7"_s;
    }
    void calculationsInWords() {
        QFETCH(exercise::Operation, operation);
        QFETCH(float, nombre1);
        QFETCH(float, nombre2);
        QFETCH(QString, spoken);
        QCOMPARE(exercise::calcul_a_dire(operation, nombre1, nombre2), spoken);
    }

    // What the exercise says between the calculation and the verdict; "=" stands for the exact result.
    void exerciseSpeaks_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("ticks"); // of the answer clock, after the keys
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("calcul"); // what follows the calculation in its name
        QTest::newRow("the answer as it grows")
            << u"12"_s << 0 << QStringList{u"1"_s, u"12"_s} << u", ta réponse 12"_s;
        QTest::newRow("a refused key says nothing")
            << u"0a5"_s << 0 << QStringList{u"0"_s} << u", ta réponse 0"_s;
        QTest::newRow("Backspace") << u"7\b\b"_s << 0 << QStringList{u"7"_s, u"Réponse effacée"_s} << u""_s;
        QTest::newRow("20 then 10 seconds left")
            << u""_s << 20 << QStringList{u"Plus que 20 secondes"_s, u"Plus que 10 secondes"_s} << u""_s;
        QTest::newRow("nothing after the verdict")
            << u"1\r"_s << 25 << QStringList{u"1"_s, u"verdict"_s} << u", ta réponse 1"_s;
    }
    void exerciseSpeaks() {
        QFETCH(QString, keys);
        QFETCH(int, ticks);
        QFETCH(QStringList, said);
        QFETCH(QString, calcul);
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        const QString question = exercise::calcul_a_dire(
            k.champs().calcul.operation, k.champs().calcul.nombre1, k.champs().calcul.nombre2);
        QVERIFY(QRegularExpression(u"^\\d+ fois \\d+$"_s).match(question).hasMatch());
        QCOMPARE(announced(), QStringList{question});
        heard.clear();
        type(k, keys);
        tick(k, ticks);
        QStringList words = announced();
        if (said.endsWith(u"verdict"_s)) {
            QVERIFY(words.last().startsWith(u"Dommage, tu perds 5 points. La réponse exacte est "_s));
            words.last() = u"verdict"_s;
        }
        QCOMPARE(words, said);
        QCOMPARE(of(k, u"Calcul")->text(QAccessible::Name), question + calcul);
    }

    // The verdict, what the painted items are then called and where they are.
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
        exact ? type(k, resultat + u'\r') : tick(k, 30);
        QAccessibleInterface* aide = painted(k, 1);
        QAccessibleInterface* score = painted(k, 2);
        QCOMPARE(bool(aide->state().invisible), exact);
        const QString help = aide->text(QAccessible::Name);
        QVERIFY(exact || QRegularExpression(u"^\\d+ fois \\d+ égale \\d+$"_s).match(help).hasMatch());
        QCOMPARE(announced().last(), QString(said).replace(u"%1"_s, resultat).replace(u"%2"_s, help));
        QCOMPARE(score->text(QAccessible::Name), exact ? u"Score 10"_s : u"Score 0"_s);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name), cible);
        // The score's red frame from 465 to 495 points; the help line centred on (300, 350).
        const QPoint corner = k.mapToGlobal(QPoint(0, 0));
        const QRect frame =
            k.sceneToWidget().mapRect(QRectF(0, 620, 1, 40)).toAlignedRect().translated(corner);
        QCOMPARE(score->rect().top(), frame.top());
        QCOMPARE(score->rect().bottom(), frame.bottom());
        if (!exact) {
            const QPointF centre = k.widgetPointForUnits(QPointF(300, 350)) + corner;
            QVERIFY((QRectF(aide->rect()).center() - centre).manhattanLength() <= 2);
        }
        // The next question paints them over.
        press(k, Qt::Key_Space, u" "_s);
        QVERIFY(aide->state().invisible && score->state().invisible);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name), u"Cible"_s);
    }

    void theEndSpeaksAndTheExerciseBehindKeepsQuiet() {
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        type(k, u"1\r"_s);
        game->module11.score = 100;
        heard.clear();
        press(k, Qt::Key_Space, u" "_s); // the next question ends the game
        QCOMPARE(announced(), QStringList{u"Félicitations !"_s});
        game->kovrant().show(); // a fresh question, then the farewell over it
        press(k, Qt::Key_Escape, u"\x1b"_s);
        QCOMPARE(announced().last(), u"Au revoir"_s);
        heard.clear();
        tick(k, 30); // its question runs out behind the farewell
        QCOMPARE(k.champs().secondes.value(), 30);
        QCOMPARE(announced(), QStringList{});
    }

    // The keyboard alone, and a screen reader's actions, do what the mouse does.
    void keyboardAndActions_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>(
            "steps"); // t Tab, T Shift+Tab, s Space, e Enter, a toggle action, r reactivate
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QString>("focus");  // the control with the focus at the end
        QTest::addColumn<QString>("opened"); // the active screen at the end, "" once the program has ended
        QTest::addColumn<QString>("said");
        const QString p = u"présentation"_s;
        QTest::newRow("focus starts on additions")
            << p << u""_s << QList<int>{0, 0, 0} << u"Table1"_s << p << u""_s;
        QTest::newRow("shift-tab round to the stop sign")
            << p << u"T"_s << QList<int>{0, 0, 0} << u"arret"_s << p << u""_s;
        QTest::newRow("space ticks, enter on the arrow starts")
            << p << u"sttte"_s << QList<int>{1, 0, 0} << u""_s << u"Kovrant"_s << u""_s;
        QTest::newRow("the arrow with nothing ticked explains")
            << p << u"ttte"_s << QList<int>{0, 0, 0} << u"flèche"_s << p
            << u"Choisis d'abord une opération."_s;
        QTest::newRow("enter on a box ticks nothing")
            << p << u"te"_s << QList<int>{0, 0, 0} << u"Table2"_s << p << u""_s;
        QTest::newRow("toggle action as a click")
            << p << u"tta"_s << QList<int>{0, 0, 1} << u"Table3"_s << p << u""_s;
        QTest::newRow("space on the stop sign")
            << p << u"Ts"_s << QList<int>{0, 0, 0} << u"arret"_s << u"Aurevoir"_s << u"Au revoir"_s;
        QTest::newRow("reactivated: ticks cleared, focus kept")
            << p << u"tsr"_s << QList<int>{0, 0, 0} << u"Table2"_s << p << u"Au revoir"_s;
        QTest::newRow("farewell arrow has the focus") << u"Aurevoir"_s << u""_s << QList<int>{0, 0, 0}
                                                      << u"flèche"_s << u"Aurevoir"_s << u"Au revoir"_s;
        QTest::newRow("enter on it ends")
            << u"Aurevoir"_s << u"e"_s << QList<int>{0, 0, 0} << u""_s << u""_s << u"Au revoir"_s;
        QTest::newRow("tab moves nothing on the exercise")
            << u"Kovrant"_s << u"tt"_s << QList<int>{0, 1, 0} << u""_s << u"Kovrant"_s << u""_s;
        QTest::newRow("space on FIN opens nothing")
            << u"FIN"_s << u"ts"_s << QList<int>{0, 0, 0} << u""_s << u"FIN"_s << u"Félicitations !"_s;
    }
    void keyboardAndActions() {
        QFETCH(QString, screen);
        QFETCH(QString, steps);
        QFETCH(QList<int>, chosen);
        QFETCH(QString, focus);
        QFETCH(QString, opened);
        QFETCH(QString, said);
        ui::Form& form = open(screen);
        for (const QChar step : steps) {
            if (step == u'a') {
                window(form)->focusChild()->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
            } else if (step == u'r') {
                game->aurevoir().show();
                settle();
                game->presentation().show();
                settle();
            } else {
                const QString keys = u"tTse"_s;
                const Qt::Key key[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Return};
                press(form, key[keys.indexOf(step)], QString(u"\t\t \r"_s[keys.indexOf(step)]));
            }
        }
        const auto& c = game->module11.operations_choisies;
        QCOMPARE((QList<int>{c[1].value(), c[2].value(), c[3].value()}), chosen);
        QCOMPARE(announced().filter(QRegularExpression(u"^[^0-9]*$"_s)).join(u'|'), said);
        QCOMPARE(game->ended(), opened.isEmpty());
        if (opened.isEmpty()) {
            return;
        }
        QCOMPARE(game->runtime().activeForm(), &slotNamed(opened).get());
        if (opened == screen) {
            const ui::Control* has = form.focusedControl();
            const auto* box = dynamic_cast<const ui::CheckBox*>(has);
            QCOMPARE(has == nullptr ? QString()
                                    : has->name() + (box ? QString::number(box->index()) : QString()),
                     focus);
            QAccessibleInterface* focused = window(form)->focusChild();
            QCOMPARE(focused != nullptr && focused->object() == nullptr, !focus.isEmpty());
            if (!focus.isEmpty()) {
                QVERIFY(focused->state().focused);
                QCOMPARE(heardOf(QAccessible::Focus).last(), focused->text(QAccessible::Name));
            }
        }
    }

    void aTickIsHeard() {
        ui::Form& form = open(u"présentation"_s);
        press(form, Qt::Key_Space, u" "_s);
        QCOMPARE(heardOf(QAccessible::StateChanged), QStringList{u"Additions, soustractions"_s});
        QVERIFY(of(form, u"Table", 1)->state().checked);
    }

    // Without a screen reader the game creates nothing and sends nothing for one.
    void silentWithoutAssistiveTechnology() {
        game->runtime().setAccessibilityListener({});
        auto& k = static_cast<Kovrant&>(open(u"Kovrant"_s));
        type(k, u"12\r"_s);
        tick(k, 30);
        game->runtime().setAccessibilityListener(listen);
        QVERIFY(heard.isEmpty());
        QVERIFY(!k.hasAccessibleTree());
    }

    // The focus mark: only around the focused caption, dark on white, at every scale.
    void focusMark_data() {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("half") << 0.5;
        QTest::newRow("designed") << 1.0;
        QTest::newRow("double") << 2.0;
    }
    void focusMark() {
        QFETCH(qreal, scale);
        ui::Form& form = open(u"présentation"_s);
        ui::Control& box = *form.findControl(u"Table", 1);
        QVERIFY(box.hasFocus());
        const QImage with = form.render(scale);
        box.setFocus(false);
        const QImage without = form.render(scale);
        const QRect inside = QRectF(box.sceneRect().topLeft() * scale, box.sceneRect().size() * scale)
                                 .toAlignedRect()
                                 .adjusted(-1, -1, 1, 1);
        int marked = 0;
        qreal darkest = 1.0;
        for (int y = 0; y < with.height(); ++y) {
            for (int x = 0; x < with.width(); ++x) {
                if (with.pixel(x, y) != without.pixel(x, y)) {
                    QVERIFY2(inside.contains(x, y), "the mark strays from its box");
                    ++marked;
                    darkest = std::min(darkest, qreal(with.pixelColor(x, y).lightnessF()));
                }
            }
        }
        QVERIFY(marked > 0);
        // Dark red on white, ten to one; light red would be four.
        QVERIFY(darkest < 0.3);
    }
};

QTEST_MAIN(AccessibleTest)
#include "tst_accessible.moc"
