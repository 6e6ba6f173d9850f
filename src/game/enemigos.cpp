#include "game/enemigos.h"
#include "game/mundo.h"
#include "game/scroll.h"

namespace vz {

int enemivieja(int /*modo*/)
{
    int resultado = 0;
    spr_cant = 0;
    const uint32_t v = static_cast<uint32_t>(vista_x());
    for (int a = 0; a < NUM_ENEMIGOS; a++) {
        const enemigo &e = enemi[a];
        const uint32_t ex = static_cast<uint32_t>(e.columna) * 32;
        // Unsigned on purpose: while v < 36, v - 36 wraps and nothing is visible.
        if (!(ex < v + 318 && ex > v - 36 && e.tipo != 0)) continue;
        // The window is fixed on the screen (x 0..79); a negative screen x wraps and misses.
        if (ex - v <= 79 && y == static_cast<float>(e.posy + 48)) {
            resultado = e.tipo;
            sprcol = a;
        }
        if (spr_cant < MAX_VISIBLES) {
            sprite_div[spr_cant][0] = e.tipo - 1;
            sprite_div[spr_cant][1] = e.posy + 20;
            sprite_div[spr_cant][2] = static_cast<int>(ex - v);
            spr_cant++;
        }
    }
    return resultado;
}

} // namespace vz
