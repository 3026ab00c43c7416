#include "shell/demarrage.h"
#include "ui/runtime.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Les Kovrant"));
    QApplication::setOrganizationDomain(QStringLiteral("leskovrant.fr"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.leskovrant.Kovrant"));
    shell::demarrer();
    const int status = QApplication::exec();
    ui::Runtime::instance().shutdown();
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        // Qt 6.4's Wayland plugin can hang for ever as it closes its connection: of its two reading
        // threads, the first quits with a read still announced and the second waits for that read. The
        // windows are gone and the game keeps nothing, so the process ends without that teardown.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
