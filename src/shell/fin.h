#pragma once

#include "ui/form.h"

namespace shell {

// The end screen: "Félicitations" and an arrow on to the farewell screen.
class Fin : public ui::Form {
    Q_OBJECT
public:
    Fin();
    void load() override;
    void activate() override;
    void keyDown(int keyCode) override;
    void keyPress(int charCode) override;

private:
    void fleche_click();
    void aurevoir();
};

} // namespace shell
