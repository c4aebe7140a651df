// Stands in for the toolkit at link time and records what the rules ask of it.
#pragma once

#include <vector>

struct Relogio {
    unsigned ms;
    void (*funcao)(int);
    int valor;
};

extern int redesenhos;
extern int telacheia;
extern std::vector<Relogio> relogios;

// A fresh game and a clean record.
void Zera();
