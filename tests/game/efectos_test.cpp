// Run-overs, splashes, the fire and bags, over whole timelines of ticks.
#include "frame/flujo.h"
#include "game/efectos.h"
#include "game/logica.h"
#include "mundo_prueba.h"

using namespace vz;

namespace {

struct Efectos : prueba::Mundo {
    // An object at screen x 20 in the vehicle's lane, run over.
    void atropello()
    {
        objeto(0, 13, 72, 1);
        vista_en(416 - 20);
        sprcol = 0;
        anisangre(1);
    }
    // Logic ticks until `cond` holds; the tick's number from 1, or -1.
    template <class F> static int tick_en_que(F cond)
    {
        for (int t = 1; t <= 1000; t++) {
            act_logica();
            if (cond()) return t;
        }
        return -1;
    }
    // A hazard at screen x 40 in the vehicle's lane, on a level that does not move.
    void peligro(int fps)
    {
        empieza(fps);
        objeto(0, 13, 72, 6);
        vista_en(376);
        nscro = nscr2 = 0.0001f;
    }
};

TEST_F(Efectos, ASplashScoresSlowsAndLasts80FramesAt75HzAnd64TicksAt60Hz)
{
    for (auto [fps, esperado] : {std::pair{75, 80}, std::pair{60, 64}}) {
        empieza(fps);
        puntos = 0;
        atropello();
        EXPECT_EQ(tabla[0].tipo, 8);
        EXPECT_EQ(puntos, 200u);
        EXPECT_EQ(sanani[0].py, 120 - 35);
        EXPECT_FLOAT_EQ(sanani[0].px, -20.0f);
        EXPECT_EQ(nscr2, animcon);
        EXPECT_EQ(cammov, 1);
        int n = 0;
        for (anisangre(0); sang != 0 && n < 1000; anisangre(0)) n++;
        EXPECT_EQ(n, esperado) << fps << " Hz";
        EXPECT_EQ(nscr2, nscro); // full speed in the tick after the last
        EXPECT_EQ(cammov, 2);
    }
}

TEST_F(Efectos, ASeventhSplashIsDroppedButStillScores)
{
    for (auto &sl : sanani) sl.tiempo = 50.0f;
    atropello();
    EXPECT_EQ(puntos, 200u);
    EXPECT_EQ(nscr2, nscro);
    for (const auto &sl : sanani) EXPECT_EQ(sl.tiempo, 50.0f);
}

// The fire takes a life 236 ticks after the crash at 75 Hz; with 0 spare lives the game is lost,
// with 1 the last spare goes and play goes on.
TEST_F(Efectos, TheFireTakesASpareLifeOrLosesTheGameWhenNoneIsLeft)
{
    const struct {
        int fps, vidas, perdida, vidas_tras, cambnib_tras, apagado;
    } casos[] = {{75, 2, 236, 1, 0, 479}, {60, 2, 188, 1, 0, 384}, {75, 1, 236, 0, 0, 479},
                 {75, 0, 236, 0, 4, 479}};
    for (const auto &c : casos) {
        peligro(c.fps);
        vidas = c.vidas;
        ASSERT_EQ(tick_en_que([] { return fuego > 0.0f; }), 1);
        EXPECT_EQ(tick_en_que([] { return nscr2 == nscro; }), c.perdida) << c.fps << " Hz " << c.vidas;
        EXPECT_EQ(vidas, c.vidas_tras) << c.vidas;
        EXPECT_EQ(cambnib, c.cambnib_tras) << c.vidas;
        EXPECT_EQ(c.perdida + tick_en_que([] { return fuego == 0.0f; }), c.apagado) << c.fps << " Hz";
    }
}

TEST_F(Efectos, NothingIsHitWhileBurningAndACrashHoldsASlowedLevel)
{
    peligro(75);
    sanani[0] = {300.0f, 85, 0.0f}; // outlives the standing phase
    sang = 1;
    cammov = 1;
    act_logica(); // the crash
    objeto(1, 12, 72, 7); // a bag at screen x 8
    for (int t = 0; t < 235; t++) {
        act_logica();
        ASSERT_EQ(nscr2, 0.0f) << t;
    }
    EXPECT_EQ(tabla[1].tipo, 7);
    EXPECT_EQ(puntos, 0u);
    act_logica(); // life lost: full speed even though the splash goes on
    EXPECT_EQ(nscr2, nscro);
    EXPECT_EQ(cammov, 1);
}

TEST_F(Efectos, BagsAlternatePanAndScoreAndTheTruckFrameAdvancesEvery11Ticks)
{
    pan = 0;
    for (int esperado : {255, 0, 255}) {
        objeto(3, 20, 48, 7);
        sprcol = 3;
        bolsa();
        EXPECT_EQ(pan, esperado);
        EXPECT_EQ(tabla[3].tipo, 0);
    }
    EXPECT_EQ(puntos, 150u);
    s = 3;
    dela = 10.0f;
    for (int esperado : {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 0}) {
        animacion();
        EXPECT_EQ(s, esperado);
    }
}

} // namespace
