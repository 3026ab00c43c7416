#pragma once

namespace shell {

// Starts the game on its welcome screen; the event loop does the rest.
void demarrer();

} // namespace shell
