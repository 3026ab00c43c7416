#pragma once

#include "form.h"
#include "module11.h"

namespace shell {

class Ecrans;

// The end screen: "Félicitations" and an arrow on to the farewell screen.
class Fin : public ui::Form {
    Q_OBJECT
public:
    explicit Fin(Ecrans& programme);
    void load() override;
    void activate() override;
    void keyDown(int keyCode) override;
    void keyPress(int charCode) override;

private:
    void fleche_click();
    void aurevoir();

    Ecrans& programme_;
    Module11& module11;
};

} // namespace shell
