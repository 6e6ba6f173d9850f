// The staged levels read byte by byte as the game reads them and held to the level rules; and the
// level tool's text form, which every shipped level goes through.
#include "formato.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int PELIGRO = 6, BOLSA = 7;

// Every staged level in play order (file-name order), as the bytes the game reads.
std::vector<std::pair<std::string, std::vector<uint8_t>>> niveles() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> ms;
    for (const auto &e : fs::directory_iterator(fs::path(VZ_RUN_DIR) / "levels")) {
        std::ifstream in(e.path(), std::ios::binary);
        ms.push_back({e.path().filename().string(), {std::istreambuf_iterator<char>(in), {}}});
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

// The rows each tile is drawn for, from the tile legend of the art sources.
std::map<int, std::set<int>> filas_de_tiles() {
    std::map<int, std::set<int>> r;
    std::ifstream in(fs::path(VZ_FUENTES_DIR) / "data/arte/tiles.txt");
    for (std::string linea; std::getline(in, linea);) {
        std::istringstream w(linea.substr(0, linea.find('#')));
        int idx;
        std::string nombre, filas;
        if (!(w >> idx >> nombre >> filas)) continue;
        for (char c : filas) // "4,5,6,7"
            if (std::isdigit(c)) r[idx].insert(c - '0');
    }
    return r;
}

TEST(Niveles, EveryLevelKeepsTheLevelRules) {
    const auto filas = filas_de_tiles();
    ASSERT_EQ(filas.size(), 40u);
    const auto ns = niveles();
    ASSERT_GE(ns.size(), 3u);
    EXPECT_LE(ns.size(), 15u) << "the game plays the first fifteen only";
    EXPECT_EQ(ns.front().second.at(0), 1) << "speed codes rise from 1 to 3 along the play order";
    EXPECT_EQ(ns.back().second.at(0), 3);
    for (size_t i = 0; i < ns.size(); i++) {
        const auto &[nombre, b] = ns[i];
        SCOPED_TRACE(nombre);
        ASSERT_EQ(b.size(), 2801u);
        EXPECT_TRUE(b[0] >= 1 && b[0] <= 3 && (i == 0 || b[0] >= ns[i - 1].second[0])) << int(b[0]);
        for (int k = 0; k < 1600; k++) // tile of row r, column c at 1 + 200 r + c
            ASSERT_TRUE(b[1 + k] < 40 && filas.at(b[1 + k]).count(k / 200))
                << "tile " << int(b[1 + k]) << " at row " << k / 200 << " column " << k % 200;
        std::vector<int> xs;                   // level x of every non-empty object
        std::map<int, std::set<int>> peligros; // column -> lanes barred
        for (size_t o = 1601; o < b.size(); o += 4) {
            const int columna = b[o] | b[o + 1] << 8, posy = b[o + 2], tipo = b[o + 3];
            EXPECT_LE(tipo, 8) << "column " << columna;
            if (!tipo) continue;
            xs.push_back(32 * columna);
            // the truck meets it in a lane, after seeing it come and before the road stops
            if (tipo > BOLSA) continue;
            EXPECT_TRUE(posy % 24 == 0 && posy >= 24 && posy <= 96) << columna << " y " << posy;
            EXPECT_TRUE(columna >= 12 && columna <= 789) << columna;
            if (tipo == PELIGRO) peligros[columna].insert(posy);
        }
        // The view shows level x from v - 35 to v + 317; the draw list holds 30 objects.
        std::sort(xs.begin(), xs.end());
        for (size_t j = 0, k = 0; k < xs.size(); k++) {
            while (xs[k] - xs[j] > 352)
                j++;
            EXPECT_LE(k - j + 1, 30u) << "from level x " << xs[j];
        }
        // Hazards never bar all four lanes within six columns.
        for (const auto &[c, barrados] : peligros) {
            std::set<int> juntos = barrados;
            for (auto k = peligros.find(c); k != peligros.end() && k->first < c + 6; ++k)
                juntos.insert(k->second.begin(), k->second.end());
            EXPECT_LT(juntos.size(), 4u) << "all lanes barred from column " << c;
        }
    }
}

TEST(TextoNivel, AnyMapTurnsIntoTextThatCompilesBackToTheSameBytes) {
    std::mt19937 azar(7);
    std::vector<uint8_t> b(nivel::TAM, 0);
    b[0] = 3;
    for (int i = 1; i <= 1600; i++)
        b[i] = uint8_t(azar() % 40);
    for (int i = 0; i < 240; i += 2) { // lanes, scenery heights and empty records between
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

TEST(TextoNivel, RefusesWhatTheGameCannotPlayNamingTheLine) {
    std::string cabecera = "velocidad 2\ntile . 0\nmapa\n", muchos;
    for (int r = 0; r < 8; r++)
        cabecera += std::string(200, '.') + "\n";
    for (int i = 0; i < 301; i++)
        muchos += "10 1 bolsa\n";
    const std::pair<std::string, std::string> casos[] = {
        {"velocidad 4\n", ":1: speed"},
        {"velocidad 1\ntile . 0\nmapa\n..x\n", ":4:"},
        {cabecera + "objetos\n5 1 9\n", ":13:"},
        {cabecera + "objetos\n" + muchos, "300"}};
    for (const auto &[texto, que] : casos) {
        nivel::Nivel n;
        std::string err;
        EXPECT_FALSE(nivel::lee_texto(texto, "lvl.txt", n, err)) << texto.substr(0, 40);
        EXPECT_NE(err.find(que), std::string::npos) << err;
    }
}

} // namespace
