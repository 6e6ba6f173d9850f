#include "music/carpetas.h"
#include "game/busca.h"
#include <algorithm>
#include <cstring>
#include <map>

namespace vz {

std::string carpeta_jugador;
std::string carpetam[MAX_MUSICAS];

int lista_musica(const char *sub, const char *ext)
{
    std::map<std::string, std::string> halladas; // name -> folder, kept in name order
    std::string carpetas[2] = {sub, ""};
    if (!carpeta_jugador.empty()) carpetas[1] = carpeta_jugador + "/" + sub;
    for (const std::string &c : carpetas) {
        if (c.empty()) continue;
        // The message line takes "Sonando:" and the name; the path buffer the folder as well.
        const int largo = std::min<int>(511 - 8, 510 - static_cast<int>(c.size()));
        // The first ten names of each folder hold the first ten of both.
        char nombres[MAX_MUSICAS][512];
        const int n = lista_ordenada((c + "/*." + ext).c_str(), nombres, MAX_MUSICAS, largo);
        for (int i = 0; i < n; i++) halladas[nombres[i]] = c;
    }
    int cuenta = 0;
    for (const auto &[nombre, carpeta] : halladas) {
        if (cuenta == MAX_MUSICAS) break;
        std::memcpy(archivm[cuenta], nombre.c_str(), nombre.size() + 1);
        carpetam[cuenta++] = carpeta;
    }
    return cuenta;
}

} // namespace vz
