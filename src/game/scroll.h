// The level scrolling through the ring strip.
#pragma once
#include "allegro_vz.h"

namespace vz {

constexpr int ANCHO_PASADA = 6400; // one pass through the 200-column map
constexpr int PASADAS = 4;

extern BITMAP *scroll;         // 640 x 192 ring strip, never cleared
extern BITMAP *proximo_bloque; // 32 x 192 tile column being fed in, never cleared

// Level x of the view's left edge.
int vista_x();
void scro(float distancia);

} // namespace vz
