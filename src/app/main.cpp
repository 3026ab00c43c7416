#include "shell/programme.h"
#include "ui/runtime_error.h"
#include "ui/window_system.h"

#include <QApplication>

int main(int argc, char* argv[]) {
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
