#pragma once

#include "bilan.h"
#include "module11.h"
#include "random.h"
#include "reglages.h"
#include "runtime.h"

namespace shell {

// What a screen knows of the program it runs in: the runtime that delivers its events, the random
// source, the variables the screens share, and the five screens' slots, through which the screens show
// and unload one another. The programme (programme.h) is the one implementation; a screen knows it by
// this alone, so that the programme, which builds every screen, sits above them.
class Ecrans {
public:
    virtual ui::Runtime& runtime() = 0;
    virtual base::Random& hasard() = 0;
    // What the adult set for this run: constant while it lasts.
    virtual const exercise::Reglages& reglages() const = 0;

    virtual ui::FormSlot& accueil() = 0;
    virtual ui::FormSlot& presentation() = 0;
    virtual ui::FormSlot& kovrant() = 0;
    virtual ui::FormSlot& fin() = 0;
    virtual ui::FormSlot& aurevoir() = 0;

    // Saves `bilan` into the folder the adult named, once: true when it is written, or when there is
    // nothing to write (no folder, or already written). False when the writing failed: the bilan stays
    // unsaved, to be tried again, and the program saves it again as it ends.
    virtual bool enregistrer_bilan() = 0;

    // The program-wide variables, shared by the screens.
    Module11 module11;
    // The séance as it is played, when the adult gave one; empty otherwise.
    exercise::Bilan bilan;

protected:
    Ecrans() = default;
    ~Ecrans() = default;
    Ecrans(const Ecrans&) = delete;
    Ecrans& operator=(const Ecrans&) = delete;
};

} // namespace shell
