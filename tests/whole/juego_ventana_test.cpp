// Start-up without its data, every way out of the program (signals included) and the music
// heard, in the real window. Whole games won: mando_ventana_test.cpp.
#include "pantalla.h"
#include <cstdlib>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

// Empty tables: a saved score of any size would enter them.
const Bytes ranking(240, 0);

// A data file missing, or cut short: start-up stops with status 1, names the file and says which.
class Arranque : public ::testing::TestWithParam<std::pair<std::string, int>> {};

TEST_P(Arranque, StopsWithStatusOneNamingTheFile) {
    const auto [archivo, tam] = GetParam();
    Juego j;
    const std::string ruta = j.dir() + "/datos/" + archivo;
    if (tam < 0)
        fs::remove(ruta);
    else
        fs::resize_file(ruta, tam);
    j.arranca();
    ASSERT_EQ(j.espera_fin(20), 1) << "-1: still running";
    EXPECT_NE(j.salida_error().find("datos/" + archivo), std::string::npos) << j.salida_error();
    EXPECT_NE(j.salida_error().find(tam < 0 ? "missing" : "cut short"), std::string::npos)
        << j.salida_error();
}

// The library's readers take a picture cut in its rows as whole (rows of garbage) and a font cut at
// 5000 bytes too; they abort on a font cut at 100, and refuse a sound cut in its samples unsaid.
INSTANTIATE_TEST_SUITE_P(Datos, Arranque,
                         ::testing::Values(std::pair("font.dat", -1), std::pair("camio2.wav", -1),
                                           std::pair("imagen.bmp", 14), std::pair("font.dat", 100),
                                           std::pair("font.dat", 5000),
                                           std::pair("gane.bmp", 40000),
                                           std::pair("camio2.wav", 1000)));

// A way out of the program: drives the game to some screen and asks it to quit there.
struct Salida {
    const char *nombre;
    std::function<void(Juego &)> pide;
    double hasta = 10; // seconds the program may take to end afterwards
    friend std::ostream &operator<<(std::ostream &os, const Salida &s) { return os << s.nombre; }
};

class Salidas : public ::testing::TestWithParam<Salida> {};

TEST_P(Salidas, EndTheProgramWithStatusZeroAndSaveNothing) {
    Juego j;
    // Barrels all along the starting lane: a game played out is lost before the road ends.
    nivel::Nivel n = nivel_corto();
    for (int col = 60; col < 790; col += 8)
        n.objetos.push_back({col, 72, 6});
    pon_nivel(j.dir(), n);
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    escribe(ruta, ranking);
    j.arranca();
    GetParam().pide(j);
    if (HasFatalFailure()) return;
    EXPECT_EQ(j.espera_fin(GetParam().hasta), 0) << "-1: still running";
    EXPECT_EQ(lee(ruta), ranking);
}

const Salida salidas[] = {
    {"CloseOnTheTitle",
     [](Juego &j) {
         ASSERT_TRUE(hasta_titulo(j));
         j.cierra_ventana();
     }},
    // The tables (what they show is filmed in the title scene) flash past: well under their eight
    // seconds each.
    {"CloseDuringTheRankingTables",
     [](Juego &j) {
         ASSERT_TRUE(hasta_titulo(j));
         j.tecla("space", 150);
         ASSERT_TRUE(espera_que(3, [&] { return parecido_a(j.foto(), "vorkzel.bmp") < 0.5; }));
         j.cierra_ventana();
     },
     4},
    // The level's banner does not stop the game: it is played out and lost, then the program ends
    // without the game-over screen or the title.
    {"CloseDuringTheBannerPlaysTheGameOut",
     [](Juego &j) {
         ASSERT_TRUE(hasta_menu(j));
         j.tecla("Down");
         j.tecla("Return");
         ASSERT_TRUE(espera_que(3, [&] {
             return muestra_textos(j.foto(), {{110, -1, "SIGUIENTE NIVEL: 1"}});
         }));
         j.cierra_ventana();
         EXPECT_TRUE(espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 4); }))
             << "the level was not played";
     },
     75},
    // The pause outlasts the close button; the program ends once P is pressed again.
    {"CloseDuringThePause",
     [](Juego &j) {
         ASSERT_TRUE(hasta_jugar(j, 0));
         espera(3.0);
         j.tecla("p");
         espera(0.5);
         const Captura a = j.foto();
         j.cierra_ventana();
         espera(2.0);
         EXPECT_TRUE(j.vivo()) << "the close button ended the pause";
         EXPECT_EQ(j.foto().rgb, a.rgb) << "the picture changed during the pause";
         j.tecla("p");
     }},
};

