#include "console.h"
#include "options.h"
#include "programme.h"
#include "runtime.h"
#include "runtime_error.h"
#include "window_system.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
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
    // The command line before anything of Qt's: the help and a mistaken option need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const shell::Demande demande = shell::lireLigneDeCommande(arguments);
    if (demande.statut) {
        app::writeLine(*demande.statut == 0 ? stdout : stderr, demande.texte);
        return *demande.statut;
    }
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
    const shell::TempsChoisi temps = shell::choisirTemps(demande);
    if (!temps.avertissement.isEmpty()) {
        app::writeLine(stderr, temps.avertissement);
    }
    const ui::WindowSystemWatch watch;
    shell::Programme::Options options;
    options.reglages.temps = temps.temps;
    shell::Programme programme(std::move(options));
    try {
        programme.demarrer();
    } catch (const base::RuntimeErrorException& error) {
        ui::stopProgram(error);
    }
    const int status = QApplication::exec();
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        // Qt 6.4's Wayland plugin can hang for ever as it closes its connection: of its two reading
        // threads, the first may quit with a read still announced, and the second then waits for that
        // read. Once the windows are gone the game has nothing left to keep, so the process ends here.
        programme.runtime().shutdown();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
