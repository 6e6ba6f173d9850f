// The staged levels read byte by byte as the game reads them and held to the level rules; and the
// level tool's text form, which every shipped level goes through.
#include "formato.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int PELIGRO = 6, BOLSA = 7;

struct Objeto {
    int columna, posy, tipo;
    bool en_carril() const { return posy >= 24 && posy <= 96 && posy % 24 == 0; }
};

struct Mapa {
    std::string nombre;
    std::vector<uint8_t> b; // the file; tile of row r, column c at 1 + 200 r + c
    std::vector<Objeto> objetos;
};

// Every staged level in play order (file-name order).
std::vector<Mapa> niveles() {
    std::vector<Mapa> ms;
    for (const auto &e : fs::directory_iterator(fs::path(VZ_RUN_DIR) / "levels")) {
        std::ifstream in(e.path(), std::ios::binary);
        Mapa m{e.path().filename().string(), {std::istreambuf_iterator<char>(in), {}}, {}};
        for (size_t o = 1601; o + 4 <= m.b.size(); o += 4)
            m.objetos.push_back({m.b[o] | m.b[o + 1] << 8, m.b[o + 2], m.b[o + 3]});
        ms.push_back(m);
    }
    std::sort(ms.begin(), ms.end(),
              [](const Mapa &a, const Mapa &b) { return a.nombre < b.nombre; });
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
        std::istringstream f(filas);
        for (std::string n; std::getline(f, n, ',');)
            r[idx].insert(std::stoi(n));
    }
    return r;
}

TEST(Niveles, EveryLevelKeepsTheLevelRules) {
    const auto filas = filas_de_tiles();
    ASSERT_EQ(filas.size(), 40u);
    const auto ns = niveles();
    ASSERT_GE(ns.size(), 3u);
    EXPECT_LE(ns.size(), 15u) << "the game plays the first fifteen only";
    EXPECT_EQ(ns.front().b.at(0), 1) << "speed codes rise from 1 to 3 along the play order";
    EXPECT_EQ(ns.back().b.at(0), 3);
    for (size_t i = 0; i < ns.size(); i++) {
        const Mapa &m = ns[i];
        SCOPED_TRACE(m.nombre);
        ASSERT_EQ(m.b.size(), 2801u);
        EXPECT_TRUE(m.b[0] >= 1 && m.b[0] <= 3) << "speed code " << int(m.b[0]);
        if (i > 0) {
            EXPECT_GE(m.b[0], ns[i - 1].b[0]);
        }
        for (int k = 0; k < 1600; k++)
            ASSERT_TRUE(m.b[1 + k] < 40 && filas.at(m.b[1 + k]).count(k / 200))
                << "tile " << int(m.b[1 + k]) << " at row " << k / 200 << " column " << k % 200;
        std::vector<int> xs;                   // level x of every non-empty object
        std::map<int, std::set<int>> peligros; // column -> lanes barred
        for (const Objeto &o : m.objetos) {
            EXPECT_LE(o.tipo, 8) << "column " << o.columna;
            if (!o.tipo) continue;
            xs.push_back(32 * o.columna);
            // what the truck can meet stands in a lane (or it is harmless), seen before it comes
            // and passed before the road stops
            if (o.tipo > BOLSA) continue;
            EXPECT_TRUE(o.en_carril()) << "column " << o.columna << " y " << o.posy;
            EXPECT_GE(o.columna, 12);
            EXPECT_LE(o.columna, 789);
            if (o.tipo == PELIGRO) peligros[o.columna].insert(o.posy);
        }
        // The view shows level x from v - 35 to v + 317; the draw list holds 30 objects.
        std::sort(xs.begin(), xs.end());
        for (size_t j = 0; j < xs.size(); j++)
            EXPECT_LE(
                int(std::upper_bound(xs.begin(), xs.end(), xs[j] + 352) - xs.begin()) - int(j), 30)
                << "from level x " << xs[j];
        // Hazards never bar all four lanes within six columns.
        for (const auto &[c, carriles] : peligros) {
            std::set<int> juntos;
            for (int d = 0; d < 6; d++)
                if (peligros.count(c + d))
                    juntos.insert(peligros[c + d].begin(), peligros[c + d].end());
            EXPECT_LT(juntos.size(), 4u) << "all lanes barred from column " << c;
        }
    }
}

std::string mapa_texto(char relleno, int columnas = nivel::COLUMNAS) {
    std::string t;
    for (int r = 0; r < nivel::FILAS; r++)
        t += std::string(size_t(columnas), relleno) + "\n";
    return t;
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
    const std::string cabecera = "velocidad 2\ntile . 0\nmapa\n" + mapa_texto('.') + "objetos\n";
    std::string muchos = cabecera;
    for (int i = 0; i < 301; i++)
        muchos += "10 1 bolsa\n";
    const struct {
        std::string texto, que;
    } casos[] = {
        {"velocidad 4\n", ":1: speed"},
        {"velocidad 1\ntile a 40\n", ":2:"},
        {cabecera + "801 1 bolsa\n", ":13:"},
        {cabecera + "5 4 bolsa\n", ":13:"},
        {cabecera + "5 y=256 bolsa\n", ":13:"},
        {cabecera + "5 1 9\n", ":13:"},
        {"velocidad 1\ntile . 0\nmapa\n...x\n", ":4:"},
        {muchos, "300"},
    };
    for (const auto &c : casos) {
        nivel::Nivel n;
        std::string err;
        EXPECT_FALSE(nivel::lee_texto(c.texto, "lvl.txt", n, err)) << c.texto.substr(0, 40);
        EXPECT_NE(err.find(c.que), std::string::npos) << err;
    }
}

} // namespace
