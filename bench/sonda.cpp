// Preloaded into the game by the benchmark: timestamps every buffer swap,
// truck tick and arrow key as the toolkit sees them, without changing the
// program. F12, which this keeps from the game, marks the phases of a run: playing
// with no key pressed from the first mark to the second, playing with arrow
// presses from the second to the third, won from the fourth to the fifth.
// At exit it writes one table row to $ZANDREL_SONDA_SAIDA.
// A pad's presses reach the game through no callback of the toolkit's: the
// benchmark writes down when it wrote each to the pad, in CLOCK_MONOTONIC
// nanoseconds, one a line, into the file that $ZANDREL_SONDA_PAD names, whose
// times then stand for the arrow keys' callbacks. Reading a pad that
// umockdev fakes costs the game a round trip to the faker at each look, where
// a kernel's node answers at once: the CPU the game spends inside read() is
// kept apart, and the pad's row gives its CPU also without it.
#include <GL/glut.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

std::int64_t Agora(clockid_t relogio = CLOCK_MONOTONIC) {
    timespec t{};
    clock_gettime(relogio, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

std::int64_t Cpu() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u); // every thread, llvmpipe's too
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000000000LL +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1000LL;
}

std::vector<std::int64_t> trocas, tiques, teclas, marcas, cpus, leituras;
std::int64_t lendo;           // CPU time spent inside read(), on the thread that reads the pads
std::int64_t primeiro_quadro; // realtime, to compare with the launch time
void (*carro)(int);
void (*mover)(int, int, int);

template <typename F> F Proxima(const char *nome) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nome));
}

void Tique(int valor) {
    tiques.push_back(Agora());
    carro(valor);
}

void Tecla(int tecla, int x, int y) {
    if (tecla == GLUT_KEY_F12) {
        marcas.push_back(Agora());
        cpus.push_back(Cpu());
        leituras.push_back(lendo);
        return;
    }
    teclas.push_back(Agora());
    mover(tecla, x, y);
}

// What of v lies in [a, b).
std::vector<std::int64_t> Entre(const std::vector<std::int64_t> &v, std::int64_t a,
                                std::int64_t b) {
    return {std::lower_bound(v.begin(), v.end(), a), std::lower_bound(v.begin(), v.end(), b)};
}

std::string Fmt(const char *formato, double a) {
    char texto[64];
    std::snprintf(texto, sizeof texto, formato, a);
    return texto;
}

// CPU % of a core from mark i to mark j; with a pad, also less its reads.
std::string Uso(std::size_t i, std::size_t j) {
    const auto porcento = [&](std::int64_t cpu) {
        return static_cast<double>(cpu) / static_cast<double>(marcas[j] - marcas[i]) * 100;
    };
    std::string uso = Fmt("%.1f", porcento(cpus[j] - cpus[i]));
    if (std::getenv("ZANDREL_SONDA_PAD") != nullptr)
        uso += Fmt(" (%.1f)", porcento(cpus[j] - cpus[i] - (leituras[j] - leituras[i])));
    return uso;
}

void Relata() {
    const char *saida = std::getenv("ZANDREL_SONDA_SAIDA");
    if (saida == nullptr || marcas.size() < 3)
        return;
    const double ms = 1e6;
    const std::int64_t a = marcas[0], b = marcas[1], c = marcas[2];
    const double segundos = static_cast<double>(b - a) / 1e9;
    const auto quadros = Entre(trocas, a, b);
    const double cpu = static_cast<double>(cpus[1] - cpus[0]);
    std::string linha = Fmt("| %.0f ", static_cast<double>(quadros.size()) / segundos) + "| " +
                        Uso(0, 1) + " " +
                        Fmt("| %.3f ", cpu / ms / static_cast<double>(quadros.size()));
    linha += marcas.size() >= 5 ? "| " + Uso(3, 4) + " " : "| - ";

    // The truck: period, and playing frames drawn while it stands in each place.
    const auto t = Entre(tiques, a, c);
    if (t.size() >= 2) {
        double soma = 0, pior = 0;
        std::size_t menos = SIZE_MAX;
        for (std::size_t i = 1; i < t.size(); i++) {
            const double p = static_cast<double>(t[i] - t[i - 1]) / ms;
            soma += p;
            pior = std::max(pior, p);
            menos = std::min(menos, Entre(trocas, t[i - 1], t[i]).size());
        }
        linha += Fmt("| %.1f / ", soma / static_cast<double>(t.size() - 1)) +
                 Fmt("%.1f ms ", pior) + Fmt("| %.0f ", static_cast<double>(menos));
    } else {
        linha += "| - | - ";
    }

    // Key to screen: from the arrow's callback, or the pad's press, to the
    // first swap after it.
    if (const char *pad = std::getenv("ZANDREL_SONDA_PAD")) {
        teclas.clear();
        std::ifstream arquivo(pad);
        for (std::int64_t quando = 0; arquivo >> quando;)
            teclas.push_back(quando);
        std::sort(teclas.begin(), teclas.end());
    }
    std::vector<double> atrasos;
    for (std::int64_t k : Entre(teclas, b, c)) {
        auto q = std::upper_bound(trocas.begin(), trocas.end(), k);
        if (q != trocas.end())
            atrasos.push_back(static_cast<double>(*q - k) / ms);
    }
    std::sort(atrasos.begin(), atrasos.end());
    linha += atrasos.empty()
                 ? "| - "
                 : Fmt("| %.1f / ", atrasos[atrasos.size() / 2]) + Fmt("%.1f ms ", atrasos.back());

    // When bench.py launched the program, in seconds since the epoch.
    const char *inicio = std::getenv("ZANDREL_SONDA_INICIO");
    linha += inicio == nullptr ? "| - "
                               : Fmt("| %.0f ms ", static_cast<double>(primeiro_quadro) / ms -
                                                       std::strtod(inicio, nullptr) * 1e3);
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    linha += Fmt("| %.1f MiB |", static_cast<double>(u.ru_maxrss) / 1024);

    if (FILE *f = std::fopen(saida, "w")) {
        std::fprintf(f, "%s\n", linha.c_str());
        std::fclose(f);
    }
}

__attribute__((constructor)) void Prepara() {
    trocas.reserve(1 << 20);
    tiques.reserve(1 << 12);
    teclas.reserve(1 << 12);
}

__attribute__((destructor)) void Termina() {
    Relata();
}

} // namespace

extern "C" {

void glutSwapBuffers() {
    if (trocas.empty())
        primeiro_quadro = Agora(CLOCK_REALTIME);
    Proxima<void (*)()>("glutSwapBuffers")();
    trocas.push_back(Agora());
}

void glutTimerFunc(unsigned time, void (*callback)(int), int value) {
    if (carro == nullptr && value == 1)
        carro = callback; // the first timer the game starts is the truck's
    Proxima<void (*)(unsigned, void (*)(int), int)>("glutTimerFunc")(
        time, callback == carro ? Tique : callback, value);
}

ssize_t read(int fd, void *buf, size_t n) {
    static const auto proxima = Proxima<ssize_t (*)(int, void *, size_t)>("read");
    const std::int64_t antes = Agora(CLOCK_THREAD_CPUTIME_ID);
    const ssize_t lido = proxima(fd, buf, n);
    lendo += Agora(CLOCK_THREAD_CPUTIME_ID) - antes;
    return lido;
}

void glutSpecialFunc(void (*callback)(int, int, int)) {
    mover = callback;
    Proxima<void (*)(void (*)(int, int, int))>("glutSpecialFunc")(Tecla);
}
}
