// The music code under ThreadSanitizer, with the game's timer running and real sound mixing
// (through con_sonido.sh). The main thread starts, stops, turns down and draws while the timer
// thread polls and changes songs; songs last about a second so that they change often.
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
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace vz;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

void escribe(const fs::path &p, const Bytes &b)
{
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
}

void pon(Bytes &b, uint32_t v, int n)
{
    for (int i = n - 1; i >= 0; i--) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// One track: `notas` quarter notes at 120 bpm (96 ticks each), about notas / 2 seconds.
Bytes midi_corto(int notas, int tono)
{
    Bytes pista;
    for (int i = 0; i < notas; i++) {
        for (int v : {0x00, 0x90, tono + i, 100, 0x60, 0x80, tono + i, 0}) pista.push_back(static_cast<unsigned char>(v));
    }
    for (int v : {0x00, 0xFF, 0x2F, 0x00}) pista.push_back(static_cast<unsigned char>(v));
    Bytes m = {'M', 'T', 'h', 'd'};
    pon(m, 6, 4);
    pon(m, 0, 2);
    pon(m, 1, 2);
    pon(m, 192, 2);
    for (char c : std::string("MTrk")) m.push_back(static_cast<unsigned char>(c));
    pon(m, static_cast<uint32_t>(pista.size()), 4);
    m.insert(m.end(), pista.begin(), pista.end());
    return m;
}

void mp3_corto(const fs::path &mp3, double segundos, double hz)
{
    const std::string orden = std::string(VZ_LAME) + " --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m m " +
                              "- " + mp3.string();
    FILE *p = popen(orden.c_str(), "w");
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < static_cast<int>(44100 * segundos); i++) {
        const auto s = static_cast<int16_t>(8000 * std::sin(2 * M_PI * hz * i / 44100));
        std::fputc(s & 0xff, p);
        std::fputc((s >> 8) & 0xff, p);
    }
    ASSERT_EQ(pclose(p), 0) << orden;
}

// Song changes, read the way the game's own threads share them: under the music lock.
int cursor()
{
    std::lock_guard<std::mutex> cerrojo(candado_musica);
    return listamusica[10];
}

struct Carrera {
    int cambios = 0;
    // Runs `paso` on the main thread for `segundos` while the timer polls the music every 10 ms,
    // drawing a frame between steps; counts the playlist cursor's moves.
    template <class F> void corre(double segundos, F paso)
    {
        std::mt19937 azar(7);
        BITMAP *pagina = create_bitmap(320, 240);
        active_page = pagina;
        install_int(mp3actualiza, 10);
        install_int(fps_proc, 100);
        int antes = cursor();
        const auto fin = std::chrono::steady_clock::now() + std::chrono::duration<double>(segundos);
        while (std::chrono::steady_clock::now() < fin) {
            paso(azar);
            act_grafica();
            const int ahora = cursor();
            cambios += ahora != antes;
            antes = ahora;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        remove_int(mp3actualiza);
        remove_int(fps_proc);
        destroy_bitmap(pagina);
    }
};

TEST(MusicaHilos, Mp3SongsChangeOnTheTimerWhileTheMainThreadStopsAndTurnsThemDown)
{
    buscaarchmp3();
    ASSERT_EQ(musicas, 4);
    armalistamusica();
    playmp3();
    Carrera c;
    c.corre(6.0, [](std::mt19937 &azar) {
        switch (azar() % 100) {
        case 0: stopmp3(); break;
        case 1: case 2: case 3: playmp3(); break;
        case 4: ajusta_mp3(100); break;
        case 5: ajusta_mp3(255); break;
        default: break;
        }
    });
    stopmp3();
    EXPECT_EQ(mp3est, 0);
    // Three playable songs of a second each (and one that is skipped) in six seconds.
    EXPECT_GE(c.cambios, 4);
}

TEST(MusicaHilos, MidiSongsChangeOnTheTimerWhileTheMainThreadStopsThem)
{
    buscaarchm();
    ASSERT_EQ(musicas, 3);
    armalistamusica();
    playmidimusic();
    Carrera c;
    c.corre(6.0, [](std::mt19937 &azar) {
        switch (azar() % 100) {
        case 0: stopmidi(); break;
        case 1: case 2: case 3: playmidimusic(); break;
        default: break;
        }
    });
    stopmidi();
    EXPECT_GE(c.cambios, 4);
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("VZ_CAPTURA") == nullptr) {
        std::fprintf(stderr, "run through con_sonido.sh\n");
        return 1;
    }
    char plantilla[] = "/tmp/vz-tsan-XXXXXX";
    if (mkdtemp(plantilla) == nullptr) return 1;
    const fs::path dir = plantilla;
    fs::create_directory_symlink(fs::path(VZ_RUN_DIR) / "datos", dir / "datos");
    fs::create_directories(dir / "mp3");
    fs::create_directories(dir / "midi");
    for (int i = 0; i < 3; i++) mp3_corto(dir / "mp3" / ("0" + std::to_string(i) + ".mp3"), 1.0, 330 + 110 * i);
    escribe(dir / "mp3" / "03_roto.mp3", Bytes(5000, 0x55));
    for (int i = 0; i < 3; i++) escribe(dir / "midi" / ("0" + std::to_string(i) + ".mid"), midi_corto(2, 60 + 5 * i));
    fs::current_path(dir);

    int resultado = 1;
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0) {
        install_timer();
        set_color_depth(8);
        set_config_string("sound", "patches", "datos/patches.cfg");
        if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0) {
            std::fprintf(stderr, "no sound: %s\n", allegro_error);
        } else {
            // The frame drawn between steps needs the game's pictures and fonts.
            DATAFILE *fuente = load_datafile("datos/font.dat");
            font2 = font;
            if (fuente != nullptr) font = static_cast<FONT *>(fuente[1].dat);
            bg = -1;
            CargarBMP();
            scroll = create_bitmap(640, 192);
            clear_bitmap(scroll);
            y = 96.0f;
            if (fuente != nullptr && datos_fallidos(stderr) == 0) resultado = RUN_ALL_TESTS();
            DestruyeBMP();
        }
    }
    allegro_exit();
    fs::current_path("/");
    fs::remove_all(dir);
    return resultado;
}
