// The staged levels read byte by byte as the game reads them and held to the level rules; and the
// level tool's text form, which every shipped level goes through.
#include "formato.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

TEST(Niveles, EveryLevelKeepsTheLevelRules) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> ns; // play order is name order
    for (const auto &e : fs::directory_iterator(fs::path(VZ_RUN_DIR) / "levels")) {
        std::ifstream in(e.path(), std::ios::binary);
        ns.push_back({e.path().filename().string(), {std::istreambuf_iterator<char>(in), {}}});
    }
    std::sort(ns.begin(), ns.end());
    ASSERT_GE(ns.size(), 3u);
    EXPECT_LE(ns.size(), 15u) << "the game plays the first fifteen only";
    for (const auto &[nombre, b] : ns) {
        SCOPED_TRACE(nombre);
        ASSERT_EQ(b.size(), 2801u);
        EXPECT_TRUE(b[0] >= 1 && b[0] <= 3) << "speed code " << int(b[0]);
        EXPECT_LT(*std::max_element(b.begin() + 1, b.begin() + 1601), 40) << "no such tile";
        std::vector<int> xs; // level x of every non-empty object
        for (size_t o = 1601; o < b.size(); o += 4) {
            const int columna = b[o] | b[o + 1] << 8, posy = b[o + 2], tipo = b[o + 3];
            EXPECT_LE(tipo, 8) << "column " << columna;
            if (!tipo) continue;
            xs.push_back(32 * columna);
            // the truck meets it in a lane, after seeing it come and before the road stops
            if (tipo > 7) continue;
            EXPECT_TRUE(posy % 24 == 0 && posy >= 24 && posy <= 96) << columna << " y " << posy;
            EXPECT_TRUE(columna >= 12 && columna <= 789) << columna;
        }
        // The view shows level x from v - 35 to v + 317; the draw list holds 30 objects.
        std::sort(xs.begin(), xs.end());
        for (size_t j = 0, k = 0; k < xs.size(); k++) {
            while (xs[k] - xs[j] > 352)
                j++;
            EXPECT_LE(k - j + 1, 30u) << "from level x " << xs[j];
        }
    }
}

// `nivel texto` turns any map back into text, scenery at odd heights and empty records included.
TEST(TextoNivel, AnyMapTurnsIntoTextThatCompilesBackToTheSameBytes) {
    std::mt19937 azar(7);
    std::vector<uint8_t> b(nivel::TAM, 0);
    b[0] = 3;
    for (int i = 1; i <= 1600; i++)
        b[i] = uint8_t(azar() % 40);
    for (int i = 0; i < 240; i += 2) {
        uint8_t *p = b.data() + 1601 + 4 * i;
        const int col = int(azar() % 801);
        p[0] = uint8_t(col), p[1] = uint8_t(col >> 8);
        p[2] = uint8_t(i % 3 == 0 ? azar() % 256 : 24 * (1 + azar() % 4));
        p[3] = uint8_t(azar() % 9);
    }
    nivel::Nivel n, vuelta;
    std::string err;
    ASSERT_TRUE(nivel::de_binario(b, n, err)) << err;
    ASSERT_TRUE(nivel::lee_texto(nivel::escribe_texto(n), "vuelta", vuelta, err)) << err;
    EXPECT_EQ(nivel::a_binario(vuelta), b);
}

} // namespace
