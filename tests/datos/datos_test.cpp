// The shipped data as the game meets it: the staged tree loaded through Allegro the way the game
// loads it, and the whole data set built a second time to the same bytes.
#include <allegro.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

// A picture of the staged tree, loaded as the game loads it: an uncompressed 8-bit BMP whose
// stored palette Allegro reads without loss (6-bit steps). The caller destroys it.
BITMAP *bmp_de_8_bits(const std::string &nombre, int w, int h) {
    const std::string bytes = lee(RUN / "datos" / nombre);
    PALETTE pal;
    BITMAP *bmp = load_bitmap((RUN / "datos" / nombre).c_str(), pal);
    EXPECT_TRUE(bmp && bitmap_color_depth(bmp) == 8 && bmp->w == w && bmp->h == h) << nombre;
    EXPECT_EQ(bytes.size(), 54u + 1024u + size_t((w + 3) / 4 * 4) * h) << nombre;
    const auto *e = reinterpret_cast<const uint8_t *>(bytes.data()) + 54;
    for (int i = 0; i < 256 && bytes.size() >= 54 + 1024; i++, e += 4) {
        const RGB &c = pal[i];
        EXPECT_TRUE(e[0] == 4 * c.b && e[1] == 4 * c.g && e[2] == 4 * c.r && !e[3]) << i;
    }
    EXPECT_EQ(pal[0].r + pal[0].g + pal[0].b, 0) << nombre << ": index 0 is black";
    return bmp;
}

class Datos : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        set_color_depth(8);
    }
};

TEST_F(Datos, PicturesHaveTheirSizesPalettesAndSpriteCells) {
    for (const char *nombre : {"tavisk.bmp", "vorkzel.bmp", "gane.bmp"})
        destroy_bitmap(bmp_de_8_bits(nombre, 320, 240));
    BITMAP *s = bmp_de_8_bits("imagen.bmp", 320, 568);
    ASSERT_NE(s, nullptr);
    // Sprite i as the game cuts it from the sheet: x, y, w, h.
    auto celda = [](int i) -> std::array<int, 4> {
        if (i < 8) return {37 * i, 316, 37, 72};
        if (i < 13) return {46 * (i - 8), 388, 46, 36};
        if (i < 17) return {70 * (i - 13), 244, 70, 72};
        return {50 * ((i - 17) % 6), i < 23 ? 122 : 0, 50, 122};
    };
    for (int i = 0; i < 29; i++) {
        const auto [cx, cy, w, h] = celda(i);
        int tinta = 0, borde = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                if (getpixel(s, cx + x, cy + y)) ++tinta, borde += x == 0 || x == w - 1 || y == 0;
        EXPECT_GT(tinta, 40) << "sprite " << i << " is empty";
        EXPECT_EQ(borde, 0) << "sprite " << i << " is cut off at its cell's side or top";
    }
    destroy_bitmap(s);
}

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

TEST_F(Datos, SongsLoadAndTheirPatchesExist) {
    std::vector<fs::path> canciones = archivos(RUN / "midi", ".mid");
    EXPECT_GE(canciones.size(), 3u);
    canciones.push_back(RUN / "datos/fox.mid");
    for (const fs::path &p : canciones) {
        MIDI *m = load_midi(p.c_str());
        EXPECT_TRUE(m && m->track[0].len > 0) << p;
        if (m) destroy_midi(m);
    }
    // Allegro's synthesiser needs every patch file of the list the game points it at.
    std::ifstream lista(RUN / "datos/patches.cfg");
    int parches = 0;
    for (std::string linea; std::getline(lista, linea);) {
        std::string ruta = linea.substr(linea.find(' ') + 1);
        if (linea[0] == '#' || ruta[0] != '/') continue;
        EXPECT_TRUE(fs::exists(ruta)) << linea;
        parches++;
    }
    EXPECT_GT(parches, 100);
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
