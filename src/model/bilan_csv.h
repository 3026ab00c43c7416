#pragma once

#include "bilan.h"
#include "reglages.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace exercise {

// The bilan as a spreadsheet reads it in French: UTF-8 with a byte-order mark, fields separated by
// semicolons, a header row, one row per calculation, and a last row when the séance stopped early.
// `compte` is the account the child played under.
QByteArray bilan_csv(const Bilan& bilan, const Seance& seance, const QString& compte);

// The file's name: AAAA-MM-JJ_HHhMM_<séance>_<compte>.csv, at `debut`, with whatever a file name
// cannot hold replaced.
QString nom_fichier_bilan(const QDateTime& debut, const QString& seance, const QString& compte);

} // namespace exercise
