// Run-overs, splashes, the fire and bags, over whole timelines of ticks.
#include "frame/flujo.h"
#include "game/efectos.h"
#include "game/logica.h"
#include "mundo_prueba.h"

using namespace vz;

namespace {

struct Efectos : prueba::Mundo {
    // An object at screen x 20 in the vehicle's lane, with the view past its start.
    void atropello()
    {
        objeto(0, 13, 72, 1);
        vista_en(416 - 20);
        sprcol = 0;
        anisangre(1);
    }
    // Ticks until no splash is active, counting those in which one was.
    int ticks_con_sangre()
    {
        int n = 0;
        for (int i = 0; i < 1000; i++) {
            anisangre(0);
            if (sang == 0) break;
            n++;
        }
        return n;
    }
};

TEST_F(Efectos, RunOverScoresTurnsToRemainsAndStartsASlowSplash)
{
    x = 40.0f;
    atropello();
    EXPECT_EQ(tabla[0].tipo, 8);
    EXPECT_EQ(puntos, 200u);
    EXPECT_FLOAT_EQ(sanani[0].tiempo, 80.0f);
    EXPECT_EQ(sanani[0].py, 120 - 35);
    EXPECT_FLOAT_EQ(sanani[0].px, -20.0f);
    EXPECT_EQ(nscr2, animcon);
    EXPECT_EQ(cammov, 1);
}

TEST_F(Efectos, ASplashLasts80TicksAt75HzAnd64At60Hz)
{
    for (auto [fps, esperado] : {std::pair{75, 80}, std::pair{60, 64}}) {
        empieza(fps);
        atropello();
        EXPECT_EQ(ticks_con_sangre(), esperado) << fps << " Hz";
        EXPECT_EQ(nscr2, nscro); // full speed in the tick after the last
        EXPECT_EQ(cammov, 2);
    }
}

TEST_F(Efectos, ASeventhSplashIsDroppedButStillScores)
{
    for (auto &sl : sanani) sl.tiempo = 50.0f;
    nscr2 = nscro;
    atropello();
    EXPECT_EQ(puntos, 200u);
    EXPECT_EQ(tabla[0].tipo, 8);
    EXPECT_EQ(nscr2, nscro);
    for (const auto &sl : sanani) EXPECT_EQ(sl.tiempo, 50.0f);
}

// Runs logic ticks after a hazard at screen x 40 has been hit; returns the tick (1 = crash tick)
// in which `cond` first held.
template <class F> int tick_en_que(prueba::Mundo &m, F cond)
{
    for (int t = 1; t <= 1000; t++) {
        act_logica();
        if (cond()) return t;
    }
    (void)m;
    return -1;
}

struct Fuego : Efectos {
    void prepara(int fps)
    {
        empieza(fps);
        objeto(0, 13, 72, 6);
        vista_en(376);
        scr3 = scr4 = 0;
        // The level does not move for this timeline: only the fire changes the speed.
        nscro = nscr2 = 0.0001f;
    }
};

TEST_F(Fuego, TheLifeGoesInThe236thTickAfterTheCrashAt75HzAnd188thAt60Hz)
{
    for (auto [fps, esperado] : {std::pair{75, 236}, std::pair{60, 188}}) {
        prepara(fps);
        vidas = 2;
        const int crash = tick_en_que(*this, [] { return fuego > 0.0f; });
        ASSERT_EQ(crash, 1);
        const int perdida = tick_en_que(*this, [] { return vidas == 1; });
        EXPECT_EQ(perdida, esperado) << fps << " Hz";
        EXPECT_EQ(nscr2, nscro);
        const int apagado = tick_en_que(*this, [] { return fuego == 0.0f; });
        EXPECT_EQ(perdida + apagado, fps == 75 ? 479 : 384) << fps << " Hz";
    }
}

TEST_F(Fuego, WithNoSpareLifeTheGameIsLost)
{
    prepara(75);
    vidas = 0;
    const int fin = tick_en_que(*this, [] { return cambnib == 4; });
    EXPECT_EQ(fin, 237);
    EXPECT_EQ(vidas, 0);
}

TEST_F(Fuego, NothingIsHitWhileBurning)
{
    prepara(75);
    act_logica(); // the crash
    objeto(1, 12, 72, 7); // a bag at screen x 8
    act_logica();
    EXPECT_EQ(tabla[1].tipo, 7);
    EXPECT_EQ(puntos, 0u);
}

TEST_F(Fuego, ACrashDuringASplashHoldsTheLevelAndThenDrivesAtFullSpeed)
{
    prepara(75);
    sanani[0] = {300.0f, 85, 0.0f}; // outlives the standing phase
    sang = 1;
    cammov = 1;
    act_logica(); // the crash
    EXPECT_EQ(nscr2, 0.0f);
    for (int t = 0; t < 235; t++) {
        act_logica();
        ASSERT_EQ(nscr2, 0.0f) << t;
    }
    act_logica(); // life lost: full speed even though the splash goes on
    EXPECT_EQ(nscr2, nscro);
    EXPECT_EQ(cammov, 1);
    EXPECT_GT(sanani[0].tiempo, 0.0f);
}

TEST_F(Efectos, BagsAlternatePanAndScore)
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
}

TEST_F(Efectos, TheTruckFrameAdvancesEvery11TicksAt75Hz)
{
    s = 3;
    dela = 10.0f;
    animacion(); // level start: the first tick advances the frame
    EXPECT_EQ(s, 4);
    for (int i = 0; i < 10; i++) animacion();
    EXPECT_EQ(s, 4);
    animacion();
    EXPECT_EQ(s, 0);
}

} // namespace
