// The player's controls: every read of the keyboard goes through here, and a gamepad, when there
// is one, does what the keys do. Actions and their keys and buttons are in frame/ajustes.h.
#pragma once
#include "allegro_vz.h"
#include "frame/ajustes.h"

namespace vz {

// Whether the action's key, or its pad button or direction, is held now.
bool pulsada(int accion);
// The action whose key this is (a scancode from readkey), or NINGUNA.
int accion_de(int tecla);

// Start-up: installs the joystick driver and, when a pad is there, polls it a hundred times a
// second. Without a pad nothing else changes.
void instala_mando();
// The poll, on the timer thread: a button or direction going down puts its action's key into
// the key buffer, so the screens that read keys from there take it as that key.
void lee_mando();

} // namespace vz
