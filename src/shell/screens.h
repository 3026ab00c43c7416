#pragma once

#include "ui/runtime.h"

// The five screens, each a single window created on first reference. Screens show and unload one
// another only through these, never by including each other's headers.
namespace shell::screens {

ui::FormSlot& accueil();
ui::FormSlot& presentation();
ui::FormSlot& kovrant();
ui::FormSlot& fin();
ui::FormSlot& aurevoir();

} // namespace shell::screens
