#include "game/mapa.h"
#include "game/mundo.h"
#include "frame/lugares.h"
#include <cstdio>

namespace vz {

namespace {
constexpr int MAX_TILE = 39;
constexpr int MAX_TIPO = 8;
} // namespace

void CargaMapa(const char *filename)
{
    FILE *f = abre(filename, "rb");
    if (f == nullptr) return;
    // A short file reads as if it ended in zeros: tile 0 and empty records, never stale data.
    unsigned char datos[TAM_NIVEL] = {};
    std::fread(datos, 1, TAM_NIVEL, f);
    std::fclose(f);

    multi = datos[0];
    for (int r = 0; r < 8; r++) {
        for (int c = 0; c < 200; c++) {
            const unsigned char t = datos[1 + r * 200 + c];
            mapa[c * 8 + r] = t <= MAX_TILE ? t : 0; // no such tile: show tile 0
        }
    }
    for (int i = 0; i < NUM_ENEMIGOS; i++) {
        const unsigned char *r = datos + 1601 + 4 * i;
        enemi[i].columna = static_cast<uint16_t>(r[0] | r[1] << 8);
        enemi[i].posy = r[2];
        enemi[i].tipo = r[3] <= MAX_TIPO ? r[3] : 0; // not an object kind: leave it out
    }
}

} // namespace vz
