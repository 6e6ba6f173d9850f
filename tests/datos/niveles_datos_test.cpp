// The shipped levels and starting ranking: they compile, stay in range, follow the tile sheet's
// neighbour rules, make a difficulty curve that can always be driven through, and the ranking
// tables are ordered and within reach.
#include "formato.h"
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace nivel;

namespace {

constexpr int PELIGRO = 6, BOLSA = 7, CARRILES = 4;
constexpr int PASE = COLUMNAS;

std::string lee(const fs::path &ruta) {
    std::ifstream in(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool en_carril(const Objeto &o) {
    return o.posy >= 24 && o.posy <= 96 && o.posy % 24 == 0;
}
int carril(const Objeto &o) {
    return o.posy / 24 - 1;
}

struct Shipped {
    std::vector<std::string> nombres; // play order
    std::vector<Nivel> niveles;
};

// Every level text, compiled, in file-name order (the game's play order).
const Shipped &shipped() {
    static const Shipped s = [] {
        Shipped r;
        std::vector<fs::path> rutas;
        for (const auto &e : fs::directory_iterator(fs::path(VZ_FUENTES_DIR) / "data/levels"))
            if (e.path().extension() == ".txt") rutas.push_back(e.path());
        std::sort(rutas.begin(), rutas.end());
        for (const auto &p : rutas) {
            Nivel n;
            std::string error;
            EXPECT_TRUE(lee_texto(lee(p), p.filename().string(), n, error)) << error;
            r.nombres.push_back(p.stem().string());
            r.niveles.push_back(n);
        }
        return r;
    }();
    return s;
}

int cuenta(const Nivel &n, int tipo_min, int tipo_max) {
    return static_cast<int>(std::count_if(n.objetos.begin(), n.objetos.end(), [&](const Objeto &o) {
        return o.tipo >= tipo_min && o.tipo <= tipo_max;
    }));
}

// Hazard lanes by column.
std::map<int, std::set<int>> peligros(const Nivel &n) {
    std::map<int, std::set<int>> p;
    for (const auto &o : n.objetos)
        if (o.tipo == PELIGRO && en_carril(o)) p[o.columna].insert(carril(o));
    return p;
}

// One tile of data/arte/tiles.txt: its rows, type, and what it accepts on each side.
struct Tile {
    std::set<int> filas;
    std::string tipo;
    std::set<std::string> izq, der, arr, aba;
};

std::set<std::string> lista(const std::string &s) {
    std::set<std::string> r;
    std::istringstream in(s);
    for (std::string w; std::getline(in, w, ',');)
        r.insert(w);
    return r;
}

std::map<int, Tile> tiles() {
    std::map<int, Tile> t;
    std::istringstream in(lee(fs::path(VZ_FUENTES_DIR) / "data/arte/tiles.txt"));
    for (std::string linea; std::getline(in, linea);) {
        linea = linea.substr(0, linea.find('#'));
        std::istringstream ws(linea);
        int idx;
        std::string nombre, filas, tipo, izq, der, arr, aba;
        if (!(ws >> idx >> nombre >> filas >> tipo >> izq >> der >> arr >> aba)) continue;
        Tile &x = t[idx];
        for (const auto &f : lista(filas))
            x.filas.insert(std::stoi(f));
        x.tipo = tipo;
        x.izq = lista(izq), x.der = lista(der), x.arr = lista(arr), x.aba = lista(aba);
    }
    return t;
}

// A side list names a tile by its type or by its index.
bool nombra(const std::set<std::string> &lado, int t, const std::map<int, Tile> &ts) {
    return lado.count(ts.at(t).tipo) || lado.count(std::to_string(t));
}

} // namespace

TEST(NivelesDatos, TenToFifteenLevelsEachStagedAsItsCompiledText) {
    const Shipped &s = shipped();
    EXPECT_GE(s.niveles.size(), 10u);
    EXPECT_LE(s.niveles.size(), 15u); // the game plays the first fifteen only
    std::set<std::string> mapas;
    for (const auto &e : fs::directory_iterator(fs::path(VZ_RUN_DIR) / "levels"))
        mapas.insert(e.path().stem().string());
    EXPECT_EQ(mapas, std::set<std::string>(s.nombres.begin(), s.nombres.end()));
    for (size_t i = 0; i < s.niveles.size(); i++) {
        const auto texto = lee(fs::path(VZ_RUN_DIR) / "levels" / (s.nombres[i] + ".map"));
        EXPECT_EQ(std::vector<uint8_t>(texto.begin(), texto.end()), a_binario(s.niveles[i]))
            << s.nombres[i] << ".map is not its compiled text";
    }
}

TEST(NivelesDatos, StagedMapsReadBackWithinRange) {
    for (const auto &e : fs::directory_iterator(fs::path(VZ_RUN_DIR) / "levels")) {
        const std::string nombre = e.path().filename().string();
        const auto texto = lee(e.path());
        ASSERT_EQ(texto.size(), static_cast<size_t>(TAM)) << nombre;
        Nivel n;
        std::string error;
        ASSERT_TRUE(de_binario(std::vector<uint8_t>(texto.begin(), texto.end()), n, error));
        EXPECT_GE(n.velocidad, 1) << nombre;
        EXPECT_LE(n.velocidad, 3) << nombre;
        for (const auto &fila : n.mapa)
            for (uint8_t t : fila)
                ASSERT_LE(t, MAX_TILE) << nombre;
        for (const auto &o : n.objetos) {
            EXPECT_LE(o.tipo, MAX_TIPO) << nombre;
            EXPECT_LE(o.columna, MAX_COLUMNA) << nombre;
            // anything the truck can meet must stand in a lane, or it is silently harmless
            if (o.tipo >= 1 && o.tipo <= BOLSA) {
                EXPECT_TRUE(en_carril(o)) << nombre << " column " << o.columna;
            }
        }
        EXPECT_LE(max_visibles(n), 30) << nombre; // the draw list holds 30
    }
}

TEST(NivelesDatos, SpeedAndHazardsRiseAlongThePlayOrder) {
    const Shipped &s = shipped();
    ASSERT_GE(s.niveles.size(), 3u);
    EXPECT_EQ(s.niveles.front().velocidad, 1);
    EXPECT_EQ(s.niveles.back().velocidad, 3);
    std::vector<int> p;
    for (size_t i = 0; i < s.niveles.size(); i++) {
        if (i > 0) {
            EXPECT_GE(s.niveles[i].velocidad, s.niveles[i - 1].velocidad) << s.nombres[i];
        }
        p.push_back(cuenta(s.niveles[i], PELIGRO, PELIGRO));
    }
    // thirds of the list: each has more hazards than the one before; the first level the fewest
    const size_t t = p.size() / 3;
    auto suma = [&](size_t a, size_t b) {
        return std::accumulate(p.begin() + a, p.begin() + b, 0);
    };
    EXPECT_LT(suma(0, t), suma(t, 2 * t));
    EXPECT_LT(suma(t, 2 * t), suma(p.size() - t, p.size()));
    EXPECT_EQ(*std::min_element(p.begin(), p.end()), p.front());
    EXPECT_GT(p.front(), 0);
}

TEST(NivelesDatos, MapsFollowTheTileNeighbourRules) {
    const auto ts = tiles();
    ASSERT_EQ(ts.size(), 40u);
    std::set<int> usados;
    const Shipped &s = shipped();
    for (size_t i = 0; i < s.niveles.size(); i++) {
        const auto &m = s.niveles[i].mapa;
        for (int r = 0; r < FILAS; r++)
            for (int c = 0; c < COLUMNAS; c++) {
                const int t = m[r][c];
                usados.insert(t);
                const std::string donde =
                    s.nombres[i] + " row " + std::to_string(r) + " column " + std::to_string(c);
                ASSERT_TRUE(ts.at(t).filas.count(r)) << donde << ": tile " << t;
                // the map repeats every pass, so column 199 is followed by column 0
                const int d = m[r][(c + 1) % COLUMNAS];
                EXPECT_TRUE(nombra(ts.at(t).der, d, ts) && nombra(ts.at(d).izq, t, ts))
                    << donde << ": " << t << " then " << d;
                if (r + 1 < FILAS) {
                    const int u = m[r + 1][c];
                    EXPECT_TRUE(nombra(ts.at(t).aba, u, ts) && nombra(ts.at(u).arr, t, ts))
                        << donde << ": " << t << " above " << u;
                }
            }
        // a bridge spans the whole road or nothing
        for (int c = 0; c < COLUMNAS; c++) {
            int puente = 0;
            for (int r = 4; r < FILAS; r++)
                puente += ts.at(m[r][c]).tipo.rfind("bridge", 0) == 0;
            EXPECT_TRUE(puente == 0 || puente == 4) << s.nombres[i] << " column " << c;
        }
    }
    for (int t = 0; t <= MAX_TILE; t++)
        EXPECT_TRUE(usados.count(t)) << "tile " << t << " unused";
}

TEST(NivelesDatos, EveryLevelCanBeDrivenThrough) {
    const Shipped &s = shipped();
    for (size_t i = 0; i < s.niveles.size(); i++) {
        const Nivel &n = s.niveles[i];
        const std::string &nombre = s.nombres[i];
        const auto p = peligros(n);
        for (const auto &[c, carriles] : p) {
            // never all four lanes barred within six columns
            std::set<int> juntos;
            for (int d = 0; d < 6; d++)
                if (p.count(c + d)) juntos.insert(p.at(c + d).begin(), p.at(c + d).end());
            EXPECT_LT(juntos.size(), 4u) << nombre << " columns " << c << "-" << c + 5;
            // the gap of a wall stays open long enough to react to what comes next
            if (carriles.size() == 3) {
                int libre = 0;
                while (carriles.count(libre))
                    libre++;
                for (int d = 1; d < 8; d++)
                    EXPECT_FALSE(p.count(c + d) && p.at(c + d).count(libre))
                        << nombre << ": the gap of the wall at " << c << " closes at " << c + d;
            }
        }
        std::array<int, 4> por_pase{};
        for (const auto &o : n.objetos) {
            if (!en_carril(o) || o.tipo == 0) continue;
            // seen before it arrives, and gone before the road stops under the truck
            EXPECT_GE(o.columna, 12) << nombre;
            EXPECT_LE(o.columna, 4 * PASE - 11) << nombre;
            por_pase[std::min(o.columna / PASE, 3)]++;
            if (o.tipo == PELIGRO) continue;
            // two objects in one lane at once: the later record wins, so nothing may crowd a
            // hazard and hide it (remains) or be hidden by it
            for (int d = -2; d <= 2; d++)
                EXPECT_FALSE(p.count(o.columna + d) && p.at(o.columna + d).count(carril(o)))
                    << nombre << " column " << o.columna << " lane " << carril(o);
        }
        for (int k = 0; k < 4; k++)
            EXPECT_GE(por_pase[k], 5) << nombre << " pass " << k + 1;
    }
}

TEST(NivelesDatos, StartingRankingIsOrderedAndWithinReach) {
    const auto ruta = fs::path(VZ_RUN_DIR).parent_path() / "gen/datos/ranking.dat";
    const std::string b = lee(ruta);
    ASSERT_EQ(b.size(), 240u) << ruta;
    // best total of the shipped levels: every monster and bag, extra lives, lives bonus
    long puntos = 0;
    for (const auto &n : shipped().niveles)
        puntos += 200L * cuenta(n, 1, 5) + 50L * cuenta(n, BOLSA, BOLSA);
    const int vidas[3] = {6, 5, 4};
    for (int d = 0; d < 3; d++) {
        const long maximo = puntos + 3000L * (vidas[d] + puntos / 10000);
        uint32_t antes = UINT32_MAX;
        for (int r = 0; r < 10; r++) {
            const auto *p = reinterpret_cast<const uint8_t *>(b.data()) + 80 * d + 8 * r;
            const uint32_t v = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
            EXPECT_LE(v, antes) << "table " << d << " place " << r + 1;
            antes = v;
            for (int k = 4; k < 7; k++)
                EXPECT_TRUE(p[k] >= 'A' && p[k] <= 'Z') << d << "/" << r;
            EXPECT_EQ(p[7], 0);
            if (r == 0) { // beatable, but a good run's worth
                EXPECT_GE(v, maximo * 55 / 100) << "table " << d;
                EXPECT_LE(v, maximo * 75 / 100) << "table " << d;
            }
            if (r == 9) { // a first finished game enters
                EXPECT_LE(v, maximo * 15 / 100) << "table " << d;
            }
        }
    }
}
