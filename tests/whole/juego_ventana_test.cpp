// Playing a level in the real window: what the player sees and does.
#include "niveles_prueba.h"
#include "pantalla.h"
#include <gtest/gtest.h>

using namespace prueba;

namespace {

void espera(double segundos)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(segundos * 1000)));
}

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
    const Captura c = j.foto();
    EXPECT_TRUE(muestra_puntos(c, 250, 3));
    EXPECT_TRUE(j.vivo());
}

TEST(Partida, EscDuringPlayEndsTheProgramWithStatusZero)
{
    Juego j;
    pon_niveles(j.dir(), {nivel_corto()});
    j.arranca();
    ASSERT_TRUE(hasta_jugar(j, 1)) << j.salida_error();
    espera(3.0);
    j.pulsa("Escape");
    int estado = -1;
    EXPECT_TRUE(j.espera_fin(10, estado));
    j.suelta("Escape");
    EXPECT_EQ(estado, 0);
}

TEST(Partida, PauseStopsTheRoadUntilPIsPressedAgain)
{
    Juego j;
    pon_niveles(j.dir(), {nivel_corto()});
    j.arranca();
    ASSERT_TRUE(hasta_jugar(j, 0)) << j.salida_error();
    espera(3.0);
    j.tecla("p");
    espera(0.5);
    const Captura a = j.foto();
    espera(1.0);
    const Captura b = j.foto();
    EXPECT_EQ(a.rgb, b.rgb) << "the picture changed during the pause";
    j.tecla("p");
    espera(1.0);
    EXPECT_NE(j.foto().rgb, b.rgb) << "the road did not move on after the pause";
}

TEST(Partida, ALastLevelDrivenToItsEndWinsTheGame)
{
    Juego j;
    pon_niveles(j.dir(), {nivel_corto()});
    j.arranca();
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    // 25,600 pixels at 10 a tick, the drive-off, then the fade to the victory picture.
    EXPECT_TRUE(espera_que(75, [&] { return parecido_a(j.foto(), "gane.bmp") > 0.95; }));
}

} // namespace
