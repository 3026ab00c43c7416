#include "bilan_fichier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace shell {

namespace {
using namespace Qt::StringLiterals;

QString prefixe(const QString& dossier) {
    return u"Les Kovrant : le dossier du bilan « %1 » "_s.arg(QDir::toNativeSeparators(dossier));
}
} // namespace

QString verifierDossierBilan(const QString& dossier) {
    const QFileInfo info(dossier);
    if (!info.exists()) {
        return prefixe(dossier) + u"n'existe pas ; créez-le, ou nommez-en un autre, avant de jouer."_s;
    }
    if (!info.isDir()) {
        return prefixe(dossier) + u"n'est pas un dossier ; nommez un dossier pour les bilans."_s;
    }
    // Permissions say too little on shared folders and network drives: a file is written and removed.
    QTemporaryFile essai(QDir(dossier).filePath(u".kovrant-essai-XXXXXX"_s));
    if (!essai.open() || essai.write("\n") != 1 || !essai.flush()) {
        return prefixe(dossier) +
               u"ne peut pas être écrit ; donnez à ce compte le droit d'y écrire, ou nommez-en un autre."_s;
    }
    return {};
}

Enregistrement enregistrerFichier(const QString& dossier, const QString& nom, const QByteArray& contenu) {
    const QDir ici(dossier);
    const QFileInfo base(nom);
    Enregistrement e;
    for (int n = 1; n < 1000; ++n) {
        const QString essai =
            n == 1 ? nom : u"%1-%2.%3"_s.arg(base.completeBaseName()).arg(n).arg(base.suffix());
        const QString chemin = ici.filePath(essai);
        // The name is taken first, by a file made only if none is there: a file of the same name that
        // another game wrote meanwhile is never replaced. The text then replaces this empty file at once.
        QFile reserve(chemin);
        if (!reserve.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (reserve.exists()) {
                continue;
            }
            break;
        }
        reserve.close();
        QSaveFile fichier(chemin);
        if (fichier.open(QIODevice::WriteOnly) && fichier.write(contenu) == contenu.size() &&
            fichier.commit()) {
            e.reussi = true;
            e.chemin = chemin;
            return e;
        }
        reserve.remove();
        break;
    }
    e.erreur = prefixe(dossier) + u"n'a pas pu recevoir le bilan."_s;
    return e;
}

QString compteCourant() {
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        if (QString compte = qEnvironmentVariable(variable); !compte.isEmpty()) {
            return compte;
        }
    }
#ifdef Q_OS_UNIX
    // Started outside a login session (a service, a script): the account's own name.
    if (const passwd* compte = getpwuid(geteuid()); compte != nullptr) {
        return QString::fromLocal8Bit(compte->pw_name);
    }
#endif
    return {};
}

} // namespace shell
