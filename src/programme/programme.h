#pragma once

#include "ecrans.h"
#include "random.h"
#include "runtime.h"

#include <functional>

namespace shell {

// One run of the game: everything that lives as long as the program does. `main` builds one; each test
// builds its own, and two programmes in one process share nothing.
//
// It owns the forms runtime (event delivery, fonts, pictures), the random source and how it is seeded,
// the variables the screens share, and the five screens' slots. Each screen is built on first reference
// with a reference to its programme, as the screens' view of it (ecrans.h), and shows and unloads the
// others only through these slots.
class Programme final : public Ecrans {
public:
    struct Options {
        // Where each new game's seed comes from (the Kovrant window reseeds when it loads).
        base::Random::SeedSource graine = base::Random::clockSeed;
        // What ending the program does once every window is gone: by default, leave the event loop with
        // status 0.
        std::function<void()> fin;
        // What the adult set: the time allowed, a séance, the number pad.
        exercise::Reglages reglages = {};
    };

    Programme() : Programme(Options{}) {}
    explicit Programme(Options options);
    ~Programme();
    Programme(const Programme&) = delete;
    Programme& operator=(const Programme&) = delete;

    // Starts on the welcome screen: the event loop does the rest.
    void demarrer();

    ui::Runtime& runtime() override { return runtime_; }
    base::Random& hasard() override { return hasard_; }
    const exercise::Reglages& reglages() const override { return reglages_; }

    ui::FormSlot& accueil() override { return accueil_; }
    ui::FormSlot& presentation() override { return presentation_; }
    ui::FormSlot& kovrant() override { return kovrant_; }
    ui::FormSlot& fin() override { return fin_; }
    ui::FormSlot& aurevoir() override { return aurevoir_; }

    bool enregistrer_bilan() override;
    // The program is ending: a séance left unfinished and unsaved is saved, with the calculations done
    // and a last row saying it was interrupted. Touches no window, so that it can run once the display
    // is gone. False when the writing failed, which `derniere_erreur` says.
    bool enregistrer_avant_de_quitter();
    // The one French line of the last failed writing, for standard error; empty after a success.
    const QString& derniere_erreur() const { return derniere_erreur_; }

private:
    // Declared before the slots: windows are destroyed while the runtime that delivers their events lives.
    ui::Runtime runtime_;
    base::Random hasard_;
    const exercise::Reglages reglages_;
    ui::FormSlot accueil_;
    ui::FormSlot presentation_;
    ui::FormSlot kovrant_;
    ui::FormSlot fin_;
    ui::FormSlot aurevoir_;
    QString derniere_erreur_;
};

} // namespace shell
