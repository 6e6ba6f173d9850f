// The Windows downloads under Wine, in the harness's real window, for a player called Begoña: the
// zip unpacked into a folder with blanks and an ñ wins the keyboard game of mando_ventana_test.cpp
// and writes the same ranking file; the installer installs silently, and its Start-menu entry's
// command line starts the game, which keeps the scores and finds the player's own songs in her
// %APPDATA%; a fatal start-up error reaches her in a message box.
#include "pantalla.h"
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

const std::string USUARIA = "Begoña de Prueba";
const std::string INSTALADO = VZ_PREFIJO "/drive_c/Program Files/VORK-ZEL 2003";
const std::string PROPIA = VZ_PREFIJO "/drive_c/users/" + USUARIA + "/AppData/Roaming/vorkzel";

// Target, working folder and arguments of a shell link (a .lnk file), as the Start menu runs it.
std::array<std::string, 3> lee_acceso(const std::string &ruta) {
    const Bytes b = lee(ruta);
    auto u16 = [&](size_t p) { return unsigned(b.at(p) | b.at(p + 1) << 8); };
    auto u32 = [&](size_t p) { return u16(p) | u16(p + 2) << 16; };
    const unsigned flags = u32(0x14);
    size_t p = 0x4c;
    if (flags & 1) p += 2 + u16(p); // the target as an item list
    std::string destino;
    if (flags & 2) { // the target as a path
        for (size_t q = p + u32(p + 16); b.at(q) != 0; q++)
            destino += char(b[q]);
        p += u32(p);
    }
    std::string textos[5]; // name, relative path, working folder, arguments, icon; UTF-16
    for (int i = 0; i < 5; i++) {
        if ((flags >> (2 + i) & 1) == 0) continue;
        const size_t n = u16(p);
        for (size_t k = 0; k < n; k++)
            if (const unsigned c = u16(p + 2 + 2 * k); c != 0) textos[i] += char(c);
        p += 2 + 2 * n;
    }
    return {destino, textos[2], textos[3]};
}

// What Wine played into its capture file (32-bit float stereo at 48 kHz), in windows of 4096
// frames of the left channel: how many hold sound, and how many of those are mostly `hz`.
std::pair<int, int> oido(const std::string &ruta, double hz) {
    const Bytes raw = lee(ruta);
    constexpr size_t N = 4096;
    auto x = [&](size_t i) {
        float v;
        std::memcpy(&v, &raw[8 * i], 4);
        return double(v);
    };
    int sonoras = 0, de_tono = 0;
    const double k = 2 * std::cos(2 * M_PI * hz / 48000);
    for (size_t b = 0; 8 * (b + N) <= raw.size(); b += N) {
        double media = 0, energia = 0, s1 = 0, s2 = 0;
        for (size_t i = 0; i < N; i++)
            media += x(b + i) / N;
        for (size_t i = 0; i < N; i++)
            energia += std::pow(x(b + i) - media, 2);
        if (std::sqrt(energia / N) < 0.003) continue;
        sonoras++;
        for (size_t i = 0; i < N; i++) // Goertzel
            s2 = std::exchange(s1, x(b + i) + k * s1 - s2);
        de_tono += (s1 * s1 + s2 * s2 - k * s1 * s2) / (N / 2.0 * energia) > 0.6;
    }
    return {sonoras, de_tono};
}

class Wine : public ::testing::Test {
  protected:
    Wine() { j.escala = 2; }
    // A 1024 x 768 desktop, set before the harness starts its server: the game picks scale 2
    // itself and presents the enlarged picture through the DirectDraw window driver.
    const bool escritorio_ = (pantalla_xvfb = "1024x768x24", true);
    Juego j;
    const std::string captura = j.dir() + "/captura.raw";
    const std::string zip = j.dir() + "/Juegos de Begoña/vorkzel-1.0.0-win64";

