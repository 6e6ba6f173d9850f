// The autopilot on the shipped levels, and the level tool's refusals of levels that cannot ship.
#include "formato.h"
#include "prueba.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path DIR = fs::temp_directory_path() / ("nivel_prueba_" + std::to_string(::getpid()));

// A level of empty road with these objects.
std::string texto(const std::string &objetos, int velocidad)
{
    std::string t = "velocidad " + std::to_string(velocidad) + "\ntile . 0\nmapa\n";
    for (int r = 0; r < 8; r++) t += std::string(200, '.') + "\n";
    return t + "objetos\n" + objetos;
}

// Exit status and error output of `nivel compila` on a level text; out.map is kept only on success.
struct Compilado {
    int estado;
    std::string error;
    bool mapa;
};

Compilado compila(const std::string &objetos, int velocidad = 1)
{
    fs::create_directories(DIR);
    std::ofstream(DIR / "in.txt") << texto(objetos, velocidad);
    const std::string orden = std::string(NIVEL_BIN) + " compila " + (DIR / "in.txt").string() +
                              " " + (DIR / "out.map").string() + " 2>" + (DIR / "err.txt").string();
    Compilado c{std::system(orden.c_str()), "", fs::exists(DIR / "out.map")};
    std::ifstream err(DIR / "err.txt");
    std::getline(err, c.error);
    fs::remove_all(DIR);
    return c;
}

// The level written straight to a .map, past the tool's checks.
std::string mapa(const std::string &objetos, const std::string &nombre, int velocidad = 1)
{
    nivel::Nivel n;
    std::string error;
    EXPECT_TRUE(nivel::lee_texto(texto(objetos, velocidad), nombre, n, error)) << error;
    const auto b = nivel::a_binario(n);
    fs::create_directories(DIR);
    std::ofstream(DIR / nombre, std::ios::binary)
        .write(reinterpret_cast<const char *>(b.data()), b.size());
    return (DIR / nombre).string();
}

const char *const MURO = "100 0 peligro\n100 1 peligro\n100 2 peligro\n100 3 peligro\n";

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
            // At 3 pixels a tick a lone barrel leaves 68 ticks (906 ms) after a lane change.
            if (&m == &mapas.front() && d == 0) {
                EXPECT_GE(p.tension_ms, 906) << donde;
            }
        }
    }
}

TEST(Prueba, FourBarrelsAcrossTheRoadAreRefused)
{
    const Compilado abierto = compila("100 0 peligro\n100 1 peligro\n100 3 peligro\n");
    EXPECT_EQ(abierto.estado, 0) << abierto.error;
    EXPECT_TRUE(abierto.mapa);
    const Compilado cerrado = compila(MURO);
    EXPECT_NE(cerrado.estado, 0);
    EXPECT_FALSE(cerrado.mapa);
    EXPECT_NE(cerrado.error.find("cannot be won on VOY DE PASEO"), std::string::npos)
        << cerrado.error;
}

// Status 1 when some level is lost on some difficulty, and every line is still printed.
TEST(Prueba, ExitStatusSaysWhetherEveryLevelIsWinnable)
{
    const std::string abierto = mapa("100 0 peligro\n100 1 peligro\n100 3 peligro\n", "a.map");
    int lineas[2] = {}; // lines with "winnable yes", "winnable no"
    auto corre = [&lineas](const std::string &mapas) {
        FILE *p = ::popen((std::string(NIVEL_BIN) + " prueba " + mapas).c_str(), "r");
        char l[256];
        for (lineas[0] = lineas[1] = 0; std::fgets(l, sizeof l, p);)
            for (int i : {0, 1})
                lineas[i] += std::strstr(l, i ? "winnable no " : "winnable yes") != nullptr;
        return ::pclose(p);
    };
    EXPECT_EQ(corre(abierto), 0);
    EXPECT_NE(corre(mapa(MURO, "c.map") + " " + abierto), 0);
    EXPECT_EQ(lineas[0], 3);
    EXPECT_EQ(lineas[1], 3);
    fs::remove_all(DIR);
}

// Barrels in lanes 0, 2 and 3 hold the truck in lane 1 for the monster behind them; its splash
// steers on one tick in four, and the barrels behind it leave one way out between lanes: the
// phase of that tick and the scroll's carry decide whether the truck finds it.
TEST(Prueba, ALevelLostFromSomeStartingPhaseIsRefused)
{
    ASSERT_TRUE(nivel::prepara_prueba());
    const char *const FASE =
        "23 0 peligro\n23 2 peligro\n23 3 peligro\n24 1 bicho1\n25 1 peligro\n25 0 peligro\n"
        "25 2 peligro\n";
    const Compilado c = compila(FASE, 2);
    EXPECT_NE(c.estado, 0);
    EXPECT_FALSE(c.mapa);
    EXPECT_NE(c.error.find("without losing a life from tick % 4 ="), std::string::npos) << c.error;
    const nivel::Prueba p = nivel::prueba(mapa(FASE, "f.map", 2), 0);
    EXPECT_TRUE(p.completa); // no state dropped: the loss is proven
    EXPECT_EQ(p.fases, 8);   // tick % 4 times the carries 0 and 0.5
    EXPECT_GT(p.ganadas, 0);
    EXPECT_LT(p.ganadas, p.fases);
    fs::remove_all(DIR);
}

// The tightest moment runs from the later of the barrel showing and the truck coming to rest.
TEST(Prueba, TightestCountsFromTheRestAfterAForcedMove)
{
    ASSERT_TRUE(nivel::prepara_prueba());
    struct Caso {
        const char *objetos;
        int columna, desde, hasta; // ms on VOY DE PASEO
    } const casos[] = {
        // Alone: the view's crossing less a lane change pressed before the barrel showed.
        {"100 2 peligro\n", 100, 906, 1053},
        // Dodged upwards at the last moment, the truck rests in lane 1 ten ticks before the next.
        {"100 2 peligro\n102 1 peligro\n", 102, 120, 150},
        // One column behind: upwards from lane 3 saves only if pressed early, so no chain follows.
        {"100 3 peligro\n101 2 peligro\n", 100, 880, 1053},
        // Downwards 128 pixels before the next; upwards early into the first one's lane is no
        // chain.
        {"100 2 peligro\n96 1 peligro\n", 100, 400, 440},
    };
    for (const Caso &c : casos) {
        const nivel::Prueba p = nivel::prueba(mapa(c.objetos, "t.map"), 0);
        EXPECT_EQ(p.columna, c.columna) << c.objetos;
        EXPECT_GE(p.tension_ms, c.desde) << c.objetos;
        EXPECT_LE(p.tension_ms, c.hasta) << c.objetos;
    }
    fs::remove_all(DIR);
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
                         ::testing::Values(std::make_tuple(31, 11, false),
                                           std::make_tuple(31, 12, true),
                                           std::make_tuple(30, 11, true)));

} // namespace
