#include "game/busca.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vz {

char archive[MAX_NIVELES][512];
int niveles = 0;
struct al_ffblk dir_reader;

int lista_ordenada(const char *patron, char (*nombres)[512], int max, int largo_max)
{
    // The file system returns names in no useful order: sort them so play order is name order.
    std::vector<std::string> hallados;
    if (al_findfirst(patron, &dir_reader, FA_ARCH | FA_RDONLY) == 0) {
        do {
            if (static_cast<int>(std::strlen(dir_reader.name)) <= largo_max)
                hallados.emplace_back(dir_reader.name);
        } while (al_findnext(&dir_reader) == 0);
    }
    al_findclose(&dir_reader);
    std::sort(hallados.begin(), hallados.end());
    const int cuenta = std::min<int>(max, static_cast<int>(hallados.size()));
    for (int i = 0; i < cuenta; i++) {
        std::memcpy(nombres[i], hallados[i].c_str(), hallados[i].size() + 1);
    }
    return cuenta;
}

void buscaarch()
{
    // "levels/" and the name must fit the 512-byte path buffer.
    niveles = lista_ordenada("levels/*.map", archive, MAX_NIVELES, 511 - 7);
}

} // namespace vz
