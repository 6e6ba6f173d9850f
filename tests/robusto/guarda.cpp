// Saves one record as a won game does: guarda DIR SCORE reads DIR/datos/ranking.dat, puts SCORE
// with initials "KIL" into table 0 when it enters, and writes the file back. Exit 0 when saved.
#include "menus/menus.h"
#include <cstdlib>
#include <unistd.h>

int main(int argc, char **argv) {
    if (argc != 3 || chdir(argv[1]) != 0) return 2;
    unsigned char bloque[vz::TAM_RANKING];
    vz::lee_ranking(bloque);
    const auto total = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const int posicion = vz::posicion_ranking(bloque, 0, total);
    if (posicion < 10) vz::inserta_ranking(bloque, 0, posicion, total, "KIL");
    return vz::guarda_ranking(bloque) ? 0 : 1;
}
