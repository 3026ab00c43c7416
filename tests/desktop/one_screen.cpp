// Shows the screens named on the command line, each over the one before, under the program's own watch
// on the window system: the desktop tests reach with it the screens that only a won game leads to.
//
//   kovrant-one-screen Kovrant FIN

#include "shell/programme.h"
#include "ui/window_system.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace {

ui::FormSlot* slotNamed(shell::Programme& programme, const char* name) {
    if (std::strcmp(name, "présentation") == 0) {
        return &programme.presentation();
    }
    if (std::strcmp(name, "Kovrant") == 0) {
        return &programme.kovrant();
    }
    if (std::strcmp(name, "FIN") == 0) {
        return &programme.fin();
    }
    if (std::strcmp(name, "Aurevoir") == 0) {
        return &programme.aurevoir();
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const ui::WindowSystemWatch watch;
    shell::Programme programme;
    programme.module11.operations_choisies[1] = 1;
    for (int i = 1; i < argc; ++i) {
        ui::FormSlot* slot = slotNamed(programme, argv[i]);
        if (slot == nullptr) {
            std::fprintf(stderr, "no screen named %s\n", argv[i]);
            return 2;
        }
        slot->show();
    }
    return QApplication::exec();
}
