// The ranking file: where a total goes, the rewrite, the initials entry and the final score.
#include "entorno.h"
#include "frame/arranque.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "menus/menus.h"
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace vz;
namespace fs = std::filesystem;

namespace {

using Bloque = std::vector<unsigned char>;

// A full file: table d, place r holds score 1000 * (10 - r) + 100 * d, initials "<d><r>Z" and a
// reserved byte that tells where it was.
Bloque ranking_base()
{
    Bloque b(TAM_RANKING);
    for (int d = 0; d < 3; d++)
        for (int r = 0; r < 10; r++) {
            unsigned char *p = b.data() + 80 * d + 8 * r;
            const uint32_t pts = 1000u * (10 - r) + 100u * d;
            for (int i = 0; i < 4; i++) p[i] = static_cast<unsigned char>(pts >> (8 * i));
            p[4] = static_cast<unsigned char>('A' + d);
            p[5] = static_cast<unsigned char>('0' + r);
            p[6] = 'Z';
            p[7] = static_cast<unsigned char>(0xA0 + 10 * d + r);
        }
    return b;
}

uint32_t puntaje_en(const Bloque &b, int d, int r)
{
    const unsigned char *p = b.data() + 80 * d + 8 * r;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::string iniciales_en(const Bloque &b, int d, int r)
{
    return std::string(reinterpret_cast<const char *>(b.data() + 80 * d + 8 * r + 4), 3);
}

TEST(Posicion, TiesGoAboveAndPlaceTenStillEnters)
{
    const Bloque b = ranking_base(); // table 1: 10100, 9100, ... 1100
    EXPECT_EQ(posicion_ranking(b.data(), 1, 99999), 0);
    EXPECT_EQ(posicion_ranking(b.data(), 1, 7100), 3); // equal to place 4
    EXPECT_EQ(posicion_ranking(b.data(), 1, 7099), 4);
    EXPECT_EQ(posicion_ranking(b.data(), 1, 1100), 9); // equal to place 10
    EXPECT_EQ(posicion_ranking(b.data(), 1, 1099), 10);
    EXPECT_EQ(posicion_ranking(b.data(), 0, 1000), 9);
    Bloque alto = b;
    alto[80 + 3] = 0x80; // place 1 of table 1 holds 2^31 + 10100: above any total, unsigned
    EXPECT_EQ(posicion_ranking(alto.data(), 1, 2000000000u), 1);
}

TEST(Insercion, MovesTheRestDownDropsTheLastAndKeepsReservedBytes)
{
    Bloque b = ranking_base();
    const Bloque antes = b;
    inserta_ranking(b.data(), 1, 3, 7100, "QRS");
    EXPECT_EQ(puntaje_en(b, 1, 3), 7100u);
    EXPECT_EQ(iniciales_en(b, 1, 3), "QRS");
    for (int r = 0; r < 3; r++) EXPECT_EQ(puntaje_en(b, 1, r), puntaje_en(antes, 1, r));
    for (int r = 4; r < 10; r++) {
        EXPECT_EQ(puntaje_en(b, 1, r), puntaje_en(antes, 1, r - 1)) << r;
        EXPECT_EQ(iniciales_en(b, 1, r), iniciales_en(antes, 1, r - 1)) << r;
    }
    for (int r = 0; r < 10; r++) EXPECT_EQ(b[80 + 8 * r + 7], antes[80 + 8 * r + 7]) << r;
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 80, antes.begin()));
    EXPECT_TRUE(std::equal(b.begin() + 160, b.end(), antes.begin() + 160));
}

TEST(Insercion, InitialsMoveAsStringsOfAtMostThree)
{
    Bloque b = ranking_base();
    b[80 + 8 * 5 + 5] = 0; // place 6: "B" then a zero, then 'Z' that is not shown
    inserta_ranking(b.data(), 1, 0, 50000, "AAA");
    EXPECT_EQ(iniciales_en(b, 1, 6), std::string("B\0\0", 3));
    EXPECT_EQ(iniciales_en(b, 1, 0), "AAA");
}

