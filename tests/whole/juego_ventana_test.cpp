// Playing and quitting in the real window.
#include "niveles_prueba.h"
#include "pantalla.h"
#include <functional>
#include <gtest/gtest.h>

using namespace prueba;

namespace {

// On "SOY JODIDO" (4 lives, 5 px per frame) with speed code 3 the level moves 10 px per tick.
// Lane 2 is the truck's starting lane. Ticks below are counted from the start of play at 75 Hz.
TEST(Partida, RunOverCrashAndBagShowInTheScoreLine)
{
    Juego j;
    nivel::Nivel n = nivel_corto();
    n.objetos = {
        {40, 72, 1},  // a monster in lane 2: run over at about tick 117 (+200)
        {100, 72, 6}, // a barrel in lane 2: the crash, about tick 380; a life goes 236 ticks later
        {350, 48, 7}, // a bag in lane 1, about tick 1400: reached only by steering up
        {420, 72, 7}, // a bag left behind in lane 2
    };
    pon_niveles(j.dir(), {n});
    j.arranca();
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    espera(2.0 + 3.0); // start wait, then the monster
    EXPECT_TRUE(muestra_puntos(j.foto(), 200, 4));
    espera(6.0); // the fire has burnt out the life by tick ~620
    EXPECT_TRUE(muestra_puntos(j.foto(), 200, 3));
    espera(1.5); // past the fire's blinking phase (about tick 860), change to lane 1
    j.tecla("Up");
    espera(10.0);
    EXPECT_TRUE(muestra_puntos(j.foto(), 250, 3));
}

// A way out of the program: drives the game to some screen and asks it to quit there.
struct Salida {
    const char *nombre;
    std::function<void(Juego &)> pide;
    double hasta = 10; // seconds the program may take to end afterwards
};

void PrintTo(const Salida &s, std::ostream *os) { *os << s.nombre; }

class Salidas : public ::testing::TestWithParam<Salida> {};

TEST_P(Salidas, EndTheProgramWithStatusZero)
{
    Juego j;
    pon_niveles(j.dir(), {nivel_corto()});
    escribe(j.dir() + "/datos/ranking.dat", ranking_de_prueba());
    j.arranca();
    GetParam().pide(j);
    if (HasFatalFailure()) return;
    int estado = -1;
    EXPECT_TRUE(j.espera_fin(GetParam().hasta, estado)) << "still running";
    EXPECT_EQ(estado, 0);
    j.suelta("Escape");
}

const Salida salidas[] = {
    {"EscOnTheTitle", [](Juego &j) { ASSERT_TRUE(hasta_titulo(j)); j.pulsa("Escape"); }},
    {"CloseOnTheTitle", [](Juego &j) { ASSERT_TRUE(hasta_titulo(j)); j.cierra_ventana(); }},
    // No key follows: the menu must end on the close request alone.
    {"CloseInTheDifficultyMenu", [](Juego &j) { ASSERT_TRUE(hasta_menu(j)); j.cierra_ventana(); }},
    {"EscDuringPlay",
     [](Juego &j) {
         ASSERT_TRUE(hasta_jugar(j, 1));
         espera(3.0);
         j.pulsa("Escape");
     }},
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
    // The rest of the tables flash past: well under their eight seconds each.
    {"CloseDuringTheRankingTables",
     [](Juego &j) {
         ASSERT_TRUE(hasta_titulo(j));
         j.pulsa("space");
         espera(0.15);
         j.suelta("space");
         const Bytes tablas = ranking_de_prueba();
         ASSERT_TRUE(espera_que(3, [&] { return muestra_ranking(j.foto(), tablas, 0, -1); }));
         j.cierra_ventana();
     },
     4},
};

INSTANTIATE_TEST_SUITE_P(Todas, Salidas, ::testing::ValuesIn(salidas),
                         [](const auto &i) { return std::string(i.param.nombre); });

} // namespace
