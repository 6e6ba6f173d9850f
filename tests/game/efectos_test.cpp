// What touches the vehicle, and the run-overs, bags, splashes and fire that follow.
#include "frame/flujo.h"
#include "game/efectos.h"
#include "game/enemigos.h"
#include "game/logica.h"
#include "mundo_prueba.h"
#include <tuple>

using namespace vz;

namespace {

using Objetos = prueba::Mundo;

// Touched only at screen x 0..79 and only with y exactly the object's lane (72 is lane 2, y 120),
// wherever the truck's x is; posy 30 is scenery that no lane reaches. Listed for drawing from
// screen x -35 to 317. Of two touched, the later record wins.
TEST_F(Objetos, CollisionWindowIsScreenX0To79InTheExactLane) {
    const struct {
        int pantalla_x, posy;
        float y, x;
        int tocado, listados;
    } casos[] = {{-1, 72, 120, 40, 0, 1},  {0, 72, 120, 40, 7, 1},     {79, 72, 120, 300, 7, 1},
                 {80, 72, 120, 40, 0, 1},  {40, 72, 120.5f, 40, 0, 1}, {40, 72, 96, 40, 0, 1},
                 {0, 24, 72, 40, 7, 1},    {79, 96, 144, 40, 7, 1},    {40, 30, 72, 40, 0, 1},
                 {40, 30, 96, 300, 0, 1},  {-36, 72, 120, 40, 0, 0},   {-35, 72, 120, 40, 0, 1},
                 {317, 72, 120, 40, 0, 1}, {318, 72, 120, 40, 0, 0}};
    for (const auto &c : casos) {
        objeto(4, 200, c.posy, 7);
        vista_en(6400 - c.pantalla_x);
        y = c.y;
        x = c.x;
        sprcol = -1;
        EXPECT_EQ(enemivieja(0), c.tocado) << "screen x " << c.pantalla_x << " y " << c.y;
        EXPECT_EQ(sprcol, c.tocado ? 4 : -1);
        EXPECT_EQ(spr_cant, c.listados) << "screen x " << c.pantalla_x;
    }
    objeto(3, 200, 72, 1);
    objeto(9, 201, 72, 8);
    vista_en(6400 - 10);
    y = 120.0f;
    EXPECT_EQ(enemivieja(0), 8);
    EXPECT_EQ(sprcol, 9);
}

struct Efectos : prueba::Mundo {
    // Logic ticks until `cond` holds; the tick's number from 1, or -1.
    template <class F> static int tick_en_que(F cond) {
        for (int t = 1; t <= 1000; t++) {
            act_logica();
            if (cond()) return t;
        }
        return -1;
    }
};

// A run-over at screen x 20 in the vehicle's lane, the truck at x 40: the splash starts 20 pixels
// left of the screen's edge and 35 above the truck, and crawls left with the road. With six
// splashes 50 ticks from their end a seventh is dropped: it scores, slows nothing and the six end
// on their own time.
TEST_F(Efectos, ASplashScoresSlowsAndLasts80FramesAt75HzAnd64TicksAt60Hz) {
    for (auto [fps, antes, frena, dura] :
         {std::tuple{75, 0.0f, true, 80}, std::tuple{60, 0.0f, true, 64},
          std::tuple{75, 50.0f, false, 50}}) {
        empieza(fps);
        puntos = 0;
        for (auto &sl : sanani)
            sl = {antes, 0, 0.0f};
        objeto(0, 13, 72, 1);
        vista_en(416 - 20);
        sprcol = 0;
        anisangre(1);
        EXPECT_EQ(puntos, 200u);
        EXPECT_EQ(enemi[0].tipo, 8);
        EXPECT_EQ(nscr2, frena ? animcon : nscro);
        EXPECT_EQ(sanani[0].px, frena ? -20.0f : 0.0f);
        EXPECT_EQ(sanani[0].py, frena ? 85 : 0);
        int n = 0;
        for (anisangre(0); sang != 0 && n < 1000; anisangre(0))
            n++;
        EXPECT_EQ(n, dura) << fps << " Hz";
        EXPECT_EQ(nscr2, nscro); // full speed in the tick after the last
        EXPECT_FLOAT_EQ(sanani[0].px, (frena ? -20.0f : 0.0f) - dura * animcon);
    }
}

// The truck's picture changes every 11 ticks at 75 Hz through frames 0 to 4, the first at a
// level's first tick.
TEST_F(Efectos, TheTrucksFrameStepsEveryElevenTicksThroughFiveFrames) {
    std::string cambios;
    for (int t = 1, antes = s; t <= 60; t++, antes = s) {
        animacion();
        if (s != antes) cambios += std::to_string(t) + ":" + std::to_string(s) + " ";
    }
    EXPECT_EQ(cambios, "1:1 12:2 23:3 34:4 45:0 56:1 ");
}

// A hazard at screen x 40 in the vehicle's lane: the engine falls silent under the explosion and
// the fire takes a life 236 ticks after the crash at 75 Hz, when the engine comes back; with 0
// spare lives the game is lost, with 1 the last spare goes and play goes on.
TEST_F(Efectos, TheFireTakesASpareLifeOrLosesTheGameWhenNoneIsLeft) {
    const struct {
        int fps, vidas, perdida, vidas_tras, cambnib_tras, apagado;
    } casos[] = {{75, 2, 236, 1, 0, 479},
                 {60, 2, 188, 1, 0, 384},
                 {75, 1, 236, 0, 0, 479},
                 {75, 0, 236, 0, 4, 479}};
    for (const auto &c : casos) {
        nivel_vacio();
        empieza(c.fps);
        objeto(0, 13, 72, 6);
        vista_en(376);
        nscro = nscr2 = 0.0001f; // a level that does not move
        vidas = c.vidas;
        ASSERT_EQ(tick_en_que([] { return fuego > 0.0f; }), 1);
        EXPECT_EQ(enemi[0].tipo, 0);
        objeto(1, 12, 72, 7); // a bag at screen x 8: nothing is hit while burning
        EXPECT_EQ(tick_en_que([] { return nscr2 == nscro; }), c.perdida)
            << c.fps << " Hz " << c.vidas;
        EXPECT_EQ(enemi[1].tipo, 7);
        EXPECT_EQ(vidas, c.vidas_tras) << c.vidas;
        EXPECT_EQ(cambnib, c.cambnib_tras) << c.vidas;
        EXPECT_EQ(c.perdida + tick_en_que([] { return fuego == 0.0f; }), c.apagado)
            << c.fps << " Hz";
    }
}

} // namespace
