// The autopilot: plays a compiled level with the game's own logic, headless, trying every Up/Down
// press at every tick, and measures how hard the level is.
#pragma once
#include <cstdint>
#include <string>

namespace nivel {

struct Prueba {
    bool ganable = false;  // the end is reached without a fire
    bool completa = true;  // false when the search had to drop states: a "no" is then not proven
    int tension_ms = -1;   // tightest moment in ms at 75 Hz; -1 when no barrel forces a move
    int columna = -1;      // column of the barrel of the tightest moment
    uint32_t mejor = 0;    // highest score at the end without a fire (0 when not winnable)
};

// Starts the game library without a display; false when it cannot.
bool prepara_prueba();

// Plays the level file `ruta` (.map) from the start of a new game on difficulty `d` (0..2).
Prueba prueba(const std::string &ruta, int d);

} // namespace nivel
