// The playlist, the player's songs with the shipped ones, what plays when songs fail, songs with
// cover art in a tag, and the music timer meeting a stop from the main thread, over a recording
// stand-in of the MP3 stream layer.
#include "almp3_falso.h"
#include "assets/render.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "music/candado.h"
#include "music/carpetas.h"
#include "music/mp3.h"
#include "music/musica.h"
#include <algorithm>
#include <atomic>
#include <ctime>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Runs once, on the next attempt at the music lock.
std::function<void()> antes_del_candado;

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

// Shipped b, c3 and d; the player's a, b and c0..c7 but c3: the first ten names of both folders,
// the player's file where both have the name.
TEST_F(Musica, ThePlayersSongsJoinTheShippedOnesInNameOrderUpToTen) {
    fs::create_directories("casa/mp3");
    for (const char *n : {"b", "c3", "d"})
        std::ofstream("mp3/" + std::string(n) + ".mp3");
    for (const char *n : {"a", "b", "c0", "c1", "c2", "c4", "c5", "c6", "c7"})
        std::ofstream("casa/mp3/" + std::string(n) + ".mp3");
    carpeta_jugador = "casa";
    std::string vistos;
    for (int i = 0, n = lista_musica("mp3", "mp3"); i < n; i++)
        vistos += carpetam[i] + "/" + archivm[i] + " ";
    carpeta_jugador.clear();
    EXPECT_EQ(vistos, "casa/mp3/a.mp3 casa/mp3/b.mp3 casa/mp3/c0.mp3 casa/mp3/c1.mp3 "
                      "casa/mp3/c2.mp3 mp3/c3.mp3 casa/mp3/c4.mp3 casa/mp3/c5.mp3 "
                      "casa/mp3/c6.mp3 casa/mp3/c7.mp3 ");
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

// An ID3v2 header for a tag of `tam` bytes after it, the size stored 7 bits a byte.
std::string id3(size_t tam, char banderas = 0) {
    std::string h = {'I', 'D', '3', 4, 0, banderas};
    for (int i = 3; i >= 0; i--)
        h += static_cast<char>((tam >> (7 * i)) & 0x7f);
    return h + std::string(tam, 'P');
}

TEST_F(Musica, TagsAtTheStartAreSkippedWhateverTheirSize) {
    canciones({{"mp3/a.mp3", 0}});
    buscaarchmp3();
    const struct {
        std::string antes;
        int primer_bloque, ultimo; // what the first block holds; -1 when it is the whole song
    } casos[] = {
        {"", 5000, -1},
        {id3(100), 5000, -1},
        {id3(2 << 20), 5000, -1},                                      // 2 MB of cover art
        {id3(40000) + id3(10, 0x10) + std::string(10, 'F'), 5000, -1}, // two, one with a footer
        {id3(1000) + std::string(40000, '\xff'), 32768, 0},
    };
    for (const auto &c : casos) {
        std::ofstream("mp3/a.mp3", std::ios::binary) << c.antes << std::string(5000, '\xff');
        stopmp3();
        falso::reinicia();
        playmp3();
        EXPECT_EQ(std::pair(falso::llamadas.at(0).a, falso::llamadas[0].b),
                  std::pair(c.primer_bloque, c.ultimo))
            << c.antes.size() << " bytes before";
    }
}

// The timer looks at the state, then tries the lock; the stop lands exactly in between.
TEST_F(Musica, TheTimerNeverStartsASongAfterAStop) {
    canciones({{"mp3/a.mp3", 100}});
    buscaarchmp3();
    playmp3();
    ASSERT_EQ(mp3est, 1);
    antes_del_candado = [] { stopmp3(); };
    mp3actualiza();
    EXPECT_FALSE(antes_del_candado) << "the timer did not try the lock";
    EXPECT_EQ(mp3est, 0);
    EXPECT_EQ(falso::cuenta("create"), 1);
}

} // namespace
extern "C" int pthread_mutex_trylock(pthread_mutex_t *m) {
    static auto real =
        reinterpret_cast<int (*)(pthread_mutex_t *)>(dlsym(RTLD_NEXT, "pthread_mutex_trylock"));
    if (m == candado_musica.native_handle() && antes_del_candado) {
        const auto f = std::move(antes_del_candado);
        antes_del_candado = nullptr;
        f();
    }
    return real(m);
}
