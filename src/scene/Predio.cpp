#include "Cena.h"

#include "../game/Jogo.h"

#include <GL/gl.h>

// One window outline, a batch of its own.
static void Janela(GLfloat x0, GLfloat x1, GLfloat y0, GLfloat y1) {
    glColor3f(0, 0, 0);
    glLineWidth(2);
    glBegin(GL_LINES);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glEnd();
}

// The building on the upper verge. All three floors of windows are always
// drawn; those above the roof are black on black, so the height decides how
// many show.
void Predio() {
    const int telhado = predioy + 10;
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glVertex2i(1, 8);
    glVertex2i(1, telhado);
    glVertex2i(6, telhado);
    glVertex2i(6, 8);
    glEnd();

    Janela(2, 3, 9.3F, 9.8F);
    Janela(4, 5, 9.3F, 9.8F);
    Janela(2, 3, 10.3F, 10.8F);
    Janela(4, 5, 10.3F, 10.8F);
    Janela(2, 3, 11.3F, 11.8F);
    Janela(4, 5, 11.3F, 11.8F);
}
