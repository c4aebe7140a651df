#include <emscripten.h>

// Esc ends the game with exit(0). In a page a plain exit leaves the truck's
// timer running; forcing the runtime to exit stops timers and frames, and the
// page then says the game is over.
extern "C" [[noreturn]] void __wrap_exit(int estado) {
    emscripten_force_exit(estado);
}
