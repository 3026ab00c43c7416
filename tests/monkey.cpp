#include "monkey.h"

#include "kovrant.h"
#include "numbers.h"
#include "runtime_error.h"
#include "support.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

namespace monkey {

namespace {

exercise::Kovrant* exerciseWindow(testsupport::Game& game) {
    return game.kovrant().isLoaded() ? &game.kovrant().as<exercise::Kovrant>() : nullptr;
}

bool visible(const ui::Form& form, QStringView control) {
    const ui::Control* c = form.findControl(control);
    return c != nullptr && c->isVisible();
}

QString nameOf(const ui::Form* form) {
    return form != nullptr ? form->objectName() : QStringLiteral("no window");
}

std::pair<QKeyCombination, char16_t> digitKey(int digit, bool keypad) {
    return {QKeyCombination(keypad ? Qt::KeypadModifier : Qt::NoModifier, Qt::Key(Qt::Key_0 + digit)),
            char16_t(u'0' + digit)};
}

// Input goes to the window in front, or to any window left open when the one in front was closed.
ui::Form* anyWindow(testsupport::Game& game, const Player::Draw& draw, bool preferActive) {
    if (ui::Form* active = game.runtime().activeForm(); preferActive && active && draw(10) != 0) {
        return active;
    }
    std::vector<ui::Form*> loaded;
    for (ui::FormSlot* slot : game.screens()) {
        if (slot->isLoaded()) {
            loaded.push_back(&slot->get());
        }
    }
    return loaded.empty() ? nullptr : loaded[draw(std::uint32_t(loaded.size()))];
}

} // namespace

Player::Player(Draw draw) : draw_(std::move(draw)) {}

Player::~Player() = default;

void Player::start(std::uint32_t seed) {
    game_ = std::make_unique<testsupport::Game>(seed);
    typing_.clear();
    away_ = 0;
    exercise_ = nullptr;
    finSeen_ = aurevoirSeen_ = false;
    ++tally_.games;
    game_->accueil().show();
}

QString Player::step() {
    event_.clear();
    ++tally_.events;
    try {
        playOne();
        QString broken = check();
        // The blink counter is the trace of a verdict. Its first tick follows at once, so that a second
        // verdict on the same calculation shows as a new reset rather than hiding behind this one.
        if (exercise::Kovrant* k = exerciseWindow(*game_);
            broken.isEmpty() && k != nullptr && k->champs().nb_clignotements == 0) {
            k->timer2().fire();
            event_ += QStringLiteral(", then a Timer2 tick");
            broken = check();
        }
        return broken;
    } catch (const base::RuntimeErrorException& e) {
        return QStringLiteral("runtime error %1 (%2)").arg(int(e.code)).arg(QString::fromStdString(e.what()));
    }
}

void Player::playOne() {
    if (game_->ended()) {
        const std::uint32_t seed = draw_(1u << 24);
        start(seed);
        event_ = QStringLiteral("a new program, seed %1").arg(seed);
        return;
    }
    if (!typing_.empty()) {
        pressKey(typing_.front());
        return typing_.pop_front();
    }
    if (away_ > 0) {
        --away_;
        return tick();
    }
    // Out of a thousand. Walking away leaves only the clocks moving, long enough for a calculation to run
    // out of time.
    static const std::pair<std::uint32_t, void (*)(Player&)> whims[] = {
        {8, [](Player& p) { p.away_ = 20 + int(p.draw_(100)), p.tick(); }},
        {330, [](Player& p) { p.pressKey(p.randomKey()); }},
        {400, [](Player& p) { p.answer(); }},
        {560, [](Player& p) { p.click(false); }},
        {660, [](Player& p) { p.click(true); }},
        {900, [](Player& p) { p.tick(); }},
        {960, [](Player& p) { p.switchWindow(false); }},
        {998, [](Player& p) { p.settle(); }},
        {1000, [](Player& p) { p.switchWindow(true); }}};
    const std::uint32_t roll = draw_(1000);
    for (const auto& [below, play] : whims) {
        if (roll < below) {
            return play(*this);
        }
    }
}

Player::Key Player::randomKey() {
    // Home and Left on the keypad are what it sends with Num Lock off.
    static const Key plain[] = {{Qt::Key_Backspace, u'\b'}, {Qt::Key_Return, u'\r'}, {Qt::Key_Escape, 0x1b},
                                {Qt::Key_Tab, u'\t'},       {Qt::Key_Space, u' '},   {Qt::Key_Delete, 0x7f},
                                {Qt::Key_Backtab, 0},       {Qt::Key_Left, 0},       {Qt::Key_Up, 0},
                                {Qt::Key_Right, 0},         {Qt::Key_Down, 0},       {Qt::Key_Insert, 0},
                                {Qt::Key_Home, 0},          {Qt::Key_End, 0},        {Qt::Key_PageUp, 0},
                                {Qt::Key_PageDown, 0},      {Qt::Key_CapsLock, 0},   {Qt::Key_Pause, 0},
                                {Qt::Key_Menu, 0},          {Qt::Key_unknown, 0}};
    static const Key modified[] = {
        {Qt::ShiftModifier | Qt::Key_Shift, 0},     {Qt::ControlModifier | Qt::Key_Control, 0},
        {Qt::AltModifier | Qt::Key_Alt, 0},         {Qt::KeypadModifier | Qt::Key_Plus, u'+'},
        {Qt::KeypadModifier | Qt::Key_Minus, u'-'}, {Qt::KeypadModifier | Qt::Key_Asterisk, u'*'},
        {Qt::KeypadModifier | Qt::Key_Slash, u'/'}, {Qt::KeypadModifier | Qt::Key_Period, u'.'},
        {Qt::KeypadModifier | Qt::Key_Comma, u','}, {Qt::KeypadModifier | Qt::Key_Enter, u'\r'},
        {Qt::KeypadModifier | Qt::Key_Home, 0},     {Qt::KeypadModifier | Qt::Key_Left, 0},
        {Qt::KeypadModifier | Qt::Key_Clear, 0}};
    static const char16_t accented[] = {u'é', u'è', u'à', u'ç', u'ù', u'²', u'µ', u'§', u'€', u'ﬁ'};

    const std::uint32_t kind = draw_(100);
    if (kind < 26) { // digits, a quarter of them from the keypad
        const int digit = int(draw_(10));
        return digitKey(digit, draw_(4) == 0);
    }
    if (kind < 61) { // printable ASCII, then a few characters beyond it
        const QChar c(kind < 56 ? char16_t(0x20 + draw_(95)) : accented[draw_(std::size(accented))]);
        const int upper = c.toUpper().unicode();
        return {Qt::Key(upper < 256 ? upper : Qt::Key_unknown), c.unicode()};
    }
    if (kind < 84) {
        return kind < 78 ? plain[draw_(std::size(plain))] : modified[draw_(std::size(modified))];
    }
    if (kind < 91) {
        return {Qt::Key(Qt::Key_F1 + int(draw_(12))), 0};
    }
    // Control with a letter types a control character; Alt with a letter types the letter.
    const int letter = int(draw_(26));
    const bool control = draw_(2) == 0;
    return {QKeyCombination(control ? Qt::ControlModifier : Qt::AltModifier, Qt::Key(Qt::Key_A + letter)),
            char16_t(control ? 1 + letter : u'a' + letter)};
}

void Player::pressKey(const Key& key) {
    QPointer<ui::Form> form = anyWindow(*game_, draw_, true);
    const QString text = key.second != 0 ? QString(QChar(key.second)) : QString();
    event_ =
        QString::asprintf("key 0x%x \"%s\" modifiers 0x%x on %s", int(key.first.key()), qUtf8Printable(text),
                          int(key.first.keyboardModifiers()), qUtf8Printable(nameOf(form)));
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        if (form != nullptr) { // the press may have closed it
            QKeyEvent event(type, key.first.key(), key.first.keyboardModifiers(), text);
            QCoreApplication::sendEvent(form, &event);
        }
    }
}

