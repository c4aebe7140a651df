#include "Jogo.h"

#include <cstdlib>
#include <GL/glut.h>

int movercarro;
int moversapox;
int moversapoy;
int predioy;
int tempo;
int lado;

// Frames come when the picture can change, and only then: on each truck tick,
// on each character key, and on each arrow key while the frog is crossing.
// Nothing else moves, and the rule gives the same answer on the same state, so
// this draws the same game as frames drawn back to back, for a fraction of the
// work. ZANDREL_CONTINUOUS_FRAMES builds the back-to-back chain instead.

// Arrow keys move the frog. While it is crossing, the move is drawn at once and
// the rule sees it; once it has won, the arrows change nothing on screen.
void Mover(int tecla, int, int) {
    if (tecla == GLUT_KEY_UP)
        moversapoy++;
    if (tecla == GLUT_KEY_DOWN)
        moversapoy--;
    if (tecla == GLUT_KEY_LEFT)
        moversapox--;
    if (tecla == GLUT_KEY_RIGHT)
        moversapox++;

    if (moversapoy < 0)
        moversapoy = 0;
    if (moversapoy > 6)
        moversapoy = 6;
    if (moversapox < -13)
        moversapox = -13;
    if (moversapox > 13)
        moversapox = 13;

#if !ZANDREL_CONTINUOUS_FRAMES
    if (lado == 0)
        glutPostRedisplay();
#endif
}

void Teclado(unsigned char tecla, int, int) {
    if (tecla == 'w')
        predioy++;
    if (tecla == 's')
        predioy--;
    if (predioy < 0)
        predioy = 0;
    if (predioy > 2)
        predioy = 2;

    if (tecla == 'f')
        glutFullScreen();

    glutPostRedisplay();

    if (tecla == 27)
        exit(0);
}

// The game's only clock: one step left per tick, round from -8 to beyond the right edge.
void movimentacarro(int) {
    movercarro -= 4;
    if (movercarro == -8)
        movercarro = 36;
    glutPostRedisplay();
    glutTimerFunc(static_cast<unsigned>(100 - tempo), movimentacarro, 1);
}

void Colisao() {
    // The truck covers x movercarro+1 .. +4; the frog's centre is moversapox+15.
    for (int k = 11; k <= 14; k++)
        if (movercarro == moversapox + k && moversapoy == 3)
            moversapoy = 0;

    if (moversapoy == 6 && lado == 0)
        lado = 1;

#if ZANDREL_CONTINUOUS_FRAMES
    glutPostRedisplay();
#endif
}
