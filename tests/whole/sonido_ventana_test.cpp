// What the game plays, captured: ALSA writes the mixed output to a file instead of a sound card.
// Every sound effect and the title tune are silenced in the scratch copy, so whatever sound the
// capture holds comes from the background music.
#include "pantalla.h"
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

// Which music folders hold songs: a 440 Hz tone in mp3/, the shipped songs in midi/.
struct Musica {
    const char *nombre;
    bool mp3, midi;
};

class Sonido : public ::testing::TestWithParam<Musica> {};

TEST_P(Sonido, OnlyTheBackgroundMusicIsHeardDuringPlay)
{
    const Musica m = GetParam();
    Juego j;
    // Our own tools write every WAV with its samples from byte 44; format and length stay.
    for (const auto &e : fs::directory_iterator(j.dir() + "/datos")) {
        if (e.path().extension() != ".wav") continue;
        Bytes w = lee(e.path());
        std::fill(w.begin() + 44, w.end(), w[34] == 8 ? 0x80 : 0);
        escribe(e.path(), w);
    }
    // A title tune with one track that only ends.
    escribe(j.dir() + "/datos/fox.mid", {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
                                         96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0});
    if (!m.midi) fs::remove_all(j.dir() + "/midi");
    if (m.mp3) {
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
    int estado = -1;
    ASSERT_TRUE(j.espera_fin(10, estado)) << "ESC during play did not end the program";
    EXPECT_EQ(estado, 0);

    const Bytes raw = lee(j.dir() + "/salida.raw");
    ASSERT_GT(raw.size(), 4 * 44100u * 4) << "nothing was captured: the sound device did not open";
    // Windows of 4096 samples of the left channel: how many hold sound, and how many of those have
    // most of their energy at 440 Hz (Goertzel).
    constexpr size_t N = 4096;
    size_t sonoras = 0, de_tono = 0;
    for (size_t b = 0; 4 * (b + N) <= raw.size(); b += N) {
        std::vector<double> x(N);
        double media = 0, energia = 0, s1 = 0, s2 = 0;
        for (size_t i = 0; i < N; i++) {
            x[i] = static_cast<int16_t>(raw[4 * (b + i)] | raw[4 * (b + i) + 1] << 8);
            media += x[i] / N;
        }
        for (double v : x) energia += (v - media) * (v - media);
        if (std::sqrt(energia / N) < 100) continue;
        sonoras++;
        const double k = 2 * std::cos(2 * M_PI * 440 / 44100);
        for (double v : x) s2 = std::exchange(s1, v + k * s1 - s2);
        de_tono += (s1 * s1 + s2 * s2 - k * s1 * s2) / (N / 2.0 * energia) > 0.6;
    }
    std::printf("%zu windows with sound, %zu of them the 440 Hz tone\n", sonoras, de_tono);
    if (m.mp3) {
        // Six seconds of play is about 65 windows of the tone.
        EXPECT_GT(de_tono, 30u);
        EXPECT_GT(de_tono * 10, sonoras * 9) << "something other than the tone was heard";
    } else if (m.midi) {
        EXPECT_GT(sonoras, 30u);
    } else {
        EXPECT_EQ(sonoras, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Carpetas, Sonido,
                         ::testing::Values(Musica{"AnMp3", true, true},
                                           Musica{"MidiSongs", false, true},
                                           Musica{"NoMusicFilesIsSilence", false, false}),
                         [](const auto &i) { return std::string(i.param.nombre); });

} // namespace
