#include "exercise/kovrant.h"
#include "exercise/regles.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"
#include "ui/numbers.h"

#include <QAccessible>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>

using exercise::Kovrant;
using shell::module11;
using namespace Qt::StringLiterals;
namespace screens = shell::screens;

namespace {

// What a screen reader would have heard: each event with the role and name of its object at the time.
struct Heard {
    QAccessible::Event type;
    QAccessible::Role role;
    QString name;
};
QList<Heard> heard;

void listen(QAccessibleEvent* event) {
    QAccessibleInterface* object = event->accessibleInterface();
    if (object != nullptr) {
        heard.append({event->type(), object->role(), object->text(QAccessible::Name)});
    }
}

// What the windows' notifications said, once the event loop has run.
QStringList announced() {
    QCoreApplication::processEvents();
    QStringList said;
    for (const Heard& h : std::as_const(heard)) {
        if (h.type == QAccessible::ObjectShow && h.role == QAccessible::Notification) {
            said.append(h.name);
        }
    }
    return said;
}

QStringList focused() {
    QCoreApplication::processEvents();
    QStringList names;
    for (const Heard& h : std::as_const(heard)) {
        if (h.type == QAccessible::Focus) {
            names.append(h.name);
        }
    }
    return names;
}

ui::FormSlot& slotNamed(const QString& screen) {
    if (screen == u"présentation") {
        return screens::presentation();
    }
    if (screen == u"Kovrant") {
        return screens::kovrant();
    }
    if (screen == u"FIN") {
        return screens::fin();
    }
    return screen == u"Aurevoir" ? screens::aurevoir() : screens::accueil();
}

// A screen shown the way the game reaches it.
ui::Form& open(const QString& screen) {
    if (screen == u"présentation") {
        screens::accueil().show();
    } else if (screen == u"Kovrant") {
        module11.operations_choisies[2] = 1;
    }
    slotNamed(screen).show();
    QCoreApplication::processEvents();
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

Kovrant& startGame() {
    return static_cast<Kovrant&>(open(u"Kovrant"_s));
}

// A key typed on the window; what it opens may destroy the window before the key is released.
void press(ui::Form& form, Qt::Key key, const QString& text = QString()) {
    const QPointer<ui::Form> alive(&form);
    const Qt::KeyboardModifiers shift = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
    QKeyEvent down(QEvent::KeyPress, key, shift, text);
    QCoreApplication::sendEvent(&form, &down);
    if (alive) {
        QKeyEvent up(QEvent::KeyRelease, key, shift, text);
        QCoreApplication::sendEvent(&form, &up);
    }
    QCoreApplication::processEvents();
}

} // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { ui::setAccessibilityListener(listen); }
    void init() {
        testsupport::resetProgram(77);
        ui::setAccessibilityListener(listen);
        QCoreApplication::processEvents();
        heard.clear();
    }

