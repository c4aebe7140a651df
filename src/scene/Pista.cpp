#include "Cena.h"

#include <GL/gl.h>

// The road is left black; only its edges, lane lines and verges are drawn.
void Pista() {
    // Edges: the frog starts on the lower one and wins on the upper one.
    glColor3f(1, 1, 1);
    glLineWidth(3);
    glBegin(GL_LINES);
    glVertex2i(1, 1);
    glVertex2i(29, 1);
    glVertex2i(1, 7);
    glVertex2i(29, 7);
    glEnd();

    // Dashed lane lines; the last dash is cut short where the road ends.
    glColor3f(1, 1, 1);
    glLineWidth(2);
    glBegin(GL_LINES);
    glVertex2i(2, 3);
    glVertex2i(6, 3);
    glVertex2i(10, 3);
    glVertex2i(14, 3);
    glVertex2i(18, 3);
    glVertex2i(22, 3);
    glVertex2i(26, 3);
    glVertex2i(29, 3);
    glVertex2i(2, 5);
    glVertex2i(6, 5);
    glVertex2i(10, 5);
    glVertex2i(14, 5);
    glVertex2i(18, 5);
    glVertex2i(22, 5);
    glVertex2i(26, 5);
    glVertex2i(29, 5);
    glEnd();

    // Lower verge.
    glColor3f(0, 0.5F, 0);
    glBegin(GL_QUADS);
    glVertex2i(1, 0);
    glVertex2f(1, 0.8F);
    glVertex2f(29, 0.8F);
    glVertex2i(29, 0);
    glEnd();

    // Upper verge, which the building stands on.
    glColor3f(0, 0.5F, 0);
    glBegin(GL_QUADS);
    glVertex2f(1, 7.2F);
    glVertex2i(1, 8);
    glVertex2i(29, 8);
    glVertex2f(29, 7.2F);
    glEnd();
}
