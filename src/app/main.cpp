#include "shell/demarrage.h"
#include "ui/runtime.h"
#include "ui/window_system.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Les Kovrant"));
    QApplication::setOrganizationDomain(QStringLiteral("leskovrant.fr"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.leskovrant.Kovrant"));
    ui::watchWindowSystem();
    shell::demarrer();
    const int status = QApplication::exec();
    ui::Runtime::instance().shutdown();
    return status;
}
