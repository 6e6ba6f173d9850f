// What the game should show, drawn in the test process from the shipped data, to compare with a
// screenshot of the real window.
#pragma once
#include "ventana.h"
#include <cstdint>
#include <string>
#include <vector>

namespace prueba {

// Loads the shipped font, game palette and score panel from the staged tree (once).
bool carga_datos_juego();
// True when the score panel of `c` shows "PUNTOS:%5d VIDAS:%2d" for these values.
bool muestra_puntos(const Captura &c, uint32_t puntos, int vidas);

// Fraction (0..1) of the window's pixels that match the shipped picture `datos/<nombre>` shown
// with its own palette.
double parecido_a(const Captura &c, const std::string &nombre);

// A line of text centred on x 160 with its top at `y`, in palette colour `color` (-1: the font's own).
struct Texto {
    int y, color;
    std::string texto;
};
// True when `c` shows exactly these lines in the game font on a black screen.
bool muestra_textos(const Captura &c, const std::vector<Texto> &lineas);

// True when `c` shows ranking table `tabla` (0..2) of the 240-byte `ranking` with row `fila`
// highlighted (-1 for none): title at the top, ten rows "%2d %6d %.3s" 21 pixels apart.
bool muestra_ranking(const Captura &c, const std::vector<unsigned char> &ranking, int tabla, int fila);

// Waits for the window, cuts the opening picture short and returns once the title picture shows.
bool hasta_titulo(Juego &j);

// Goes on from the title picture to the difficulty menu; returns once the menu shows.
bool hasta_menu(Juego &j);

// Drives the game from its start to the first level's play: skips the opening picture, starts a
// game from the title and picks difficulty `dificultad` (0..2) in the menu. Returns when the first
// frame of the level is on screen (its two-second start wait then begins).
bool hasta_jugar(Juego &j, int dificultad);

} // namespace prueba
