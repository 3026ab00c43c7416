#include "support.h"

#include "exercise/kovrant.h"
#include "shell/module11.h"
#include "shell/screens.h"

#include <QTest>

using namespace shell;
using testsupport::clickControl;

class SequenceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void startGoesFromWelcomeToPresentation() {
        screens::accueil().show();
        QVERIFY(!screens::accueil().isLoaded());
        QVERIFY(screens::presentation().isLoaded());
        QCOMPARE(ui::Runtime::instance().activeForm(), &screens::presentation().get());
    }

    void arrowStartsTheGameOnlyWithAFamilyChosen() {
        screens::accueil().show();
        ui::Form& presentation = screens::presentation().get();
        clickControl(presentation, u"flèche");
        QVERIFY(!screens::kovrant().isLoaded());
        clickControl(presentation, u"Table", 3);
        QCOMPARE(module11.operations_choisies[3].value(), 1);
        clickControl(presentation, u"flèche");
        QVERIFY(screens::kovrant().isLoaded());
        QVERIFY(!screens::presentation().isLoaded());
        const auto& k = screens::kovrant().as<exercise::Kovrant>();
        QCOMPARE(k.champs().operation, exercise::Operation::Division);
        QCOMPARE(module11.attente_reponse.value(), 1);
    }
};

QTEST_MAIN(SequenceTest)
#include "tst_sequence.moc"
