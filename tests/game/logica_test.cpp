// Player control, the logic tick, the speed table, the lives and the level list.
#include "frame/utilfun.h"
#include "game/logica.h"
#include "game/scroll.h"
#include "mundo_prueba.h"
#include <algorithm>

using namespace vz;

namespace {

struct Logica : prueba::Mundo {
    void pasos(int n, int tecla = -1) {
        if (tecla >= 0) key[tecla] = 1;
        for (int i = 0; i < n; i++)
            teclasy();
        if (tecla >= 0) key[tecla] = 0;
    }
};

TEST_F(Logica, LaneChangesArriveByTheLaneLeftAndAReversalCarriesOnPastTheLane) {
    pasos(11, KEY_UP); // twelve ticks at 75 Hz: one to start, eleven to arrive
    EXPECT_EQ(pos, 2);
    pasos(1);
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(mov, 0);
    EXPECT_EQ(y, 96.0f);

    empieza();
    key[KEY_DOWN] = 1;
    pasos(5, KEY_UP);   // both held: up wins
    pasos(5, KEY_DOWN); // reversed at 110: through 120 without stopping, into lane 3
    EXPECT_FLOAT_EQ(y, 120.0f);
    pasos(12);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(y, 144.0f);
}

// Up held for eight ticks after running into nothing, a monster or a barrel: the truck steers every
// tick; while the splash slows it, on one tick in four and a pixel at a time; while it burns,
// never.
TEST_F(Logica, SteeringIsReadOneTickInFourDuringASplashAndNeverDuringAFire) {
    for (auto [tipo, y_final] :
         {std::pair{0, 104.0f}, std::pair{1, 118.0f}, std::pair{6, 120.0f}}) {
        empieza();
        objeto(0, 13, 72, tipo);
        vista_en(376);
        tick = 1;
        act_logica();
        key[KEY_UP] = 1;
        for (tick = 4; tick < 12; tick++)
            act_logica();
        key[KEY_UP] = 0;
        EXPECT_FLOAT_EQ(y, y_final) << "after object kind " << tipo;
    }
}

// At most one extra life per tick, however far the score jumps; thresholds compared unsigned.
TEST_F(Logica, OneExtraLifePerTickAtEachTenThousand) {
    const struct {
        int bvid;
        uint32_t puntos;
        int ticks, vidas_ganadas;
    } casos[] = {{1, 9999, 3, 0},
                 {1, 10000, 3, 1},
                 {1, 25000, 3, 2},
                 {1, 95000, 1, 1},
                 {1, 95000, 12, 9},
                 {214749, 2147483748u, 2, 0},
                 {214749, 2147490000u, 2, 1}};
    for (const auto &c : casos) {
        nscr2 = nscro = 0.0f;
        vidas = 5;
        bvid = c.bvid;
        puntos = c.puntos;
        prueba::registro.clear();
        for (int i = 0; i < c.ticks; i++)
            act_logica();
        EXPECT_EQ(vidas, 5 + c.vidas_ganadas) << c.puntos << " after " << c.ticks << " ticks";
        EXPECT_EQ(bvid, c.bvid + c.vidas_ganadas) << c.puntos;
        EXPECT_EQ(std::count(prueba::registro.begin(), prueba::registro.end(),
                             "toca gold 255 128 1000 0"),
                  c.vidas_ganadas);
    }
}

// Pixels per 75 Hz tick: 3, 4, 5 by difficulty; x1.5 for code 2, x2 for code 3, x1 otherwise; the
// same speed in real time at 60 and 100 Hz. Fractions of a pixel add up from tick to tick.
TEST_F(Logica, LevelSpeedFollowsDifficultyCodeAndRate) {
    for (int d = 0; d < 3; d++)
        for (auto [codigo, factor] : {std::pair{1, 1.0f}, {2, 1.5f}, {3, 2.0f}, {9, 1.0f}})
            for (int fps : {60, 75, 100}) {
                SCOPED_TRACE("difficulty " + std::to_string(d) + ", code " +
                             std::to_string(codigo) + ", " + std::to_string(fps) + " Hz");
                empieza(fps, d, codigo);
                const float por_tick = (3 + d) * factor * 75 / fps;
                EXPECT_FLOAT_EQ(animcon, 75.0f / fps);
                EXPECT_FLOAT_EQ(nscro, por_tick);
                EXPECT_EQ(nscr2, nscro);
                EXPECT_EQ(vidas, 6 - d);
                for (int i = 0; i < 100; i++)
                    scro(nscro);
                EXPECT_NEAR(scr1 - 352, 100 * por_tick, 1.0);
            }
}

} // namespace
