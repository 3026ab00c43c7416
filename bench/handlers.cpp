// The handlers a player waits on: a key to the updated calculation, a judgement to the pause display,
// and a full paint of the exercise window. Run with --benchmark_repetitions to get medians.
#include "kovrant.h"
#include "programme.h"
#include "runtime.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <benchmark/benchmark.h>

namespace {

// The programme that main() builds.
shell::Programme* programme = nullptr;

exercise::Kovrant& exercice() {
    return programme->kovrant().as<exercise::Kovrant>();
}

void type(Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&exercice(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&exercice(), &release);
}

void toQuestion() {
    if (programme->module11.attente_reponse != 1) {
        type(Qt::Key_Space, QStringLiteral(" "));
    }
}

void keyToCaption(benchmark::State& state) {
    toQuestion();
    bool digit = true;
    for (auto _ : state) {
        if (digit) {
            type(Qt::Key_5, QStringLiteral("5"));
        } else {
            type(Qt::Key_Backspace, QStringLiteral("\b"));
        }
        benchmark::DoNotOptimize(
            static_cast<const ui::Label&>(*exercice().findControl(u"Calcul")).caption().size());
        digit = !digit;
    }
}

void judgementToPause(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        toQuestion();
        type(Qt::Key_5, QStringLiteral("5"));
        state.ResumeTiming();
        type(Qt::Key_Return, QStringLiteral("\r"));
    }
    if (programme->module11.attente_reponse != 0) {
        state.SkipWithError("the answer was not judged");
    }
}

void fullRepaint(benchmark::State& state) {
    const qreal scale = qreal(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(exercice().render(scale).constBits());
    }
}

// What an idle calculation costs each second: the clock's tick and the repaint it causes.
void clockTick(benchmark::State& state) {
    toQuestion();
    exercise::Kovrant& k = exercice();
    // Painting needs the window on screen: wait for the window system to expose it.
    for (int i = 0; i < 1000 && !(k.windowHandle() != nullptr && k.windowHandle()->isExposed()); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const QRect clock =
        k.sceneToWidget()
            .mapRect(static_cast<const ui::Label&>(*k.findControl(u"chronometre")).sceneRect())
            .toAlignedRect();
    for (auto _ : state) {
        k.timer1().fire();
        k.repaint(clock);
        if (programme->module11.attente_reponse != 1) {
            type(Qt::Key_Space, QStringLiteral(" "));
        }
    }
    if (k.windowHandle() == nullptr || !k.windowHandle()->isExposed()) {
        state.SkipWithError("the window never showed");
    }
}

// The floor: a blank window of the same size painted into an image of the same size.
void floorRepaint(benchmark::State& state) {
    const qreal scale = qreal(state.range(0));
    QWidget blank;
    blank.setAttribute(Qt::WA_DontShowOnScreen);
    QPalette palette = blank.palette();
    palette.setColor(QPalette::Window, Qt::white);
    blank.setPalette(palette);
    blank.setAutoFillBackground(true);
    blank.resize(1264, 681);
    for (auto _ : state) {
        QImage image(QSize(1264, 681) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        blank.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(keyToCaption)->Unit(benchmark::kMicrosecond);
BENCHMARK(judgementToPause)->Unit(benchmark::kMicrosecond);
BENCHMARK(clockTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(fullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(floorRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    shell::Programme game({.graine = [] { return 7u; }, .fin = {}});
    programme = &game;
    game.runtime().setFollowWindowSystem(false);
    game.demarrer();
    ui::Form& presentation = programme->presentation().get();
    for (int family = 1; family <= 3; ++family) {
        presentation.findControl(u"Table", family)->click();
    }
    presentation.findControl(u"flèche")->click();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
