#pragma once

#include "ui/form.h"

namespace presentation {

// The rules, the target as an example and the choice of the families of calculation. The arrow starts
// the game once at least one family is chosen; with none, it does nothing and says nothing.
class Presentation : public ui::Form {
    Q_OBJECT
public:
    Presentation();
    void activate() override;

private:
    void preparer_presentation();
    void Table_Click(int index);
    void fleche_Click();
    void arret_Click();
};

} // namespace presentation
