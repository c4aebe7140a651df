#include "Controle.h"

#include "Jogo.h"

#include <cmath>
#include <GL/glut.h>

// What each pad held at the last look, and whether its stick was out of the
// centre then. A press counts once, when it begins: a held button or stick
// does not repeat, and a pad pulled out mid-press leaves nothing held.
static unsigned antes[PADS];
static bool fora[PADS];

// The stick counts once it is pushed past half-way, in the direction it is
// pushed most, and again only once it has come back near the centre: eased
// back and pushed again, or drifting, it gives nothing more.
static void Alavanca(int pad, float x, float y) {
    const float distancia = std::hypot(x, y);
    if (fora[pad]) {
        fora[pad] = distancia >= 0.3F;
        return;
    }
    if (distancia <= 0.5F)
        return;
    fora[pad] = true;
    if (std::fabs(x) > std::fabs(y))
        Mover(x < 0 ? GLUT_KEY_LEFT : GLUT_KEY_RIGHT, 0, 0);
    else
        Mover(y < 0 ? GLUT_KEY_UP : GLUT_KEY_DOWN, 0, 0);
}

// The d-pad is the arrow keys and A the up arrow; the right and left
// shoulders are 'w' and 's', Start is 'f'. Esc stays on the keyboard.
void Pad(int pad, unsigned botoes, float x, float y) {
    const unsigned novos = botoes & ~antes[pad];
    antes[pad] = botoes;
    if (novos & PAD_CIMA)
        Mover(GLUT_KEY_UP, 0, 0);
    if (novos & PAD_BAIXO)
        Mover(GLUT_KEY_DOWN, 0, 0);
    if (novos & PAD_ESQUERDA)
        Mover(GLUT_KEY_LEFT, 0, 0);
    if (novos & PAD_DIREITA)
        Mover(GLUT_KEY_RIGHT, 0, 0);
    if (novos & PAD_A)
        Mover(GLUT_KEY_UP, 0, 0);
    if (novos & PAD_OMBRO_DIREITO)
        Teclado('w', 0, 0);
    if (novos & PAD_OMBRO_ESQUERDO)
        Teclado('s', 0, 0);
    if (novos & PAD_START)
        Teclado('f', 0, 0);
    Alavanca(pad, x, y);
}