    // The prefix's Wine server goes with each test, also one that failed half way.
    void TearDown() override { std::system("WINEPREFIX=" VZ_PREFIJO " wineserver -k 2>/dev/null"); }
    // `exe` (a Unix or a Windows path) under Wine, for Begoña, in the harness's window.
    void arranca(const std::string &exe, const std::vector<std::string> &args = {}) {
        j.programa = VZ_WINE_SH;
        std::vector<std::string> a = {VZ_PREFIJO, "280", exe};
        a.insert(a.end(), args.begin(), args.end());
        j.arranca(a, {{"USER", USUARIA}, {"VZ_CAPTURA", captura}});
    }
    // The zip into "Juegos de Begoña", where the game is then started: a folder without datos/,
    // so that the game must find its own.
    void desempaqueta() {
        fs::create_directories(zip);
        j.carpeta = zip + "/..";
        ASSERT_EQ(std::system(
                      ("cd '" + zip + "/..' && cmake -E tar xf " VZ_WIN "/vorkzel-1.0.0-win64.zip")
                          .c_str()),
                  0);
    }
};

TEST_F(Wine, TheZipInAFolderWithABlankAndAnEnyeWinsAGameByKeys) {
    desempaqueta();
    for (const char *f : {"vorkzel.exe", "datos/local.txt", "README.txt", "LICENSE.txt",
                          "allegro-license.txt", "mpg123-license.txt"})
        EXPECT_TRUE(fs::exists(zip + "/" + f)) << f;
    EXPECT_FALSE(fs::exists(zip + "/datos/patches.cfg")) << "a list of Linux files";
    // mando_ventana_test.cpp's level and tables: thirty bags in the top lane, twenty-one in the
    // bottom one after a gap.
    nivel::Nivel n = nivel_corto();
    for (int col = 200; col < 800; col += 10)
        if (col < 500 || col >= 590) n.objetos.push_back({col, col < 500 ? 24 : 96, 7});
    pon_nivel(zip, n);
    Bytes ranking(240);
    for (int f = 0; f < 30; f++)
        pon_registro(ranking, f / 10, f % 10, f % 10 < 3 ? 50000 - 20000 * (f % 10) : 0, "ABC", f);
    escribe(zip + "/datos/ranking.dat", ranking);

    arranca(zip + "/vorkzel.exe");
    ASSERT_TRUE(hasta_menu(j)) << j.salida_error();
    j.tecla("Down");
    j.tecla("Return");
    ASSERT_TRUE(espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 4); }));
    const Captura quieta = j.foto(); // the level's opening sound plays before the road moves
    ASSERT_TRUE(espera_que(30, [&] { return j.foto().rgb != quieta.rgb; }));
    j.tecla("Up", 1000);
    ASSERT_TRUE(espera_que(60, [&] { return muestra_puntos(j.foto(), 1500, 4); }))
        << "the bags of the top lane were not all collected";
    j.tecla("Down", 1000);
    const std::vector<Texto> puntaje = {{30, -1, "TU PUNTAJE FINAL"},
                                        {80, -1, "VIDAS:  4 X 3000"},
                                        {105, -1, "PUNTOS:     2550"},
                                        {135, -1, "TOTAL:     14550"}};
    ASSERT_TRUE(espera_que(90, [&] { return muestra_textos(j.foto(), puntaje); }))
        << "the bags of the bottom lane were not all collected";
    ASSERT_TRUE(espera_que(10, [&] { return !muestra_textos(j.foto(), puntaje); }));
    espera(0.3);
    for (const char *t : {"Down", "Return", "Up", "Up", "Right", "Left", "Right", "Up", "Return"}) {
        j.tecla(t);
        espera(0.25);
    }
    Bytes esperado = ranking; // as the Linux build writes it
    std::copy_n(ranking.begin() + 176, 7, esperado.begin() + 184);
    pon_registro(esperado, 2, 2, 14550, "ZCB", 22);
    EXPECT_TRUE(espera_que(10, [&] { return lee(zip + "/datos/ranking.dat") == esperado; }));
    j.tecla("x"); // the table, cut short
    ASSERT_TRUE(espera_que(30, [&] { return parecido_a(j.foto(), "vorkzel.bmp") > 0.9; }));
    j.tecla("Escape", 1000);
    EXPECT_EQ(j.espera_fin(20), 0) << "the game did not end within 20 s of the Esc";
    // The effects (the title tune and the songs are MIDI, which Wine plays nowhere here).
    const int sonoras = oido(captura, 440).first;
    std::printf("%d windows of 85 ms with sound\n", sonoras);
    EXPECT_GT(sonoras, 20);
}

