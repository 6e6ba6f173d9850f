// The playlist and the two players, over a recording stand-in of the MP3 stream layer.
#include "almp3_falso.h"
#include "assets/carga.h"
#include "assets/render.h"
#include "entorno.h"
#include "frame/utilfun.h"
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
extern "C" time_t time(time_t *t)
{
    static std::atomic<time_t> ahora{1000000};
    const time_t v = ++ahora;
    if (t != nullptr) *t = v;
    return v;
}

namespace {

struct Musica : ::testing::Test {
    fs::path antes, dir;
    void SetUp() override
    {
        antes = fs::current_path();
        dir = fs::temp_directory_path() / ("vz-musica-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "midi");
        fs::create_directories(dir / "mp3");
        fs::current_path(dir);
        falso::reinicia();
        mp3est = 0;
        midiest = 0;
        mensaje = 0;
    }
    void TearDown() override
    {
        stopmp3();
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    static void archivo(const std::string &ruta, size_t bytes)
    {
        std::ofstream(ruta, std::ios::binary) << std::string(bytes, '\x55');
    }
    // The playlist of `n` files and its cursor, as the search and the shuffle leave them.
    static void lista(int n)
    {
        musicas = n;
        armalistamusica();
    }
};

// The release happens once per process, so it is watched in a process of its own: the threadsafe
// death-test style starts the program afresh for this one case, whatever ran before it.
TEST_F(Musica, VoicesAreReleasedOnceBeforeTheFirstSongOfTheRun)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // Voices are handed out lowest free first: which one comes next tells which are free.
            SAMPLE *sm = create_sample(16, 0, 22050, 64);
            const bool ocupada = play_sample(sm, 255, 128, 1000, 1) == 0;
            archivo("mp3/a.mp3", 500);
            buscaarchmp3();
            lista(1);
            playmp3();
            const bool liberada = allocate_voice(sm) == 0;
            stopmp3();
            playmp3(); // a later song of the same run releases nothing
            std::exit(ocupada && liberada && allocate_voice(sm) == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Musica, ShuffleIsAPermutationAndTheCursorWrapsAndCarriesOverBetweenGames)
{
    for (int n = 1; n <= 10; n++)
        for (int vez = 0; vez < 20; vez++) {
            lista(n);
            std::vector<int> orden(listamusica, listamusica + n);
            std::sort(orden.begin(), orden.end());
            std::vector<int> todos(n);
            std::iota(todos.begin(), todos.end(), 0);
            ASSERT_EQ(orden, todos) << n << " files";
            ASSERT_EQ(listamusica[10], 0) << "cursor";
        }
    lista(3);
    const std::vector<int> esperado = {listamusica[0], listamusica[1], listamusica[2], listamusica[0]};
    std::vector<int> visto = {siguiente_tema(), siguiente_tema()};
    stopmidi(); // a game ends: the cursor stays
    visto.push_back(siguiente_tema());
    visto.push_back(siguiente_tema());
    EXPECT_EQ(visto, esperado);
}

TEST_F(Musica, TheEleventhFileIsNotListedAndNamesAreSorted)
{
    for (int i = 11; i >= 1; i--) archivo("midi/t" + std::to_string(100 + i) + ".mid", 10);
    archivo("midi/readme.txt", 10);
    buscaarchm();
    ASSERT_EQ(musicas, 10);
    EXPECT_STREQ(archivm[0], "t101.mid");
    EXPECT_STREQ(archivm[9], "t110.mid");
    archivo("mp3/b.mp3", 10);
    archivo("mp3/a.mp3", 10);
    buscaarchmp3();
    ASSERT_EQ(musicas, 2);
    EXPECT_STREQ(archivm[0], "a.mp3");
}

TEST_F(Musica, MidiThatDoesNotLoadIsSkippedWithoutRetryingForEver)
{
    for (const char *n : {"a.mid", "b.mid", "c.mid"}) archivo(std::string("midi/") + n, 40);
    buscaarchm();
    lista(3);
    playmidimusic();
    EXPECT_EQ(midiest, 0); // none of them is a MIDI file: silent
    EXPECT_EQ(listamusica[10], 0); // each tried once, the cursor went round
    EXPECT_EQ(mensaje, 3);
    EXPECT_EQ(std::string(mensa).rfind("Sonando:", 0), 0u);
    EXPECT_NE(std::string(mensa).find(".mid"), std::string::npos); // the whole name, extension too
}

TEST_F(Musica, ShortFileIsHandedOverWholeAsTheLastBlock)
{
    archivo("mp3/song.mp3", 1000);
    buscaarchmp3();
    lista(1);
    playmp3();
    ASSERT_EQ(mp3est, 1);
    ASSERT_GE(falso::llamadas.size(), 2u);
    EXPECT_EQ(falso::llamadas[0].que, "create");
    EXPECT_EQ(falso::llamadas[0].a, 1000);
    EXPECT_NE(falso::llamadas[0].b, 0);
    EXPECT_EQ(falso::llamadas[1].que, "play");
    EXPECT_EQ(falso::llamadas[1].a, 255);
    EXPECT_EQ(falso::llamadas[1].b, 128);
    EXPECT_STREQ(mensa, "Sonando:song");
    EXPECT_EQ(mensaje, 3);
}

// What each poll hands the decoder: -1 a full block, n the last n bytes (0 after a full block).
TEST_F(Musica, FilesAreFedOneBlockPerPollAndTheLastRefillSaysHowMuch)
{
    for (auto [tam, entregas_] : {std::pair{32768, std::vector<int>{0}},
                                  std::pair{32768 * 2 + 100, std::vector<int>{-1, 100, 0}}}) {
        falso::reinicia();
        archivo("mp3/a.mp3", static_cast<size_t>(tam));
        buscaarchmp3();
        lista(1);
        playmp3();
        EXPECT_EQ(falso::llamadas[0].a, 32768);
        EXPECT_EQ(falso::llamadas[0].b, 0);
        falso::quiere_datos = true;
        std::vector<int> entregas;
        for (size_t i = 0; i < entregas_.size(); i++) {
            falso::llamadas.clear();
            playmp3();
            for (const auto &l : falso::llamadas)
                if (l.que == "free") entregas.push_back(l.a);
        }
        EXPECT_EQ(entregas, entregas_) << tam << " bytes";
        stopmp3();
    }
}

TEST_F(Musica, EmptyAndRefusedFilesAreSkippedToTheNextSong)
{
    archivo("mp3/a.mp3", 0);
    archivo("mp3/b.mp3", 500);
    buscaarchmp3();
    musicas = 2;
    listamusica[0] = 0;
    listamusica[1] = 1;
    listamusica[10] = 0;
    playmp3();
    EXPECT_EQ(falso::cuenta("create"), 1); // the empty file never reached the decoder
    EXPECT_EQ(mp3est, 1);
    EXPECT_STREQ(mensa, "Sonando:b");
    stopmp3();
    falso::reinicia();
    falso::rechaza = true;
    playmp3();
    EXPECT_EQ(mp3est, 0);
    EXPECT_EQ(falso::cuenta("create"), 1); // one try per file, then silence
    EXPECT_EQ(falso::cuenta("play"), 0);
}

TEST_F(Musica, AFinishedSongIsClosedAndTheNextStartsInTheSameCall)
{
    archivo("mp3/a.mp3", 500);
    archivo("mp3/b.mp3", 600);
    buscaarchmp3();
    musicas = 2;
    listamusica[0] = 0;
    listamusica[1] = 1;
    listamusica[10] = 0;
    playmp3();
    falso::llamadas.clear();
    falso::fin_cancion = 1;
    mp3actualiza();
    std::vector<std::string> orden;
    for (const auto &l : falso::llamadas) orden.push_back(l.que);
    EXPECT_EQ(orden, (std::vector<std::string>{"get", "poll", "stop", "destroy", "create", "play"}));
    EXPECT_EQ(falso::llamadas[4].a, 600);
    EXPECT_EQ(mp3est, 1);
}

TEST_F(Musica, StopWithNothingPlayingDoesNothingAndVolumeFollowsTheSong)
{
    stopmp3();
    ajusta_mp3(100);
    EXPECT_TRUE(falso::llamadas.empty());
    archivo("mp3/a.mp3", 500);
    buscaarchmp3();
    lista(1);
    playmp3();
    ajusta_mp3(100);
    EXPECT_EQ(falso::llamadas.back().que, "adjust");
    EXPECT_EQ(falso::llamadas.back().a, 100);
    stopmp3();
    EXPECT_EQ(mp3est, 0);
    EXPECT_EQ(falso::cuenta("stop"), 1);
    EXPECT_EQ(falso::cuenta("destroy"), 1);
}

} // namespace
