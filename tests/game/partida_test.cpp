// Whole games through game(), headless: the scripted menu, a fast clock and three small levels.
// Built with the recording stand-in of the MP3 layer, so that the music's volume can be seen.
#include "../music/almp3_falso.h"
#include "entorno.h"
#include "formato.h"
#include "frame/arranque.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/juego.h"
#include "game/mundo.h"
#include "game/sin_pantalla.h"
#include "music/mp3.h"
#include "music/musica.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vz;
namespace fs = std::filesystem;

namespace {

// What the game's state was when a level's banner went up.
struct Inicio {
    int nivel, vidas;
    uint32_t puntos;
    float fuego;
};

// A level at 10 pixels a tick on the hardest difficulty, with the given objects.
void escribe_nivel(const fs::path &p, std::vector<nivel::Objeto> objetos) {
    const auto b = nivel::a_binario({3, {}, objetos});
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char *>(b.data()), nivel::TAM);
}

struct Partida : ::testing::Test {
    fs::path antes = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("vz-partida-" + std::to_string(getpid()));

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "levels");
        fs::create_directories(dir / "mp3");
        fs::current_path(dir);
        ASSERT_TRUE(prepara_sin_pantalla());
        screen = create_bitmap(320, 240);
        triple_buffer = 0;
        // Level 1: a monster early; two barrels in the last view, so that the second fire is
        // still burning when the level ends. Levels 2 and 3 are empty.
        escribe_nivel("levels/1.map", {{40, 72, 1}, {791, 72, 6}, {792, 72, 6}});
        escribe_nivel("levels/2.map", {});
        escribe_nivel("levels/3.map", {});
        buscaarch();
        std::ofstream("mp3/a.mp3") << "any bytes: the stand-in takes them";
        buscaarchmp3();
        musicmp3 = 1;
        armalistamusica();
        falso::reinicia();
        max_fps = 75;
        cambnib = 0;
    }
    void TearDown() override {
        destroy_bitmap(std::exchange(screen, nullptr));
        active_page = actual_page = pvirtual; // the game leaves them on the screen just freed
        key[KEY_ESC] = 0;
        stopmp3();
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    // Runs game(), each pass of its waits a tick of the clock; ESC is held once level `esc` has
    // begun. Gives the state at each level's start, as seen in its banner's wait.
    std::vector<Inicio> juega(std::initializer_list<int> menu, int esc = 0) {
        prueba::guion_teclas(menu);
        prueba::registro.clear();
        std::vector<Inicio> inicios;
        prueba::al_ceder([&] {
            tick++;
            if (vz::nivel > static_cast<int>(inicios.size())) {
                inicios.push_back({vz::nivel, vidas, puntos, fuego});
                if (vz::nivel == esc) key[KEY_ESC] = 1;
            }
        });
        game();
        prueba::al_ceder(nullptr);
        return inicios;
    }
};

TEST_F(Partida, ThreeLevelsCarryLivesScoreAndFireAndTheNextGameStartsAfresh) {
    auto inicios = juega({KEY_DOWN, KEY_ENTER}); // "SOY JODIDO": 4 lives
    EXPECT_EQ(cambnib, 5);
    EXPECT_EQ(vz::nivel, 3) << "no fourth banner";
    ASSERT_EQ(inicios.size(), 3u);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(inicios[i].nivel, i + 1);
    EXPECT_EQ(inicios[0].vidas, 4);
    EXPECT_EQ(inicios[1].vidas, 2) << "two fires on level 1";
    EXPECT_EQ(inicios[1].puntos, 200u);
    EXPECT_GT(inicios[1].fuego, 236.0f) << "the second fire burns on into level 2";
    EXPECT_EQ(inicios[2].vidas, 2);
    EXPECT_EQ(inicios[2].fuego, 0.0f);
    // The song is turned down at each level's end and back up to 255 at the next level's start.
    std::vector<int> volumenes;
    for (const auto &l : falso::llamadas)
        if (l.que == "adjust") volumenes.push_back(l.a);
    EXPECT_EQ(volumenes, (std::vector<int>{255, 100, 255, 100, 255, 100}));
    volumenes.clear();
    for (const auto &l : prueba::registro)
        if (l.starts_with("volumen midi ")) volumenes.push_back(std::stoi(l.substr(13)));
    EXPECT_EQ(volumenes, (std::vector<int>{180, 100, 180, 100, 180, 100, 255}));
    // Each level starts with its sound and the engine's loop, which stops at its end; the
    // level-completed sound follows levels 1 and 2, not the last. The song stops with the game.
    EXPECT_EQ(prueba::veces("toca camio2 255 128 1000 0"), 3);
    EXPECT_EQ(prueba::veces("toca camio1 255 128 1000 -1"), 3);
    EXPECT_EQ(prueba::veces("para camio1"), 3);
    EXPECT_EQ(prueba::veces("toca camio3 255 128 1000 0"), 2);
    EXPECT_EQ(mp3est, 0);

    inicios = juega({KEY_UP, KEY_ENTER}, 1); // "VOY DE PASEO", quit during level 1
    EXPECT_EQ(cambnib, 3);
    ASSERT_EQ(inicios.size(), 1u);
    EXPECT_EQ(inicios[0].nivel, 1);
    EXPECT_EQ(inicios[0].vidas, 6);
    EXPECT_EQ(inicios[0].puntos, 0u);
    EXPECT_EQ(inicios[0].fuego, 0.0f);
    EXPECT_EQ(prueba::veces("toca camio3 255 128 1000 0"), 0);
}

} // namespace
