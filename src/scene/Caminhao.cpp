#include "Cena.h"

#include "../game/Jogo.h"

#include <GL/gl.h>

// A point of the truck, a from its offset along the lane at height y.
static void Ponto(double a, double y) {
    glVertex2f(static_cast<GLfloat>(movercarro + a), static_cast<GLfloat>(y));
}

// The truck drives leftwards along y 3.5..4.5, covering x movercarro+1 .. +4.
void Caminhao() {
    // Load body.
    glColor3f(0.5F, 1, 0);
    glBegin(GL_QUADS);
    Ponto(2, 3.5);
    Ponto(2, 4.5);
    Ponto(4, 4.5);
    Ponto(4, 3.5);
    glEnd();

    // Cab in front, lower, in the colour still set from the body.
    glBegin(GL_QUADS);
    Ponto(1, 3.5);
    Ponto(1, 4);
    Ponto(2, 4);
    Ponto(2, 3.5);
    glEnd();

    // Wheels under the cab and the rear.
    glPointSize(5);
    glBegin(GL_POINTS);
    glColor3f(0.5F, 0.5F, 0.5F);
    Ponto(1.5, 3.5);
    Ponto(3.5, 3.5);
    glEnd();
}
