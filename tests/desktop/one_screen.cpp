// Shows the exercise and, over it, the end of the game, under the program's own watch on the window
// system: the desktop tests reach with it a screen that only a won game leads to.

#include "programme.h"
#include "window_system.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const ui::WindowSystemWatch watch;
    shell::Programme programme;
    programme.module11.operations_choisies[1] = 1;
    programme.kovrant().show();
    programme.fin().show();
    return QApplication::exec();
}
