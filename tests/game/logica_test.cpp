// Player control, the logic tick, the speed table and the lives.
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/juego.h"
#include "game/logica.h"
#include "mundo_prueba.h"
#include <thread>
#include <tuple>

using namespace vz;

namespace {

struct Control : prueba::Mundo {
    void pasos(int n, int tecla = -1)
    {
        if (tecla >= 0) key[tecla] = 1;
        for (int i = 0; i < n; i++) teclasy();
        if (tecla >= 0) key[tecla] = 0;
    }
};

TEST_F(Control, LaneChangesArriveByTheLaneLeft)
{
    pasos(11, KEY_UP); // twelve ticks at 75 Hz: one to start, eleven to arrive
    EXPECT_EQ(pos, 2);
    EXPECT_FLOAT_EQ(y, 98.0f);
    pasos(1);
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(mov, 0);
    EXPECT_EQ(y, 96.0f);

    empieza();
    key[KEY_DOWN] = 1;
    pasos(1, KEY_UP); // both held: up wins
    EXPECT_FLOAT_EQ(y, 118.0f);
    pasos(4, KEY_UP);
    pasos(5, KEY_DOWN); // reversed at 110: through 120 without stopping, into lane 3
    EXPECT_FLOAT_EQ(y, 120.0f);
    EXPECT_EQ(pos, 2);
    pasos(12);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(y, 144.0f);

    empieza(60); // steps of 2.5: back towards lane 3 there is no arrival test, y overshoots once
    pos = 3;
    y = 143.0f;
    pasos(3, KEY_DOWN);
    EXPECT_FLOAT_EQ(y, 145.5f);
    EXPECT_EQ(mov, 2);
}

TEST_F(Control, APauseInTheMiddleOfALaneChangeResumesItAndGivesTheTimeBack)
{
    BITMAP *visible = create_bitmap(320, 240);
    clear_bitmap(visible);
    actual_page = visible;
    pasos(5, KEY_UP);
    ASSERT_FLOAT_EQ(y, 110.0f);
    tick = 40;
    key[KEY_P] = 1;
    std::thread jugador([] {
        for (int k : {0, 1, 0}) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            tick = tick + 500;
            key[KEY_P] = static_cast<char>(k);
        }
    });
    teclasy();
    jugador.join();
    EXPECT_EQ(tick, 40);
    EXPECT_EQ(mov, 1);
    EXPECT_FLOAT_EQ(y, 108.0f);
    pasos(6);
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(y, 96.0f);
    int dibujados = 0; // "PAUSA" went onto the page on view
    for (int yy = 100; yy < 140; yy++)
        for (int xx = 0; xx < 320; xx++) dibujados += getpixel(visible, xx, yy) != 0;
    EXPECT_GT(dibujados, 0);
    destroy_bitmap(visible);
}

TEST_F(Control, EscQuitsAndTheDriveOffEndsTheLevelOrWinsOnTheLast)
{
    pasos(1, KEY_ESC);
    EXPECT_EQ(cambnib, 3);
    cambnib = 0;
    scr5 = 4;
    pasos(280, KEY_ESC); // no key is read any more
    EXPECT_EQ(cambnib, 0);
    EXPECT_FLOAT_EQ(x, 320.0f);
    teclasy();
    EXPECT_EQ(cambnib, 1);
    nivel = niveles;
    teclasy();
    EXPECT_EQ(cambnib, 5);
}

using Tick = prueba::Mundo;

TEST_F(Tick, ControlIsReadOnlyEveryFourthTickWhileSlowedAndNeverWhileStopped)
{
    key[KEY_UP] = 1;
    nscr2 = animcon; // a splash slows the level
    for (auto [t, velocidad, mov_tras] : {std::tuple{5, animcon, 0}, std::tuple{8, animcon, 1},
                                          std::tuple{12, 0.0f, 0}}) {
        mov = 0;
        tick = t;
        nscr2 = velocidad;
        fuego = velocidad == 0.0f ? 5.0f : 0.0f;
        act_logica();
        EXPECT_EQ(mov, mov_tras) << "tick " << t;
    }
}

