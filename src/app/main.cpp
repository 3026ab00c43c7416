#include "console.h"
#include "options.h"
#include "programme.h"
#include "runtime.h"
#include "runtime_error.h"
#include "window_system.h"

#include <QApplication>
#include <QInputDevice>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_LINUX
#include <QSocketNotifier>
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_LINUX
// A logout ends the session's programs with SIGTERM. It is blocked in every thread and read from a
// descriptor in the event loop, so that the game ends there in order and saves what it must, with no
// handler running at an arbitrary point. Called before any thread starts, so that all of them inherit
// the mask.
int bloquerSigterm() {
    sigset_t signaux;
    sigemptyset(&signaux);
    sigaddset(&signaux, SIGTERM);
    if (pthread_sigmask(SIG_BLOCK, &signaux, nullptr) != 0) {
        return -1;
    }
    return signalfd(-1, &signaux, SFD_CLOEXEC | SFD_NONBLOCK);
}
#endif

bool ecranTactile() {
    const QList<const QInputDevice*> appareils = QInputDevice::devices();
    return std::any_of(appareils.begin(), appareils.end(), [](const QInputDevice* appareil) {
        return appareil->type() == QInputDevice::DeviceType::TouchScreen;
    });
}

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
    // The séance and its folder next, still without a display: a mistake in them is a line and status 2.
    shell::Preparation preparation = shell::preparer(demande);
    for (const QString& avertissement : preparation.avertissements) {
        app::writeLine(stderr, avertissement);
    }
    if (preparation.statut) {
        app::writeLine(stderr, preparation.erreur);
        return *preparation.statut;
    }
    if (noDisplay(argc, argv)) {
        std::fputs("Les Kovrant : aucun écran disponible (ni DISPLAY ni WAYLAND_DISPLAY) ; "
                   "lancez le jeu depuis une session graphique.\n",
                   stderr);
        return 2;
    }
#ifdef Q_OS_LINUX
    const int sigterm = bloquerSigterm();
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Les Kovrant"));
    QApplication::setOrganizationDomain(QStringLiteral("leskovrant.fr"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.leskovrant.Kovrant"));
    shell::Programme::Options options;
    options.reglages = std::move(preparation.reglages);
    options.reglages.pave = shell::paveVoulu(preparation.pave, ecranTactile());
    shell::Programme programme(std::move(options));
    // Whatever ends the program, a séance left unfinished is saved as it stands.
    const auto enregistrer = [&programme] {
        if (!programme.enregistrer_avant_de_quitter()) {
            app::writeLine(stderr, programme.derniere_erreur());
        }
    };
    const ui::WindowSystemWatch watch(enregistrer);
#ifdef Q_OS_LINUX
    QSocketNotifier fin(sigterm, QSocketNotifier::Read);
    fin.setEnabled(sigterm >= 0);
    QObject::connect(&fin, &QSocketNotifier::activated, &app, [sigterm] {
        signalfd_siginfo info;
        while (::read(sigterm, &info, sizeof info) == sizeof info) {
        }
        QCoreApplication::quit();
    });
#endif
    try {
        programme.demarrer();
    } catch (const base::RuntimeErrorException& error) {
        ui::stopProgram(error);
    }
    const int status = QApplication::exec();
    enregistrer();
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
