// The whole state of a game, and the routines that change it.
#pragma once

// Six integers, all zero at start, alive for the whole run.
extern int movercarro; // the truck's offset: -4, 0, 4, ..., 36
extern int moversapox; // the frog's offset in x: -13..13
extern int moversapoy; // the frog's row: 0 (start) .. 6 (goal)
extern int predioy;    // the building's extra floors: 0..2
extern int tempo;      // how much shorter than 100 ms the truck's period is
extern int lado;       // 1 once the frog has won

void Mover(int tecla, int x, int y);
void Teclado(unsigned char tecla, int x, int y);
void movimentacarro(int valor);
void Colisao();
