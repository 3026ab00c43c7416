#include "screens.h"

#include "exercise/kovrant.h"
#include "presentation/presentation.h"
#include "shell/accueil.h"
#include "shell/aurevoir.h"
#include "shell/fin.h"

namespace shell::screens {

namespace {
template <typename Screen> ui::FormSlot& slotOf() {
    static ui::FormSlot slot([] { return std::make_unique<Screen>(); });
    return slot;
}
} // namespace

ui::FormSlot& accueil() {
    return slotOf<Accueil>();
}

ui::FormSlot& presentation() {
    return slotOf<::presentation::Presentation>();
}

ui::FormSlot& kovrant() {
    return slotOf<exercise::Kovrant>();
}

ui::FormSlot& fin() {
    return slotOf<Fin>();
}

ui::FormSlot& aurevoir() {
    return slotOf<Aurevoir>();
}

} // namespace shell::screens
