#include "Cena.h"

#include <GL/gl.h>
#include <GL/glut.h>

// The victory message, alone on the victory frame.
void Comentarios() {
    // Bitmap text takes its colour when the raster position is set, so the
    // colour comes first.
    glColor3f(1, 1, 1);
    glRasterPos2f(9.2F, 6);
    for (const char *letra = "Parabens!! Voce Ganhou!!"; *letra != '\0'; letra++)
        glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_24, *letra);
}
