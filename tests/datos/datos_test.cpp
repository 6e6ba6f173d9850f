// The shipped data as the game meets it: the staged tree loaded through Allegro the way the game
// loads it, and the whole data set built a second time to the same bytes.
#include <allegro.h>

#include "music/almp3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
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

// Perceived brightness, 0..255, of a 6-bit palette entry.
double luma(const RGB &c) {
    return (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) * 255.0 / 63.0;
}

// A picture of the staged tree as load_bitmap gives it; pixels outside cell c read as 0.
struct Imagen {
    explicit Imagen(const std::string &nombre) : bytes(lee(RUN / "datos" / nombre)) {
        bmp = load_bitmap((RUN / "datos" / nombre).c_str(), pal);
    }
    ~Imagen() {
        if (bmp) destroy_bitmap(bmp);
    }
    int at(int x, int y, std::array<int, 4> c = {0, 0, 320, 568}) const {
        return x >= 0 && y >= 0 && x < c[2] && y < c[3] ? getpixel(bmp, c[0] + x, c[1] + y) : 0;
    }
    BITMAP *bmp;
    PALETTE pal;
    std::string bytes;
};

class Datos : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        set_color_depth(8);
    }

    // An uncompressed 8-bit BMP whose stored palette Allegro reads without loss (6-bit steps).
    static void bmp_de_8_bits(const Imagen &im, int w, int h) {
        ASSERT_NE(im.bmp, nullptr);
        EXPECT_TRUE(bitmap_color_depth(im.bmp) == 8 && im.bmp->w == w && im.bmp->h == h);
        ASSERT_EQ(im.bytes.size(), 54u + 1024u + size_t((w + 3) / 4 * 4) * h);
        const auto *e = reinterpret_cast<const uint8_t *>(im.bytes.data()) + 54;
        for (int i = 0; i < 256; i++, e += 4) {
            const RGB &c = im.pal[i];
            EXPECT_TRUE(e[0] == 4 * c.b && e[1] == 4 * c.g && e[2] == 4 * c.r && !e[3]) << i;
        }
        EXPECT_EQ(im.pal[0].r + im.pal[0].g + im.pal[0].b, 0) << "index 0 is black";
    }
};

TEST_F(Datos, SheetCutsIntoThePiecesTheGameDraws) {
    const Imagen s("imagen.bmp");
    bmp_de_8_bits(s, 320, 568);
    ASSERT_NE(s.bmp, nullptr);
    // 239 highlights text; 255 is the unselected menu entries and the game-over ground.
    const double hi = luma(s.pal[239]), dim = luma(s.pal[255]);
    EXPECT_TRUE(hi > 170 && dim > 35 && dim < 110 && hi - dim > 100) << hi << " " << dim;
    // Sprite i as the game cuts it: x, y, w, h in the sheet.
    auto celda = [](int i) -> std::array<int, 4> {
        if (i < 8) return {37 * i, 316, 37, 72};
        if (i < 13) return {46 * (i - 8), 388, 46, 36};
        if (i < 17) return {70 * (i - 13), 244, 70, 72};
        return {50 * ((i - 17) % 6), i < 23 ? 122 : 0, 50, 122};
    };
    auto en = [&](int i, int x, int y) { return s.at(x, y, celda(i)); };
    for (int i = 0; i < 29; i++) {
        const auto [cx, cy, w, h] = celda(i);
        int tinta = 0, borde = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                if (en(i, x, y)) ++tinta, borde += x == 0 || x == w - 1 || y == 0;
        EXPECT_GT(tinta, 40) << "sprite " << i << " is empty";
        EXPECT_EQ(borde, 0) << "sprite " << i << " is cut off at its cell's side or top";
    }
    // On fire, two flames 30 px apart and 86 px higher than the truck hide it whole.
    for (int l = 17; l < 29; l++)
        for (int t = 8; t < 13; t++) {
            int visto = 0;
            for (int y = 0; y < 36; y++)
                for (int x = 0; x < 46; x++)
                    visto += en(t, x, y) && !en(l, x, y + 86) && !en(l, x - 30, y + 86);
            EXPECT_EQ(visto, 0) << "flame " << l << " leaves truck " << t << " showing";
        }
}

TEST_F(Datos, PicturesAreFullScreenWithTheirOwnPalettes) {
    std::set<std::string> paletas;
    for (const char *nombre : {"tavisk.bmp", "vorkzel.bmp", "gane.bmp"}) {
        SCOPED_TRACE(nombre);
        const Imagen im(nombre);
        bmp_de_8_bits(im, 320, 240);
        ASSERT_NE(im.bmp, nullptr);
        std::vector<int> usos(256);
        for (int k = 0; k < 320 * 240; k++)
            usos[im.at(k % 320, k / 320)]++;
        EXPECT_GE(256 - std::count(usos.begin(), usos.end(), 0), 96) << "a picture, not a blank";
        EXPECT_LT(*std::max_element(usos.begin(), usos.end()), 320 * 240 * 2 / 5);
        paletas.insert(im.bytes.substr(54, 1024));
        if (std::string(nombre) != "vorkzel.bmp") continue;
        // "APRETA ENTER" blinks in index 4, centred at y 160: the band under it stays dark.
        const double aviso = luma(im.pal[4]);
        EXPECT_GE(aviso, 200.0);
        for (int y = 158; y <= 182; y++)
            for (int x = 80; x <= 240; x++)
                ASSERT_GE(aviso - luma(im.pal[im.at(x, y)]), 120.0) << x << "," << y;
    }
    EXPECT_EQ(paletas.size(), 3u);
}

