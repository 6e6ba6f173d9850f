// Saves one record as a won game does: guarda DIR SCORE reads DIR/datos/ranking.dat before the
// initials entry and, when SCORE enters table 0, saves it with initials "KIL". Exit 0 unless the
// save fails.
#include "menus/menus.h"
#include <cstdlib>
#include <unistd.h>

int main(int argc, char **argv) {
    if (argc != 3 || chdir(argv[1]) != 0) return 2;
    unsigned char bloque[vz::TAM_RANKING];
    vz::lee_ranking(bloque);
    const auto total = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    if (vz::posicion_ranking(bloque, 0, total) == 10) return 0;
    return vz::guarda_record(0, total, "KIL") < 0;
}
