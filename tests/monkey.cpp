#include "monkey.h"

#include "exercise/kovrant.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"
#include "ui/numbers.h"
#include "ui/runtime_error.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <array>
#include <cmath>

namespace monkey {

namespace {

using shell::module11;
namespace screens = shell::screens;

std::array<ui::FormSlot*, 5> slots() {
    return {&screens::accueil(), &screens::presentation(), &screens::kovrant(), &screens::fin(),
            &screens::aurevoir()};
}

exercise::Kovrant* exerciseWindow() {
    return screens::kovrant().isLoaded() ? &screens::kovrant().as<exercise::Kovrant>() : nullptr;
}

bool visible(const ui::Form& form, QStringView control) {
    const ui::Control* c = form.findControl(control);
    return c != nullptr && c->isVisible();
}

} // namespace

Player::Player(Draw draw) : draw_(std::move(draw)) {}

void Player::start(std::uint32_t seed) {
    testsupport::resetProgram(seed);
    typing_.clear();
    away_ = 0;
    exercise_ = nullptr;
    finSeen_ = aurevoirSeen_ = false;
    ++tally_.games;
    screens::accueil().show();
    observe();
}

QString Player::step() {
    event_.clear();
    ++tally_.events;
    try {
        if (testsupport::programEnded()) {
            const std::uint32_t seed = draw_(1u << 24);
            start(seed);
            event_ = QStringLiteral("a new program, seed %1").arg(seed);
        } else {
            playOne();
        }
        if (QString broken = check(); !broken.isEmpty()) {
            return broken;
        }
        observe();
        // The blink counter is the trace of a verdict. Its first tick follows at once, so that a second
        // verdict on the same calculation shows as a new reset rather than hiding behind this one.
        if (exercise::Kovrant* k = exerciseWindow(); k != nullptr && k->champs().nb_clignotements == 0) {
            k->timer2().fire();
            event_ += QStringLiteral(", then a Timer2 tick");
            if (QString broken = check(); !broken.isEmpty()) {
                return broken;
            }
            observe();
        }
    } catch (const ui::RuntimeErrorException& e) {
        return QStringLiteral("runtime error %1 (%2)").arg(int(e.code)).arg(QString::fromStdString(e.what()));
    }
    return {};
}

void Player::playOne() {
    if (!typing_.empty()) {
        const Key key = typing_.front();
        typing_.pop_front();
        pressKey(key);
        return;
    }
    if (away_ > 0) {
        --away_;
        tick();
        return;
    }
    const std::uint32_t roll = draw_(1000);
    if (roll < 8) {
        // The child walks away: only the clocks move for a while, long enough for a calculation to run
        // out of time.
        away_ = 20 + int(draw_(100));
        tick();
    } else if (roll < 330) {
        pressKey(randomKey());
    } else if (roll < 400) {
        answer();
    } else if (roll < 560) {
        click();
    } else if (roll < 660) {
        clickControl();
    } else if (roll < 900) {
        tick();
    } else if (roll < 960) {
        reactivate();
    } else if (roll < 998) {
        settle();
    } else {
        closeWindow();
    }
}

ui::Form* Player::randomLoaded() {
    std::vector<ui::Form*> loaded;
    for (ui::FormSlot* slot : slots()) {
        if (slot->isLoaded()) {
            loaded.push_back(&slot->get());
        }
    }
    return loaded.empty() ? nullptr : loaded[draw_(std::uint32_t(loaded.size()))];
}

// Input goes to the window in front, or to any window left open when the one in front was closed.
ui::Form* Player::activeOrAnyLoaded() {
    ui::Form* active = ui::Runtime::instance().activeForm();
    return active != nullptr && draw_(10) != 0 ? active : randomLoaded();
}

Player::Key Player::randomKey() {
    static const Key specials[] = {
        {Qt::Key_Backspace, QStringLiteral("\b")},
        {Qt::Key_Return, QStringLiteral("\r")},
        {Qt::Key_Escape, QStringLiteral("\x1b")},
        {Qt::Key_Tab, QStringLiteral("\t")},
        {Qt::Key_Backtab, QString()},
        {Qt::Key_Space, QStringLiteral(" ")},
        {Qt::Key_Left, QString()},
        {Qt::Key_Up, QString()},
        {Qt::Key_Right, QString()},
        {Qt::Key_Down, QString()},
        {Qt::Key_Delete, QStringLiteral("\x7f")},
        {Qt::Key_Insert, QString()},
        {Qt::Key_Home, QString()},
        {Qt::Key_End, QString()},
        {Qt::Key_PageUp, QString()},
        {Qt::Key_PageDown, QString()},
        {Qt::Key_Shift, QString(), Qt::ShiftModifier},
        {Qt::Key_Control, QString(), Qt::ControlModifier},
        {Qt::Key_Alt, QString(), Qt::AltModifier},
        {Qt::Key_CapsLock, QString()},
        {Qt::Key_Pause, QString()},
        {Qt::Key_Menu, QString()},
        {Qt::Key_unknown, QString()},
    };
    static const Key keypad[] = {
        {Qt::Key_Plus, QStringLiteral("+"), Qt::KeypadModifier},
        {Qt::Key_Minus, QStringLiteral("-"), Qt::KeypadModifier},
        {Qt::Key_Asterisk, QStringLiteral("*"), Qt::KeypadModifier},
        {Qt::Key_Slash, QStringLiteral("/"), Qt::KeypadModifier},
        {Qt::Key_Period, QStringLiteral("."), Qt::KeypadModifier},
        {Qt::Key_Comma, QStringLiteral(","), Qt::KeypadModifier},
        {Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier},
        {Qt::Key_Home, QString(), Qt::KeypadModifier}, // Num Lock off
        {Qt::Key_Left, QString(), Qt::KeypadModifier},
        {Qt::Key_Clear, QString(), Qt::KeypadModifier},
    };
    static const char16_t accented[] = {u'é', u'è', u'à', u'ç', u'ù', u'²', u'µ', u'§', u'€', u'ﬁ'};

    const std::uint32_t kind = draw_(100);
    if (kind < 20) {
        const int digit = int(draw_(10));
        return {Qt::Key_0 + digit, QString(QChar(u'0' + digit))};
    }
    if (kind < 50) {
        const char16_t c = char16_t(0x20 + draw_(95));
        const bool letter = QChar(c).isLetter();
        return {letter ? int(QChar(c).toUpper().unicode()) : int(c), QString(QChar(c))};
    }
    if (kind < 55) {
        const QChar c(accented[draw_(std::size(accented))]);
        return {c.toUpper().unicode() < 256 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown), QString(c)};
    }
    if (kind < 75) {
        return specials[draw_(std::size(specials))];
    }
    if (kind < 82) {
        return {Qt::Key_F1 + int(draw_(12)), QString()};
    }
    if (kind < 95) {
        if (draw_(2) == 0) {
            const int digit = int(draw_(10));
            return {Qt::Key_0 + digit, QString(QChar(u'0' + digit)), Qt::KeypadModifier};
        }
        return keypad[draw_(std::size(keypad))];
    }
    // Control with a letter types a control character; Alt with a letter types the letter.
    const int letter = int(draw_(26));
    if (draw_(2) == 0) {
        return {Qt::Key_A + letter, QString(QChar(char16_t(1 + letter))), Qt::ControlModifier};
    }
    return {Qt::Key_A + letter, QString(QChar(char16_t(u'a' + letter))), Qt::AltModifier};
}

