// The object scan: what is listed for drawing and what touches the vehicle.
#include "game/enemigos.h"
#include "mundo_prueba.h"

using namespace vz;

namespace {

using Objetos = prueba::Mundo;

// Touched only at screen x 0..79 and only with y exactly the object's lane (72 is lane 2, y 120);
// posy 30 is scenery that no lane reaches; the later record wins.
TEST_F(Objetos, CollisionWindowIsScreenX0To79InTheExactLane)
{
    const struct {
        int pantalla_x, posy;
        float y;
        bool toca;
    } casos[] = {{-1, 72, 120, false}, {0, 72, 120, true},     {79, 72, 120, true},
                 {80, 72, 120, false}, {40, 72, 120.5f, false}, {40, 72, 96, false},
                 {0, 24, 72, true},    {79, 96, 144, true}};
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
    objeto(3, 200, 72, 1);
    objeto(9, 201, 72, 8);
    vista_en(6400 - 10);
    y = 120.0f;
    EXPECT_EQ(enemivieja(0), 8);
    EXPECT_EQ(sprcol, 9);
}

} // namespace
