// The autopilot on the shipped levels, and the level tool's refusals of levels that cannot ship.
// (Shipped levels within 30 objects on screen: niveles_test.cpp.)
#include "formato.h"
#include "prueba.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path DIR = fs::temp_directory_path() / ("nivel_prueba_" + std::to_string(::getpid()));

// A level of empty road with these objects.
std::string texto(const std::string &objetos, int velocidad) {
    std::string t = "velocidad " + std::to_string(velocidad) + "\ntile . 0\nmapa\n";
    for (int r = 0; r < 8; r++)
        t += std::string(200, '.') + "\n";
    return t + "objetos\n" + objetos;
}

// The level written straight to a .map, past the tool's checks.
std::string mapa(const std::string &objetos, const std::string &nombre, int velocidad = 1) {
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

TEST(Prueba, ShippedLevelsAreWinnableAndTighten) {
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

// Status 1 when some level is lost on some difficulty, and every line is still printed.
TEST(Prueba, ExitStatusSaysWhetherEveryLevelIsWinnable) {
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
TEST(Prueba, ALevelLostFromSomeStartingPhaseIsRefused) {
    ASSERT_TRUE(nivel::prepara_prueba());
    const char *const FASE =
        "23 0 peligro\n23 2 peligro\n23 3 peligro\n24 1 bicho1\n25 1 peligro\n25 0 peligro\n"
        "25 2 peligro\n";
    fs::create_directories(DIR);
    std::ofstream(DIR / "in.txt") << texto(FASE, 2);
    const std::string d = " " + DIR.string() + "/",
                      orden = " compila" + d + "in.txt" + d + "out.map";
    EXPECT_NE(std::system((NIVEL_BIN + orden + " 2>" + d + "err.txt").c_str()), 0);
    EXPECT_FALSE(fs::exists(DIR / "out.map")) << "a level refused is not kept";
    std::string error;
    std::getline(std::ifstream(DIR / "err.txt"), error);
    EXPECT_NE(error.find("without losing a life from tick % 4 ="), std::string::npos) << error;
    const nivel::Prueba p = nivel::prueba(mapa(FASE, "f.map", 2), 0);
    EXPECT_TRUE(p.completa); // no state dropped: the loss is proven
    EXPECT_EQ(p.fases, 8);   // tick % 4 times the carries 0 and 0.5
    EXPECT_EQ(p.ganadas, 6); // lost from two of them only
    fs::remove_all(DIR);
}

// The tightest moment runs from the later of the barrel showing and the truck coming to rest.
TEST(Prueba, TightestCountsFromTheRestAfterAForcedMove) {
    ASSERT_TRUE(nivel::prepara_prueba());
    // Objects; the column of the tightest moment, and its bounds in ms on VOY DE PASEO.
    const std::tuple<const char *, int, int, int> casos[] = {
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
    for (const auto &[objetos, columna, desde, hasta] : casos) {
        const nivel::Prueba p = nivel::prueba(mapa(objetos, "t.map"), 0);
        EXPECT_EQ(p.columna, columna) << objetos;
        EXPECT_GE(p.tension_ms, desde) << objetos;
        EXPECT_LE(p.tension_ms, hasta) << objetos;
    }
    fs::remove_all(DIR);
}

} // namespace