// Children do get answers right, or close: without that no game would ever reach its end screen.
void Player::answer() {
    exercise::Kovrant* k = exerciseWindow(*game_);
    if (k == nullptr || game_->runtime().activeForm() != k || game_->module11.attente_reponse != 1) {
        return pressKey(randomKey());
    }
    // Right half the time, otherwise rounded to its leading digit, short by up to a half, or wild.
    const double exact = k->champs().calcul.resultat;
    const std::uint32_t how = draw_(6);
    const double estimate = how < 3    ? exact
                            : how == 3 ? base::roundToLeadingDigit(exact)
                            : how == 4 ? std::floor(exact * (0.5 + draw_(1000) / 1000.0))
                                       : double(draw_(100000000));
    const QString digits = QString::number(qint64(estimate));
    if (draw_(4) != 0) {
        typing_.push_back({Qt::Key_Backspace, u'\b'});
    }
    for (const QChar c : digits) {
        typing_.push_back(digitKey(c.digitValue(), draw_(3) == 0));
    }
    typing_.push_back(draw_(3) == 0 ? Key{Qt::Key_Equal, u'='} : Key{Qt::Key_Return, u'\r'});
    playOne();
    event_ = QStringLiteral("answer %1 to %2: ").arg(digits).arg(qint64(exact)) + event_;
}

