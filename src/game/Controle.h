// Pads, read as keys: a press does what its key does, through the same
// routines, and asks for the same frames. Each platform reads its pads its
// own way and hands each pad's controls to Pad at every look:
// linux/Controle.cpp through SDL2, windows/Controle.cpp through XInput; the
// page reads them in its own script and presses the keys itself.
#pragma once

// The controls that play, as bits: the d-pad, A, the shoulders and Start.
constexpr unsigned PAD_CIMA = 1, PAD_BAIXO = 2, PAD_ESQUERDA = 4, PAD_DIREITA = 8, PAD_A = 16,
                   PAD_OMBRO_ESQUERDO = 32, PAD_OMBRO_DIREITO = 64, PAD_START = 128;

// How many pads play at once, each in a place of its own.
constexpr int PADS = 4;

// The pads' timer, given 0 (the truck's is given 1): looks at every pad, then
// asks for the next look, soon while a pad is plugged in and seldom
// otherwise. main makes the first look.
void Controle(int valor);

// The pad in place pad at a look: the controls it holds, and its left stick, x
// and y from -1 to 1, y growing downwards. A place with no pad holds nothing.
void Pad(int pad, unsigned botoes, float x, float y);
