#pragma once

#include "bilan.h"
#include "form.h"

#include <array>

namespace shell {

class Ecrans;

// How a séance went, shown after its last calculation: every calculation with the child's estimate,
// the exact result, the points and the ring, then the score and how many marks fell in each ring. Ten
// calculations to a page, large enough to read from the back of a classroom. When the adult named a
// folder the bilan is saved there as the screen opens; if that fails the screen says so, keeps the
// results and offers to try again. Its arrow leads to the congratulations when the score is above 99,
// else to the farewell.
class EcranBilan : public ui::Form {
    Q_OBJECT
public:
    static constexpr int lignesParPage = 10;

    explicit EcranBilan(Ecrans& programme);
    void load() override;
    void activate() override;
    void keyDown(int keyCode) override;

    int page() const { return page_; }
    int pages() const;

private:
    void montrer_page(int page);
    void montrer_totaux();
    void enregistrer();
    void fleche_Click();
    QString ligne_a_dire(const exercise::LigneBilan& ligne) const;

    Ecrans& programme_;
    int page_ = 0;
    // Each row's cells, left to right.
    std::array<std::array<ui::Label*, 6>, lignesParPage> cellules_{};
};

} // namespace shell
