// The playlist and what plays when songs fail, over a recording stand-in of the MP3 stream layer.
#include "almp3_falso.h"
#include "assets/render.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "music/mp3.h"
#include "music/musica.h"
#include <algorithm>
#include <atomic>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <unistd.h>

using namespace vz;
namespace fs = std::filesystem;

// The playlist is shuffled from the clock's second. Here every reading of the clock is a second
// later, so each shuffle of a test gets a seed of its own instead of the same second's.
extern "C" time_t time(time_t *t) {
    static std::atomic<time_t> ahora{1000000};
    const time_t v = ++ahora;
    if (t != nullptr) *t = v;
    return v;
}

namespace {

struct Musica : ::testing::Test {
    fs::path antes = fs::current_path(),
             dir = fs::temp_directory_path() / ("vz-musica-" + std::to_string(getpid()));
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "midi");
        fs::create_directories(dir / "levels");
        fs::create_directories(dir / "mp3");
        fs::current_path(dir);
        falso::reinicia();
    }
    void TearDown() override {
        stopmp3();
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    // Files of `bytes` each, listed in name order, the cursor on the first.
    static void canciones(const std::vector<std::pair<std::string, size_t>> &archivos) {
        for (const auto &[nombre, bytes] : archivos)
            std::ofstream(nombre) << std::string(bytes, 'U');
        std::iota(listamusica, listamusica + 10, 0);
        listamusica[10] = 0;
    }
};

TEST_F(Musica, AtMostTenInNameOrderShuffledIntoAListWhoseCursorWrapsAndOutlivesTheGame) {
    for (int i = 11; i >= 1; i--)
        std::ofstream("midi/t" + std::to_string(100 + i) + ".mid") << "x";
    std::ofstream("midi/readme.txt") << "x";
    for (int i = 16; i >= 1; i--)
        std::ofstream("levels/" + std::to_string(10 + i) + ".map") << "x";
    buscaarch(); // and the first fifteen levels
    EXPECT_EQ(niveles, 15);
    EXPECT_STREQ(archive[14], "25.map");
    buscaarchm();
    ASSERT_EQ(musicas, 10);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(archivm[i], "t" + std::to_string(101 + i) + ".mid");
    std::vector<int> todos;
    for (musicas = 1; musicas <= 10; musicas++) {
        todos.push_back(musicas - 1);
        for (int vez = 0; vez < 20; vez++) {
            armalistamusica();
            ASSERT_TRUE(std::is_permutation(todos.begin(), todos.end(), listamusica)) << musicas;
            ASSERT_EQ(listamusica[10], 0) << "cursor";
        }
    }
    musicas = 3;
    armalistamusica();
    for (int i = 0; i < 4; i++) {
        if (i == 2) stopmidi(); // a game ends: the cursor stays
        EXPECT_EQ(siguiente_tema(), listamusica[i % 3]) << i;
    }
}

// Each song is tried once a turn: empty, refused or not MIDI, it is announced and skipped.
TEST_F(Musica, SongsThatFailAreSkippedAndWithNoneThatPlaysTheGameIsSilent) {
    canciones({{"mp3/a.mp3", 0}, {"mp3/b.mp3", 500}});
    buscaarchmp3();
    playmp3();
    EXPECT_EQ(falso::cuenta("create"), 1); // the empty file never reached the decoder
    EXPECT_EQ(mp3est, 1);
    EXPECT_STREQ(mensa, "Sonando:b");
    EXPECT_EQ(mensaje, 3);
    stopmp3();
    falso::reinicia();
    falso::rechaza = true;
    playmp3();
    EXPECT_EQ(mp3est, 0);
    EXPECT_EQ(falso::cuenta("create"), 1);
    EXPECT_EQ(falso::cuenta("play"), 0);

    canciones({{"midi/a.mid", 40}, {"midi/b.mid", 40}, {"midi/c.mid", 40}});
    buscaarchm();
    playmidimusic();
    EXPECT_EQ(midiest, 0);
    EXPECT_EQ(listamusica[10], 0);        // each tried once, the cursor went round
    EXPECT_STREQ(mensa, "Sonando:c.mid"); // the whole name, extension too
}

} // namespace
