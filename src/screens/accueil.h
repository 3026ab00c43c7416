#pragma once

#include "form.h"

namespace shell {

class Ecrans;

// The welcome window: an empty white window with the program's icon, on screen only until the
// presentation screen has loaded over it.
class Accueil : public ui::Form {
    Q_OBJECT
public:
    explicit Accueil(Ecrans& programme);
    void activate() override;

private:
    Ecrans& programme_;
};

} // namespace shell
