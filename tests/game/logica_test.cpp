// Player control and the logic tick.
#include "assets/carga.h"
#include "frame/flujo.h"
#include "frame/utilfun.h"
#include "frame/paginas.h"
#include "game/busca.h"
#include "game/logica.h"
#include "mundo_prueba.h"
#include <thread>

using namespace vz;

namespace {

struct Control : prueba::Mundo {
    // Steps player control `n` times with the keys as they are.
    void pasos(int n)
    {
        for (int i = 0; i < n; i++) teclasy();
    }
};

TEST_F(Control, ALaneChangeTakesTwelveTicksAt75Hz)
{
    key[KEY_UP] = 1;
    teclasy();
    key[KEY_UP] = 0;
    EXPECT_EQ(mov, 1);
    pasos(10);
    EXPECT_EQ(pos, 2);
    EXPECT_FLOAT_EQ(y, 98.0f);
    teclasy();
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(mov, 0);
    EXPECT_EQ(y, 96.0f);
}

TEST_F(Control, UpWinsWhenBothAreHeld)
{
    key[KEY_UP] = 1;
    key[KEY_DOWN] = 1;
    teclasy();
    EXPECT_EQ(mov, 1);
    EXPECT_FLOAT_EQ(y, 118.0f);
}

TEST_F(Control, AReversedChangeCarriesOnPastTheLaneItLeft)
{
    key[KEY_UP] = 1;
    pasos(5);
    key[KEY_UP] = 0;
    EXPECT_FLOAT_EQ(y, 110.0f);
    key[KEY_DOWN] = 1;
    teclasy();
    key[KEY_DOWN] = 0;
    pasos(4); // through 120 without stopping: arrival is tested against lane 2, the lane left
    EXPECT_FLOAT_EQ(y, 120.0f);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(mov, 2);
    pasos(12);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(mov, 0);
    EXPECT_EQ(y, 144.0f);
}

TEST_F(Control, ReversingBackToAnOutermostLaneStopsWhereTheStepsEnd)
{
    empieza(60); // steps of 2.5
    pos = 3;
    y = 144.0f;
    key[KEY_UP] = 1;
    teclasy();
    EXPECT_FLOAT_EQ(y, 141.5f);
    key[KEY_UP] = 0;
    y = 143.0f;
    key[KEY_DOWN] = 1;
    pasos(3);
    EXPECT_FLOAT_EQ(y, 145.5f); // overshoots once, then stays: no arrival test from lane 3
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(mov, 2);
}

TEST_F(Control, HoldingTowardsTheEdgeInTheOutermostLaneDoesNothing)
{
    pos = 0;
    y = 72.0f;
    key[KEY_UP] = 1;
    pasos(3);
    EXPECT_EQ(mov, 1);
    EXPECT_EQ(y, 72.0f);
    EXPECT_EQ(pos, 0);
}

TEST_F(Control, EscQuits)
{
    key[KEY_ESC] = 1;
    teclasy();
    EXPECT_EQ(cambnib, 3);
}

TEST_F(Control, DriveOffEndsTheLevelOrWinsOnTheLast)
{
    scr5 = 4;
    key[KEY_ESC] = 1; // no key is read any more
    pasos(280);
    EXPECT_EQ(cambnib, 0);
    EXPECT_FLOAT_EQ(x, 320.0f);
    teclasy();
    EXPECT_EQ(cambnib, 1);
    nivel = niveles;
    teclasy();
    EXPECT_EQ(cambnib, 5);
}

TEST_F(Control, PauseHoldsUntilPIsPressedAgainAndGivesTheTimeBack)
{
    BITMAP *visible = create_bitmap(320, 240);
    clear_bitmap(visible);
    actual_page = visible;
    tick = 40;
    key[KEY_P] = 1;
    std::thread jugador([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        tick = 900;
        key[KEY_P] = 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        key[KEY_P] = 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        key[KEY_P] = 0;
    });
    teclasy();
    jugador.join();
    EXPECT_EQ(tick, 40);
    int dibujados = 0; // "PAUSA" went onto the page on view
    for (int yy = 100; yy < 140; yy++)
        for (int xx = 0; xx < 320; xx++) dibujados += getpixel(visible, xx, yy) != 0;
    EXPECT_GT(dibujados, 0);
    destroy_bitmap(visible);
}

struct Tick : prueba::Mundo {};

TEST_F(Tick, ControlIsReadOnlyEveryFourthTickWhileSlowedAndNeverWhileStopped)
{
    key[KEY_UP] = 1;
    nscr2 = animcon; // a splash slows the level
    tick = 5;
    act_logica();
    EXPECT_EQ(mov, 0);
    tick = 8;
    act_logica();
    EXPECT_EQ(mov, 1);
    mov = 0;
    y = 120.0f;
    nscr2 = 0.0f; // burning
    fuego = 5.0f;
    tick = 12;
    act_logica();
    EXPECT_EQ(mov, 0);
}

TEST_F(Tick, ACrashStopsTheLevelRemovesTheHazardAndStartsTheFire)
{
    objeto(2, 13, 72, 6); // screen x 40 once the view is at 376
    vista_en(376);
    scr4 = scr3 = 56;
    nscr2 = 0.0f; // hold the view still for this tick
    nscro = 0.0f;
    act_logica();
    EXPECT_EQ(tabla[2].tipo, 0);
    EXPECT_FLOAT_EQ(fuego, 2.0f); // started at 1 and advanced in the same tick
    EXPECT_EQ(nscr2, 0.0f);
}

TEST_F(Tick, ExtraLifeAtEachTenThousandComparedUnsigned)
{
    nscr2 = nscro = 0.0f;
    puntos = 9999;
    act_logica();
    EXPECT_EQ(vidas, 5);
    puntos = 10000;
    act_logica();
    EXPECT_EQ(vidas, 6);
    EXPECT_EQ(bvid, 2);
    act_logica(); // one life per threshold
    EXPECT_EQ(vidas, 6);
    puntos = 25000;
    act_logica();
    act_logica();
    act_logica();
    EXPECT_EQ(vidas, 7); // 25,000 passes the 20,000 threshold, not the 30,000 one
    EXPECT_EQ(bvid, 3);
}

TEST_F(Tick, ScoresAboveTwoToThe31StillEarnLives)
{
    nscr2 = nscro = 0.0f;
    bvid = 214749; // threshold 2,147,490,000, above 2^31
    puntos = 2147483648u + 100u;
    act_logica();
    EXPECT_EQ(vidas, 5);
    puntos = 2147483648u + 7000u;
    act_logica();
    EXPECT_EQ(vidas, 6);
    EXPECT_EQ(bvid, 214750);
}

} // namespace
