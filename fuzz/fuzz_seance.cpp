// libFuzzer entry: the input's bytes are a séance file as a teacher might have saved it. The reader must
// answer every file with either one line naming the file and the line, or a séance the game can play:
// nothing else, and never a crash.
#include "seance_fichier.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace Qt::StringLiterals;

[[noreturn]] void casse(const char* regle, const QByteArray& entree) {
    std::fprintf(stderr, "broken: %s\ninput: %s\n", regle,
                 entree.toPercentEncoding(" =#:+-*/\n").constData());
    std::abort();
}

// What the game relies on in a séance it accepts.
const char* jouable(const shell::SeanceLue& lue) {
    const exercise::Seance& s = lue.seance;
    if (!s.active() || s.titre.size() > shell::titreMax || s.liste.size() > shell::calculsMax) {
        return "an accepted séance with no name, a long title or too many calculations";
    }
    if (s.calculs < 0 || s.calculs > shell::calculsMax || s.niveau < 0 || s.niveau > 4) {
        return "a count or a level out of range";
    }
    if (!s.liste.isEmpty() && (s.calculs != 0 || s.niveau != 0 || s.operations)) {
        return "a list with a count, a level or families";
    }
    if (s.operations) {
        const exercise::Familles& f = *s.operations;
        if (f[1] + f[2] + f[3] == 0) {
            return "no family";
        }
    }
    for (const exercise::CalculDonne& c : s.liste) {
        const double a = c.nombre1, b = c.nombre2;
        if (a < 1 || b < 1 || a != double(qint64(a)) || b != double(qint64(b))) {
            return "an operand that is not a whole number from 1";
        }
        double r = 0;
        switch (c.operation) {
        case exercise::Operation::Addition:
            r = a + b;
            break;
        case exercise::Operation::Soustraction:
            r = a - b;
            break;
        case exercise::Operation::Multiplication:
            r = a * b;
            break;
        case exercise::Operation::Division:
            r = a / b;
            break;
        case exercise::Operation::Aucune:
            return "a calculation without an operation";
        }
        if (r < 1 || r >= 10'000'000 || r != double(qint64(r)) || a >= 1'000'000 || b >= 1'000'000) {
            return "a result the game cannot judge or show";
        }
    }
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray entree(reinterpret_cast<const char*>(data), qsizetype(size));
    const shell::SeanceLue lue = shell::lireSeance(entree, u"f.kovrant"_s, u"f"_s, u"/classe"_s);
    if (lue.erreur.isEmpty()) {
        if (const char* regle = jouable(lue)) {
            casse(regle, entree);
        }
    } else if (!lue.erreur.startsWith(u"Les Kovrant : f.kovrant") || lue.erreur.contains(u'\n') ||
               lue.seance.active()) {
        casse("a mistake said otherwise than on one line naming the file", entree);
    }
    return 0;
}
