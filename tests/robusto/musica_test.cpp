// The music code over the recording stand-in of the MP3 layer: songs with cover art in a tag, and
// the music timer meeting a stop from the main thread.
#include "almp3_falso.h"
#include "frame/utilfun.h"
#include "music/candado.h"
#include "music/carpetas.h"
#include "music/mp3.h"
#include "music/musica.h"
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace vz;
namespace fs = std::filesystem;

namespace {

// Runs once, on the next attempt at the music lock.
std::function<void()> antes_del_candado;

struct Musica : ::testing::Test {
    fs::path antes = fs::current_path(), dir = fs::temp_directory_path() / "vz-robusto-musica";
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "mp3");
        fs::current_path(dir);
        falso::reinicia();
        musicas = 1;
        std::snprintf(archivm[0], sizeof archivm[0], "a.mp3");
        carpetam[0] = "mp3";
        armalistamusica();
    }
    void TearDown() override {
        stopmp3();
        fs::current_path(antes);
        fs::remove_all(dir);
    }
};

// An ID3v2 header for a tag of `tam` bytes after it, the size stored 7 bits a byte.
std::string id3(size_t tam, char banderas = 0) {
    std::string h = {'I', 'D', '3', 4, 0, banderas};
    for (int i = 3; i >= 0; i--)
        h += static_cast<char>((tam >> (7 * i)) & 0x7f);
    return h + std::string(tam, 'P');
}

TEST_F(Musica, TagsAtTheStartAreSkippedWhateverTheirSize) {
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
        ASSERT_EQ(falso::llamadas.at(0).que, "create");
        EXPECT_EQ(falso::llamadas[0].a, c.primer_bloque) << c.antes.size() << " bytes before";
        EXPECT_EQ(falso::llamadas[0].b, c.ultimo) << c.antes.size() << " bytes before";
    }
}

// The timer looks at the state, then tries the lock; the stop lands exactly in between.
TEST_F(Musica, TheTimerNeverStartsASongAfterAStop) {
    std::ofstream("mp3/a.mp3", std::ios::binary) << std::string(100, '\xff');
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
