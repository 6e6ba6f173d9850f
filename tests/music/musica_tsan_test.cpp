// The MP3 stream layer and the music code under ThreadSanitizer, with real sound mixing (through
// con_sonido.sh) into a file. Songs are silence encoded by lame while the test runs.
#include "allegro_vz.h"
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/arranque.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include "music/candado.h"
#include "music/mp3.h"
#include "music/musica.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace vz;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;
constexpr int kBlock = 32768;

// `seconds` of silence, 16-bit at `khz` with `canales` channels, encoded by lame with `opts`.
Bytes silencio(const fs::path &mp3, const char *khz, int canales, double seconds,
               const std::string &opts) {
    const std::string orden = std::string(VZ_LAME) + " --quiet -r --bitwidth 16 --signed " +
                              "--little-endian -s " + khz + (canales == 1 ? " -m m " : " ") + opts +
                              " - " + mp3.string();
    FILE *p = popen(orden.c_str(), "w");
    const std::string pcm(static_cast<size_t>(std::atof(khz) * 1000 * seconds) * 2 * canales, 0);
    std::fwrite(pcm.data(), 1, pcm.size(), p);
    EXPECT_EQ(pclose(p), 0) << orden;
    std::ifstream in(mp3, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), {});
}

// Fed as the music code feeds it, at most one block per poll: the stream asks for every byte,
// learns the last block's size, then never asks again and ends.
TEST(Almp3, SongsAreFedBlockByBlockToTheirEnd) {
    Bytes corte = silencio("corte.mp3", "44.1", 2, 2.0, "-b 320 --cbr");
    corte.resize(kBlock); // exactly one block, cut mid-frame
    Bytes basura(kBlock, 0x55);
    EXPECT_EQ(almp3_create_mp3stream(basura.data(), 0, -1), nullptr) << "empty block";
    EXPECT_EQ(almp3_create_mp3stream(basura.data(), kBlock, 0), nullptr) << "not MP3";
    for (const Bytes &mp3 : {silencio("a.mp3", "44.1", 2, 1.0, "-b 128"), corte,
                             silencio("b.mp3", "44.1", 2, 3.0, "-b 320 --cbr"),
                             silencio("c.mp3", "22.05", 1, 2.0, "-b 160")}) {
        SCOPED_TRACE(mp3.size());
        size_t pos = std::min<size_t>(mp3.size(), kBlock);
        bool fin = pos < kBlock; // the last block has been handed over
        Bytes primero(mp3.begin(), mp3.begin() + static_cast<long>(pos));
        ALMP3_MP3STREAM *s =
            almp3_create_mp3stream(primero.data(), static_cast<int>(pos), fin ? -1 : 0);
        ASSERT_NE(s, nullptr);
        std::fill(primero.begin(), primero.end(), 0); // the stream keeps its own copy
        EXPECT_EQ(almp3_play_mp3stream(s, 65536, 255, 128), 0);
        int tarde = 0;
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (almp3_poll_mp3stream(s) == 0 && std::chrono::steady_clock::now() < limite) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (void *buf = almp3_get_mp3stream_buffer(s)) {
                tarde += fin;
                const size_t n = std::min<size_t>(mp3.size() - pos, kBlock);
                std::memcpy(buf, mp3.data() + pos, n);
                pos += n;
                fin = n < kBlock;
                almp3_free_mp3stream_buffer(s, fin ? static_cast<int>(n) : -1);
            }
        }
        EXPECT_NE(almp3_poll_mp3stream(s), 0) << "did not end";
        EXPECT_TRUE(fin && pos == mp3.size()) << "not every byte, or no last block, was asked for";
        EXPECT_EQ(tarde, 0) << "a buffer offered after the last block";
        almp3_destroy_mp3stream(s);
    }
}

// The playlist cursor, read the way the game's own threads share it: under the music lock.
int cursor() {
    std::lock_guard<std::mutex> cerrojo(candado_musica);
    return listamusica[10];
}

TEST(MusicaHilos, SongsChangeOnTheTimerWhileTheMainThreadStopsTurnsDownAndDraws) {
    buscaarchmp3();
    ASSERT_EQ(musicas, 4);
    armalistamusica();
    playmp3();
    std::mt19937 azar(7);
    install_int(mp3actualiza, 10);
    install_int(fps_proc, 100);
    int antes = cursor(), cambios = 0;
    for (const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(6);
         std::chrono::steady_clock::now() < fin;) {
        const unsigned paso = azar() % 100;
        if (paso == 0) stopmp3();
        if (paso >= 1 && paso <= 3) playmp3();
        if (paso == 4 || paso == 5) ajusta_mp3(paso == 4 ? 100 : 255);
        act_grafica();
        cambios += cursor() != antes;
        antes = cursor();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    remove_int(mp3actualiza);
    remove_int(fps_proc);
    stopmp3();
    // Three playable songs of a second each (and one that is skipped) in six seconds.
    EXPECT_GE(cambios, 4);
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char plantilla[] = "/tmp/vz-tsan-XXXXXX";
    if (std::getenv("VZ_CAPTURA") == nullptr || mkdtemp(plantilla) == nullptr) return 1;
    const fs::path dir = plantilla;
    fs::create_directory_symlink(fs::path(VZ_RUN_DIR) / "datos", dir / "datos");
    fs::create_directories(dir / "mp3");
    fs::current_path(dir);
    // Three songs of a second, each longer than a block, and one that does not open.
    for (int i = 0; i < 3; i++)
        silencio("mp3/0" + std::to_string(i) + ".mp3", "44.1", 1, 1.0, "-b 320");
    std::ofstream("mp3/03_roto.mp3") << std::string(5000, 'U');

    int resultado = 1;
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0 || install_timer() != 0 ||
        install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0) {
        std::fprintf(stderr, "no sound: %s\n", allegro_error);
    } else {
        // The frame drawn between steps needs the game's pictures and fonts.
        set_color_depth(8);
        DATAFILE *fuente = load_datafile("datos/font.dat");
        font2 = font;
        bg = -1;
        CargarBMP();
        active_page = create_bitmap(320, 240);
        scroll = create_bitmap(640, 192);
        clear_bitmap(scroll);
        y = 96.0f;
        if (fuente != nullptr && datos_fallidos(stderr) == 0) {
            font = static_cast<FONT *>(fuente[1].dat);
            resultado = RUN_ALL_TESTS();
        }
        DestruyeBMP();
    }
    allegro_exit();
    fs::current_path("/");
    fs::remove_all(dir);
    return resultado;
}
