#include "exercise/kovrant.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"

#include <QTest>

using exercise::Kovrant;
using shell::module11;
using namespace Qt::StringLiterals;
namespace screens = shell::screens;

namespace {

const QString sevenBlanks = u"       "_s;

// Types keys as a player would; \b, \r and \x1b stand for Backspace, Enter and Escape.
void press(Kovrant& k, const QString& keys) {
    for (const QChar c : keys) {
        if (c == u'\b') {
            testsupport::typeKey(k, Qt::Key_Backspace);
        } else if (c == u'\r') {
            testsupport::typeKey(k, Qt::Key_Return, u"\r"_s);
        } else if (c == u'\x1b') {
            testsupport::typeKey(k, Qt::Key_Escape, u"\x1b"_s);
        } else {
            testsupport::typeText(k, QString(c));
        }
    }
}

Kovrant& startGame() {
    module11.operations_choisies[2] = 1;
    screens::kovrant().show();
    return screens::kovrant().as<Kovrant>();
}

} // namespace

class KeyingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(4242); }

    void keysBuildTheAnswer_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("reponse");
        QTest::addColumn<QString>("shown"); // after the calculation and the seven blanks
        QTest::newRow("0, 0: the second zero is refused") << u"00"_s << u"0"_s << u"0 ?"_s;
        QTest::newRow("0, 5: nothing follows a lone zero") << u"05"_s << u"0"_s << u"0 ?"_s;
        QTest::newRow("5, 0, 0") << u"500"_s << u"500"_s << u"500 ?"_s;
        QTest::newRow("four digits take a blank") << u"1234"_s << u"1234"_s << u"1 234 ?"_s;
        QTest::newRow("seven digits take two blanks") << u"1234567"_s << u"1234567"_s << u"1 234 567 ?"_s;
        QTest::newRow("a ninth digit is refused") << u"123456789"_s << u"12345678"_s << u"12 345 678 ?"_s;
        QTest::newRow("Backspace erases the whole answer") << u"123\b4"_s << u"4"_s << u"4 ?"_s;
        QTest::newRow("Backspace frees a lone zero") << u"0\b5"_s << u"5"_s << u"5 ?"_s;
        QTest::newRow("letters, minus, point and space change nothing")
            << u"7a-. z8"_s << u"78"_s << u"78 ?"_s;
        QTest::newRow("Enter with nothing keyed does not judge") << u"\r"_s << u""_s << u" ?"_s;
        QTest::newRow("= with nothing keyed does not judge") << u"="_s << u""_s << u" ?"_s;
    }
    void keysBuildTheAnswer() {
        QFETCH(QString, keys);
        QFETCH(QString, reponse);
        QFETCH(QString, shown);
        Kovrant& k = startGame();
        press(k, keys);
        QCOMPARE(module11.reponse, reponse);
        QCOMPARE(k.label(u"Calcul").caption(), QString(k.champs().texte_calcul + sevenBlanks + shown));
        QCOMPARE(module11.attente_reponse.value(), 1);
        QVERIFY(!k.image(u"flèche").isVisible());
    }

    void enterAndEqualsJudge_data() {
        QTest::addColumn<QString>("keys");
        QTest::newRow("Enter") << u"1234\r"_s;
        QTest::newRow("=") << u"1234="_s;
    }
    void enterAndEqualsJudge() {
        QFETCH(QString, keys);
        Kovrant& k = startGame();
        press(k, keys);
        QCOMPARE(module11.attente_reponse.value(), 0);
        QVERIFY(k.image(u"flèche").isVisible());
        QVERIFY(k.image(u"arret").isVisible());
        QVERIFY(k.label(u"commentaire").isVisible());
        // The estimate stays as it was shown, without the question mark.
        QCOMPARE(k.label(u"Calcul").caption(), QString(k.champs().texte_calcul + sevenBlanks + u"1 234"_s));
        QCOMPARE(module11.reponse, QString());
    }

    void escapeDuringAQuestionLeavesWithoutJudging() {
        Kovrant& k = startGame();
        module11.score = 40;
        press(k, u"12\x1b"_s);
        QVERIFY(screens::aurevoir().isLoaded());
        QCOMPARE(ui::Runtime::instance().activeForm(), &screens::aurevoir().get());
        QCOMPARE(module11.attente_reponse.value(), 1);
        QCOMPARE(module11.score.value(), 40);
        QVERIFY(!k.label(u"commentaire").isVisible());
        QVERIFY(!k.image(u"flèche").isVisible());
    }

    void anyKeyInThePauseStartsTheNextQuestion_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("a digit, which is lost") << u"7"_s;
        QTest::newRow("Escape") << u"\x1b"_s;
        QTest::newRow("Enter") << u"\r"_s;
        QTest::newRow("a letter") << u"q"_s;
    }
    void anyKeyInThePauseStartsTheNextQuestion() {
        QFETCH(QString, key);
        Kovrant& k = startGame();
        press(k, u"0\r"_s);
        const auto before = k.champs();
        QCOMPARE(module11.attente_reponse.value(), 0);
        press(k, key);
        QVERIFY(!screens::aurevoir().isLoaded());
        QCOMPARE(module11.attente_reponse.value(), 1);
        QCOMPARE(module11.reponse, QString());
        QVERIFY(k.champs().texte_calcul != before.texte_calcul || k.champs().resultat != before.resultat);
        QCOMPARE(k.label(u"Calcul").caption(), QString(k.champs().texte_calcul + u"        ?"_s));
        QCOMPARE(k.label(u"chronometre").caption(), u"0"_s);
        QVERIFY(!k.image(u"flèche").isVisible());
        QVERIFY(!k.image(u"arret").isVisible());
        QVERIFY(!k.label(u"commentaire").isVisible());
        // The key that left the pause is not the start of the new answer.
        press(k, u"5"_s);
        QCOMPARE(module11.reponse, u"5"_s);
    }
};

QTEST_MAIN(KeyingTest)
#include "tst_keying.moc"
