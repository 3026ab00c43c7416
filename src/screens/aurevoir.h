#pragma once

#include "form.h"

namespace shell {

class Ecrans;

// The farewell screen, whose arrow ends the program.
class Aurevoir : public ui::Form {
    Q_OBJECT
public:
    explicit Aurevoir(Ecrans& programme);
    void activate() override;

    // The contact address shown at the bottom of the screen.
    static constexpr const char* adresse = "bonjour@leskovrant.fr";
};

} // namespace shell
