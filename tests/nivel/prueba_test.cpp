// The autopilot on the shipped levels, and the level tool's refusals of levels that cannot ship.
#include "prueba.h"
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Exit status and error output of `nivel compila` on a level text; out.map is kept only on success.
struct Compilado {
    int estado;
    std::string error;
    bool mapa;
};

Compilado compila(const std::string &objetos)
{
    const fs::path dir = fs::temp_directory_path() / ("nivel_prueba_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string texto = "velocidad 1\ntile . 0\nmapa\n";
    for (int r = 0; r < 8; r++) texto += std::string(200, '.') + "\n";
    std::ofstream(dir / "in.txt") << texto << "objetos\n" << objetos;
    const std::string orden = std::string(NIVEL_BIN) + " compila " + (dir / "in.txt").string() + " " +
                              (dir / "out.map").string() + " 2>" + (dir / "err.txt").string();
    Compilado c{std::system(orden.c_str()), "", fs::exists(dir / "out.map")};
    std::ifstream err(dir / "err.txt");
    std::getline(err, c.error);
    fs::remove_all(dir);
    return c;
}

TEST(Prueba, ShippedLevelsAreWinnableAndTighten)
{
    ASSERT_TRUE(nivel::prepara_prueba());
    std::vector<fs::path> mapas;
    for (const auto &e : fs::directory_iterator(NIVELES_DIR))
        if (e.path().extension() == ".map") mapas.push_back(e.path());
    std::sort(mapas.begin(), mapas.end());
    ASSERT_EQ(mapas.size(), 12u);
    constexpr int UN_TICK_MS = 14; // where a barrel falls within a scroll step moves it by a tick
    int antes[3] = {1 << 30, 1 << 30, 1 << 30};
    for (const auto &m : mapas) {
        for (int d = 0; d < 3; d++) {
            const nivel::Prueba p = nivel::prueba(m.string(), d);
            const std::string donde = m.filename().string() + " difficulty " + std::to_string(d);
            EXPECT_TRUE(p.ganable) << donde;
            EXPECT_GT(p.mejor, 0u) << donde;
            ASSERT_GE(p.tension_ms, 0) << donde << ": no barrel forces a move";
            EXPECT_LE(p.tension_ms, antes[d] + UN_TICK_MS) << donde << " at column " << p.columna;
            antes[d] = p.tension_ms;
            if (&m == &mapas.front() && d == 0) {
                EXPECT_GE(p.tension_ms, 1000) << donde;
            }
            // At 10 pixels a tick a barrel takes 23.8 ticks (317 ms) from view to the truck.
            if (&m == &mapas.back() && d == 2) {
                EXPECT_LE(p.tension_ms, 317) << donde;
                EXPECT_GE(p.tension_ms, 280) << donde;
            }
        }
    }
}

TEST(Prueba, FourBarrelsAcrossTheRoadAreRefused)
{
    const Compilado abierto = compila("100 0 peligro\n100 1 peligro\n100 3 peligro\n");
    EXPECT_EQ(abierto.estado, 0) << abierto.error;
    EXPECT_TRUE(abierto.mapa);
    const Compilado cerrado = compila("100 0 peligro\n100 1 peligro\n100 2 peligro\n100 3 peligro\n");
    EXPECT_NE(cerrado.estado, 0);
    EXPECT_FALSE(cerrado.mapa);
    EXPECT_NE(cerrado.error.find("cannot be won on VOY DE PASEO"), std::string::npos) << cerrado.error;
}

// 31 objects over columns 50..50+span: the view shows screen x -35..317, so the first and the last
// column are on screen together when they are at most 11 columns (352 pixels) apart.
class Visibles : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

TEST_P(Visibles, AtMostThirtyOnScreenAtOnce)
{
    const auto [cuantos, tramo, aceptado] = GetParam();
    std::string objetos;
    for (int i = 0; i < cuantos; i++)
        objetos += std::to_string(50 + (i == cuantos - 1 ? tramo : i % tramo)) + " y=0 restos\n";
    const Compilado c = compila(objetos);
    EXPECT_EQ(c.estado == 0, aceptado) << c.error;
    EXPECT_EQ(c.mapa, aceptado);
    if (!aceptado) {
        EXPECT_NE(c.error.find("31 objects visible at once"), std::string::npos) << c.error;
    }
}

INSTANTIATE_TEST_SUITE_P(Nivel, Visibles,
                         ::testing::Values(std::make_tuple(31, 11, false), std::make_tuple(31, 12, true),
                                           std::make_tuple(30, 11, true)));

} // namespace
