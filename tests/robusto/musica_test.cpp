// The music code over the recording stand-in of the MP3 layer: songs with cover art in a tag, and
// the music timer racing a stop from the main thread.
#include "almp3_falso.h"
#include "frame/utilfun.h"
#include "music/mp3.h"
#include "music/musica.h"
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using namespace vz;
namespace fs = std::filesystem;

namespace {

struct Musica : ::testing::Test {
    fs::path antes, dir;
    void SetUp() override
    {
        antes = fs::current_path();
        dir = fs::temp_directory_path() / ("vz-robusto-musica-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "mp3");
        fs::current_path(dir);
        falso::reinicia();
        mp3est = 0;
        musicas = 1;
        std::snprintf(archivm[0], sizeof archivm[0], "a.mp3");
        armalistamusica();
    }
    void TearDown() override
    {
        stopmp3();
        fs::current_path(antes);
        fs::remove_all(dir);
    }
};

// An ID3v2 header for a tag of `tam` bytes after it, the size stored 7 bits a byte.
std::string id3(size_t tam, char banderas = 0)
{
    std::string h = {'I', 'D', '3', 4, 0, banderas};
    for (int i = 3; i >= 0; i--) h += static_cast<char>((tam >> (7 * i)) & 0x7f);
    return h + std::string(tam, 'P');
}

TEST_F(Musica, TagsAtTheStartAreSkippedWhateverTheirSize)
{
    const std::string musica(5000, '\xff');
    struct Caso {
        std::string antes;
        int primer_bloque, ultimo; // what the first block holds; -1 when it is the whole song
    } casos[] = {
        {"", 5000, -1},
        {id3(100), 5000, -1},
        {id3(2 << 20), 5000, -1},                 // 2 MB of cover art
        {id3(40000) + id3(10, 0x10) + std::string(10, 'F'), 5000, -1}, // two tags, one with a footer
        {id3(1000) + std::string(40000, '\xff'), 32768, 0},
    };
    for (const auto &c : casos) {
        std::ofstream("mp3/a.mp3", std::ios::binary) << c.antes << musica;
        stopmp3();
        falso::reinicia();
        playmp3();
        ASSERT_GE(falso::llamadas.size(), 1u);
        EXPECT_EQ(falso::llamadas[0].que, "create");
        EXPECT_EQ(falso::llamadas[0].a, c.primer_bloque) << c.antes.size() << " bytes before";
        EXPECT_EQ(falso::llamadas[0].b, c.ultimo) << c.antes.size() << " bytes before";
    }
}

TEST_F(Musica, TheTimerNeverStartsASongAfterAStop)
{
    std::ofstream("mp3/a.mp3", std::ios::binary) << std::string(100, '\xff');
    // Timer turns from several threads at once, so that some are caught between their first
    // look at the state and the lock while the main thread stops the song.
    std::atomic<bool> parar{false};
    std::atomic<long> turnos{0};
    std::vector<std::thread> timers;
    for (int i = 0; i < 6; i++)
        timers.emplace_back([&] {
            while (!parar) {
                mp3actualiza();
                turnos++;
            }
        });
    int arrancadas = 0;
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < fin && !HasFailure()) {
        playmp3();
        arrancadas += mp3est != 0;
        stopmp3();
        const long desde = turnos;
        while (turnos < desde + 12) std::this_thread::yield();
        EXPECT_EQ(mp3est, 0) << "a song started after stop, run " << arrancadas;
    }
    parar = true;
    for (auto &t : timers) t.join();
    EXPECT_GT(arrancadas, 100);
}

} // namespace
