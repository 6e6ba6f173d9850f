// Timer callbacks and tick-based waits.
#pragma once
#include <atomic>

namespace vz {

extern std::atomic<int> tick;    // refresh ticks since start-up; waits and the pause set it back
extern int max_fps;              // ticks per second (the refresh rate, 75 when the driver reports 0)
extern std::atomic<int> mensaje; // seconds left for the music message line, counted down to 0

void ticks();       // tick timer: one call per refresh
void fps_proc();    // once a second
void mp3actualiza(); // four times a second: keeps the playlist going

// The tick a wait of `segundos` started at `desde` ends at (cut toward zero).
int fin_espera(int desde, float segundos);
// Fixed wait in tick time; nothing shortens it.
void delay(float segundos);
// Wait that a key press or the quit state ends early; the key stays in the buffer.
void delay2(float segundos);
// Gives the processor away for a moment inside a wait loop.
void cede();

} // namespace vz