void Player::pressKey(const Key& key) {
    QPointer<ui::Form> form = activeOrAnyLoaded();
    event_ = QStringLiteral("key 0x%1 \"%2\" modifiers 0x%3")
                 .arg(key.key, 0, 16)
                 .arg(key.text.toHtmlEscaped())
                 .arg(int(key.modifiers), 0, 16);
    if (form == nullptr) {
        return;
    }
    event_ += QStringLiteral(" on ") + form->objectName();
    QKeyEvent press(QEvent::KeyPress, key.key, key.modifiers, key.text);
    QCoreApplication::sendEvent(form, &press);
    if (form != nullptr) {
        QKeyEvent release(QEvent::KeyRelease, key.key, key.modifiers, key.text);
        QCoreApplication::sendEvent(form, &release);
    }
}

// Children do get answers right, or close: without that no game would ever reach its end screen.
void Player::answer() {
    exercise::Kovrant* k = exerciseWindow();
    if (k == nullptr || ui::Runtime::instance().activeForm() != k || module11.attente_reponse != 1) {
        pressKey(randomKey());
        return;
    }
    const double exact = k->champs().resultat;
    double estimate = exact;
    switch (draw_(6)) {
    case 0:
    case 1:
    case 2:
        break;
    case 3:
        estimate = ui::roundToLeadingDigit(float(exact));
        break;
    case 4:
        estimate = std::floor(exact * (0.5 + draw_(1000) / 1000.0));
        break;
    default:
        estimate = draw_(100000000);
        break;
    }
    const QString digits = QString::number(qint64(estimate));
    if (draw_(4) != 0) {
        typing_.push_back({Qt::Key_Backspace, QStringLiteral("\b")});
    }
    for (const QChar c : digits) {
        typing_.push_back(
            {Qt::Key_0 + c.digitValue(), QString(c),
             draw_(3) == 0 ? Qt::KeyboardModifiers(Qt::KeypadModifier) : Qt::KeyboardModifiers()});
    }
    typing_.push_back(draw_(3) == 0 ? Key{Qt::Key_Equal, QStringLiteral("=")}
                                    : Key{Qt::Key_Return, QStringLiteral("\r")});
    const Key first = typing_.front();
    typing_.pop_front();
    pressKey(first);
    event_ = QStringLiteral("answer %1 to %2: ").arg(digits).arg(qint64(exact)) + event_;
}

