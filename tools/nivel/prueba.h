// The autopilot: plays a compiled level with the game's own logic, headless, trying every Up/Down
// press at every tick, and measures how hard the level is.
#pragma once
#include <cstdint>
#include <string>

namespace nivel {

// A level can start in several phases: tick % 4 at its first tick (a splash steers the truck on one
// tick in four) and the fraction of a pixel the scroll carries from earlier levels and games. The
// figures below are the worst over every phase.
struct Prueba {
    bool ganable = false; // the end is reached without a fire from every phase
    bool completa = true; // false when the search had to drop states: a "no" is then not proven
    int tension_ms = -1;  // tightest moment in ms at 75 Hz; -1 when no barrel forces a move
    int columna = -1;     // column of the barrel of the tightest moment
    uint32_t mejor = 0;  // lowest over phases of the highest score at the end (0 when not winnable)
    int fases = 0;       // starting phases: 4 tick phases times the scroll fractions
    int ganadas = 0;     // phases from which the end is reached
    int falla_tick = -1; // the first phase it is not: tick % 4 at the first tick, and fraction
    float falla_fraccion = 0.0f;
};

// Starts the game library without a display; false when it cannot.
bool prepara_prueba();

// Plays the level file `ruta` (.map) from the start of a new game on difficulty `d` (0..2).
Prueba prueba(const std::string &ruta, int d);

} // namespace nivel
