// Run-overs, splashes and the fire, over whole timelines of ticks.
#include "frame/flujo.h"
#include "game/efectos.h"
#include "game/logica.h"
#include "mundo_prueba.h"

using namespace vz;

namespace {

struct Efectos : prueba::Mundo {
    // Logic ticks until `cond` holds; the tick's number from 1, or -1.
    template <class F> static int tick_en_que(F cond)
    {
        for (int t = 1; t <= 1000; t++) {
            act_logica();
            if (cond()) return t;
        }
        return -1;
    }
};

// A run-over at screen x 20 in the vehicle's lane; with six splashes under way a seventh is dropped
// but still scores.
TEST_F(Efectos, ASplashScoresSlowsAndLasts80FramesAt75HzAnd64TicksAt60Hz)
{
    for (auto [fps, esperado] : {std::pair{75, 80}, std::pair{60, 64}, std::pair{75, 0}}) {
        empieza(fps);
        puntos = 0;
        for (auto &sl : sanani) sl.tiempo = esperado == 0 ? 50.0f : 0.0f;
        objeto(0, 13, 72, 1);
        vista_en(416 - 20);
        sprcol = 0;
        anisangre(1);
        EXPECT_EQ(puntos, 200u);
        if (esperado == 0) {
            EXPECT_EQ(nscr2, nscro);
            for (const auto &sl : sanani) EXPECT_EQ(sl.tiempo, 50.0f);
            continue;
        }
        EXPECT_EQ(tabla[0].tipo, 8);
        EXPECT_EQ(nscr2, animcon);
        int n = 0;
        for (anisangre(0); sang != 0 && n < 1000; anisangre(0)) n++;
        EXPECT_EQ(n, esperado) << fps << " Hz";
        EXPECT_EQ(nscr2, nscro); // full speed in the tick after the last
    }
}

// A hazard at screen x 40 in the vehicle's lane: the fire takes a life 236 ticks after the crash at
// 75 Hz; with 0 spare lives the game is lost, with 1 the last spare goes and play goes on.
TEST_F(Efectos, TheFireTakesASpareLifeOrLosesTheGameWhenNoneIsLeft)
{
    const struct {
        int fps, vidas, perdida, vidas_tras, cambnib_tras, apagado;
    } casos[] = {{75, 2, 236, 1, 0, 479}, {60, 2, 188, 1, 0, 384}, {75, 1, 236, 0, 0, 479},
                 {75, 0, 236, 0, 4, 479}};
    for (const auto &c : casos) {
        nivel_vacio();
        empieza(c.fps);
        objeto(0, 13, 72, 6);
        vista_en(376);
        nscro = nscr2 = 0.0001f; // a level that does not move
        vidas = c.vidas;
        ASSERT_EQ(tick_en_que([] { return fuego > 0.0f; }), 1);
        EXPECT_EQ(tabla[0].tipo, 0);
        objeto(1, 12, 72, 7); // a bag at screen x 8: nothing is hit while burning
        EXPECT_EQ(tick_en_que([] { return nscr2 == nscro; }), c.perdida) << c.fps << " Hz " << c.vidas;
        EXPECT_EQ(tabla[1].tipo, 7);
        EXPECT_EQ(vidas, c.vidas_tras) << c.vidas;
        EXPECT_EQ(cambnib, c.cambnib_tras) << c.vidas;
        EXPECT_EQ(c.perdida + tick_en_que([] { return fuego == 0.0f; }), c.apagado) << c.fps << " Hz";
    }
}

} // namespace
