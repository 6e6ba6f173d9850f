// The installed game started from elsewhere, finding its data beside its program and keeping the
// scores in the player's folder; in an enlarged window, every frame whole.
#include "pantalla.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

int sh(const std::string &orden) {
    return std::system(orden.c_str());
}

} // namespace

// The installed game as the desktop starts it: in the player's home, which may hold a datos/ of
// their own, on a 1024 x 768 desktop, where it picks scale 2. One short level whose tiles 0 and 1,
// in plain colours laid in columns, make all road rows alike: a torn frame has rows from two
// scroll positions. The final score's palette is set before it is drawn: the first screenshot
// that no longer shows the victory picture must show the score. The record goes to the player's
// own table; the installed data stays as it was.
TEST(Instalado, AGameWonAtScaleTwoShowsWholeFramesAndIsRecordedInThePlayersOwnRanking) {
    pantalla_xvfb = "1024x768x24";
    Juego j;
    pantalla_xvfb = "640x480x24";
    const std::string prefijo = j.dir() + "/prefijo", datos = prefijo + "/share/games/vorkzel";
    const std::string casa = j.dir() + "/casa", fuera = j.dir() + "/fuera";
    ASSERT_EQ(sh("cmake --install " VZ_BUILD_DIR " --prefix " + prefijo + " >/dev/null"), 0);
    fs::create_directories(casa);
    fs::create_directories(fuera + "/datos");
    escribe(fuera + "/datos/notas.txt", {'m', 'i', 'o'});
    fs::remove_all(datos + "/midi"); // no song title over the road
    Bytes hoja = lee(datos + "/datos/imagen.bmp");
    for (int k = 0; k < 64 * 24; k++) // 8 bits a pixel, 320 x 568, bottom row first
        hoja[(hoja[10] | hoja[11] << 8) + (143 - k / 64) * 320 + k % 64] = k % 64 < 32 ? 0 : 255;
    escribe(datos + "/datos/imagen.bmp", hoja);
    nivel::Nivel n = nivel_corto();
    for (int k = 0; k < nivel::FILAS * nivel::COLUMNAS; k++)
        n.mapa[k / nivel::COLUMNAS][k % nivel::COLUMNAS] = k % nivel::COLUMNAS % 3 == 0;
    pon_nivel(datos, n);
    escribe(datos + "/datos/ranking.dat", Bytes(240, 0)); // empty: the won game enters it
    ASSERT_EQ(sh("cp -r " + datos + " " + j.dir() + "/instalado"), 0);
    j.programa = prefijo + "/games/vorkzel";
    j.carpeta = fuera;
    j.escala = 2;
    j.arranca({}, {{"HOME", casa}, {"XDG_DATA_HOME", ""}});
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    // Right of the truck, above the score panel; the first two seconds are the still start.
    auto fila = [](const Captura &c, int y) {
        return Bytes(c.rgb.begin() + 960 * y + 384, c.rgb.begin() + 960 * y + 960);
    };
    int fotos = 0, costuras = 0;
    std::set<Bytes> vistas;
    for (const double fin = ahora() + 8; ahora() < fin; fotos++) {
        const Captura c = j.foto();
        ASSERT_EQ(c.w, 320);
        vistas.insert(fila(c, 0));
        for (int y = 1; y < 192; y++)
            costuras += fila(c, y) != fila(c, y - 1);
    }
    EXPECT_EQ(costuras, 0) << "seams in " << fotos << " screenshots";
    EXPECT_GT(vistas.size(), 20u) << "the road did not scroll";
    Captura c;
    ASSERT_TRUE(espera_que(90, [&] { return parecido_a(c = j.foto(), "gane.bmp") > 0.95; }));
    for (Bytes visto; c.w == 320 && (c.rgb == visto || parecido_a(c, "gane.bmp") > 0.95);)
        visto = c.rgb, c = j.foto(); // a picture already seen is not looked at again
    // SOY JODIDO with no objects: 4 x 3000 = 12000 points, place 1 of the hard table.
    EXPECT_TRUE(muestra_textos(c, {{30, -1, "TU PUNTAJE FINAL"},
                                   {80, -1, "VIDAS:  4 X 3000"},
                                   {105, -1, "PUNTOS:        0"},
                                   {135, -1, "TOTAL:     12000"}}));
    // The initials entry drops keys pressed before it, then takes AAA from three presses of Enter.
    Bytes esperado(240, 0);
    pon_registro(esperado, 2, 0, 12000, "AAA", 0);
    const std::string propio = casa + "/.local/share/vorkzel/ranking.dat";
    EXPECT_TRUE(espera_que(30, [&] {
        j.tecla("Return");
        return lee(propio) == esperado;
    })) << j.salida_error();
    EXPECT_EQ(sh("diff -r " + datos + " " + j.dir() + "/instalado"), 0) << "installed data changed";
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(fuera), {}), 2)
        << "the game wrote in its working directory";
}

// Without a display the installed game stops just after it has set up the player's folder.
TEST(Instalado, ThePlayersFoldersArePrivateAndATableCutShortIsCopiedAgain) {
    const std::string t = fs::temp_directory_path() / ("vz-casa-" + std::to_string(getpid()));
    const std::string casa = t + "/casa", propio = casa + "/.local/share/vorkzel/ranking.dat";
    ASSERT_EQ(sh("cmake --install " VZ_BUILD_DIR " --prefix " + t + " >/dev/null"), 0);
    fs::create_directories(casa + "/.local");
    fs::permissions(casa + "/.local", fs::perms(0750)); // the player's own: left as it is
    umask(022);
    const auto corre = [&](const std::string &limite) { // what the game says
        sh("cd " + casa + " && env -u DISPLAY HOME=" + casa + " XDG_DATA_HOME= " + limite + t +
           "/games/vorkzel 2>&1 | cat >" + t + "/salida.txt");
        return lee<std::string>(t + "/salida.txt");
    };
    signal(SIGXFSZ, SIG_IGN); // a full disk: writes past 100 bytes fail
    EXPECT_NE(corre("prlimit --fsize=100 ").find(propio), std::string::npos);
    EXPECT_FALSE(fs::exists(propio)) << "a cut copy kept the table's name";
    escribe(propio, Bytes(100, 7)); // as an older version left one
    corre("");
    EXPECT_EQ(lee(propio), lee(t + "/share/games/vorkzel/datos/ranking.dat"));
    for (const auto &[carpeta, modo] :
         {std::pair{"/.local", 0750}, {"/.local/share", 0700}, {"/.local/share/vorkzel", 0700}})
        EXPECT_EQ(fs::status(casa + carpeta).permissions(), fs::perms(modo)) << carpeta;
    fs::remove_all(t);
}
