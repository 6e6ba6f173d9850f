// The game's own logic and drawing without a window, a timer or a sound device: plain pictures of
// the sizes the game cuts from its sheet, silent sounds, the strip, one memory page and an object
// table. The level tool, the benchmark and the fuzzers play levels tick by tick on it.
#pragma once

namespace vz {

// Starts the library without a display and creates everything above. Once per process; later
// calls do nothing. False when the library cannot start.
bool prepara_sin_pantalla();

// A new game on difficulty `d` (0..2) at `fps` ticks per second, as game() starts one.
void juego_sin_pantalla(int d, int fps);

// Loads the level file `ruta` as the next level of the game and starts it as the frame loops do.
void nivel_sin_pantalla(const char *ruta);

// One tick of play: the clock moves on and the game makes one logic tick.
void tick_sin_pantalla();

} // namespace vz
