// Preloaded into the game by the tests: writes to $ZANDREL_RELOGIO each
// period the game asks of the toolkit's timer ("tique MS"), and each frame it
// shows ("quadro"), as they happen, so that the truck's pace is read off what
// the game asked for rather than timed on a machine that may be busy.
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

void Escreve(const char *formato, unsigned valor = 0) {
    static std::FILE *saida = std::fopen(std::getenv("ZANDREL_RELOGIO"), "w");
    std::fprintf(saida, formato, valor);
    std::fflush(saida);
}

template <typename F> F Proxima(const char *nome) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nome));
}

} // namespace

extern "C" {

void glutTimerFunc(unsigned ms, void (*funcao)(int), int valor) {
    Escreve("tique %u\n", ms);
    Proxima<void (*)(unsigned, void (*)(int), int)>("glutTimerFunc")(ms, funcao, valor);
}

void glutSwapBuffers() {
    Proxima<void (*)()>("glutSwapBuffers")();
    Escreve("quadro\n");
}
}
