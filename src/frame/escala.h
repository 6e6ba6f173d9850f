// Window scale: the game draws its 320 x 240 picture as ever; at scale 2..4 that picture lives in a
// memory bitmap put in place of `screen`, and the game shows it enlarged on the real window itself,
// from the main thread, whenever it has something to show.
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

// After the mode: watches the fatal signals and, at scale 2..4, swaps `screen` for the picture.
// Returns false when the picture cannot be created.
bool empieza_escala();

// Shows what the game drew: copies the rows of the picture that changed since the last call,
// enlarged, to the window, in one update (never half a frame), together with a palette given to
// pon_paleta since. Main thread only; nothing to do at scale 1, where the game draws on the window.
void presenta();
// set_palette for the picture being drawn: at scale 2..4 it takes effect at the next presenta, with
// that picture, so a new palette never shows the previous picture for a moment.
void pon_paleta(const RGB *paleta);

// Puts the real screen back, so that the library's shutdown finds its own bitmap.
void termina_escala();

} // namespace vz
