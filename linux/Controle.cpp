// Pads on Linux, through SDL2's game controller API: SDL knows the layouts of
// many pads, from its own database and from any that the player adds through
// its variables, and gives each such pad as one standard pad. A pad it has no
// layout for is read as the page reads one: its first button is A, its fifth
// and sixth the shoulders, its first stick the stick and its hat the d-pad.
#include "game/Controle.h"

#include <GL/glut.h>
#include <SDL2/SDL.h>

// The pads plugged in, each in the first free place, which it keeps until it
// is pulled out; a pad with a layout is also open as a controller.
static SDL_Joystick *joysticks[PADS];
static SDL_GameController *controles[PADS];

static void Liga(int indice) {
    for (int pad = 0; pad < PADS; pad++) {
        if (joysticks[pad] != nullptr)
            continue;
        if (SDL_IsGameController(indice)) {
            controles[pad] = SDL_GameControllerOpen(indice);
            joysticks[pad] = SDL_GameControllerGetJoystick(controles[pad]);
        } else {
            joysticks[pad] = SDL_JoystickOpen(indice);
        }
        return;
    }
}

// What it held is let go without a key, and its place is free again.
static void Tira(SDL_JoystickID id) {
    for (int pad = 0; pad < PADS; pad++) {
        if (joysticks[pad] == nullptr || SDL_JoystickInstanceID(joysticks[pad]) != id)
            continue;
        Pad(pad, 0, 0, 0);
        if (controles[pad] != nullptr)
            SDL_GameControllerClose(controles[pad]);
        else
            SDL_JoystickClose(joysticks[pad]);
        joysticks[pad] = nullptr;
        controles[pad] = nullptr;
    }
}

static unsigned Se(bool apertado, unsigned botao) {
    return apertado ? botao : 0;
}

// A stick's axis, from SDL's -32768..32767 to -1..1.
static float Eixo(Sint16 valor) {
    return static_cast<float>(valor) / 32767;
}

static void Olha(int pad) {
    SDL_GameController *g = controles[pad];
    SDL_Joystick *j = joysticks[pad];
    if (g != nullptr) {
        const unsigned botoes =
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_DPAD_UP), PAD_CIMA) |
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_DPAD_DOWN), PAD_BAIXO) |
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_DPAD_LEFT), PAD_ESQUERDA) |
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_DPAD_RIGHT), PAD_DIREITA) |
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_A), PAD_A) |
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_LEFTSHOULDER),
               PAD_OMBRO_ESQUERDO) |
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER),
               PAD_OMBRO_DIREITO) |
            Se(SDL_GameControllerGetButton(g, SDL_CONTROLLER_BUTTON_START), PAD_START);
        Pad(pad, botoes, Eixo(SDL_GameControllerGetAxis(g, SDL_CONTROLLER_AXIS_LEFTX)),
            Eixo(SDL_GameControllerGetAxis(g, SDL_CONTROLLER_AXIS_LEFTY)));
        return;
    }
    const Uint8 chapeu = SDL_JoystickGetHat(j, 0);
    const unsigned botoes =
        Se(chapeu & SDL_HAT_UP, PAD_CIMA) | Se(chapeu & SDL_HAT_DOWN, PAD_BAIXO) |
        Se(chapeu & SDL_HAT_LEFT, PAD_ESQUERDA) | Se(chapeu & SDL_HAT_RIGHT, PAD_DIREITA) |
        Se(SDL_JoystickGetButton(j, 0), PAD_A) |
        Se(SDL_JoystickGetButton(j, 4), PAD_OMBRO_ESQUERDO) |
        Se(SDL_JoystickGetButton(j, 5), PAD_OMBRO_DIREITO);
    Pad(pad, botoes, Eixo(SDL_JoystickGetAxis(j, 0)), Eixo(SDL_JoystickGetAxis(j, 1)));
}

// SDL starts at the first look; where it cannot, the pads are not looked at
// again. Pads come and go as SDL's events; their controls are read as they
// stand at each look, every 16 ms while one is plugged in, and every half
// second otherwise, which is how soon a pad plugged in is seen.
void Controle(int) {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) {
        // Ctrl+C and the other signals stay the system's: they end the game.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_Init(SDL_INIT_GAMECONTROLLER) != 0)
            return;
    }
    SDL_Event evento;
    while (SDL_PollEvent(&evento) != 0) {
        if (evento.type == SDL_JOYDEVICEADDED)
            Liga(evento.jdevice.which);
        if (evento.type == SDL_JOYDEVICEREMOVED)
            Tira(evento.jdevice.which);
    }
    bool algum = false;
    for (int pad = 0; pad < PADS; pad++) {
        if (joysticks[pad] != nullptr) {
            Olha(pad);
            algum = true;
        }
    }
    glutTimerFunc(algum ? 16 : 500, Controle, 0);
}
