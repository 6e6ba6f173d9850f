// The shipped data as the game meets it: the sounds and table of the staged tree, the sounds
// loaded through Allegro the way the game loads them (its pictures are in the scenes' films, its
// songs heard in juego_ventana_test.cpp), and the whole data set built a second time to the same
// bytes.
#include <allegro.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path RUN = VZ_RUN_DIR, GEN = RUN.parent_path() / "gen";

std::string lee(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<fs::path> archivos(const fs::path &dir, const std::string &ext) {
    std::vector<fs::path> r;
    for (const auto &e : fs::directory_iterator(dir))
        if (e.path().extension() == ext) r.push_back(e.path());
    return r;
}

class Datos : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0); }
};

TEST_F(Datos, SoundEffectsLoadWithinTheirMoments) {
    // Lengths bound by where each plays: the game waits 2 s after camio2 and 3 s after camio3.
    const struct {
        const char *nombre;
        double min_s, max_s;
    } efectos[] = {
        {"explocio", 1.5, 2.5}, {"camio1", 1.0, 2.0}, {"bolsa", 0.4, 0.8},  {"grumvel", 0.4, 0.8},
        {"camio2", 0.8, 2.0},   {"gold", 0.7, 1.3},   {"camio3", 1.0, 3.0}, {"gameover", 1.5, 5.0},
    };
    for (const auto &e : efectos) {
        SCOPED_TRACE(e.nombre);
        SAMPLE *s = load_sample((RUN / "datos" / (std::string(e.nombre) + ".wav")).c_str());
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(s->bits == 16 && !s->stereo && (s->freq == 22050 || s->freq == 44100));
        const double segundos = double(s->len) / s->freq;
        EXPECT_TRUE(segundos >= e.min_s && segundos <= e.max_s) << segundos << " s";
        int pico = 0; // Allegro keeps 16-bit samples unsigned
        for (unsigned long i = 0; i < s->len; i++)
            pico = std::max(pico, std::abs(static_cast<const uint16_t *>(s->data)[i] - 32768));
        EXPECT_GT(pico, 10000) << "silent";
        destroy_sample(s);
    }
}

TEST_F(Datos, StartingRankingHoldsThreeOrderedTables) {
    // The staged copy may already hold a player's records; the build's own one is checked.
    const std::string b = lee(GEN / "datos/ranking.dat");
    ASSERT_EQ(b.size(), 240u);
    const auto *p = reinterpret_cast<const uint8_t *>(b.data());
    for (uint32_t r = 0, v = 0, antes = 0; r < 30; r++, p += 8, antes = v) {
        v = p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
        EXPECT_TRUE(r % 10 == 0 || v <= antes) << "record " << r << " out of order";
        // six digits are shown, and three capital initials
        EXPECT_TRUE(v < 1000000 && std::all_of(p + 4, p + 7, [](int c) { return isupper(c); }));
    }
}

// Runs every data tool once more into a scratch tree: the build's tree must come out byte for
// byte, and the staged tree must hold exactly that (a stale level there would be played).
TEST_F(Datos, ASecondBuildGivesTheSameBytes) {
    const fs::path otra = fs::temp_directory_path() / ("vz_datos_" + std::to_string(getpid()));
    const fs::path trabajo = otra.string() + "_arte", fuentes = fs::path(VZ_FUENTES_DIR) / "data";
    auto q = [](const fs::path &p) { return " '" + p.string() + "'"; };
    const fs::path d = otra / "datos", son = fuentes / "sonido";
    std::vector<std::string> ordenes = {
        q(ARTE) + q(fuentes / "arte") + q(d) + q(trabajo) + q(DAT),
        q(FOTOS) + q(fuentes / "fotos/letras.txt") + q(d),
        q(RANKING) + q(fuentes / "ranking.txt") + q(d / "ranking.dat"),
        q(SONIDO) + " effects" + q(son / "efectos.txt") + q(d),
        q(SONIDO) + " song" + q(son / "fox.txt") + q(d / "fox.mid"),
        fs::exists(GEN / "datos/patches.cfg")
            ? q(SONIDO) + " patches /etc/timidity/freepats.cfg" + q(d / "patches.cfg")
            : "true"};
    for (const fs::path &t : archivos(son, ".txt"))
        if (t.stem() != "efectos" && t.stem() != "fox")
            ordenes.push_back(q(SONIDO) + " song" + q(t) + q(otra / "midi" / t.stem()) + ".mid");
    for (const fs::path &t : archivos(fuentes / "levels", ".txt"))
        ordenes.push_back(q(NIVEL) + " compila" + q(t) + q(otra / "levels" / t.stem()) + ".map");
    const char *carpetas[] = {"datos", "levels", "midi", "mp3"};
    for (const char *c : carpetas)
        fs::create_directories(otra / c);
    for (const std::string &o : ordenes)
        EXPECT_EQ(std::system((o + " >/dev/null").c_str()), 0) << o;
    auto arbol = [&](const fs::path &raiz) {
        std::set<std::string> r;
        for (const char *c : carpetas)
            for (const auto &e : fs::directory_iterator(raiz / c))
                r.insert(fs::relative(e.path(), raiz).string());
        return r;
    };
    const auto hechos = arbol(GEN);
    EXPECT_EQ(arbol(otra), hechos);
    auto en_run = arbol(RUN); // with the build's marker, and the lock that saves leave there
    EXPECT_EQ(en_run.erase("datos/local.txt"), 1u);
    en_run.erase("datos/ranking.dat.lock");
    EXPECT_EQ(en_run, hechos);
    for (const std::string &f : hechos) {
        EXPECT_TRUE(lee(otra / f) == lee(GEN / f)) << f << " differs between two builds";
        // the player's own records are kept
        EXPECT_TRUE(f == "datos/ranking.dat" || lee(RUN / f) == lee(GEN / f)) << f << " is stale";
    }
    fs::remove_all(otra);
    fs::remove_all(trabajo);
}

} // namespace
