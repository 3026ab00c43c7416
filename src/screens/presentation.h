#pragma once

#include "form.h"
#include "integer.h"
#include "module11.h"
#include "regles.h"

#include <optional>

namespace shell {
class Ecrans;
}

namespace presentation {

// The rules, the target as an example and the choice of the families of calculation. The arrow starts
// the game once at least one family is chosen; with none, it does nothing and says nothing.
class Presentation : public ui::Form {
    Q_OBJECT
public:
    explicit Presentation(shell::Ecrans& programme);
    void activate() override;

private:
    void preparer_presentation();
    void Table_Click(int index);
    void fleche_Click();
    void arret_Click();

    shell::Ecrans& programme_;
    shell::Module11& module11;
    base::Array<ui::CheckBox*, 1, 3> Table;
    ui::TextField& prenom;
    // The families a séance ticked, which the child cannot change; none without one.
    std::optional<exercise::Familles> familles_imposees_;
};

} // namespace presentation
