// Pads on Windows, through XInput, which is part of Windows from 7 on: Xbox
// pads, and pads that present themselves as one, up to four, each in the
// place XInput gives it. All share one layout, the standard pad's.
#include "game/Controle.h"

#include <GL/glut.h>
#include <windows.h>
#include <xinput.h>

static unsigned Se(WORD botoes, WORD botao, unsigned nosso) {
    return (botoes & botao) != 0 ? nosso : 0;
}

// XInput says nothing of pads plugged in or pulled out: it is asked. Asking
// at an empty place takes it long, so while a pad plays the empty places are
// asked only every 30th look, about every half second, which is also how often
// all four are asked while none is plugged in.
void Controle(int) {
    static bool ligado[PADS];
    static bool algum;
    static unsigned olhadas;
    const bool todos = !algum || ++olhadas % 30 == 0;
    algum = false;
    for (int pad = 0; pad < PADS; pad++) {
        XINPUT_STATE estado{};
        if (ligado[pad] || todos)
            ligado[pad] = XInputGetState(static_cast<DWORD>(pad), &estado) == ERROR_SUCCESS;
        if (!ligado[pad])
            estado = XINPUT_STATE{};
        const XINPUT_GAMEPAD &g = estado.Gamepad;
        const unsigned botoes = Se(g.wButtons, XINPUT_GAMEPAD_DPAD_UP, PAD_CIMA) |
                                Se(g.wButtons, XINPUT_GAMEPAD_DPAD_DOWN, PAD_BAIXO) |
                                Se(g.wButtons, XINPUT_GAMEPAD_DPAD_LEFT, PAD_ESQUERDA) |
                                Se(g.wButtons, XINPUT_GAMEPAD_DPAD_RIGHT, PAD_DIREITA) |
                                Se(g.wButtons, XINPUT_GAMEPAD_A, PAD_A) |
                                Se(g.wButtons, XINPUT_GAMEPAD_LEFT_SHOULDER, PAD_OMBRO_ESQUERDO) |
                                Se(g.wButtons, XINPUT_GAMEPAD_RIGHT_SHOULDER, PAD_OMBRO_DIREITO) |
                                Se(g.wButtons, XINPUT_GAMEPAD_START, PAD_START);
        // XInput's sticks grow upwards.
        Pad(pad, botoes, static_cast<float>(g.sThumbLX) / 32767,
            -static_cast<float>(g.sThumbLY) / 32767);
        algum = algum || ligado[pad];
    }
    glutTimerFunc(algum ? 16 : 500, Controle, 0);
}
