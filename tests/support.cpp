#include "support.h"

#include "shell/module11.h"
#include "ui/random.h"
#include "ui/runtime_error.h"

#include <QKeyEvent>

namespace testsupport {

namespace {
bool ended = false;
}

void resetProgram(std::uint32_t seed) {
    ui::Runtime& rt = ui::Runtime::instance();
    rt.shutdown();
    rt.setFollowWindowSystem(false);
    rt.setEndHandler([] { ended = true; });
    ended = false;
    ui::setRuntimeErrorHandler(
        [](ui::ErrorCode code, const QString& message) { throw ui::RuntimeErrorException(code, message); });
    shell::module11 = shell::Module11{};
    ui::Random::injectSeed(seed);
    ui::random().seed(seed);
}

bool programEnded() {
    return ended;
}

QColor colourAtUnits(const QImage& render, QPointF units, qreal scale, qreal twipsPerUnit) {
    return colourAtTwips(render, units * twipsPerUnit, scale);
}

QColor colourAtTwips(const QImage& render, QPointF twips, qreal scale) {
    const QPointF pixel = twips / 15.0 * scale;
    return render.pixelColor(int(pixel.x()), int(pixel.y()));
}

void typeKey(ui::Form& form, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &release);
}

void typeText(ui::Form& form, const QString& text) {
    for (const QChar c : text) {
        Qt::Key key = Qt::Key_unknown;
        if (c.isDigit()) {
            key = Qt::Key(Qt::Key_0 + c.digitValue());
        } else if (c == QLatin1Char('=')) {
            key = Qt::Key_Equal;
        } else if (c.isLetter()) {
            key = Qt::Key(Qt::Key_A + (c.toUpper().unicode() - 'A'));
        }
        typeKey(form, key, QString(c));
    }
}

void clickAtTwips(ui::Form& form, QPointF twips) {
    QTest::mouseClick(&form, Qt::LeftButton, Qt::NoModifier, form.widgetPointForTwips(twips).toPoint());
}

void clickControl(ui::Form& form, QStringView name, int index) {
    const ui::Control* control = form.findControl(name, index);
    QVERIFY2(control != nullptr, "no such control");
    clickAtTwips(form, QRectF(control->twips()).center());
}

} // namespace testsupport
