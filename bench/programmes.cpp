// Builds and destroys programmes one after another in one process, each taken as far as a posed
// question with every screen loaded and drawn, and prints for each batch the time a programme took and
// the resident memory after it. What a programme leaves behind in the process (Qt's font database is the
// process's) would make each later one slower and the process larger: the last batches must cost what
// the first ones do.
//
//   kovrant_bench_programmes [programmes [batch]]      (200 and 20 by default)

#include "form.h"
#include "programme.h"
#include "runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double residentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return 0;
}

void click(ui::Form& form, const char* name, int index = 0) {
    ui::Control* control = form.findControl(QString::fromUtf8(name), index);
    if (control == nullptr) {
        std::fprintf(stderr, "no control %s(%d)\n", name, index);
        std::exit(1);
    }
    form.clickFromKeyboard(*control);
}

// One programme: welcome, the rules with the additions ticked, a question, then the end and farewell
// screens loaded too, each window drawn once.
void onePlay(std::uint32_t seed) {
    shell::Programme programme({.graine = [seed] { return seed; }, .fin = [] {}});
    programme.runtime().setFollowWindowSystem(false);
    programme.accueil().show();
    ui::Form& rules = programme.presentation().get();
    click(rules, "Table", 1);
    click(rules, "flèche");
    for (ui::FormSlot* slot : {&programme.kovrant(), &programme.fin(), &programme.aurevoir()}) {
        (void)slot->get().render(1.0);
    }
    programme.runtime().shutdown();
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int programmes = argc > 1 ? std::atoi(argv[1]) : 200;
    const int batch = argc > 2 ? std::atoi(argv[2]) : 20;
    if (programmes < 2 * batch || batch < 1) {
        std::fprintf(stderr, "usage: kovrant_bench_programmes [programmes [batch]], two batches at least\n");
        return 2;
    }
    // Processor time as well as the clock's: on a shared machine the clock also counts the others' work.
    std::printf(
        "| programmes | ms per programme | processor ms per programme | resident memory after (MiB) |\n"
        "|---|---|---|---|\n");
    double second = 0;
    double last = 0;
    for (int done = 0; done + batch <= programmes; done += batch) {
        QElapsedTimer clock;
        clock.start();
        const std::clock_t processor = std::clock();
        for (int i = 0; i < batch; ++i) {
            onePlay(std::uint32_t(done + i + 1));
        }
        const double each = double(clock.nsecsElapsed()) / 1e6 / batch;
        const double eachProcessor = double(std::clock() - processor) * 1000.0 / CLOCKS_PER_SEC / batch;
        // The first batch also pays for what a process does once: loading the fonts and the pictures.
        (done == batch ? second : last) = eachProcessor;
        std::printf("| %d-%d | %.2f | %.2f | %.1f |\n", done + 1, done + batch, each, eachProcessor,
                    residentMiB());
        std::fflush(stdout);
    }
    std::printf("\nprocessor time, last batch / second batch: %.2f\n", last / second);
    return 0;
}
