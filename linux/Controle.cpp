// Pads on Linux, through SDL2's game controller API: SDL knows the layouts of
// many pads, from its own database and from any that the player adds through
// its variables, and gives each such pad as one standard pad. A pad it has no
// layout for is read as the page reads one: its first button is A, its fifth
// and sixth the shoulders, its first stick the stick and its hat the d-pad.
#include "game/Controle.h"

#include <GL/glut.h>
#include <SDL2/SDL.h>

// The pads plugged in, each in the first free place, which it keeps until it
// is pulled out; a pad with a layout is also open as a controller. What each
// holds, as its events have told.
static SDL_Joystick *joysticks[PADS];
static SDL_GameController *controles[PADS];
static unsigned botoes[PADS];
static float xs[PADS], ys[PADS];

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

// The place of the pad that SDL knows by id, or -1; a controller's events
// count only for a controller, a joystick's only for a pad with no layout.
static int Lugar(SDL_JoystickID id, bool controle) {
    for (int pad = 0; pad < PADS; pad++)
        if (joysticks[pad] != nullptr && SDL_JoystickInstanceID(joysticks[pad]) == id &&
            (controles[pad] != nullptr) == controle)
            return pad;
    return -1;
}

// Its place is free again. SDL has let go of all it held first, by the
// events of a release, so nothing stays held.
static void Tira(SDL_JoystickID id) {
    const int pad = Lugar(id, SDL_GameControllerFromInstanceID(id) != nullptr);
    if (pad < 0)
        return;
    if (controles[pad] != nullptr)
        SDL_GameControllerClose(controles[pad]);
    else
        SDL_JoystickClose(joysticks[pad]);
    joysticks[pad] = nullptr;
    controles[pad] = nullptr;
}

static unsigned Botao(Uint8 botao) {
    switch (botao) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return PAD_CIMA;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return PAD_BAIXO;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return PAD_ESQUERDA;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return PAD_DIREITA;
    case SDL_CONTROLLER_BUTTON_A:
        return PAD_A;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return PAD_OMBRO_ESQUERDO;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return PAD_OMBRO_DIREITO;
    case SDL_CONTROLLER_BUTTON_START:
        return PAD_START;
    default:
        return 0;
    }
}

// The buttons of a pad with no layout: the first is A, the fifth and sixth the
// left and right shoulders.
static unsigned BotaoSemLayout(Uint8 botao) {
    switch (botao) {
    case 0:
        return PAD_A;
    case 4:
        return PAD_OMBRO_ESQUERDO;
    case 5:
        return PAD_OMBRO_DIREITO;
    default:
        return 0;
    }
}

static unsigned Chapeu(Uint8 chapeu) {
    return ((chapeu & SDL_HAT_UP) != 0 ? PAD_CIMA : 0) |
           ((chapeu & SDL_HAT_DOWN) != 0 ? PAD_BAIXO : 0) |
           ((chapeu & SDL_HAT_LEFT) != 0 ? PAD_ESQUERDA : 0) |
           ((chapeu & SDL_HAT_RIGHT) != 0 ? PAD_DIREITA : 0);
}

static void Aperta(int pad, unsigned botao, bool apertado) {
    if (pad < 0)
        return;
    botoes[pad] = apertado ? botoes[pad] | botao : botoes[pad] & ~botao;
    Pad(pad, botoes[pad], xs[pad], ys[pad]);
}

// A stick's axis, 0 across and 1 along, from SDL's -32768..32767 to -1..1.
static void Move(int pad, int eixo, Sint16 valor) {
    if (pad < 0 || eixo > 1)
        return;
    (eixo == 0 ? xs : ys)[pad] = static_cast<float>(valor) / 32767;
    Pad(pad, botoes[pad], xs[pad], ys[pad]);
}

// Each event in turn, so that a press released before the look still counts.
static void Trata(const SDL_Event &e) {
    switch (e.type) {
    case SDL_JOYDEVICEADDED:
        Liga(e.jdevice.which);
        break;
    case SDL_JOYDEVICEREMOVED:
        Tira(e.jdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        Aperta(Lugar(e.cbutton.which, true), Botao(e.cbutton.button),
               e.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        Move(Lugar(e.caxis.which, true), e.caxis.axis - SDL_CONTROLLER_AXIS_LEFTX, e.caxis.value);
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        Aperta(Lugar(e.jbutton.which, false), BotaoSemLayout(e.jbutton.button),
               e.type == SDL_JOYBUTTONDOWN);
        break;
    case SDL_JOYHATMOTION: {
        const int pad = e.jhat.hat == 0 ? Lugar(e.jhat.which, false) : -1;
        Aperta(pad, PAD_CIMA | PAD_BAIXO | PAD_ESQUERDA | PAD_DIREITA, false);
        Aperta(pad, Chapeu(e.jhat.value), true);
        break;
    }
    case SDL_JOYAXISMOTION:
        Move(Lugar(e.jaxis.which, false), e.jaxis.axis, e.jaxis.value);
        break;
    default:
        break;
    }
}

// SDL starts at the first look; where it cannot, the pads are not looked at
// again. Their events are read every 16 ms while a pad is plugged in, and
// every half second otherwise, which is how soon a pad plugged in is seen.
void Controle(int) {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) {
        // Ctrl+C and the other signals stay the system's: they end the game.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_Init(SDL_INIT_GAMECONTROLLER) != 0)
            return;
    }
    SDL_Event evento;
    while (SDL_PollEvent(&evento) != 0)
        Trata(evento);
    bool algum = false;
    for (const SDL_Joystick *joystick : joysticks)
        algum = algum || joystick != nullptr;
    glutTimerFunc(algum ? 16 : 500, Controle, 0);
}
