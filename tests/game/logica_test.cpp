// Player control, the logic tick, the speed table, the lives and the level list.
#include "frame/flujo.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/juego.h"
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

// Lives and speed of a difficulty at a refresh rate, as a game starts them.
struct Velocidad {
    int difi, codigo, fps;
    float animcon, por_tick;
};

class TablaVelocidad : public prueba::Mundo, public ::testing::WithParamInterface<Velocidad> {};

// Fractions of a pixel add up from tick to tick.
TEST_P(TablaVelocidad, LevelSpeedFollowsDifficultyCodeAndRate) {
    const Velocidad v = GetParam();
    empieza(v.fps, v.difi, v.codigo);
    EXPECT_FLOAT_EQ(animcon, v.animcon);
    EXPECT_FLOAT_EQ(nscro, v.por_tick);
    EXPECT_EQ(nscr2, nscro);
    EXPECT_EQ(vidas, 6 - v.difi);
    for (int i = 0; i < 100; i++)
        scro(nscro);
    EXPECT_NEAR(scr1 - 352, 100 * v.por_tick, 1.0);
}

// Pixels per 75 Hz frame: 3, 4, 5 by difficulty; x1.5 for code 2, x2 for code 3, x1 otherwise.
std::vector<Velocidad> velocidades() {
    const float base[3][4] = {
        {3.0f, 4.5f, 6.0f, 3.0f}, {4.0f, 6.0f, 8.0f, 4.0f}, {5.0f, 7.5f, 10.0f, 5.0f}};
    const struct {
        int fps;
        float factor;
    } ritmos[] = {{60, 1.25f}, {75, 1.0f}, {100, 0.75f}};
    std::vector<Velocidad> t;
    for (int d = 0; d < 3; d++)
        for (int c : {1, 2, 3, 9})
            for (auto r : ritmos)
                t.push_back({d, c, r.fps, r.factor, base[d][c == 9 ? 3 : c - 1] * r.factor});
    return t;
}

INSTANTIATE_TEST_SUITE_P(Todas, TablaVelocidad, ::testing::ValuesIn(velocidades()),
                         [](const auto &i) {
                             return "d" + std::to_string(i.param.difi) + "_code" +
                                    std::to_string(i.param.codigo) + "_" +
                                    std::to_string(i.param.fps) + "Hz";
                         });

} // namespace
