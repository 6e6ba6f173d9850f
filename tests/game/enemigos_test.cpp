// The object scan: what is listed for drawing and what touches the vehicle.
#include "game/enemigos.h"
#include "mundo_prueba.h"

using namespace vz;

namespace {

using Objetos = prueba::Mundo;
constexpr int CARRIL2 = 72; // posy of lane 2, where the vehicle starts (y 120)

TEST_F(Objetos, VisibleFromScreenXMinus35To317AndNeverBeforeView36)
{
    const struct {
        int columna, vista, pantalla_x;
        bool visible;
    } casos[] = {{100, 3236, -36, false}, {100, 3235, -35, true}, {100, 2883, 317, true},
                 {100, 2882, 318, false}, {1, 35, -3, false},     {1, 36, -4, true},
                 {0, 0, 0, false},        {0, 100, -100, false}};
    for (const auto &c : casos) {
        objeto(0, c.columna, 30, 2);
        vista_en(c.vista);
        enemivieja(0);
        ASSERT_EQ(spr_cant, c.visible ? 1 : 0) << "column " << c.columna << " view " << c.vista;
        if (c.visible) {
            EXPECT_EQ(sprite_div[0][0], 1);
            EXPECT_EQ(sprite_div[0][1], 50);
            EXPECT_EQ(sprite_div[0][2], c.pantalla_x);
        }
    }
}

// Touched only at screen x 0..79 and only with y exactly the object's lane; posy 30 is scenery
// that no lane reaches.
TEST_F(Objetos, CollisionWindowIsScreenX0To79InTheExactLane)
{
    const struct {
        int pantalla_x, posy;
        float y;
        bool toca;
    } casos[] = {{-1, CARRIL2, 120, false}, {0, CARRIL2, 120, true},    {40, CARRIL2, 120, true},
                 {79, CARRIL2, 120, true},  {80, CARRIL2, 120, false},  {40, CARRIL2, 120.5f, false},
                 {40, CARRIL2, 96, false},  {0, 24, 72, true},          {79, 96, 144, true}};
    for (const auto &c : casos) {
        objeto(4, 200, c.posy, 7);
        vista_en(6400 - c.pantalla_x);
        y = c.y;
        sprcol = -1;
        EXPECT_EQ(enemivieja(0), c.toca ? 7 : 0) << "screen x " << c.pantalla_x << " y " << c.y;
        EXPECT_EQ(sprcol, c.toca ? 4 : -1);
    }
    for (int px : {0, 40, 79})
        for (float carril : {72.0f, 96.0f, 120.0f, 144.0f})
            for (float vx : {40.0f, 300.0f}) {
                objeto(4, 200, 30, 6);
                vista_en(6400 - px);
                y = carril;
                x = vx; // the window does not follow the vehicle's x
                EXPECT_EQ(enemivieja(0), 0) << "posy 30 hit at screen x " << px << " lane y " << carril;
            }
}

TEST_F(Objetos, TheLaterRecordWinsAndEveryVisibleObjectIsListed)
{
    objeto(3, 200, CARRIL2, 1);
    objeto(9, 201, CARRIL2, 8);
    objeto(12, 205, 24, 5); // listed, but in lane 0
    vista_en(6400 - 10);
    EXPECT_EQ(enemivieja(0), 8);
    EXPECT_EQ(sprcol, 9);
    ASSERT_EQ(spr_cant, 3);
    EXPECT_EQ(sprite_div[1][2], 42); // table order

    objeto(0, 250, CARRIL2, 7); // level x 8000: 50 columns into the second pass
    vista_en(8000 - 40);
    EXPECT_EQ(enemivieja(0), 7);
    for (int i = 0; i < 40; i++) objeto(i, 210, 24 * (i % 4 + 1), 1 + i % 5);
    vista_en(6600);
    enemivieja(0);
    EXPECT_EQ(spr_cant, 40);
}

} // namespace
