#include "game/Controle.h"

// The page reads its pads in its own script (pagina/controle.js), which
// presses the keys as the keyboard does: here there is nothing to look at.
void Controle(int) {}
