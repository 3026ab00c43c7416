#include "bilan_csv.h"

#include <QStringList>

namespace exercise {

namespace {

using namespace Qt::StringLiterals;

// A field as a spreadsheet reads it: quoted when it holds the separator, a quote or a line break. A
// text a child or an account typed that begins like a formula is kept as text.
QString champ(QString texte, bool libre = false) {
    if (libre && !texte.isEmpty() && QStringView(u"=+-@").contains(texte.front())) {
        texte.prepend(u'\'');
    }
    if (texte.contains(u';') || texte.contains(u'"') || texte.contains(u'\n') || texte.contains(u'\r')) {
        texte.replace(u"\""_s, u"\"\""_s);
        return u'"' + texte + u'"';
    }
    return texte;
}

QString entier(double x) {
    return QString::number(qint64(x));
}

// A percentage with one decimal and the French comma, which Calc and Excel in French read as a number.
QString pourcentage(float ecart) {
    return QString::number(double(ecart) * 100.0, 'f', 1).replace(u'.', u',');
}

} // namespace

QByteArray bilan_csv(const Bilan& bilan, const Seance& seance, const QString& compte) {
    const QString date = bilan.debut.isValid() ? bilan.debut.toString(u"yyyy-MM-dd"_s) : QString();
    const QString heure = bilan.debut.isValid() ? bilan.debut.toString(u"HH:mm"_s) : QString();
    const QStringList debutLigne = {date, heure, champ(seance.nom, true), champ(compte, true),
                                    champ(bilan.prenom, true)};
    QString texte = u"\uFEFFdate;heure;séance;compte;prénom;n°;calcul;estimation;résultat exact;"
                    "écart en %;points;anneau;secondes\r\n"_s;
    for (const LigneBilan& l : bilan.lignes) {
        const bool rien = l.estimation.isEmpty();
        texte += (debutLigne + QStringList{QString::number(l.numero), champ(l.calcul), champ(l.estimation),
                                           entier(double(l.resultat)),
                                           rien ? QString() : pourcentage(l.ecart), QString::number(l.points),
                                           champ(l.anneau), QString::number(l.secondes)})
                     .join(u';') +
                 u"\r\n"_s;
    }
    if (bilan.interrompu) {
        const int prevus = seance.nombre_de_calculs();
        const qsizetype faits = bilan.lignes.size();
        // French counts 0 and 1 in the singular.
        QString quoi =
            u"séance interrompue après %1 calcul%2"_s.arg(faits).arg(faits > 1 ? u"s"_s : QString());
        if (prevus > 0) {
            quoi += u" sur %1"_s.arg(prevus);
        }
        texte += (debutLigne + QStringList{QString(), quoi, QString(), QString(), QString(), QString(),
                                           QString(), QString()})
                     .join(u';') +
                 u"\r\n"_s;
    }
    return texte.toUtf8();
}

QString nom_fichier_bilan(const QDateTime& debut, const QString& seance, const QString& compte) {
    const auto sur = [](QString t) {
        for (QChar& c : t) {
            if (c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c)) {
                c = u'_';
            }
        }
        return t.isEmpty() ? u"_"_s : t;
    };
    return debut.toString(u"yyyy-MM-dd_HH'h'mm"_s) + u'_' + sur(seance) + u'_' + sur(compte) + u".csv"_s;
}

} // namespace exercise