// Anywhere, the margins around the scene and just outside the window included, or somewhere on a control.
void Player::click(bool onControl) {
    QPointer<ui::Form> form = anyWindow(*game_, draw_, true);
    event_ = QStringLiteral("click on ") + nameOf(form);
    if (form == nullptr) {
        return;
    }
    const auto anywhere = [&] {
        return QPoint(int(draw_(std::uint32_t(form->width() + 40))) - 20,
                      int(draw_(std::uint32_t(form->height() + 40))) - 20);
    };
    Qt::MouseButton button = Qt::LeftButton;
    QPoint at;
    if (const auto& controls = form->controls(); onControl && !controls.empty()) {
        const ui::Control& control = *controls[draw_(std::uint32_t(controls.size()))];
        const QRect box = control.twips();
        at = form->widgetPointForTwips(QPointF(box.left() + draw_(std::uint32_t(std::max(1, box.width()))),
                                               box.top() + draw_(std::uint32_t(std::max(1, box.height())))))
                 .toPoint();
        event_ += u'.' + control.name();
    } else {
        at = anywhere();
        button = draw_(3) != 0 ? Qt::LeftButton : draw_(2) == 0 ? Qt::RightButton : Qt::MiddleButton;
    }
    // Sometimes pressed on one place and let go on another.
    const QPoint to = draw_(8) == 0 ? anywhere() : at;
    event_ += QString::asprintf(", button %d down at (%d, %d), up at (%d, %d)", int(button), at.x(), at.y(),
                                to.x(), to.y());
    QTest::mousePress(form, button, {}, at);
    if (form != nullptr) {
        QTest::mouseRelease(form, button, {}, to);
    }
}

void Player::tick() {
    exercise::Kovrant* k = exerciseWindow(*game_);
    if (k == nullptr) {
        return pressKey(randomKey());
    }
    const bool first = draw_(9) < 4;
    event_ = first ? QStringLiteral("Timer1 tick") : QStringLiteral("Timer2 tick");
    (first ? k->timer1() : k->timer2()).fire();
}

// Lets the window system catch up: pending paints, expose and activation events. The game's own timers
// rest meanwhile, since their ticks come from this player alone and a run must replay.
void Player::settle() {
    event_ = QStringLiteral("pending events");
    exercise::Kovrant* k = exerciseWindow(*game_);
    const bool running1 = k != nullptr && k->timer1().isRunning();
    const bool running2 = k != nullptr && k->timer2().isRunning();
    const auto run = [this, k](bool timer1, bool timer2) {
        if (k != nullptr && exerciseWindow(*game_) == k) {
            k->timer1().setRunning(timer1);
            k->timer2().setRunning(timer2);
        }
    };
    run(false, false);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    run(running1, running2);
}

