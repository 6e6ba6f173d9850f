// What start-up does differently on each system: the console, the sound drivers it asks for, and
// how a fatal error reaches the player. One implementation file per system.
#pragma once
#include <string>

namespace vz {

// Why the library could not start, as the player should read it.
extern const char *const SIN_SISTEMA;

// Before anything is written: standard output and error reach the console the game was started
// from, when there is one.
void prepara_consola();
// After the graphics mode: the sound and MIDI drivers, falling back to fewer of them, and at last
// to silence, so that the game always starts.
void instala_sonido();
// A fatal error where the player sees it, besides standard error (which aborta writes).
void avisa_jugador(const std::string &texto);

} // namespace vz
