// Plays one whole seeded game in-process, as a player would, through the real event handlers: welcome,
// presentation, the three families ticked, the arrow, every calculation answered exactly until the end
// screen, Enter, the farewell's arrow. Prints the peak resident memory at the end.
//
//   kovrant_bench_game [--seed N] [--idle-seconds S]
//
// With --idle-seconds the game stops at its first calculation, prints "question" and lets the event loop
// run for S seconds with nobody typing before it goes on: the window in which bench/run.sh measures the
// idle cost.
#include "kovrant.h"
#include "programme.h"
#include "runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

// The programme that main() builds.
shell::Programme* programme = nullptr;

bool ended = false;

// With KOVRANT_BENCH_TRACE, every paint is logged: which window, how many pixels.
class PaintLog : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            std::fprintf(stderr, "paint %s %dx%d+%d+%d\n", qPrintable(watched->objectName()), r.width(),
                         r.height(), r.x(), r.y());
        }
        return false;
    }
};

void trace(const char* where) {
    if (!qEnvironmentVariableIsSet("KOVRANT_BENCH_TRACE")) {
        return;
    }
    if (qEnvironmentVariableIsSet("KOVRANT_BENCH_SMAPS")) {
        // Where the resident memory is, mapping by mapping, for the analysis in bench/RESULTS.md.
        QFile smaps(QStringLiteral("/proc/self/smaps"));
        QFile copy(qEnvironmentVariable("KOVRANT_BENCH_SMAPS") + QLatin1Char('-') +
                   QString::fromLatin1(where));
        if (smaps.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly)) {
            copy.write(smaps.readAll());
        }
    }
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS") || line.startsWith("VmHWM")) {
            std::fprintf(stderr, "%s %s\n", where, line.simplified().constData());
        }
    }
}

// Lets the window system paint and the timers tick for a moment.
void settle(int ms = 5) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    } while (clock.elapsed() < ms);
}

void click(ui::FormSlot& slot, QStringView control, int index = 0) {
    ui::Form& form = slot.get();
    const ui::Control* c = form.findControl(control, index);
    const QPointF at = form.widgetPointForTwips(QRectF(c->twips()).center());
    const QPointF global = form.mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &release);
    settle();
}

void type(ui::FormSlot& slot, Qt::Key key, const QString& text) {
    ui::Form& form = slot.get();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &release);
    settle(1);
}

long argument(const QStringList& args, const QString& name, long fallback) {
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1].toLong() : fallback;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const auto seed = std::uint32_t(argument(args, QStringLiteral("--seed"), 7));
    const long idleSeconds = argument(args, QStringLiteral("--idle-seconds"), 0);

    PaintLog paintLog;
    if (qEnvironmentVariableIsSet("KOVRANT_BENCH_TRACE")) {
        app.installEventFilter(&paintLog);
    }
    trace("application");
    shell::Programme game({.graine = [seed] { return seed; }, .fin = [] { ended = true; }});
    programme = &game;
    trace("programme");
    game.demarrer();
    settle(50);
    trace("presentation");

    for (int family = 1; family <= 3; ++family) {
        click(programme->presentation(), u"Table", family);
    }
    click(programme->presentation(), u"flèche");
    settle(50);
    trace("exercise");

    if (idleSeconds > 0) {
        std::printf("question\n");
        std::fflush(stdout);
        // exit(), not quit(): quitting closes every window, which would end the game.
        QTimer::singleShot(int(idleSeconds * 1000), &app, [] { QCoreApplication::exit(0); });
        QApplication::exec();
    }

    int questions = 0;
    while (!programme->fin().isLoaded() && programme->kovrant().isLoaded()) {
        if (programme->module11.attente_reponse == 1) {
            ++questions;
            const auto& k = programme->kovrant().as<exercise::Kovrant>();
            for (const QChar c : QString::number(qint64(k.champs().calcul.resultat))) {
                type(programme->kovrant(), Qt::Key(Qt::Key_0 + c.digitValue()), QString(c));
            }
            type(programme->kovrant(), Qt::Key_Return, QStringLiteral("\r"));
            settle(20);
        }
        type(programme->kovrant(), Qt::Key_Space, QStringLiteral(" "));
    }
    settle(20);
    trace("end screen");
    type(programme->fin(), Qt::Key_Return, QStringLiteral("\r"));
    settle(20);
    click(programme->aurevoir(), u"flèche");
    trace("farewell");
    game.runtime().shutdown();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("questions %d, ended %s, peak RSS %ld KiB\n", questions, ended ? "yes" : "no",
                usage.ru_maxrss);
    return ended ? 0 : 1;
}
