#include "Jogo.h"

#include <cstdlib>
#include <GL/glut.h>

int movercarro;
int moversapox;
int moversapoy;
int predioy;
int tempo;
int lado;

// Arrow keys move the frog; the next frame shows it, so nothing is redrawn here.
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

#if ZANDREL_PACING
// Playing frames come one slot (about 1/60 s) apart: the toolkit's loop sleeps
// until the slot, where it would otherwise draw flat out. The truck's ticks
// and the keys still bring frames of their own at once; only one slot is ever
// booked, so those extra frames do not multiply the chain.
static bool quadromarcado;

static void proximoquadro(int) {
    quadromarcado = false;
    glutPostRedisplay();
}

static void PedeQuadro() {
    if (!quadromarcado) {
        quadromarcado = true;
        glutTimerFunc(16, proximoquadro, 0);
    }
}
#else
static void PedeQuadro() {
    glutPostRedisplay();
}
#endif

void Colisao() {
    // The truck covers x movercarro+1 .. +4; the frog's centre is moversapox+15.
    for (int k = 11; k <= 14; k++)
        if (movercarro == moversapox + k && moversapoy == 3)
            moversapoy = 0;

    if (moversapoy == 6 && lado == 0)
        lado = 1;

    // Every playing frame asks for the next one.
    PedeQuadro();
}