// Brings any window to the front, or closes one, most often the one in front.
void Player::switchWindow(bool close) {
    ui::Form* form = anyWindow(*game_, draw_, close);
    event_ = (close ? QStringLiteral("close ") : QStringLiteral("activation of ")) + nameOf(form);
    if (QCloseEvent event; form != nullptr && close) {
        QCoreApplication::sendEvent(form, &event);
    } else if (form != nullptr) {
        game_->runtime().activate(*form);
    }
}

// Checks the program against what held before the event, then remembers what holds now.
QString Player::check() {
    exercise::Kovrant* k = exerciseWindow(*game_);
    const exercise::Exercice::Champs* c = k != nullptr ? &k->champs() : nullptr;
    const int attente = game_->module11.attente_reponse.value();
    const bool arret = k != nullptr && visible(*k, u"arret");
    const bool fleche = k != nullptr && visible(*k, u"flèche");
    const bool question = k != nullptr && attente == 1 && !arret && !fleche;
    const bool pause = k != nullptr && attente == 0 && arret && fleche;
    // Leaving the last pause by the arrow hides it; the end screen then stands in front.
    const bool over = k != nullptr && attente == 0 && arret && !fleche &&
                      (game_->fin().isLoaded() || game_->runtime().activeForm() != k);
    // Only a verdict resets the blink counter, which tells only on a window seen before.
    const bool seen = k != nullptr && k == exercise_;
    const bool judged = seen && c->nb_clignotements < clignotements_;
    const bool blinking = k != nullptr && k->timer2().isRunning();
    const int before = std::exchange(attente_, attente);
    exercise_ = k;
    clignotements_ = c != nullptr ? c->nb_clignotements : 0;
    if (game_->ended()) {
        return {};
    }
    tally_.verdicts += judged ? 1 : 0;
    tally_.finishes += game_->fin().isLoaded() && !std::exchange(finSeen_, true) ? 1 : 0;
    tally_.farewells += game_->aurevoir().isLoaded() && !std::exchange(aurevoirSeen_, true) ? 1 : 0;

    const ui::Form* active = game_->runtime().activeForm();
    const QString keyed = QString(7, u' ') + base::espacer_milliers(game_->module11.reponse) + u" ?";
    static const QRegularExpression answerShape(QStringLiteral("\\A(|0|[1-9][0-9]{0,7})\\z"));
    const std::pair<bool, const char*> rules[] = {
        {!answerShape.match(game_->module11.reponse).hasMatch(), "the answer is not a number as keyed"},
        {game_->accueil().isLoaded(), "the welcome screen outlived the presentation"},
        {game_->presentation().isLoaded() && k != nullptr, "the presentation and the exercise both open"},
        // A calculation posed with at most 99 points earns at most 10.
        {game_->module11.score > 109, "a score beyond any game"},
        {active != nullptr && !active->isLoaded(), "the active window is unloaded"},
        {k != nullptr && !question && !pause && !over, "attente_reponse, arret and flèche disagree"},
        {pause && game_->module11.score < 0, "a negative score shown"},
        // A calculation still open has a second left.
        {k != nullptr && (c->secondes < 0 || c->secondes > (question ? 29 : 30)), "the clock out of range"},
        {question && testsupport::label(*k, u"Calcul").caption() != c->calcul.texte_calcul + keyed,
         "the calculation hides the keys"},
        {judged && before != 1, "a calculation judged with none awaiting its answer"},
        {judged && (c->nb_clignotements != 0 || !blinking), "a verdict without its blink"},
        {seen && !judged && before == 1 && attente == 0, "a calculation closed without a verdict"},
        // Between blinks the 10 ms timer must rest, or the idle window keeps the processor awake.
        {seen && c->nb_clignotements > 170 && c->nb_clignotements != 1000 && blinking,
         "the blink timer runs with nothing to draw"},
    };
    for (const auto& [broken, what] : rules) {
        if (broken) {
            return QString::fromUtf8(what) +
                   QString::asprintf(
                       " (reponse \"%s\", score %d, attente_reponse %d, arret %d, flèche %d, %d s)",
                       qUtf8Printable(game_->module11.reponse), game_->module11.score.value(), attente, arret,
                       fleche, c != nullptr ? c->secondes.value() : -1);
        }
    }
    return {};
}

} // namespace monkey