void Player::click() {
    QPointer<ui::Form> form = activeOrAnyLoaded();
    if (form == nullptr) {
        event_ = QStringLiteral("click with no window");
        return;
    }
    // Anywhere, the margins around the scene and just outside the window included.
    const auto anywhere = [&] {
        return QPoint(int(draw_(std::uint32_t(form->width() + 40))) - 20,
                      int(draw_(std::uint32_t(form->height() + 40))) - 20);
    };
    const QPoint at = anywhere();
    static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton,  Qt::LeftButton,
                                              Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    const Qt::MouseButton button = buttons[draw_(std::size(buttons))];
    event_ = QStringLiteral("click %1 at (%2, %3) on %4")
                 .arg(int(button))
                 .arg(at.x())
                 .arg(at.y())
                 .arg(form->objectName());
    if (draw_(8) == 0) {
        // Pressed on one place, let go on another.
        const QPoint to = anywhere();
        event_ += QStringLiteral(", released at (%1, %2)").arg(to.x()).arg(to.y());
        QTest::mousePress(form, button, {}, at);
        if (form != nullptr) {
            QTest::mouseRelease(form, button, {}, to);
        }
        return;
    }
    QTest::mouseClick(form, button, {}, at);
}

void Player::clickControl() {
    QPointer<ui::Form> form = activeOrAnyLoaded();
    if (form == nullptr || form->controls().empty()) {
        click();
        return;
    }
    const auto& controls = form->controls();
    const ui::Control& control = *controls[draw_(std::uint32_t(controls.size()))];
    const QRect box = control.twips();
    const QPointF twips(box.left() + draw_(std::uint32_t(box.width())),
                        box.top() + draw_(std::uint32_t(box.height())));
    event_ = QStringLiteral("click on %1 of %2").arg(control.name(), form->objectName());
    QTest::mouseClick(form, Qt::LeftButton, {}, form->widgetPointForTwips(twips).toPoint());
}

void Player::tick() {
    exercise::Kovrant* k = exerciseWindow();
    if (k == nullptr) {
        pressKey(randomKey());
        return;
    }
    if (draw_(9) < 4) {
        event_ = QStringLiteral("Timer1 tick");
        k->timer1().fire();
    } else {
        event_ = QStringLiteral("Timer2 tick");
        k->timer2().fire();
    }
}

void Player::reactivate() {
    ui::Form* form = randomLoaded();
    if (form == nullptr) {
        event_ = QStringLiteral("activation with no window");
        return;
    }
    event_ = QStringLiteral("activation of ") + form->objectName();
    ui::Runtime::instance().activate(*form);
}

