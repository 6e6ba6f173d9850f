#include "game/scroll.h"
#include "assets/carga.h"
#include "game/mundo.h"

namespace vz {

BITMAP *scroll = nullptr;
BITMAP *proximo_bloque = nullptr;

int vista_x() { return scr5 * ANCHO_PASADA + scr1 - 320; }

void scro(float distancia)
{
    const float suma = distancia + sobscro;
    const int n = static_cast<int>(suma);
    sobscro = suma - static_cast<float>(n);
    if (scr5 >= PASADAS) return;

    for (int i = 0; i < n; i++) {
        scr4 = scr3 + 1 > 319 ? 0 : scr3 + 1;
        if (scr2 == 32) {
            const int columna = scr1 / 32;
            for (int r = 0; r < 8; r++)
                blit(tile[mapa[columna * 8 + r]], proximo_bloque, 0, 0, 0, r * 24, 32, 24);
            scr2 = 0;
        }
        // Each column goes in twice, 320 apart, so the view is always one straight copy.
        blit(proximo_bloque, scroll, scr2, 0, scr4 + 319, 0, 1, 192);
        blit(proximo_bloque, scroll, scr2, 0, scr3, 0, 1, 192);
        scr2++;
        scr3 = scr4;
        scr1++;
        if (scr1 == ANCHO_PASADA) {
            scr1 = 0;
            scr5++;
        }
    }
}

} // namespace vz