    void windowsAreNamedAndHoldTheirChildren_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("children"); // the last one the window's voice
        QTest::addColumn<int>("legends");  // labels inside the target
        QTest::newRow("welcome") << u"Accueil"_s << u"Les Kovrant, accueil"_s << 1 << 0;
        // The 33 controls but the frame and the 17 legends, and the target.
        QTest::newRow("presentation")
            << u"présentation"_s << u"Les Kovrant, règles du jeu et choix des opérations"_s << 17 << 17;
        // 10 controls and the target, the help line and the score.
        QTest::newRow("exercise") << u"Kovrant"_s << u"Les Kovrant, exercice"_s << 14 << 17;
        QTest::newRow("end") << u"FIN"_s << u"Les Kovrant, fin du jeu"_s << 3 << 0;
        QTest::newRow("farewell") << u"Aurevoir"_s << u"Les Kovrant, au revoir"_s << 5 << 0;
    }
    void windowsAreNamedAndHoldTheirChildren() {
        QFETCH(QString, screen);
        QFETCH(QString, name);
        QFETCH(int, children);
        QFETCH(int, legends);
        ui::Form& form = slotNamed(screen).get(); // loaded, not shown: nothing said yet
        QAccessibleInterface* w = window(form);
        QCOMPARE(w->role(), QAccessible::Window);
        QCOMPARE(w->text(QAccessible::Name), name);
        QCOMPARE(w->childCount(), children);
        int held = 0;
        for (int i = 0; i < children; ++i) {
            QAccessibleInterface* child = w->child(i);
            QCOMPARE(child->parent(), w);
            QCOMPARE(w->indexOfChild(child), i);
            for (int j = 0; j < child->childCount(); ++j) {
                QCOMPARE(child->child(j)->parent(), child);
                QCOMPARE(child->indexOfChild(child->child(j)), j);
                QVERIFY(
                    child->child(j)->text(QAccessible::Name).contains(QRegularExpression(u"^[-+]?\\d+$"_s)));
                ++held;
            }
        }
        QCOMPARE(held, legends);
        QAccessibleInterface* voice = w->child(children - 1);
        QCOMPARE(voice->role(), QAccessible::Notification);
        QVERIFY(voice->state().invisible);
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
        QTest::newRow("additions box") << u"présentation"_s << u"Table"_s << 1 << R::CheckBox
                                       << u"Additions, soustractions"_s << true << false;
        QTest::newRow("divisions box")
            << u"présentation"_s << u"Table"_s << 3 << R::CheckBox << u"Divisions"_s << true << false;
        QTest::newRow("arrow that starts") << u"présentation"_s << u"flèche"_s << 0 << R::PushButton
                                           << u"Commencer le jeu"_s << true << false;
        QTest::newRow("stop on the rules")
            << u"présentation"_s << u"arret"_s << 0 << R::PushButton << u"Arrêter le jeu"_s << true << false;
        QTest::newRow("a rule, its double blank read once")
            << u"présentation"_s << u"Label3"_s << 0 << R::StaticText
            << u"Quand ta réponse clignotera sur la cible"_s << false << false;
        QTest::newRow("a legend label")
            << u"présentation"_s << u"Label1"_s << 0 << R::StaticText << u"+10"_s << false << false;
        QTest::newRow("clock before a second")
            << u"Kovrant"_s << u"chronometre"_s << 0 << R::StaticText << u"0 seconde"_s << false << false;
        QTest::newRow("hidden arrow during a question")
            << u"Kovrant"_s << u"flèche"_s << 0 << R::PushButton << u"Question suivante"_s << false << true;
        QTest::newRow("hidden verdict")
            << u"Kovrant"_s << u"commentaire"_s << 0 << R::StaticText << u"commentaire"_s << false << true;
        QTest::newRow("approximately")
            << u"Kovrant"_s << u"environ"_s << 0 << R::Graphic << u"environ égal à"_s << false << false;
        QTest::newRow("congratulations")
            << u"FIN"_s << u"texte2"_s << 0 << R::StaticText << u"Félicitations"_s << false << false;
        QTest::newRow("end arrow keeps FIN's keys")
            << u"FIN"_s << u"flèche"_s << 0 << R::PushButton << u"Au revoir"_s << false << false;
        QTest::newRow("farewell arrow")
            << u"Aurevoir"_s << u"flèche"_s << 0 << R::PushButton << u"Quitter le jeu"_s << true << false;
        QTest::newRow("e-mail symbol") << u"Aurevoir"_s << u"Picture1"_s << 0 << R::Graphic
                                       << u"Courrier électronique"_s << false << false;
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
        QVERIFY(object != nullptr);
        QCOMPARE(object->role(), role);
        QCOMPARE(object->text(QAccessible::Name), name);
        QCOMPARE(bool(object->state().focusable), focusable);
        QCOMPARE(bool(object->state().invisible), invisible);
        const bool clickable = role == QAccessible::PushButton || role == QAccessible::CheckBox;
        QCOMPARE(object->actionInterface() != nullptr, clickable);
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
        QCoreApplication::processEvents();
        QCOMPARE(form.size(), size);
        const QPoint corner = form.mapToGlobal(QPoint(0, 0));
        const auto expected = [&](QRectF twips) {
            const QRectF r(origin + twips.topLeft() / 15 * scale, twips.size() / 15 * scale);
            return r.toAlignedRect().translated(corner);
        };
        QCOMPARE(of(form, u"Table", 1)->rect(), expected(QRectF(4080, 6360, 3255, 360)));
        QCOMPARE(of(form, u"flèche")->rect(), expected(QRectF(18240, 9600, 480, 480)));
        // The target, painted from (598, 98) to (902, 402) points.
        QCOMPARE(painted(form, 0)->rect(), expected(QRectF(598 * 20, 98 * 20, 304 * 20, 304 * 20)));
        const auto at = [&](QRectF twips) {
            const QPoint p = expected(twips).center();
            return window(form)->childAt(p.x(), p.y());
        };
        QCOMPARE(at(QRectF(18240, 9600, 480, 480)), of(form, u"flèche"));
        // A legend before the target it lies on, the target elsewhere.
        QCOMPARE(at(QRectF(14760, 4880, 360, 270)), of(form, u"Label1"));
        QCOMPARE(at(QRectF(14000, 3000, 10, 10)), painted(form, 0));
    }

    // Names a French synthesiser reads right: numbers whole, operators in words.
    void namesReadRight_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("grouped operands") << u"12 345 + 67 890        ?"_s << u"12345 + 67890 ?"_s;
        QTest::newRow("eight digits, two blanks") << u"12 345 678"_s << u"12345678"_s;
        QTest::newRow("multiplication sign") << u"1 234 × 567"_s << u"1234 fois 567"_s;
        QTest::newRow("exact result after two blanks")
            << u"la réponse exacte est  1 234"_s << u"la réponse exacte est 1234"_s;
        QTest::newRow("separate numbers stay apart")
            << u"tu marques 10 points sur 100"_s << u"tu marques 10 points sur 100"_s;
        QTest::newRow("a blank before four digits is no grouping") << u"12 3456"_s << u"12 3456"_s;
    }
    void namesReadRight() {
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
        QTest::newRow("multiplication") << O::Multiplication << 1234.0f << 567.0f << u"1234 fois 567"_s;
        QTest::newRow("division") << O::Division << 5929.0f << 7.0f << u"5929 divisé par 7"_s;
        QTest::newRow("rounded to ten million")
            << O::Multiplication << 10000.0f << 1000.0f << u"10000 fois 1000"_s;
    }
    void calculationsInWords() {
        QFETCH(exercise::Operation, operation);
        QFETCH(float, nombre1);
        QFETCH(float, nombre2);
        QFETCH(QString, spoken);
        QCOMPARE(exercise::calcul_a_dire(operation, nombre1, nombre2), spoken);
    }

    // What the exercise window says, and what its painted items and labels are then called.
    void exerciseSpeaksAtTheRightMoments_data() {
        QTest::addColumn<QString>("keys");     // \b Backspace, \r Enter; digits of "=" the exact result
        QTest::addColumn<int>("ticks");        // of the answer clock, after the keys
        QTest::addColumn<QStringList>("said"); // after the calculation; %1 the exact result
        QTest::addColumn<QString>("calcul");   // what follows the calculation in its name
        QTest::newRow("posed") << u""_s << 0 << QStringList{} << u""_s;
        QTest::newRow("the answer as it grows")
            << u"12"_s << 0 << QStringList{u"1"_s, u"12"_s} << u", ta réponse 12"_s;
        QTest::newRow("a refused key says nothing")
            << u"0a5"_s << 0 << QStringList{u"0"_s} << u", ta réponse 0"_s;
        QTest::newRow("Backspace") << u"7\b\b"_s << 0 << QStringList{u"7"_s, u"Réponse effacée"_s} << u""_s;
        QTest::newRow("twenty seconds left, then ten")
            << u""_s << 20 << QStringList{u"Plus que 20 secondes"_s, u"Plus que 10 secondes"_s} << u""_s;
        QTest::newRow("judged by Enter")
            << u"=\r"_s << 3
            << QStringList{u"%1"_s, u"Excellent, tu marques 10 points. La réponse exacte est %1. Score 10."_s}
            << u", ta réponse %1"_s;
    }
    void exerciseSpeaksAtTheRightMoments() {
        QFETCH(QString, keys);
        QFETCH(int, ticks);
        QFETCH(QStringList, said);
        QFETCH(QString, calcul);
        Kovrant& k = startGame();
        const auto& c = k.champs();
        const QString resultat = QString::number(qint64(c.resultat));
        const QString question = exercise::calcul_a_dire(c.operation, c.nombre1, c.nombre2);
        QVERIFY(question.contains(u" fois "_s));
        QCOMPARE(announced(), QStringList{question});
        heard.clear();
        // One key, one tick at a time, as the event loop delivers them.
        for (const QChar key : keys) {
            for (const QChar typed : key == u'=' ? resultat : QString(key)) {
                testsupport::typeText(k, typed);
                QCoreApplication::processEvents();
            }
        }
        for (int i = 0; i < ticks; ++i) {
            k.timer1().fire();
            QCoreApplication::processEvents();
        }
        QStringList expected;
        for (const QString& s : said) {
            expected.append(QString(s).replace(u"%1"_s, resultat));
        }
        if (keys.contains(u'=')) {
            expected.erase(expected.begin()); // one announcement per digit of the result
            for (qsizetype n = 1; n <= resultat.size(); ++n) {
                expected.insert(n - 1, resultat.left(n));
            }
        }
        QCOMPARE(announced(), expected);
        QCOMPARE(of(k, u"Calcul")->text(QAccessible::Name),
                 question + QString(calcul).replace(u"%1"_s, resultat));
    }

    void judgedByTheClock() {
        Kovrant& k = startGame();
        for (int i = 0; i < 30; ++i) {
            k.timer1().fire();
            QCoreApplication::processEvents();
        }
        const QStringList said = announced();
        QCOMPARE(said.size(), 4);
        QVERIFY2(
            said.last().startsWith(u"Temps écoulé. Dommage, tu perds 5 points. La réponse exacte est "_s),
            qPrintable(said.last()));
        QVERIFY(said.last().contains(u". Score 0. Aide : "_s));
        QVERIFY(!said.last().contains(u"  "_s));
        // The help line and the score are now painted, and known where they are painted.
        QAccessibleInterface* aide = painted(k, 1);
        QAccessibleInterface* score = painted(k, 2);
        QVERIFY(!aide->state().invisible);
        QVERIFY(said.last().endsWith(u"Aide : "_s + aide->text(QAccessible::Name) + u'.'));
        QCOMPARE(score->text(QAccessible::Name), u"Score 0"_s);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name),
                 u"Cible : ta réponse est dans l'anneau blanc, moins 5 points"_s);
        QCOMPARE(of(k, u"Calcul")->text(QAccessible::Name),
                 exercise::calcul_a_dire(k.champs().operation, k.champs().nombre1, k.champs().nombre2) +
                     u", ta réponse 0"_s);
        // Centred on 300 points, 400 pixels at the designed size; the score's frame from 465 to 495 points.
        const QRect frame = score->rect().translated(-k.mapToGlobal(QPoint(0, 0)));
        const QRect expectedFrame = k.sceneToWidget().mapRect(QRectF(0, 620, 1, 40)).toAlignedRect();
        QCOMPARE(frame.top(), expectedFrame.top());
        QCOMPARE(frame.bottom(), expectedFrame.bottom());
        const QPointF centre = QRectF(aide->rect().translated(-k.mapToGlobal(QPoint(0, 0)))).center();
        QVERIFY(std::abs(centre.x() - k.widgetPointForUnits(QPointF(300, 350)).x()) <= 1);
        // The next question paints them over.
        press(k, Qt::Key_Space, u" "_s);
        QVERIFY(aide->state().invisible);
        QVERIFY(score->state().invisible);
        QCOMPARE(painted(k, 0)->text(QAccessible::Name), u"Cible"_s);
    }

    void theEndSpeaks() {
        Kovrant& k = startGame();
        testsupport::typeText(k, u"1\r"_s);
        module11.score = 100;
        heard.clear();
        press(k, Qt::Key_Space, u" "_s); // the next question ends the game
        QCOMPARE(announced(), QStringList{u"Félicitations !"_s});
    }

    void theFarewellSpeaksAndTheExerciseBehindKeepsQuiet() {
        Kovrant& k = startGame();
        heard.clear();
        press(k, Qt::Key_Escape, u"\x1b"_s);
        QCOMPARE(announced(), QStringList{u"Au revoir"_s});
        QCOMPARE(focused().last(), u"Quitter le jeu"_s);
        heard.clear();
        for (int i = 0; i < 30; ++i) {
            k.timer1().fire(); // its question runs out behind the farewell
        }
        QCOMPARE(k.champs().secondes.value(), 30);
        QCOMPARE(announced(), QStringList{});
    }

    void theArrowWithNothingTickedExplains() {
        ui::Form& form = open(u"présentation"_s);
        of(form, u"flèche")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(announced(), QStringList{u"Choisis d'abord une opération."_s});
        QVERIFY(!screens::kovrant().isLoaded());
    }

    // The keyboard alone, and a screen reader's actions, do what the mouse does.
    void keyboardAndActions_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>(
            "steps"); // t Tab, T Shift+Tab, s Space, e Enter, a toggle action, r reactivate
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QString>("focus");  // the control with the focus at the end, "" for none
        QTest::addColumn<QString>("opened"); // the screen shown last, "" once the program has ended
        QTest::newRow("focus starts on additions")
            << u"présentation"_s << u""_s << QList<int>{0, 0, 0} << u"Table1"_s << u"présentation"_s;
        QTest::newRow("shift-tab goes round to the stop sign")
            << u"présentation"_s << u"T"_s << QList<int>{0, 0, 0} << u"arret"_s << u"présentation"_s;
        QTest::newRow("tab reaches the arrow after the boxes")
            << u"présentation"_s << u"ttt"_s << QList<int>{0, 0, 0} << u"flèche"_s << u"présentation"_s;
        QTest::newRow("space ticks, enter on the arrow starts")
            << u"présentation"_s << u"sttte"_s << QList<int>{1, 0, 0} << u""_s << u"Kovrant"_s;
        QTest::newRow("enter on a box ticks nothing")
            << u"présentation"_s << u"te"_s << QList<int>{0, 0, 0} << u"Table2"_s << u"présentation"_s;
        QTest::newRow("toggle action as a click")
            << u"présentation"_s << u"tta"_s << QList<int>{0, 0, 1} << u"Table3"_s << u"présentation"_s;
        QTest::newRow("space on the stop sign")
            << u"présentation"_s << u"Ts"_s << QList<int>{0, 0, 0} << u"arret"_s << u"Aurevoir"_s;
        QTest::newRow("reactivated: ticks cleared, focus kept")
            << u"présentation"_s << u"tsr"_s << QList<int>{0, 0, 0} << u"Table2"_s << u"présentation"_s;
        QTest::newRow("farewell arrow has the focus")
            << u"Aurevoir"_s << u""_s << QList<int>{0, 0, 0} << u"flèche"_s << u"Aurevoir"_s;
        QTest::newRow("enter on the farewell arrow ends")
            << u"Aurevoir"_s << u"e"_s << QList<int>{0, 0, 0} << u""_s << u""_s;
        QTest::newRow("space on the farewell arrow ends")
            << u"Aurevoir"_s << u"s"_s << QList<int>{0, 0, 0} << u""_s << u""_s;
        QTest::newRow("tab moves nothing on the exercise")
            << u"Kovrant"_s << u"tt"_s << QList<int>{0, 1, 0} << u""_s << u"Kovrant"_s;
        QTest::newRow("space on FIN opens nothing")
            << u"FIN"_s << u"ts"_s << QList<int>{0, 0, 0} << u""_s << u"FIN"_s;
    }
    void keyboardAndActions() {
        QFETCH(QString, screen);
        QFETCH(QString, steps);
        QFETCH(QList<int>, chosen);
        QFETCH(QString, focus);
        QFETCH(QString, opened);
        ui::Form& form = open(screen);
        for (const QChar step : steps) {
            if (step == u't') {
                press(form, Qt::Key_Tab, u"\t"_s);
            } else if (step == u'T') {
                press(form, Qt::Key_Backtab, u"\t"_s);
            } else if (step == u's') {
                press(form, Qt::Key_Space, u" "_s);
            } else if (step == u'e') {
                press(form, Qt::Key_Return, u"\r"_s);
            } else if (step == u'a') {
                window(form)->focusChild()->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
            } else if (step == u'r') {
                screens::aurevoir().show();
                screens::presentation().show();
            }
        }
        const auto& c = module11.operations_choisies;
        QCOMPARE((QList<int>{c[1].value(), c[2].value(), c[3].value()}), chosen);
        QCOMPARE(testsupport::programEnded(), opened.isEmpty());
        if (opened.isEmpty()) {
            return;
        }
        QCOMPARE(ui::Runtime::instance().activeForm(), &slotNamed(opened).get());
        if (opened != screen) {
            return;
        }
        const ui::Control* has = form.focusedControl();
        const auto* box = dynamic_cast<const ui::CheckBox*>(has);
        QCOMPARE(has == nullptr ? QString() : has->name() + (box ? QString::number(box->index()) : QString()),
                 focus);
        QAccessibleInterface* focusChild = window(form)->focusChild();
        QCOMPARE(focusChild != nullptr && focusChild->object() == nullptr, !focus.isEmpty());
    }

    void tickingAndFocusAreHeard() {
        ui::Form& form = open(u"présentation"_s);
        heard.clear();
        press(form, Qt::Key_Tab, u"\t"_s);
        press(form, Qt::Key_Space, u" "_s);
        QCOMPARE(focused(), QStringList{u"Multiplications"_s});
        QAccessibleInterface* box = of(form, u"Table", 2);
        QVERIFY(box->state().checked && box->state().focused && box->state().checkable);
        QVERIFY(std::any_of(heard.begin(), heard.end(), [](const Heard& h) {
            return h.type == QAccessible::StateChanged && h.name == u"Multiplications";
        }));
    }

    // Without a screen reader the game creates nothing and sends nothing for one.
    void silentWithoutAssistiveTechnology() {
        ui::setAccessibilityListener(nullptr);
        Kovrant& k = startGame();
        testsupport::typeText(k, u"12\r"_s);
        for (int i = 0; i < 30; ++i) {
            k.timer1().fire();
        }
        QCoreApplication::processEvents();
        QVERIFY(heard.isEmpty());
        QVERIFY(!k.hasAccessibleTree());
    }

    // The focus mark: only around the focused caption, dark enough on white, at every scale.
    void focusMarkShows_data() {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("half") << 0.5;
        QTest::newRow("designed") << 1.0;
        QTest::newRow("double") << 2.0;
    }
    void focusMarkShows() {
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
                if (with.pixel(x, y) == without.pixel(x, y)) {
                    continue;
                }
                QVERIFY2(inside.contains(x, y), "the mark strays from its box");
                ++marked;
                darkest = std::min(darkest, qreal(with.pixelColor(x, y).lightnessF()));
            }
        }
        QVERIFY(marked > 0);
        // Light red text on white stands at about 4:1; the mark is darker than that.
        QVERIFY(darkest < 0.3);
    }
};

QTEST_MAIN(AccessibleTest)
#include "tst_accessible.moc"
