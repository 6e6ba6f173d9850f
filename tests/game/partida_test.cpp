// Whole games through game(), headless: the scripted menu, a fast clock and three small levels.
// Built with the recording stand-in of the MP3 layer, so that the music's volume can be seen.
#include "../music/almp3_falso.h"
#include "entorno.h"
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
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
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

void escribe_nivel(const fs::path &p, std::initializer_list<enemigo> objetos)
{
    std::vector<unsigned char> d(2801, 0);
    d[0] = 3; // 10 pixels a tick on the hardest difficulty
    int i = 0;
    for (const auto &e : objetos) {
        unsigned char *r = d.data() + 1601 + 4 * i++;
        r[0] = static_cast<unsigned char>(e.columna & 0xff);
        r[1] = static_cast<unsigned char>(e.columna >> 8);
        r[2] = e.posy;
        r[3] = e.tipo;
    }
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char *>(d.data()), 2801);
}

struct Partida : ::testing::Test {
    fs::path antes = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("vz-partida-" + std::to_string(getpid()));
    std::atomic<bool> parar{false};
    std::vector<Inicio> inicios; // written by the clock thread only while a game runs

    void SetUp() override
    {
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
    void TearDown() override
    {
        destroy_bitmap(std::exchange(screen, nullptr));
        active_page = actual_page = pvirtual; // the game leaves them on the screen just freed
        key[KEY_ESC] = 0;
        stopmp3();
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    // Runs game() with a clock of 10,000 ticks a second; ESC is held once level `esc` has begun.
    void juega(std::initializer_list<int> menu, int esc = 0)
    {
        prueba::guion_teclas(menu);
        inicios.clear();
        parar = false;
        std::thread reloj([&] {
            int visto = 0;
            while (!parar) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                tick++;
                if (nivel != visto && nivel > 0) {
                    visto = nivel;
                    inicios.push_back({nivel, vidas, puntos, fuego});
                    if (visto == esc) key[KEY_ESC] = 1;
                }
            }
        });
        game();
        parar = true;
        reloj.join();
    }
};

TEST_F(Partida, ThreeLevelsCarryLivesScoreAndFireAndTheNextGameStartsAfresh)
{
    juega({KEY_DOWN, KEY_ENTER}); // "SOY JODIDO": 4 lives
    EXPECT_EQ(cambnib, 5);
    EXPECT_EQ(nivel, 3) << "no fourth banner";
    ASSERT_EQ(inicios.size(), 3u);
    EXPECT_EQ(inicios[0].nivel, 1);
    EXPECT_EQ(inicios[0].vidas, 4);
    EXPECT_EQ(inicios[1].nivel, 2);
    EXPECT_EQ(inicios[1].vidas, 2) << "two fires on level 1";
    EXPECT_EQ(inicios[1].puntos, 200u);
    EXPECT_GT(inicios[1].fuego, 236.0f) << "the second fire burns on into level 2";
    EXPECT_LT(inicios[1].fuego, 480.0f);
    EXPECT_EQ(inicios[2].nivel, 3);
    EXPECT_EQ(inicios[2].vidas, 2);
    EXPECT_EQ(inicios[2].fuego, 0.0f);
    // The song is turned down at each level's end and back up to 255 at the next level's start.
    std::vector<int> volumenes;
    for (const auto &l : falso::llamadas)
        if (l.que == "adjust") volumenes.push_back(l.a);
    EXPECT_EQ(volumenes, (std::vector<int>{255, 100, 255, 100, 255, 100}));

    juega({KEY_UP, KEY_ENTER}, 1); // "VOY DE PASEO", quit during level 1
    EXPECT_EQ(cambnib, 3);
    ASSERT_EQ(inicios.size(), 1u);
    EXPECT_EQ(inicios[0].nivel, 1);
    EXPECT_EQ(inicios[0].vidas, 6);
    EXPECT_EQ(inicios[0].puntos, 0u);
    EXPECT_EQ(inicios[0].fuego, 0.0f);
}

} // namespace