INSTANTIATE_TEST_SUITE_P(Todas, Salidas, ::testing::ValuesIn(salidas),
                         [](const auto &i) { return std::string(i.param.nombre); });

// SIGINT, SIGTERM or SIGQUIT at a random moment (start-up, fades, title, play) ends a game in an
// enlarged window by that signal.
TEST(Escala, ASignalAtAnyMomentEndsTheGameByThatSignal) {
    Juego j;
    std::mt19937 azar(std::random_device{}());
    std::uniform_real_distribution<double> hasta(0.0, 2.5);
    j.escala = 2;
    for (int i = 0; i < 16; i++) {
        j.arranca({"-2"});
        ASSERT_TRUE(i % 2 == 1 ? hasta_jugar(j, 1) : j.espera_ventana());
        espera(hasta(azar));
        if (i % 4 == 2) j.tecla("x"), espera(hasta(azar)); // into the opening picture's fade-out
        const int s = std::array{SIGINT, SIGTERM, SIGQUIT}[i % 3];
        ASSERT_GT(j.pid(), 0) << "round " << i; // kill(-1) would signal every process
        kill(j.pid(), s);
        EXPECT_EQ(j.espera_fin(5), 128 + s) << "round " << i;
    }
}

// What the game plays, captured: ALSA writes the mixed output to a file instead of a sound card.
// The scratch copy's sound effects are silenced and its title tune removed, so whatever sound the
// capture holds comes from the background music: the shipped MIDI songs through the patch set that
// the build made, or, with an MP3 song beside them, that song alone (silence here).
class Sonido : public ::testing::TestWithParam<bool> {}; // with the MP3 song

TEST_P(Sonido, OnlyTheBackgroundMusicIsHeardDuringPlay) {
    Juego j;
    // Our own tools write every WAV with its samples from byte 44; format and length stay.
    for (const auto &e : fs::directory_iterator(j.dir() + "/datos")) {
        if (e.path().extension() != ".wav") continue;
        Bytes w = lee(e.path());
        std::fill(w.begin() + 44, w.end(), w[34] == 8 ? 0x80 : 0);
        escribe(e.path(), w);
    }
    fs::remove(j.dir() + "/datos/fox.mid"); // the title is then silent
    const std::string mudo = "head -c 2646000 /dev/zero | " VZ_LAME " --quiet -r -s 44.1 -m m - ";
    ASSERT_EQ(std::system(GetParam() ? (mudo + j.dir() + "/mp3/mudo.mp3").c_str() : "true"), 0);
    // Converted to one known format on its way to the file: 16-bit signed stereo at 44100 Hz.
    std::ofstream(j.dir() + "/alsa.conf") << "pcm.!default { type plug slave { pcm \"captura\" "
                                             "format S16_LE channels 2 rate 44100 } }\n"
                                          << "pcm.captura { type file slave.pcm \"null\" file \""
                                          << j.dir() << "/salida.raw\" format \"raw\" }\n";
    j.arranca({}, {{"ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf:" + j.dir() + "/alsa.conf"}});
    ASSERT_TRUE(hasta_jugar(j, 1)) << j.salida_error();
    espera(6.0);
    j.tecla("Escape", 1000);
    ASSERT_EQ(j.espera_fin(10), 0) << "-1: Esc during play did not end the program";

    const Bytes raw = lee(j.dir() + "/salida.raw");
    ASSERT_GT(raw.size(), 4 * 44100u * 4) << "nothing was captured: the sound device did not open";
    // Windows of 4096 samples of the left channel that hold sound; six seconds of play is about 65.
    constexpr size_t N = 4096;
    size_t sonoras = 0;
    for (size_t b = 0; 4 * (b + N) <= raw.size(); b += N) {
        int pico = 0;
        for (size_t i = b; i < b + N; i++)
            pico = std::max(pico, std::abs(static_cast<int16_t>(raw[4 * i] | raw[4 * i + 1] << 8)));
        sonoras += pico >= 100;
    }
    EXPECT_EQ(sonoras > 30, !GetParam()) << sonoras << " windows with sound";
    EXPECT_EQ(sonoras == 0, GetParam()) << sonoras << " windows with sound";
}

INSTANTIATE_TEST_SUITE_P(Carpetas, Sonido, ::testing::Bool(), [](const auto &i) {
    return i.param ? "AnMp3InsteadOfMidi" : "MidiSongs";
});

} // namespace
