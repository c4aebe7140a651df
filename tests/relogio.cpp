// Preloaded into the game by the tests: writes to $ZANDREL_RELOGIO each
// period the game asks of the toolkit's timer, the truck's ("tique MS", its
// timer is given 1) or the pads' ("olha MS"), and each frame it shows
// ("quadro"), as they happen, so that the pace is read off what the game
// asked for rather than timed on a machine that may be busy.
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

static void Escreve(const char *formato, unsigned valor = 0) {
    static std::FILE *saida = std::fopen(std::getenv("ZANDREL_RELOGIO"), "w");
    std::fprintf(saida, formato, valor);
    std::fflush(saida);
}

void glutTimerFunc(unsigned ms, void (*funcao)(int), int valor) {
    Escreve(valor == 1 ? "tique %u\n" : "olha %u\n", ms);
    using Relogio = void (*)(unsigned, void (*)(int), int);
    reinterpret_cast<Relogio>(dlsym(RTLD_NEXT, "glutTimerFunc"))(ms, funcao, valor);
}

void glutSwapBuffers() {
    reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glutSwapBuffers"))();
    Escreve("quadro\n");
}
