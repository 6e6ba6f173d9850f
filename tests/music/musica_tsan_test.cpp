// The MP3 stream layer and the music code under ThreadSanitizer, with real sound mixing (through
// con_sonido.sh) into a file. Songs are silence or a tone, encoded by lame while the test runs.
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
#include <cmath>
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

// `seconds` of a 440 Hz tone (amplitude `tono`, 0: silence), encoded by lame with `opts`.
Bytes cancion(const fs::path &mp3, const char *khz, int canales, double seconds,
              const std::string &opts, int tono = 0) {
    const std::string orden = std::string(VZ_LAME) + " --quiet -r --bitwidth 16 --signed " +
                              "--little-endian -s " + khz + (canales == 1 ? " -m m " : " ") + opts +
                              " - " + mp3.string();
    FILE *p = popen(orden.c_str(), "w");
    const double hz = std::atof(khz) * 1000;
    std::vector<int16_t> pcm(static_cast<size_t>(hz * seconds) * canales);
    for (size_t i = 0; i < pcm.size(); i++)
        pcm[i] = static_cast<int16_t>(tono * std::sin(2 * M_PI * 440 * (i / canales) / hz));
    std::fwrite(pcm.data(), 2, pcm.size(), p);
    EXPECT_EQ(pclose(p), 0) << orden;
    std::ifstream in(mp3, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), {});
}

// Fed as the music code feeds it, at most one block per poll: the stream asks for every byte,
// learns the last block's size, then never asks again and ends; no fill is short of music.
TEST(Almp3, SongsAreFedBlockByBlockToTheirEnd) {
    Bytes corte = cancion("corte.mp3", "44.1", 2, 2.0, "-b 320 --cbr");
    corte.resize(kBlock); // exactly one block, cut mid-frame
    Bytes basura(kBlock, 0x55);
    EXPECT_EQ(almp3_create_mp3stream(basura.data(), 0, -1), nullptr) << "empty block";
    EXPECT_EQ(almp3_create_mp3stream(basura.data(), kBlock, 0), nullptr) << "not MP3";
    // Free format at 640 kbps: frames are largest at 32 kHz, the sound ring longest at 16 kHz.
    for (const Bytes &mp3 : {cancion("a.mp3", "44.1", 2, 1.0, "-b 128"), corte,
                             cancion("b.mp3", "44.1", 2, 3.0, "-b 320 --cbr"),
                             cancion("c.mp3", "22.05", 1, 2.0, "-b 160"),
                             cancion("d.mp3", "32", 2, 3.0, "--freeformat -b 640"),
                             cancion("e.mp3", "16", 2, 3.0, "--freeformat -b 640")}) {
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
        EXPECT_EQ(almp3_late_refills(s), 0);
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

// What is heard as a 320 kbps song starts, from the capture: the first hand-over to the decoder
// once held 0.8 s of such a song, and the sound ring's second half played silence.
TEST(MusicaHilos, A320KbpsSongIsHeardWholeFromItsStart) {
    fs::create_directories("tono/mp3");
    fs::current_path("tono");
    cancion("mp3/tono.mp3", "44.1", 2, 8.0, "-b 320", 12000);
    buscaarchmp3();
    armalistamusica();
    std::ifstream captura(std::getenv("VZ_CAPTURA"), std::ios::binary);
    captura.seekg(0, std::ios::end); // read from here: what is played from now on
    playmp3();
    fs::current_path("..");
    install_int(mp3actualiza, 250);
    std::this_thread::sleep_for(std::chrono::seconds(5));
    remove_int(mp3actualiza);
    stopmp3();
    const Bytes raw((std::istreambuf_iterator<char>(captura)), {});
    // Unsigned 16-bit stereo at the mixer's rate: the left channel's distance from silence.
    ASSERT_TRUE(get_mixer_bits() == 16 && get_mixer_channels() == 2);
    auto x = [&](size_t i) { return std::abs((raw[4 * i] | raw[4 * i + 1] << 8) - 0x8000); };
    size_t i = 0;
    while (4 * i < raw.size() && x(i) < 100)
        i++;
    const size_t hz = get_mixer_frequency(), ventana = hz / 20; // 50 ms
    EXPECT_LT(i, hz / 2) << "the song started late";
    ASSERT_GE(raw.size() / 4, i + 80 * ventana) << "less than four seconds of music captured";
    int mudas = 0;
    for (const size_t fin = i + 80 * ventana; i < fin; i += ventana) {
        int pico = 0;
        for (size_t j = i; j < i + ventana; j++)
            pico = std::max(pico, x(j));
        mudas += pico < 100;
    }
    EXPECT_EQ(mudas, 0) << "silent 50 ms windows in the first four seconds";
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
        cancion("mp3/0" + std::to_string(i) + ".mp3", "44.1", 1, 1.0, "-b 320");
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
