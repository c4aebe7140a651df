// One drawing routine per element of the picture, in the 30 x 15 world frame.
// Each sets the colour, point size and line width it draws with.
#pragma once

void Pista();
void Sapo();
void Caminhao();
void Predio();
void Comentarios();
