// Any bytes as the ranking file: read, the three tables drawn as the game draws them, then a
// record taken from the input inserted where its score belongs and the file saved.
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "menus/menus.h"
#include <cstdlib>
#include <cstring>

void escribe(const char *ruta, const uint8_t *datos, size_t n); // comun.cpp

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t n) {
    escribe(vz::ruta_ranking, datos, n);
    vz::cambnib = 3; // the tables' waits end at once, as after the close button
    vz::muestraranking(0, 0);
    unsigned char bloque[vz::TAM_RANKING];
    if (vz::lee_ranking(bloque) != static_cast<int>(std::min<size_t>(n, vz::TAM_RANKING)))
        std::abort();
    // The record: the last 7 bytes past the file's 240, else fixed.
    uint8_t registro[7] = {0x39, 0x30, 0, 0, 'N', 'E', 'W'};
    if (n >= vz::TAM_RANKING + 7) std::memcpy(registro, datos + n - 7, 7);
    uint32_t total; // little-endian, as in the file
    std::memcpy(&total, registro, 4);
    const int difi = static_cast<int>(n % 3);
    const int posicion = vz::posicion_ranking(bloque, difi, total);
    if (posicion < 0 || posicion > 10) std::abort();
    if (posicion == 10) return 0;
    const char *iniciales = reinterpret_cast<const char *>(registro + 4);
    vz::inserta_ranking(bloque, difi, posicion, total, iniciales);
    if (vz::guarda_record(difi, total, iniciales) != posicion) std::abort();
    vz::muestraranking(difi + 1, posicion);
    unsigned char leido[vz::TAM_RANKING];
    if (vz::lee_ranking(leido) != vz::TAM_RANKING || std::memcmp(leido, bloque, sizeof leido) != 0)
        std::abort();
    return 0;
}
