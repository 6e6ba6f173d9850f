// Start-up without its data, every way out of the program and the music heard, in the real
// window. Whole games won: mando_ventana_test.cpp.
#include "pantalla.h"
#include <cmath>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

// Three tables with a different reserved byte in every record. The hard one has 12000 at place 3
// and is empty from place 6, so that a saved score of any size would enter it.
const Bytes ranking = [] {
    Bytes b(240);
    const uint32_t puntos[10] = {50000, 30000, 12000, 9000, 8000, 7000, 6000, 5000, 4000, 1000};
    const char *ini[10] = {"ANA", "BOB", "CEC", "DAN", "EVA", "FER", "GUS", "HUG", "IVO", "JOE"};
    for (int t = 0; t < 3; t++)
        for (int f = 0; f < 10; f++)
            pon_registro(b, t, f, puntos[f] + 7 * (2 - t), ini[f], 0x40 + 10 * t + f);
    for (int f = 5; f < 10; f++)
        pon_registro(b, 2, f, 0, "\0\0\0", 0x80 + f);
    return b;
}();

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
    const int estado = j.espera_fin(20);
    ASSERT_NE(estado, -1) << "still running";
    EXPECT_EQ(estado, 1);
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
    const int estado = j.espera_fin(GetParam().hasta);
    EXPECT_NE(estado, -1) << "still running";
    EXPECT_EQ(estado, 0);
    EXPECT_EQ(lee(ruta), ranking);
}

const Salida salidas[] = {
    // The tables (what they show is filmed in the title scene), then the opening and title
    // pictures again.
    {"SpaceShowsTheTablesThenCloseOnTheTitle",
     [](Juego &j) {
         ASSERT_TRUE(hasta_titulo(j));
         j.tecla("space", 150);
         ASSERT_TRUE(espera_que(3, [&] { return parecido_a(j.foto(), "vorkzel.bmp") < 0.5; }));
         ASSERT_TRUE(hasta_titulo(j));
         j.cierra_ventana();
     }},
    // The tables flash past: well under their eight seconds each.
    {"CloseDuringTheRankingTables",
     [](Juego &j) {
         ASSERT_TRUE(hasta_titulo(j));
         j.tecla("space", 150);
         ASSERT_TRUE(espera_que(3, [&] { return parecido_a(j.foto(), "vorkzel.bmp") < 0.5; }));
         j.cierra_ventana();
     },
     4},
    // No key follows: the menu must end on the close request alone.
    {"CloseInTheDifficultyMenu",
     [](Juego &j) {
         ASSERT_TRUE(hasta_menu(j));
         j.cierra_ventana();
     }},
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

// What the game plays, captured: ALSA writes the mixed output to a file instead of a sound card.
// The scratch copy's sound effects are silenced and its title tune removed, so whatever sound
// the capture holds comes from the background music. Which music folders hold songs: a 440 Hz
// tone in mp3/, the shipped songs in midi/.
using Musica = std::tuple<const char *, bool, bool>; // name, mp3, midi

class Sonido : public ::testing::TestWithParam<Musica> {};

TEST_P(Sonido, OnlyTheBackgroundMusicIsHeardDuringPlay) {
    const auto [nombre, mp3, midi] = GetParam();
    Juego j;
    // Our own tools write every WAV with its samples from byte 44; format and length stay.
    for (const auto &e : fs::directory_iterator(j.dir() + "/datos")) {
        if (e.path().extension() != ".wav") continue;
        Bytes w = lee(e.path());
        std::fill(w.begin() + 44, w.end(), w[34] == 8 ? 0x80 : 0);
        escribe(e.path(), w);
    }
    fs::remove(j.dir() + "/datos/fox.mid"); // the title is then silent
    if (!midi) fs::remove_all(j.dir() + "/midi");
    if (mp3) {
        // Thirty seconds of the tone, 16-bit mono at 44100 Hz, encoded with lame.
        const std::string orden = VZ_LAME " --quiet -b 128 -r -s 44.1 --bitwidth 16 --signed "
                                          "--little-endian -m m - " +
                                  j.dir() + "/mp3/tono.mp3";
        FILE *lame = popen(orden.c_str(), "w");
        for (int i = 0; i < 44100 * 30; i++) {
            const auto v = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440 * i / 44100));
            std::fwrite(&v, 2, 1, lame);
        }
        ASSERT_EQ(pclose(lame), 0) << orden;
    }
    // Converted to one known format on its way to the file: 16-bit signed stereo at 44100 Hz.
    std::ofstream(j.dir() + "/alsa.conf") << "pcm.!default { type plug slave { pcm \"captura\" "
                                             "format S16_LE channels 2 rate 44100 } }\n"
                                          << "pcm.captura { type file slave.pcm \"null\" file \""
                                          << j.dir() << "/salida.raw\" format \"raw\" }\n";
    j.arranca({}, {{"ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf:" + j.dir() + "/alsa.conf"}});
    ASSERT_TRUE(hasta_jugar(j, 1)) << j.salida_error();
    espera(6.0);
    j.tecla("Escape", 1000);
    const int estado = j.espera_fin(10);
    ASSERT_NE(estado, -1) << "ESC during play did not end the program";
    EXPECT_EQ(estado, 0);

    const Bytes raw = lee(j.dir() + "/salida.raw");
    ASSERT_GT(raw.size(), 4 * 44100u * 4) << "nothing was captured: the sound device did not open";
    // Windows of 4096 samples of the left channel: how many hold sound, and how many of those have
    // most of their energy at 440 Hz (Goertzel).
    constexpr size_t N = 4096;
    auto x = [&](size_t i) { return static_cast<int16_t>(raw[4 * i] | raw[4 * i + 1] << 8); };
    size_t sonoras = 0, de_tono = 0;
    for (size_t b = 0; 4 * (b + N) <= raw.size(); b += N) {
        double media = 0, energia = 0, s1 = 0, s2 = 0;
        for (size_t i = 0; i < N; i++)
            media += x(b + i) / double(N);
        for (size_t i = 0; i < N; i++)
            energia += std::pow(x(b + i) - media, 2);
        if (std::sqrt(energia / N) < 100) continue;
        sonoras++;
        const double k = 2 * std::cos(2 * M_PI * 440 / 44100);
        for (size_t i = 0; i < N; i++)
            s2 = std::exchange(s1, x(b + i) + k * s1 - s2);
        de_tono += (s1 * s1 + s2 * s2 - k * s1 * s2) / (N / 2.0 * energia) > 0.6;
    }
    std::printf("%zu windows with sound, %zu of them the 440 Hz tone\n", sonoras, de_tono);
    // Six seconds of play is about 65 windows.
    EXPECT_EQ(sonoras > 30, mp3 || midi);
    EXPECT_EQ(sonoras == 0, !mp3 && !midi);
    if (mp3) {
        EXPECT_GT(de_tono * 10, sonoras * 9) << "something other than the tone was heard";
    }
}

INSTANTIATE_TEST_SUITE_P(Carpetas, Sonido,
                         ::testing::Values(Musica{"AnMp3", true, true},
                                           Musica{"MidiSongs", false, true},
                                           Musica{"NoMusicFilesIsSilence", false, false}),
                         [](const auto &i) { return std::string(std::get<0>(i.param)); });

} // namespace
