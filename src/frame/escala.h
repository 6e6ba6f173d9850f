// Window scale: the game draws its 320 x 240 picture as ever; at scale 2..4 that picture lives in a
// memory bitmap put in place of `screen`, and a timer copies it enlarged to the real window.
#pragma once
#include "allegro_vz.h"

namespace vz {

constexpr int ANCHO = 320; // the game's picture, whatever the window's size
constexpr int ALTO = 240;
constexpr int ESCALA_MAX = 4;

extern int escala;       // 1..4: window pixels per game pixel; 0 until start-up picks it
extern BITMAP *ventana;  // the real screen at scale 2..4; null at scale 1
extern BITMAP *lienzo;   // the 320 x 240 picture standing in for `screen` at scale 2..4

// Largest scale whose window is at most 85% of the desktop's height (room for its panels), at
// least 1.
int escala_por_defecto(int alto_escritorio);

// Sets the graphics mode: with `completa` the full-screen sizes from the largest scale that fits the
// desktop down to 1 (only `escala` when it is already set), then a window at `escala` (by default
// escala_por_defecto) or the largest smaller scale that opens.
// Returns 0, or -1 when nothing opens.
int abre_modo(bool completa);

// After the mode and the timer: at scale 2..4 swaps `screen` for the picture and starts the copy
// at `hz` times a second. Returns false when the picture cannot be created.
bool empieza_escala(int hz);

// Copies the rows of the picture that changed since the last copy, enlarged, to the window.
void presenta();

// Puts the real screen back, so that the library's shutdown finds its own bitmap.
void termina_escala();

} // namespace vz