struct EnCarpeta : ::testing::Test {
    fs::path antes, dir;
    BITMAP *pagina = nullptr;
    std::atomic<bool> parar{false};
    std::thread reloj;
    void SetUp() override
    {
        antes = fs::current_path();
        dir = fs::temp_directory_path() / ("vz-ranking-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "datos");
        fs::current_path(dir);
        pagina = create_bitmap(320, 240);
        active_page = pagina;
        bg = -1;
        cambnib = 0;
        max_fps = 100; // waits in these tests last a fraction of a second of real time
        tick = 0;
        reloj = std::thread([this] {
            while (!parar) {
                tick++;
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
    }
    void TearDown() override
    {
        parar = true;
        reloj.join();
        destroy_bitmap(pagina);
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    static void escribe(const Bloque &b)
    {
        std::ofstream(ruta_ranking, std::ios::binary)
            .write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static Bloque lee()
    {
        std::ifstream in(ruta_ranking, std::ios::binary);
        return Bloque((std::istreambuf_iterator<char>(in)), {});
    }
};

using Entrada = EnCarpeta;

TEST_F(Entrada, EditedInitialsAreWrittenInTheirPlace)
{
    escribe(ranking_base());
    difi = 2;
    puntos = 8200; // equal to place 3 of table 2
    // B (up), Z (down from A, on the second), then A again (down, up) on the third.
    prueba::guion_teclas({KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_ESC, KEY_ENTER, KEY_DOWN,
                          KEY_UP, KEY_RIGHT, KEY_RIGHT, KEY_ENTER});
    escriveranking();
    EXPECT_EQ(prueba::teclas_leidas(), 11);
    const Bloque b = lee();
    ASSERT_EQ(b.size(), 240u);
    Bloque esperado = ranking_base();
    // Places 3..9 move down one (score and initials; reserved bytes stay), place 10 drops.
    for (int r = 9; r > 2; r--) std::copy_n(esperado.begin() + 160 + 8 * (r - 1), 7, esperado.begin() + 160 + 8 * r);
    const unsigned char nuevo[7] = {0x08, 0x20, 0, 0, 'B', 'Z', 'A'}; // 8200
    std::copy_n(nuevo, 7, esperado.begin() + 160 + 8 * 2);
    EXPECT_EQ(b, esperado);
}

TEST_F(Entrada, ATotalBelowPlaceTenLeavesTheFileAsItWas)
{
    escribe(ranking_base());
    const auto fecha = fs::last_write_time(ruta_ranking);
    difi = 1;
    puntos = 1099;
    prueba::guion_teclas({});
    escriveranking();
    EXPECT_EQ(prueba::teclas_leidas(), 0);
    EXPECT_EQ(lee(), ranking_base());
    EXPECT_EQ(fs::last_write_time(ruta_ranking), fecha);
}

TEST_F(Entrada, MissingOrShortFileReadsAsEmptyRowsAndIsWrittenWhole)
{
    Bloque corto = ranking_base();
    corto.resize(96); // table 0 and two records of table 1
    escribe(corto);
    unsigned char bloque[TAM_RANKING];
    EXPECT_EQ(lee_ranking(bloque), 96);
    EXPECT_EQ(bloque[96], 0);
    difi = 1;
    puntos = 5;
    prueba::guion_teclas({KEY_ENTER, KEY_ENTER, KEY_ENTER});
    escriveranking();
    const Bloque b = lee();
    ASSERT_EQ(b.size(), 240u);
    EXPECT_EQ(puntaje_en(b, 1, 0), 10100u);
    EXPECT_EQ(puntaje_en(b, 1, 2), 5u);
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 80, corto.begin()));

    fs::remove(ruta_ranking);
    EXPECT_EQ(lee_ranking(bloque), 0);
    puntos = 0; // even a zero enters an empty table
    prueba::guion_teclas({KEY_ENTER, KEY_ENTER, KEY_ENTER});
    escriveranking();
    EXPECT_EQ(lee().size(), 240u);
}

TEST_F(Entrada, AnUnwritableFileLeavesTheGameGoing)
{
    const char *guardada = ruta_ranking;
    ruta_ranking = "no-such-dir/ranking.dat";
    difi = 0;
    puntos = 100;
    prueba::guion_teclas({KEY_ENTER, KEY_ENTER, KEY_ENTER});
    escriveranking(); // returns normally
    EXPECT_FALSE(fs::exists(ruta_ranking));
    ruta_ranking = guardada;
}

TEST_F(EnCarpeta, FinalScoreAddsTheLifeBonusBeforeTheRecordEntry)
{
    escribe(ranking_base());
    difi = 0;
    vidas = 3;
    puntos = 12345;
    prueba::guion_teclas({KEY_ENTER, KEY_ENTER, KEY_ENTER});
    tupuntaje();
    EXPECT_EQ(puntos, 21345u);
    EXPECT_EQ(vidas, 3);
    EXPECT_EQ(puntaje_en(lee(), 0, 0), 21345u);
    EXPECT_EQ(iniciales_en(lee(), 0, 0), "AAA");
}

} // namespace
