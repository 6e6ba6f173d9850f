// The Windows downloads under Wine, in the harness's window, for a player called Begoña: the zip,
// unpacked into a folder with a blank and an ñ, wins the keyboard game of mando_ventana_test.cpp
// and writes the same ranking file; the installer installs silently, and its Start-menu entry
// starts the game, which keeps her scores and plays her own songs from her %APPDATA%.
#include "pantalla.h"
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

const std::string USUARIA = VZ_USUARIA;

// Windows of 85 ms of the left channel of Wine's capture (32-bit float stereo, 48 kHz) that hold
// sound.
int sonoras(const std::string &ruta) {
    const Bytes raw = lee(ruta);
    int n = 0;
    for (size_t b = 0; b + 8 * 4096 <= raw.size(); b += 8 * 4096) {
        float v, lo = 0, hi = 0;
        for (size_t i = b; i < b + 8 * 4096; i += 8, lo = std::min(lo, v), hi = std::max(hi, v))
            std::memcpy(&v, &raw[i], 4);
        n += hi - lo > 0.01f;
    }
    return n;
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

    // The prefix's Wine server goes with each test, also with one that failed half way.
    void TearDown() override { std::system("WINEPREFIX=" VZ_PREFIJO " wineserver -k 2>/dev/null"); }
    void arranca(const std::vector<std::string> &args, bool ventana = true) {
        j.programa = VZ_WINE_SH;
        std::vector<std::string> a = {VZ_PREFIJO, "280"};
        a.insert(a.end(), args.begin(), args.end());
        j.arranca(a, {{"USER", USUARIA}, {"VZ_CAPTURA", captura}});
        // Wine's first window of a run comes late on a busy machine: a server, a desktop and the
        // program start one after the other.
        if (ventana) {
            ASSERT_TRUE(j.espera_ventana(90)) << "no window: " << j.salida_error();
        }
    }
    // The zip into "Juegos de Begoña", which holds no datos/: started there, the game must find
    // its own folder.
    void desempaqueta() {
        fs::create_directories(j.carpeta = zip + "/..");
        ASSERT_EQ(std::system(("cd '" + j.carpeta +
                               "' && cmake -E tar xf " VZ_WIN "/vorkzel-1.0.0-win64.zip")
                                  .c_str()),
                  0);
    }
};

TEST_F(Wine, TheZipInAFolderWithABlankAndAnEnyeWinsAGameByKeys) {
    desempaqueta();
    for (const char *f : {"datos/local.txt", "allegro-license.txt", "mpg123-license.txt"})
        EXPECT_TRUE(fs::exists(zip + "/" + f)) << f;
    nivel::Nivel n = nivel_corto(); // bags in the top lane, then after a gap in the bottom one
    for (int col = 200; col < 800; col += 10)
        if (col < 500 || col >= 590) n.objetos.push_back({col, col < 500 ? 24 : 96, 7});
    pon_nivel(zip, n);
    Bytes ranking(240);
    for (int f = 0; f < 30; f++)
        pon_registro(ranking, f / 10, f % 10, f % 10 < 3 ? 50000 - 20000 * (f % 10) : 0, "ABC", f);
    escribe(zip + "/datos/ranking.dat", ranking);

    arranca({zip + "/vorkzel.exe"});
    ASSERT_TRUE(hasta_menu(j)) << j.salida_error();
    for (const char *t : {"Down", "Return"})
        j.tecla(t);
    ASSERT_TRUE(espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 4); }));
    const Captura quieta = j.foto(); // the level's opening sound plays before the road moves
    ASSERT_TRUE(espera_que(30, [&] { return j.foto().rgb != quieta.rgb; }));
    j.tecla("Up", 1000);
    ASSERT_TRUE(espera_que(60, [&] { return muestra_puntos(j.foto(), 1500, 4); }));
    j.tecla("Down", 1000);
    const std::vector<Texto> puntaje = {{30, -1, "TU PUNTAJE FINAL"},
                                        {80, -1, "VIDAS:  4 X 3000"},
                                        {105, -1, "PUNTOS:     2550"},
                                        {135, -1, "TOTAL:     14550"}};
    ASSERT_TRUE(espera_que(90, [&] { return muestra_textos(j.foto(), puntaje); }));
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
    EXPECT_EQ(j.espera_fin(20), 0) << "not ended within 20 s of the Esc";
    // The effects: the title tune and the shipped songs are MIDI, which Wine plays nowhere here.
    EXPECT_GT(sonoras(captura), 20);
}

TEST_F(Wine, TheInstalledGameStartsFromItsStartMenuEntryAndKeepsBegonasScoresAndSongs) {
    arranca({VZ_WIN "/vorkzel-1.0.0-win64-setup.exe", "/S"}, false);
    ASSERT_EQ(j.espera_fin(120), 0) << j.salida_error();
    const std::string instalado = VZ_PREFIJO "/drive_c/Program Files/VORK-ZEL 2003/datos";
    const std::string propia = VZ_PREFIJO "/drive_c/users/" + USUARIA + "/AppData/Roaming/vorkzel";
    // Her own song, ten seconds of a tone; with the effects silenced, all that can be heard.
    fs::create_directories(propia + "/mp3");
    const std::string lame = VZ_LAME " --quiet -r -s 48 -m m - '" + propia + "/mp3/tono.mp3'";
    FILE *tono = popen(lame.c_str(), "w");
    for (int i = 0; i < 48000 * 10; i++) {
        const int16_t v = i / 50 % 2 * 12000; // 480 Hz
        std::fwrite(&v, 2, 1, tono);
    }
    ASSERT_EQ(pclose(tono), 0);
    for (const auto &e : fs::directory_iterator(instalado))
        if (Bytes w = lee(e.path()); e.path().extension() == ".wav") {
            std::fill(w.begin() + 44, w.end(), w[34] == 8 ? 0x80 : 0); // samples from byte 44
            escribe(e.path(), w);
        }
    arranca({"start", "/unix",
             VZ_PREFIJO "/drive_c/ProgramData/Microsoft/Windows/Start Menu/"
                        "Programs/VORK-ZEL 2003/VORK-ZEL 2003.lnk"});
    ASSERT_TRUE(hasta_jugar(j, 1)) << j.salida_error();
    espera(6.0);
    j.tecla("Escape", 1000);
    EXPECT_EQ(j.espera_fin(20), 0);
    EXPECT_FALSE(fs::exists(instalado + "/local.txt"));
    EXPECT_EQ(lee(propia + "/ranking.dat"), lee(instalado + "/ranking.dat"));
    EXPECT_GT(sonoras(captura), 30) << "her song was not heard";
}

TEST_F(Wine, AMissingDataFileIsToldInAMessageBox) {
    desempaqueta();
    fs::remove(zip + "/datos/camio2.wav");
    arranca({zip + "/vorkzel.exe"}); // the message box is the window
    EXPECT_NE(j.salida_error().find("missing data file: datos/camio2.wav"), std::string::npos);
    espera(1.0);
    EXPECT_TRUE(j.vivo()) << "the box did not wait for the player";
    j.tecla("Return");
    EXPECT_EQ(j.espera_fin(20), 1);
}

} // namespace
