// The game on a player's desktop: the enlarged window, and the installed game started from
// elsewhere, finding its data beside its program and keeping the scores in the player's folder.
#include "pantalla.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

int sh(const std::string &orden) {
    return std::system(orden.c_str());
}

// The game started with `args` on a `xvfb` screen and no music (so the diagnostics screen lists
// no songs); its picture once the window shows.
Captura foto_de(const std::vector<std::string> &args, const std::string &xvfb = "640x480x24") {
    pantalla_xvfb = xvfb;
    Juego j;
    pantalla_xvfb = "640x480x24";
    sh("rm -rf " + j.dir() + "/mp3/* " + j.dir() + "/midi/*");
    j.arranca(args);
    if (!j.espera_ventana()) return {};
    // Well inside the diagnostics screen's eight seconds.
    espera(2);
    return j.foto();
}

} // namespace

// Forced scale 2, and the scale the game picks on a small, a middle and a large screen (-info
// given twice there): each window shows the scale-1 picture with every pixel a square.
TEST(Escala, EachWindowFitsItsScreenAndShowsTheScaleOnePictureEnlarged) {
    const Captura uno = foto_de({"-info", "-1"});
    ASSERT_TRUE(uno.w == 320 && uno.h == 240);
    int claros = 0;
    for (int k = 0; k < 320 * 240; k++)
        claros += uno.pixel(k % 320, k / 320) != 0;
    ASSERT_GT(claros, 500) << "no text on the diagnostics screen";
    for (const auto &[opcion, xvfb, e] :
         {std::tuple{"-2", "640x480x24", 2}, std::tuple{"-info", "640x480x24", 1},
          std::tuple{"-info", "1024x768x24", 2}, std::tuple{"-info", "1920x1080x24", 3}}) {
        const Captura c = foto_de({"-info", opcion}, xvfb);
        ASSERT_TRUE(c.w == 320 * e && c.h == 240 * e) << xvfb << ": " << c.w << "x" << c.h;
        int distintos = 0;
        for (int k = 0; k < c.w * c.h; k++)
            distintos += c.pixel(k % c.w, k / c.w) != uno.pixel(k % c.w / e, k / c.w / e);
        EXPECT_EQ(distintos, 0) << xvfb << " " << opcion;
    }
}

TEST(Instalado, AGameWonFromAnotherDirectoryIsRecordedInThePlayersOwnRanking) {
    Juego j;
    const std::string prefijo = j.dir() + "/prefijo", datos = prefijo + "/share/games/vorkzel";
    const std::string casa = j.dir() + "/casa", fuera = j.dir() + "/fuera";
    ASSERT_EQ(sh("cmake --install " VZ_BUILD_DIR " --prefix " + prefijo + " >/dev/null"), 0);
    fs::create_directories(casa);
    // The desktop starts the game in the player's home, which may hold a datos/ of their own.
    fs::create_directories(fuera + "/datos");
    escribe(fuera + "/datos/notas.txt", {'m', 'i', 'o'});
    // One short level, and an empty shipped table so that the won game enters it.
    pon_nivel(datos, nivel_corto());
    escribe(datos + "/datos/ranking.dat", Bytes(240, 0));
    ASSERT_EQ(sh("cp -r " + datos + " " + j.dir() + "/instalado"), 0);
    j.programa = prefijo + "/games/vorkzel";
    j.carpeta = fuera;
    j.arranca({}, {{"HOME", casa}, {"XDG_DATA_HOME", ""}});
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    ASSERT_TRUE(espera_que(75, [&] { return parecido_a(j.foto(), "gane.bmp") > 0.95; }));
    // SOY JODIDO with no objects: 4 x 3000 = 12000 points, place 1 of the hard table. The
    // initials entry drops keys pressed before it, then takes AAA from three presses of Enter.
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