TEST_F(Datos, FontIsObjectOneAndFitsTheScreenTexts) {
    DATAFILE *d = load_datafile((RUN / "datos/font.dat").c_str());
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d[0].type != DAT_END && d[1].type == DAT_FONT) << "the game font is object 1";
    FONT *f = static_cast<FONT *>(d[1].dat);
    const Imagen hoja("imagen.bmp");
    EXPECT_TRUE(is_color_font(f));
    EXPECT_TRUE(text_height(f) >= 12 && text_height(f) <= 20); // ranking rows are 21 px apart
    EXPECT_EQ(text_length(f, "11111"), text_length(f, "88888")) << "score columns must line up";
    for (const char *t : {"SELECIONA LA DIFICULTAD", "PUNTOS:99999 VIDAS:99", "TOTAL:    999999"})
        EXPECT_LE(text_length(f, t), 320) << t;
    BITMAP *b = create_bitmap(16, 24);
    std::set<std::vector<int>> vistos;
    for (int c = 32; c <= 126; c++) {
        const char s[2] = {char(c), 0};
        EXPECT_LE(text_length(f, s), 13) << s; // initials are 13 px apart
        clear_to_color(b, 0);
        textout_ex(b, f, s, 0, 0, -1, -1);
        std::vector<int> propio;
        for (int k = 0; k < 16 * 24; k++)
            propio.push_back(getpixel(b, k % 16, k / 16));
        const auto tinta = std::count_if(propio.begin(), propio.end(), [](int p) { return p; });
        EXPECT_TRUE(c == ' ' ? tinta == 0 : tinta > 3 && vistos.insert(propio).second) << s;
        // A highlighted ranking row (239) must stand out from rows in the font's own colours.
        const RGB &h = hoja.pal[239];
        for (int p : propio) {
            const int dr = hoja.pal[p].r - h.r, dg = hoja.pal[p].g - h.g, db = hoja.pal[p].b - h.b;
            EXPECT_TRUE(!p || dr * dr + dg * dg + db * db > 24 * 24) << s;
        }
    }
    destroy_bitmap(b);
    unload_datafile(d);
}

TEST_F(Datos, SoundEffectsLoadWithinTheirMomentsWithoutClicks) {
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
        std::vector<double> x; // Allegro keeps 16-bit samples unsigned
        for (unsigned long i = 0; i < s->len; i++)
            x.push_back((static_cast<const uint16_t *>(s->data)[i] - 32768) / 32768.0);
        const double segundos = double(x.size()) / s->freq;
        destroy_sample(s);
        ASSERT_GT(x.size(), 100u);
        EXPECT_TRUE(segundos >= e.min_s && segundos <= e.max_s) << segundos << " s";
        double pico = 0, media = 0;
        for (double v : x)
            pico = std::max(pico, std::abs(v)), media += v / x.size();
        EXPECT_TRUE(pico > 0.3 && pico < 0.98 && std::abs(media) < 0.005) << pico << " " << media;
        const size_t n = x.size();
        if (std::string(e.nombre) != "camio1") { // one-shots start and end at rest
            for (size_t i : {size_t(0), size_t(1), n - 2, n - 1})
                EXPECT_LT(std::abs(x[i]), 0.01) << "sample " << i;
            continue;
        }
        // The engine loops for minutes: the seam must be no bigger a step than the loop's own.
        std::vector<double> pasos;
        for (size_t i = 1; i < n; i++)
            pasos.push_back(std::abs(x[i] - x[i - 1]));
        std::sort(pasos.begin(), pasos.end());
        EXPECT_LE(std::abs(x[0] - x[n - 1]), pasos[pasos.size() * 99 / 100]);
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
    // The music prefers MP3 files: every one staged must decode with the game's stream layer.
    for (const fs::path &p : archivos(RUN / "mp3", ".mp3")) {
        std::string b = lee(p);
        ALMP3_MP3STREAM *s = almp3_create_mp3stream(b.data(), int(b.size()), 1);
        EXPECT_NE(s, nullptr) << p;
        if (s) almp3_destroy_mp3stream(s);
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
    for (const char *d : {"datos", "levels", "midi", "mp3"})
        fs::create_directories(otra / d);
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
    for (const std::string &o : ordenes)
        EXPECT_EQ(std::system((o + " >/dev/null").c_str()), 0) << o;
    auto arbol = [](const fs::path &raiz) {
        std::set<std::string> r;
        for (const char *d : {"datos", "levels", "midi", "mp3"})
            for (const auto &e : fs::directory_iterator(raiz / d))
                r.insert(fs::relative(e.path(), raiz).string());
        return r;
    };
    const auto hechos = arbol(GEN);
    EXPECT_EQ(arbol(otra), hechos);
    EXPECT_EQ(arbol(RUN), hechos);
    for (const std::string &f : hechos) {
        EXPECT_TRUE(lee(otra / f) == lee(GEN / f)) << f << " differs between two builds";
        // the player's own records are kept
        EXPECT_TRUE(f == "datos/ranking.dat" || lee(RUN / f) == lee(GEN / f)) << f << " is stale";
    }
    fs::remove_all(otra);
    fs::remove_all(trabajo);
}

} // namespace
