// The installed game: started from elsewhere, it finds its data beside its program and keeps the
// player's scores in the player's own data folder.
#include "pantalla.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace prueba;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes lee(const fs::path &ruta)
{
    std::ifstream in(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every file under `raiz` with its bytes.
std::map<std::string, Bytes> contenido(const fs::path &raiz)
{
    std::map<std::string, Bytes> todo;
    for (const auto &e : fs::recursive_directory_iterator(raiz))
        if (e.is_regular_file()) todo[fs::relative(e.path(), raiz).string()] = lee(e.path());
    return todo;
}

} // namespace

TEST(Instalado, AGameWonFromAnotherDirectoryIsRecordedInThePlayersOwnRanking)
{
    Juego j;
    const fs::path prefijo = j.dir() + "/prefijo", datos = prefijo / "share/games/vorkzel";
    ASSERT_EQ(std::system(("cmake --install " VZ_BUILD_DIR " --prefix " + prefijo.string() + " >/dev/null").c_str()), 0);

    // One short level, and an empty shipped table so that the won game enters it.
    pon_niveles(datos.string(), {nivel_corto()});
    std::ofstream(datos / "datos/ranking.dat", std::ios::binary).write(std::string(240, '\0').data(), 240);
    const auto instalado = contenido(datos);
    const fs::path casa = j.dir() + "/casa", fuera = j.dir() + "/fuera";
    fs::create_directories(casa);
    fs::create_directories(fuera);
    j.programa = (prefijo / "games/vorkzel").string();
    j.carpeta = fuera.string();
    j.arranca({}, {{"HOME", casa.string()}, {"XDG_DATA_HOME", ""}});

    // SOY JODIDO with no objects: 4 x 3000 = 12000 points, place 1 of the hard table.
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    ASSERT_TRUE(espera_que(75, [&] { return parecido_a(j.foto(), "gane.bmp") > 0.95; }));
    ASSERT_TRUE(espera_que(15, [&] { return parecido_a(j.foto(), "gane.bmp") < 0.5; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const Captura puntaje = j.foto();
    ASSERT_TRUE(espera_que(10, [&] { return j.foto().rgb != puntaje.rgb; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int i = 0; i < 3; i++, std::this_thread::sleep_for(std::chrono::milliseconds(250))) j.tecla("Return");

    const fs::path propio = casa / ".local/share/vorkzel/ranking.dat";
    Bytes esperado(240, 0);
    esperado[160] = 12000 & 0xff, esperado[161] = 12000 >> 8; // place 1 of the hard table, "AAA"
    esperado[164] = esperado[165] = esperado[166] = 'A';
    EXPECT_TRUE(espera_que(10, [&] { return lee(propio) == esperado; })) << j.salida_error();
    EXPECT_TRUE(espera_que(5, [&] { return muestra_ranking(j.foto(), esperado, 2, 0); }));
    EXPECT_TRUE(contenido(datos) == instalado) << "the installed data changed";
    EXPECT_TRUE(fs::is_empty(fuera)) << "the game wrote in its working directory";
}
