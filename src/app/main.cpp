#include "shell/programme.h"
#include "ui/runtime_error.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Les Kovrant"));
    QApplication::setOrganizationDomain(QStringLiteral("leskovrant.fr"));
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.leskovrant.Kovrant"));
    shell::Programme programme;
    try {
        programme.demarrer();
    } catch (const ui::RuntimeErrorException& error) {
        ui::stopProgram(error);
    }
    return QApplication::exec();
}
