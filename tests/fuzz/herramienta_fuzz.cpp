// The level tool both ways: any bytes as level text, and any bytes as a .map file turned into
// text and read back: a level within the text form's ranges must come back byte for byte.
#include "formato.h"
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t n) {
    std::string error;
    nivel::Nivel texto;
    if (nivel::lee_texto(std::string(reinterpret_cast<const char *>(datos), n), "f.txt", texto,
                         error)) {
        nivel::max_visibles(texto);
        if (nivel::a_binario(texto).size() != nivel::TAM) std::abort();
    }
    nivel::Nivel mapa;
    if (!nivel::de_binario(std::vector<uint8_t>(datos, datos + n), mapa, error)) return 0;
    bool en_rango = mapa.velocidad >= 1 && mapa.velocidad <= 3;
    for (const auto &fila : mapa.mapa)
        for (uint8_t t : fila)
            en_rango = en_rango && t <= nivel::MAX_TILE;
    for (const auto &o : mapa.objetos)
        en_rango = en_rango && o.columna <= nivel::MAX_COLUMNA && o.tipo <= nivel::MAX_TIPO;
    nivel::Nivel vuelta;
    if (!nivel::lee_texto(nivel::escribe_texto(mapa), "f.txt", vuelta, error)) {
        if (en_rango) std::abort();
        return 0;
    }
    if (nivel::a_binario(vuelta) != nivel::a_binario(mapa)) std::abort();
    return 0;
}
