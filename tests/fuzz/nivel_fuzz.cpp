// Any bytes as a level file: loaded as the game loads it, then a few hundred ticks of play, each
// drawn, so that odd tiles and object records are scrolled, drawn and collided with. Bytes past
// the level's 2801 steer the vehicle, one key state per tick.
#include "assets/render.h"
#include "game/sin_pantalla.h"
#include "allegro_vz.h"

void escribe(const char *ruta, const uint8_t *datos, size_t n); // comun.cpp

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t n) {
    escribe("levels/f.map", datos, n);
    vz::juego_sin_pantalla(static_cast<int>(n % 3), n % 2 ? 60 : 100);
    vz::nivel_sin_pantalla("levels/f.map");
    for (size_t t = 0; t < 400; t++) {
        const uint8_t k = 2801 + t < n ? datos[2801 + t] : 0;
        key[KEY_UP] = k & 1;
        key[KEY_DOWN] = k & 2;
        vz::tick_sin_pantalla();
        vz::act_grafica();
    }
    key[KEY_UP] = 0;
    key[KEY_DOWN] = 0;
    return 0;
}
