// Shared set-up for unit tests: the library without a display, and scripted keys.
#pragma once
#include "allegro_vz.h"
#include <deque>
#include <functional>

namespace prueba {

// Keys that readkey() returns, in order: scancode in the high byte, as the library gives them.
void guion_teclas(std::initializer_list<int> scancodes);
void guion_teclas_mas(int scancode); // one more at the end of the script
// Called on every keypressed() test while the key buffer is empty (e.g. to advance `tick`).
void al_esperar(std::function<void()> f);
// Number of readkey() calls answered from the script since the last guion_teclas.
int teclas_leidas();

// A colour font (glyph pixels in colours 200 and 201) made from the library's own 8 x 8 font, so that
// tests can tell the font's own colours (-1) from a single colour.
FONT *fuente_color();

} // namespace prueba
