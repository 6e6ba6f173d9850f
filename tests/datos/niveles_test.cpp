// The staged levels read byte by byte as the game reads them and held to the level rules. (The
// level tool's text form both ways: fuzz_herramienta.)
#include "formato.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

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

} // namespace
