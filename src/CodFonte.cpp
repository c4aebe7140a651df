// Zandrel: a frog crosses a road along which a truck drives.

#include "game/Controle.h"
#include "game/Jogo.h"
#include "scene/Cena.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

// The 30 x 15 world frame over the whole window, on black. The fresh
// projection matrix is the identity, so it is multiplied without a reset.
void Inicializa() {
    glClearColor(0, 0, 0, 0);
    glMatrixMode(GL_PROJECTION);
    gluOrtho2D(0, 30, 0, 15);
}

// The rule is applied once per playing frame, after the road and before the
// figures, so the frog is drawn where the rule leaves it. The frame that wins
// is followed at once by the victory frame, in the same call.
void Desenha() {
    if (lado == 0) {
        tempo = 40;
        glClear(GL_COLOR_BUFFER_BIT);
        Pista();
        Colisao();
        Caminhao();
        Sapo();
        Predio();
        glutSwapBuffers();
    }
    if (lado == 1) {
        glClear(GL_COLOR_BUFFER_BIT);
        Comentarios();
        glutSwapBuffers();
    }
}

int main() {
    // freeglut must be initialised first; it gets no options of the player's.
    char nome[] = "zandrel";
    char *argumentos[] = {nome, nullptr};
    int contagem = 1;
    glutInit(&contagem, argumentos);

    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutInitWindowSize(690, 530);
    glutInitWindowPosition(50, 50);
    glutCreateWindow("Zandrel");
    glutKeyboardFunc(Teclado);
    glutSpecialFunc(Mover);
    Inicializa();
    glutDisplayFunc(Desenha);
    glutTimerFunc(10, movimentacarro, 1);
    Controle(0);
    glutMainLoop();
}
