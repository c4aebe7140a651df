#include "Cena.h"

#include "../game/Jogo.h"

#include <GL/gl.h>

// A point of the figure, displaced from the frog's offset; the sum is made in
// double and handed to the GL as a float.
static void Ponto(double a, double b) {
    glVertex2f(static_cast<GLfloat>(moversapox + a), static_cast<GLfloat>(moversapoy + b));
}

// The frog, centred on (moversapox + 15, moversapoy + 1). Sizes are in pixels,
// displacements in world units, so in a big window the legs stand off the body.
void Sapo() {
    // Body.
    glColor3f(0, 1, 0);
    glPointSize(20);
    glBegin(GL_POINTS);
    glVertex2i(moversapox + 15, moversapoy + 1);
    glEnd();

    // Eyes.
    glColor3f(1, 1, 0);
    glPointSize(3);
    glBegin(GL_POINTS);
    Ponto(14.8, 1.2);
    Ponto(15.2, 1.2);
    glEnd();

    // Legs: front left, front right, hind left, hind right.
    glColor3f(0, 1, 0);
    glLineWidth(2);
    glBegin(GL_LINES);
    Ponto(14.3, 1.3);
    Ponto(14.8, 1.1);
    Ponto(15.7, 1.3);
    Ponto(15.2, 1.1);
    Ponto(14.8, 0.9);
    Ponto(14.3, 0.7);
    Ponto(15.7, 0.7);
    Ponto(15.2, 0.9);
    glEnd();

    // Toes round the front feet.
    glColor3f(0, 1, 0);
    glPointSize(1);
    glBegin(GL_POINTS);
    Ponto(14.3, 1.15);
    Ponto(15.7, 1.15);
    Ponto(14.2, 1.3);
    Ponto(15.8, 1.3);
    Ponto(14.4, 1.4);
    Ponto(15.6, 1.4);
    glEnd();
}
