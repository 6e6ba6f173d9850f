// Shared set-up for unit tests: the library without a display, scripted keys and clock, and a
// record of what a player would see and hear.
#pragma once
#include "allegro_vz.h"
#include <functional>
#include <string>
#include <vector>

namespace prueba {

// Keys that readkey() returns, in order: scancode in the high byte, as the library gives them.
void guion_teclas(std::initializer_list<int> scancodes);
// Called on every keypressed() test while the key buffer is empty.
extern std::function<void()> al_esperar;
// Called instead of sleeping each time the game gives the processor away in a wait loop, so once
// per pass of every wait, on the game's own thread: tests move the clock and the keys there.
extern std::function<void()> al_ceder;

// What the game did that a player notices, in order: "toca bolsa 255 0 1000 0" (a sample played:
// its file, volume, pan, frequency, loop), "ajusta camio1 0 128 1000 1", "para camio1",
// "volumen midi 180", "midi titulo 0", "para midi", "tecla arriba" (a key read); and while a film
// runs, "pantalla 2, 150 ticks": a screen (numbered by first showing) and the ticks it stayed.
extern std::vector<std::string> registro;

// Starts a film of what `screen` shows (and empties the record). Every pass of a wait is a tick of
// the clock; `cada_tick` then gets the number of the screen on view and its ticks so far. Play,
// drawn on the memory page, is not filmed: the record says how many ticks it took.
void rueda(std::function<void(int pantalla, int ticks)> cada_tick = nullptr);
void foto(); // the screen as it is now joins the film
// Ends the film and compares it with tests/assets/golden/<nombre>.ppm.gz (its screens one under
// the other, each in the palette it was shown in) and its record with <nombre>.txt.
// VZ_NUEVO_GOLDEN=1 writes them instead: look at both before committing them.
void compara(const std::string &nombre);

// A record at p: the score, little-endian, then three initials.
void pon(unsigned char *p, uint32_t puntos, const char *iniciales);
// A full ranking file: table d, place r holds score 1000 * (10 - r) + 100 * d, initials "<d><r>Z"
// and a reserved byte that tells where it was.
std::vector<unsigned char> ranking_base();

} // namespace prueba
