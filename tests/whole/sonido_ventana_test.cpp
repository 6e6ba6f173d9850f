// What the game plays, captured: ALSA writes the mixed output to a file instead of a sound card.
// Every shipped sound effect and the title tune are replaced by silent ones in the scratch copy,
// so whatever sound the capture holds comes from the background music.
#include "pantalla.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <utility>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes lee(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void escribe(const fs::path &p, const Bytes &b)
{
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
}

uint32_t le32(const Bytes &b, size_t i) { return b[i] | b[i + 1] << 8 | b[i + 2] << 16 | static_cast<uint32_t>(b[i + 3]) << 24; }

// Keeps each WAV's format and length but makes its samples silent.
void silencia_datos(const std::string &dir)
{
    for (const auto &e : fs::directory_iterator(dir + "/datos")) {
        if (e.path().extension() != ".wav") continue;
        Bytes w = lee(e.path());
        const int bits = w[34];
        for (size_t i = 12; i + 8 <= w.size();) {
            const uint32_t n = le32(w, i + 4);
            if (std::equal(w.begin() + i, w.begin() + i + 4, "data"))
                std::fill(w.begin() + i + 8, w.begin() + std::min(w.size(), i + 8 + n), bits == 8 ? 0x80 : 0);
            i += 8 + n + (n & 1);
        }
        escribe(e.path(), w);
    }
    // A tune with one track that only ends.
    escribe(dir + "/datos/fox.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0,
                                     0, 0, 4, 0, 0xFF, 0x2F, 0});
}

// A sine wave, 16-bit mono at 44100 Hz, encoded to MP3 with lame from raw samples.
void tono_mp3(const fs::path &mp3, double hz, double segundos)
{
    const std::string orden = std::string(VZ_LAME) +
                              " --quiet -b 128 -r -s 44.1 --bitwidth 16 --signed --little-endian -m m - " + mp3.string();
    FILE *p = popen(orden.c_str(), "w");
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < static_cast<int>(44100 * segundos); i++) {
        const auto s = static_cast<int16_t>(std::lround(12000 * std::sin(2 * M_PI * hz * i / 44100)));
        std::fputc(s & 0xff, p);
        std::fputc((s >> 8) & 0xff, p);
    }
    ASSERT_EQ(pclose(p), 0) << orden;
}

// Runs the game with its sound going to <dir>/salida.raw; returns the ALSA environment.
std::map<std::string, std::string> captura_en(const std::string &dir)
{
    std::ofstream(dir + "/alsa.conf") << "pcm.!default {\n type file\n slave.pcm \"null\"\n file \""
                                      << dir << "/salida.raw\"\n format \"raw\"\n}\n";
    return {{"ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf:" + dir + "/alsa.conf"}};
}

// Left channel of the capture: 16-bit stereo, the sign read the way that gives the smoother wave
// (the driver does not say which it opened).
std::vector<double> canal_izquierdo(const Bytes &raw)
{
    std::vector<double> sin_signo, con_signo;
    for (size_t i = 0; i + 4 <= raw.size(); i += 4) {
        const int v = raw[i] | raw[i + 1] << 8;
        sin_signo.push_back(v - 0x8000);
        con_signo.push_back(v >= 0x8000 ? v - 0x10000 : v);
    }
    auto aspereza = [](const std::vector<double> &x) {
        double r = 0;
        for (size_t i = 1; i < x.size(); i++) r += std::fabs(x[i] - x[i - 1]);
        return r;
    };
    return aspereza(sin_signo) <= aspereza(con_signo) ? sin_signo : con_signo;
}

double goertzel(const std::vector<double> &x, size_t b, size_t e, double hz, int rate)
{
    const double k = 2 * std::cos(2 * M_PI * hz / rate);
    double s1 = 0, s2 = 0;
    for (size_t i = b; i < e; i++) s2 = std::exchange(s1, x[i] + k * s1 - s2);
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}

struct Analisis {
    size_t ventanas = 0, sonoras = 0, de_tono = 0;
};

// Cuts the capture into 4096-sample windows: how many hold sound, and how many of those have
// most of their energy at `hz`.
Analisis analiza(const std::vector<double> &x, double hz)
{
    constexpr size_t N = 4096;
    Analisis a;
    for (size_t b = 0; b + N <= x.size(); b += N) {
        a.ventanas++;
        double energia = 0, media = 0;
        for (size_t i = b; i < b + N; i++) media += x[i] / N;
        for (size_t i = b; i < b + N; i++) energia += (x[i] - media) * (x[i] - media);
        if (std::sqrt(energia / N) < 100) continue;
        a.sonoras++;
        if (goertzel(x, b, b + N, hz, 44100) / (N / 2.0 * energia) > 0.6) a.de_tono++;
    }
    return a;
}

// Plays a few seconds of a level, ends the game with ESC and returns the capture's left channel.
std::vector<double> juega_y_captura(Juego &j)
{
    silencia_datos(j.dir());
    j.arranca({}, captura_en(j.dir()));
    EXPECT_TRUE(hasta_jugar(j, 1)) << j.salida_error();
    std::this_thread::sleep_for(std::chrono::seconds(6));
    j.pulsa("Escape");
    int estado = -1;
    EXPECT_TRUE(j.espera_fin(10, estado));
    j.suelta("Escape");
    EXPECT_EQ(estado, 0);
    return canal_izquierdo(lee(j.dir() + "/salida.raw"));
}

TEST(Sonido, AnMp3InTheMusicFolderIsHeardDuringPlay)
{
    Juego j;
    tono_mp3(j.dir() + "/mp3/tono.mp3", 440, 30);
    const Analisis a = analiza(juega_y_captura(j), 440);
    std::printf("%zu windows, %zu with sound, %zu of them the 440 Hz tone\n", a.ventanas, a.sonoras, a.de_tono);
    // Six seconds of play is about 65 windows of the tone.
    EXPECT_GT(a.de_tono, 30u);
    EXPECT_GT(a.de_tono * 10, a.sonoras * 9) << "something other than the tone was heard";
}

TEST(Sonido, MidiSongsAreHeardThroughTheSoftwareSynthesiser)
{
    Juego j;
    const Analisis a = analiza(juega_y_captura(j), 440);
    std::printf("%zu windows, %zu with sound\n", a.ventanas, a.sonoras);
    EXPECT_GT(a.sonoras, 30u);
}

// The control for both: with the music folders empty the silenced game is silent.
TEST(Sonido, WithoutMusicFilesTheSilencedGameIsSilent)
{
    Juego j;
    fs::remove_all(j.dir() + "/midi");
    fs::create_directories(j.dir() + "/midi");
    const std::vector<double> x = juega_y_captura(j);
    const Analisis a = analiza(x, 440);
    EXPECT_GT(x.size(), 44100u * 4) << "nothing was captured: the sound device did not open";
    EXPECT_EQ(a.sonoras, 0u);
}

} // namespace
