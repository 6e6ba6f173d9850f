#include "frame/flujo.h"
#include "allegro_vz.h"
#include "game/juego.h"
#include "menus/menus.h"

namespace vz {

std::atomic<int> cambnib{2};
std::atomic<int> salir{0};

void cambia_funcion()
{
    // The four tests run in this order within one pass, so a screen's change of state is acted on
    // in the same pass when a later test matches it (Enter on the title starts the game at once).
    do {
        if (cambnib == 2) presentacion();
        if (cambnib == 4) {
            game_over();
            cambnib = 2;
        }
        if (cambnib == 0) game();
        if (cambnib == 5) {
            gane();
            cambnib = 2;
        }
    } while (cambnib != 3 && salir == 0);
}

void close_hook()
{
    cambnib = 3;
    salir = 1;
    // Wakes the menus and delay2, which read the key buffer.
    simulate_keypress(KEY_ESC << 8);
}
END_OF_FUNCTION(close_hook)

} // namespace vz