// At most one extra life per tick, however far the score jumps; thresholds compared unsigned.
TEST_F(Tick, OneExtraLifePerTickAtEachTenThousand)
{
    const struct {
        int bvid;
        uint32_t puntos;
        int ticks, vidas_ganadas, bvid_tras;
    } casos[] = {{1, 9999, 3, 0, 1},        {1, 10000, 3, 1, 2}, {1, 25000, 3, 2, 3},
                 {1, 95000, 1, 1, 2},       {1, 95000, 4, 4, 5}, {1, 95000, 12, 9, 10},
                 {214749, 2147483748u, 2, 0, 214749}, {214749, 2147490000u, 2, 1, 214750}};
    for (const auto &c : casos) {
        nscr2 = nscro = 0.0f;
        vidas = 5;
        bvid = c.bvid;
        puntos = c.puntos;
        for (int i = 0; i < c.ticks; i++) act_logica();
        EXPECT_EQ(vidas, 5 + c.vidas_ganadas) << c.puntos << " after " << c.ticks << " ticks";
        EXPECT_EQ(bvid, c.bvid_tras) << c.puntos;
    }
}

TEST_F(Tick, ACrashStopsTheLevelRemovesTheHazardAndStartsTheFire)
{
    objeto(2, 13, 72, 6); // screen x 40 once the view is at 376
    vista_en(376);
    nscr2 = nscro = 0.0f;
    act_logica();
    EXPECT_EQ(tabla[2].tipo, 0);
    EXPECT_FLOAT_EQ(fuego, 2.0f); // started at 1 and advanced in the same tick
    EXPECT_EQ(nscr2, 0.0f);
}

// Lives and speed of a difficulty at a refresh rate, as a game starts them.
struct Velocidad {
    int difi, codigo, fps;
    float animcon, por_tick;
};

void PrintTo(const Velocidad &v, std::ostream *os)
{
    *os << "difficulty " << v.difi << ", code " << v.codigo << ", " << v.fps << " Hz";
}

class TablaVelocidad : public prueba::Mundo, public ::testing::WithParamInterface<Velocidad> {};

TEST_P(TablaVelocidad, LevelSpeedFollowsDifficultyCodeAndRate)
{
    const Velocidad v = GetParam();
    empieza(v.fps, v.difi, v.codigo);
    EXPECT_FLOAT_EQ(animcon, v.animcon);
    EXPECT_FLOAT_EQ(nscro, v.por_tick);
    EXPECT_EQ(nscr2, nscro);
    EXPECT_EQ(vidas, 6 - v.difi);
}

// Pixels per 75 Hz frame: 3, 4, 5 by difficulty; x1.5 for code 2, x2 for code 3, x1 otherwise.
std::vector<Velocidad> velocidades()
{
    const float base[3][4] = {{3.0f, 4.5f, 6.0f, 3.0f}, {4.0f, 6.0f, 8.0f, 4.0f}, {5.0f, 7.5f, 10.0f, 5.0f}};
    const struct {
        int fps;
        float factor;
    } ritmos[] = {{60, 1.25f}, {75, 1.0f}, {100, 0.75f}};
    std::vector<Velocidad> t;
    for (int d = 0; d < 3; d++)
        for (int c : {1, 2, 3, 9})
            for (auto r : ritmos) t.push_back({d, c, r.fps, r.factor, base[d][c == 9 ? 3 : c - 1] * r.factor});
    return t;
}

INSTANTIATE_TEST_SUITE_P(Todas, TablaVelocidad, ::testing::ValuesIn(velocidades()),
                         [](const auto &i) {
                             return "d" + std::to_string(i.param.difi) + "_code" + std::to_string(i.param.codigo) +
                                    "_" + std::to_string(i.param.fps) + "Hz";
                         });

} // namespace
