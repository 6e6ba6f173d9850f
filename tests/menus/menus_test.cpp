// The ranking file: where a total goes, and how a record moves the rest down.
#include "entorno.h"
#include "menus/menus.h"
#include <gtest/gtest.h>
#include <vector>

using namespace vz;
using prueba::pon;
using prueba::ranking_base;

namespace {

using Bloque = std::vector<unsigned char>;

// The file with a record of `total` and `iniciales` at place `lugar` of table `difi`: the places
// below move down one (score and initials; reserved bytes stay), place 10 drops.
Bloque con_registro(int difi, int lugar, uint32_t total, const char *iniciales) {
    Bloque b = ranking_base();
    unsigned char *t = &b[80 * difi];
    for (int r = 9; r > lugar; r--)
        std::copy_n(t + 8 * (r - 1), 7, t + 8 * r);
    pon(t + 8 * lugar, total, iniciales);
    return b;
}

TEST(Ranking, TiesGoAboveAndTheRestMovesDownKeepingTheReservedBytes) {
    const struct {
        int difi;
        uint32_t total;
        int lugar;
    } casos[] = {{1, 99999, 0}, {1, 7100, 3}, {1, 7099, 4}, {1, 1100, 9},
                 {1, 1099, 10}, {0, 1000, 9}, {2, 0, 10}};
    for (const auto &c : casos) {
        Bloque b = ranking_base();
        EXPECT_EQ(posicion_ranking(b.data(), c.difi, c.total), c.lugar) << c.total;
        if (c.lugar == 10) continue;
        inserta_ranking(b.data(), c.difi, c.lugar, c.total, "QRS");
        EXPECT_EQ(b, con_registro(c.difi, c.lugar, c.total, "QRS")) << c.total;
    }
    Bloque b = ranking_base();
    b[80 + 3] = 0x80; // place 1 of table 1 holds 2^31 + 10100: above any total, unsigned
    EXPECT_EQ(posicion_ranking(b.data(), 1, 2000000000u), 1);
    // Initials move as a string of at most three: what follows a zero is not kept.
    b[80 + 8 * 5 + 5] = 0;
    inserta_ranking(b.data(), 1, 0, 50000, "AAA");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[80 + 8 * 6 + 4]), 3),
              std::string("B\0\0", 3));
}

} // namespace
