// A game: difficulty, level sequence and the two frame loops.
#pragma once

namespace vz {

// Lives and base speed of each difficulty.
constexpr int VIDAS_DIFI[3] = {6, 5, 4};
constexpr float VELOCIDAD_DIFI[3] = {3.0f, 4.0f, 5.0f};

// 75 Hz frames per tick at `fps` ticks per second.
float calcula_animcon(int fps);
// nscro from nscr3, multi and animcon.
void fija_velocidad();

// Game-start values: no score, no fire or splash, level 0, the first extra life at 10,000.
void reinicia_juego();
// Lives, base speed and speed factor of difficulty `d` (0..2) at the current max_fps.
void pon_dificultad(int d);

// The state every level starts from: lane 2, x 40, the road filled up to the first column.
void inicio_nivel();

void game();
void game_main_loop();  // -tbuf mode: one logic tick per shown frame
void game_main_loop2(); // memory page: one logic tick per timer tick

} // namespace vz
