#include "GlutFalso.h"

#include "game/Jogo.h"

#include <GL/glut.h>

int redesenhos;
int telacheia;
std::vector<Relogio> relogios;

void glutPostRedisplay() {
    redesenhos++;
}
void glutFullScreen() {
    telacheia++;
}
void glutTimerFunc(unsigned ms, void (*funcao)(int), int valor) {
    relogios.push_back({ms, funcao, valor});
}

void Zera() {
    movercarro = moversapox = moversapoy = predioy = tempo = lado = 0;
    redesenhos = telacheia = 0;
    relogios.clear();
}
