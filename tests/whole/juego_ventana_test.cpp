// Whole games and every way out of the program, in the real window.
#include "niveles_prueba.h"
#include "pantalla.h"
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace prueba;

namespace {

// "SOY JODIDO" with no objects: nothing run over, four lives kept, so the final score is
// 4 x 3000 = 12000, which ties place 3 of the hard table and therefore goes above it. With three
// flipped pages (-tbuf) the game must end in the very same file.
class Ganada : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(Ganada, FinalScoreThenInitialsThenExactlyTheNewTableThenEscOnTheTitle)
{
    Juego j;
    pon_niveles(j.dir(), {nivel_corto()});
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    const Bytes antes = ranking_de_prueba();
    escribe(ruta, antes);
    j.arranca(GetParam());
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    ASSERT_TRUE(espera_que(75, [&] { return parecido_a(j.foto(), "gane.bmp") > 0.95; }));
    const std::vector<Texto> puntaje = {{30, -1, "TU PUNTAJE FINAL"},
                                        {80, -1, "VIDAS:  4 X 3000"},
                                        {105, -1, "PUNTOS:        0"},
                                        {135, -1, "TOTAL:     12000"}};
    ASSERT_TRUE(espera_que(15, [&] { return muestra_textos(j.foto(), puntaje); }))
        << "the final score";
    // The record screen follows after five seconds.
    ASSERT_TRUE(espera_que(10, [&] { return !muestra_textos(j.foto(), puntaje); }));
    espera(0.3);
    // First initial A -> Z (wraps), Enter; second A -> C; Right; third A -> B; Enter.
    for (const char *t : {"Down", "Return", "Up", "Up", "Right", "Up", "Return"}) {
        j.tecla(t);
        espera(0.25);
    }

    Bytes esperado = antes;
    // Scores and initials of places 3..9 move down one; place 10 drops; reserved bytes stay.
    for (int f = 9; f > 2; f--)
        std::copy_n(antes.begin() + 160 + 8 * (f - 1), 7, esperado.begin() + 160 + 8 * f);
    pon_registro(esperado, 2, 2, 12000, "ZCB", antes[160 + 8 * 2 + 7]);
    EXPECT_TRUE(espera_que(10, [&] { return lee(ruta) != antes; })) << "the file was not rewritten";
    EXPECT_EQ(legible(lee(ruta)), legible(esperado));
    EXPECT_TRUE(espera_que(5, [&] { return muestra_ranking(j.foto(), esperado, 2, 2); }));
    EXPECT_FALSE(std::filesystem::exists(ruta + ".tmp"));
    // The opening and title pictures come back; ESC there ends the program.
    ASSERT_TRUE(hasta_titulo(j));
    j.tecla("Escape", 1000);
    int estado = -1;
    EXPECT_TRUE(j.espera_fin(10, estado)) << "still running";
    EXPECT_EQ(estado, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modos, Ganada, ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"-tbuf"}),
    [](const auto &i) { return i.param.empty() ? "MemoryPage" : "ThreePages"; });

// A way out of the program: drives the game to some screen and asks it to quit there.
struct Salida {
    const char *nombre;
    std::function<void(Juego &)> pide;
    double hasta = 10; // seconds the program may take to end afterwards
};

void PrintTo(const Salida &s, std::ostream *os)
{
    *os << s.nombre;
}

class Salidas : public ::testing::TestWithParam<Salida> {};

TEST_P(Salidas, EndTheProgramWithStatusZeroAndSaveNothing)
{
    Juego j;
    // Barrels all along the starting lane: a game played out is lost before the road ends.
    nivel::Nivel n = nivel_corto();
    for (int col = 60; col < 790; col += 8) n.objetos.push_back({col, 72, 6});
    pon_niveles(j.dir(), {n});
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    escribe(ruta, ranking_de_prueba());
    j.arranca();
    GetParam().pide(j);
    if (HasFatalFailure()) return;
    int estado = -1;
    EXPECT_TRUE(j.espera_fin(GetParam().hasta, estado)) << "still running";
    EXPECT_EQ(estado, 0);
    EXPECT_EQ(legible(lee(ruta)), legible(ranking_de_prueba()));
}

const Salida salidas[] = {
    // The three tables in turn (place 10 of the easy one is "10      5 OK"), then the opening and
    // title pictures again.
    {"SpaceShowsTheTablesThenCloseOnTheTitle",
     [](Juego &j) {
         ASSERT_TRUE(hasta_titulo(j));
         j.tecla("space", 150);
         for (int t = 0; t < 3; t++)
             ASSERT_TRUE(
                 espera_que(t == 0 ? 3 : 10,
                            [&] { return muestra_ranking(j.foto(), ranking_de_prueba(), t, -1); }))
                 << "table " << t;
         ASSERT_TRUE(hasta_titulo(j));
         j.cierra_ventana();
     }},
    // The rest of the tables flash past: well under their eight seconds each.
    {"CloseDuringTheRankingTables",
     [](Juego &j) {
         ASSERT_TRUE(hasta_titulo(j));
         j.tecla("space", 150);
         ASSERT_TRUE(
             espera_que(3, [&] { return muestra_ranking(j.foto(), ranking_de_prueba(), 0, -1); }));
         j.cierra_ventana();
     },
     4},
    // No key follows: the menu must end on the close request alone.
    {"CloseInTheDifficultyMenu",
     [](Juego &j) {
         ASSERT_TRUE(hasta_menu(j));
         j.cierra_ventana();
     }},
    // The level's banner does not stop the game: it is played out and lost, then the program ends
    // without the game-over screen or the title.
    {"CloseDuringTheBannerPlaysTheGameOut",
     [](Juego &j) {
         ASSERT_TRUE(hasta_menu(j));
         j.tecla("Down");
         j.tecla("Return");
         ASSERT_TRUE(espera_que(3, [&] {
             return muestra_textos(j.foto(), {{110, -1, "SIGUIENTE NIVEL: 1"}});
         }));
         j.cierra_ventana();
         EXPECT_TRUE(espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 4); }))
             << "the level was not played";
     },
     75},
    // The pause outlasts the close button; the program ends once P is pressed again.
    {"CloseDuringThePause",
     [](Juego &j) {
         ASSERT_TRUE(hasta_jugar(j, 0));
         espera(3.0);
         j.tecla("p");
         espera(0.5);
         const Captura a = j.foto();
         j.cierra_ventana();
         espera(2.0);
         EXPECT_TRUE(j.vivo()) << "the close button ended the pause";
         EXPECT_EQ(j.foto().rgb, a.rgb) << "the picture changed during the pause";
         j.tecla("p");
     }},
};

INSTANTIATE_TEST_SUITE_P(Todas, Salidas, ::testing::ValuesIn(salidas),
                         [](const auto &i) { return std::string(i.param.nombre); });

} // namespace
