// Level list and level loader.
#include "entorno.h"
#include "game/busca.h"
#include "game/mapa.h"
#include "game/mundo.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

using namespace vz;
namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh scratch directory, as the game runs in its own.
struct EnCarpeta : ::testing::Test {
    fs::path antes, dir;
    enemigo tabla[NUM_ENEMIGOS];
    void SetUp() override
    {
        antes = fs::current_path();
        dir = fs::temp_directory_path() / ("vz-niveles-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "levels");
        fs::current_path(dir);
        enemi = tabla;
    }
    void TearDown() override
    {
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    static void escribe(const fs::path &p, const std::vector<unsigned char> &bytes)
    {
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    }
};

using ListaNiveles = EnCarpeta;

TEST_F(ListaNiveles, SortedByNameAndCappedAtFifteen)
{
    // Written in reverse so that directory order is unlikely to be name order.
    for (int i = 20; i >= 1; i--) {
        char nombre[32];
        std::snprintf(nombre, sizeof nombre, "levels/n%02d.map", i);
        escribe(nombre, {1});
    }
    escribe("levels/notes.txt", {1});
    buscaarch();
    ASSERT_EQ(niveles, 15);
    for (int i = 0; i < 15; i++) {
        char esperado[32];
        std::snprintf(esperado, sizeof esperado, "n%02d.map", i + 1);
        EXPECT_STREQ(archive[i], esperado);
    }
}

TEST_F(ListaNiveles, ByteOrderAndReadOnlyFilesCountAndNoDirectoryGivesNone)
{
    escribe("levels/b.map", {1});
    escribe("levels/B.map", {1});
    escribe("levels/a.map", {1});
    fs::permissions("levels/a.map", fs::perms::owner_read, fs::perm_options::replace);
    buscaarch();
    ASSERT_EQ(niveles, 3);
    EXPECT_STREQ(archive[0], "B.map");
    EXPECT_STREQ(archive[1], "a.map");
    EXPECT_STREQ(archive[2], "b.map");
    fs::remove_all("levels");
    buscaarch();
    EXPECT_EQ(niveles, 0);
}

using Cargador = EnCarpeta;

std::vector<unsigned char> nivel_base()
{
    std::vector<unsigned char> d(2801, 0);
    d[0] = 2;
    for (int r = 0; r < 8; r++)
        for (int c = 0; c < 200; c++) d[1 + r * 200 + c] = static_cast<unsigned char>((r * 5 + c) % 40);
    return d;
}

TEST_F(Cargador, MapIsStoredColumnAfterColumnAndRecordsAreLittleEndian)
{
    auto d = nivel_base();
    d[1] = 11;                 // column 0, row 0
    d[201] = 22;               // column 0, row 1
    d[1 + 7 * 200 + 199] = 33; // last column, bottom row
    const unsigned char bolsa[4] = {0x2C, 0x01, 0x30, 0x07};
    std::copy(bolsa, bolsa + 4, d.begin() + 1601 + 4 * 5);
    d.resize(3000, 0xEE); // a longer file: the rest is ignored
    escribe("levels/a.map", d);
    CargaMapa("levels/a.map");
    EXPECT_EQ(multi, 2);
    EXPECT_EQ(mapa[0], 11);
    EXPECT_EQ(mapa[1], 22);
    EXPECT_EQ(mapa[199 * 8 + 7], 33);
    EXPECT_EQ(enemi[5].columna, 300);
    EXPECT_EQ(enemi[5].posy, 48);
    EXPECT_EQ(enemi[5].tipo, 7);
    EXPECT_EQ(enemi[299].tipo, 0);
}

TEST_F(Cargador, MissingFileChangesNothing)
{
    escribe("levels/a.map", nivel_base());
    CargaMapa("levels/a.map");
    enemi[3] = {77, 24, 8};
    CargaMapa("levels/gone.map");
    EXPECT_EQ(multi, 2);
    EXPECT_EQ(enemi[3].columna, 77);
    EXPECT_EQ(enemi[3].tipo, 8);
}

TEST_F(Cargador, ShortFileEndsInTileZeroAndEmptyRecords)
{
    for (auto &e : tabla) e = {5, 24, 3}; // stale objects of an earlier level
    auto d = nivel_base();
    d.resize(1 + 200 * 3 + 10); // stops in row 3
    escribe("levels/a.map", d);
    CargaMapa("levels/a.map");
    EXPECT_EQ(mapa[9 * 8 + 3], (3 * 5 + 9) % 40);
    EXPECT_EQ(mapa[10 * 8 + 3], 0);
    EXPECT_EQ(mapa[0 * 8 + 7], 0);
    for (const auto &e : tabla) EXPECT_EQ(e.tipo, 0);
}

TEST_F(Cargador, UnknownTilesAndKindsAreNeutralised)
{
    auto d = nivel_base();
    d[1 + 2 * 200 + 4] = 40;
    d[1 + 2 * 200 + 5] = 255;
    d[1 + 1600 + 3] = 9;              // record 0: kind 9
    d[1 + 1600 + 4 + 3] = 8;          // record 1: remains stay
    escribe("levels/a.map", d);
    CargaMapa("levels/a.map");
    EXPECT_EQ(mapa[4 * 8 + 2], 0);
    EXPECT_EQ(mapa[5 * 8 + 2], 0);
    EXPECT_EQ(enemi[0].tipo, 0);
    EXPECT_EQ(enemi[1].tipo, 8);
}

} // namespace
