#include "shell/programme.h"
#include "ui/runtime_error.h"
#include "ui/window_system.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace {

// Without a display server Qt aborts and leaves a core dump; the teacher in a terminal deserves a
// sentence. A platform named on the command line or in QT_QPA_PLATFORM (offscreen, say) is Qt's affair.
bool noDisplay(int argc, char* argv[]) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return false;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return false;
        }
    }
    return true;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return false;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    if (noDisplay(argc, argv)) {
        std::fputs("Les Kovrant : aucun écran disponible (ni DISPLAY ni WAYLAND_DISPLAY) ; "
                   "lancez le jeu depuis une session graphique.\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Les Kovrant"));
    QApplication::setOrganizationDomain(QStringLiteral("leskovrant.fr"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.leskovrant.Kovrant"));
    ui::watchWindowSystem();
    shell::Programme programme;
    try {
        programme.demarrer();
    } catch (const ui::RuntimeErrorException& error) {
        ui::stopProgram(error);
    }
    return QApplication::exec();
}