TEST_F(Wine, TheInstalledGameStartsFromItsStartMenuEntryAndKeepsBegonasScores) {
    arranca(VZ_WIN "/vorkzel-1.0.0-win64-setup.exe", {"/S"});
    ASSERT_EQ(j.espera_fin(120), 0) << j.salida_error();
    for (const char *f : {"vorkzel.exe", "Uninstall.exe", "allegro-license.txt",
                          "mpg123-license.txt", "datos/ranking.dat", "levels/01_salida.map"})
        EXPECT_TRUE(fs::exists(INSTALADO + "/" + f)) << f;
    EXPECT_FALSE(fs::exists(INSTALADO + "/datos/local.txt"));
    const auto [programa, carpeta, argumentos] =
        lee_acceso(VZ_PREFIJO "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/"
                              "VORK-ZEL 2003/VORK-ZEL 2003.lnk");
    ASSERT_EQ(programa, "C:\\Program Files\\VORK-ZEL 2003\\vorkzel.exe");
    ASSERT_EQ(carpeta, "C:\\Program Files\\VORK-ZEL 2003");
    ASSERT_EQ(argumentos, "");

    // Her own song, ten seconds of 440 Hz; with the effects silenced, it is all that is heard.
    fs::create_directories(PROPIA + "/mp3");
    const std::string orden = VZ_LAME " --quiet -r -s 48 --bitwidth 16 --signed --little-endian "
                                      "-m m - '" +
                              PROPIA + "/mp3/tono.mp3'";
    FILE *lame = popen(orden.c_str(), "w");
    for (int i = 0; i < 48000 * 10; i++) {
        const auto v = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440 * i / 48000));
        std::fwrite(&v, 2, 1, lame);
    }
    ASSERT_EQ(pclose(lame), 0);
    for (const auto &e : fs::directory_iterator(INSTALADO + "/datos"))
        if (e.path().extension() == ".wav") {
            Bytes w = lee(e.path()); // our tools write the samples from byte 44
            std::fill(w.begin() + 44, w.end(), w[34] == 8 ? 0x80 : 0);
            escribe(e.path(), w);
        }
    j.carpeta = INSTALADO;
    arranca(programa);
    ASSERT_TRUE(hasta_jugar(j, 1)) << j.salida_error();
    espera(6.0);
    j.tecla("Escape", 1000);
    EXPECT_EQ(j.espera_fin(20), 0);
    EXPECT_EQ(lee(PROPIA + "/ranking.dat"), lee(INSTALADO + "/datos/ranking.dat"))
        << "the shipped table is not Begoña's";
    const auto [sonoras, de_tono] = oido(captura, 440);
    std::printf("%d windows of 85 ms with sound, %d of them the 440 Hz tone\n", sonoras, de_tono);
    EXPECT_GT(sonoras, 30) << "her song was not heard";
    EXPECT_GT(de_tono * 10, sonoras * 9) << "something other than her song was heard";
}

TEST_F(Wine, AMissingDataFileIsToldInAMessageBox) {
    desempaqueta();
    fs::remove(zip + "/datos/camio2.wav");
    arranca(zip + "/vorkzel.exe");
    ASSERT_TRUE(j.espera_ventana()) << "no message box";
    EXPECT_NE(j.salida_error().find("missing data file: datos/camio2.wav"), std::string::npos);
    espera(1.0);
    EXPECT_TRUE(j.vivo()) << "the box did not wait for the player";
    j.tecla("Return");
    EXPECT_EQ(j.espera_fin(20), 1);
}

} // namespace