// Lets the window system catch up: pending paints, expose and activation events. The game's own timers
// rest meanwhile, since their ticks come from this player alone and a run must replay.
void Player::settle() {
    event_ = QStringLiteral("pending events");
    exercise::Kovrant* k = exerciseWindow();
    const bool running1 = k != nullptr && k->timer1().isRunning();
    const bool running2 = k != nullptr && k->timer2().isRunning();
    if (k != nullptr) {
        k->timer1().setRunning(false);
        k->timer2().setRunning(false);
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (exercise::Kovrant* again = exerciseWindow(); again != nullptr && again == k) {
        k->timer1().setRunning(running1);
        k->timer2().setRunning(running2);
    }
}

void Player::closeWindow() {
    ui::Form* form = activeOrAnyLoaded();
    if (form == nullptr) {
        event_ = QStringLiteral("close with no window");
        return;
    }
    event_ = QStringLiteral("close ") + form->objectName();
    QCloseEvent close;
    QCoreApplication::sendEvent(form, &close);
}

QString Player::check() {
    if (testsupport::programEnded()) {
        return {};
    }
    static const QRegularExpression answerShape(QStringLiteral("\\A(|0|[1-9][0-9]{0,7})\\z"));
    if (!answerShape.match(module11.reponse).hasMatch()) {
        return (QStringLiteral("the answer \"%1\" is not a number as keyed").arg(module11.reponse));
    }
    if (screens::accueil().isLoaded()) {
        return (QStringLiteral("the welcome screen outlived the presentation"));
    }
    if (screens::presentation().isLoaded() && screens::kovrant().isLoaded()) {
        return (QStringLiteral("the presentation and the exercise are open together"));
    }
    // A calculation posed with at most 99 points earns at most 10.
    if (module11.score > 109) {
        return (QStringLiteral("score %1 beyond any game").arg(module11.score.value()));
    }
    if (ui::Form* active = ui::Runtime::instance().activeForm(); active != nullptr && !active->isLoaded()) {
        return (QStringLiteral("the active window is unloaded"));
    }
    if (screens::fin().isLoaded() && !finSeen_) {
        finSeen_ = true;
        ++tally_.finishes;
    }
    if (screens::aurevoir().isLoaded() && !aurevoirSeen_) {
        aurevoirSeen_ = true;
        ++tally_.farewells;
    }
    return checkExercise();
}

QString Player::checkExercise() {
    exercise::Kovrant* k = exerciseWindow();
    if (k == nullptr) {
        return {};
    }
    const exercise::Kovrant::Champs& c = k->champs();
    const int attente = module11.attente_reponse.value();
    const bool arret = visible(*k, u"arret");
    const bool fleche = visible(*k, u"flèche");
    const bool question = attente == 1 && !arret && !fleche;
    const bool pause = attente == 0 && arret && fleche;
    // Leaving the last pause by the arrow hides it; the end screen then stands in front.
    const bool over = attente == 0 && arret && !fleche &&
                      (screens::fin().isLoaded() || ui::Runtime::instance().activeForm() != k);
    if (!question && !pause && !over) {
        return (QStringLiteral("attente_reponse %1 with arret %2 and flèche %3")
                    .arg(attente)
                    .arg(arret ? QStringLiteral("shown") : QStringLiteral("hidden"))
                    .arg(fleche ? QStringLiteral("shown") : QStringLiteral("hidden")));
    }
    if (pause && module11.score < 0) {
        return (QStringLiteral("score %1 shown").arg(module11.score.value()));
    }
    if (c.secondes < 0 || c.secondes > 30 || (question && c.secondes == 30)) {
        return (QStringLiteral("%1 seconds on a calculation %2")
                    .arg(c.secondes.value())
                    .arg(question ? QStringLiteral("still open") : QStringLiteral("judged")));
    }
    if (question) {
        const QString shown =
            module11.reponse.isEmpty()
                ? QStringLiteral("        ?")
                : QStringLiteral("       ") + ui::espacer_milliers(module11.reponse) + QStringLiteral(" ?");
        if (k->label(u"Calcul").caption() != c.texte_calcul + shown) {
            return (QStringLiteral("the calculation shows \"%1\" with \"%2\" keyed")
                        .arg(k->label(u"Calcul").caption(), module11.reponse));
        }
    }

    if (k != exercise_) {
        return {};
    }
    // Only a verdict resets the blink counter.
    const bool judged = c.nb_clignotements < clignotements_;
    if (judged) {
        ++tally_.verdicts;
        if (attente_ != 1) {
            return (QStringLiteral("a calculation judged with none awaiting its answer"));
        }
        if (c.nb_clignotements != 0 || !k->timer2().isRunning()) {
            return (QStringLiteral("a verdict without its blink"));
        }
    } else if (attente_ == 1 && attente == 0) {
        return (QStringLiteral("a calculation closed without a verdict"));
    }
    // Between blinks the 10 ms timer must rest, or the idle window keeps the processor awake.
    if (c.nb_clignotements > 170 && c.nb_clignotements != 1000 && k->timer2().isRunning()) {
        return (QStringLiteral("the blink timer runs with nothing to draw"));
    }
    return {};
}

void Player::observe() {
    const exercise::Kovrant* k = exerciseWindow();
    exercise_ = k;
    if (k != nullptr) {
        attente_ = module11.attente_reponse.value();
        clignotements_ = k->champs().nb_clignotements;
    }
}

} // namespace monkey
