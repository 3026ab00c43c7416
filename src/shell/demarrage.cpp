#include "demarrage.h"

#include "shell/pictures.h"
#include "shell/screens.h"
#include "ui/fonts.h"

#include <QGuiApplication>
#include <QIcon>

namespace shell {

void demarrer() {
    ui::registerBundledFonts();
    QGuiApplication::setWindowIcon(QIcon(QString::fromLatin1(pictures::icone)));
    screens::accueil().show();
}

} // namespace shell
