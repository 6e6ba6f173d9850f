// The object scan: what is listed for drawing and what touches the vehicle.
#include "game/enemigos.h"
#include "mundo_prueba.h"

using namespace vz;

namespace {

using Objetos = prueba::Mundo;
constexpr int CARRIL2 = 72; // posy of lane 2, where the vehicle starts (y 120)

TEST_F(Objetos, NothingIsVisibleWhileTheViewIsBelow36)
{
    objeto(0, 1, CARRIL2, 1); // screen x 0 at the level start
    vista_en(32);
    EXPECT_EQ(enemivieja(0), 0);
    EXPECT_EQ(spr_cant, 0);
    vista_en(35);
    enemivieja(0);
    EXPECT_EQ(spr_cant, 0);
    vista_en(36);
    enemivieja(0);
    EXPECT_EQ(spr_cant, 1);
    EXPECT_EQ(sprite_div[0][2], -4);
}

TEST_F(Objetos, VisibleFromScreenXMinus35To317)
{
    const struct {
        int pantalla_x;
        bool visible;
    } casos[] = {{-36, false}, {-35, true}, {317, true}, {318, false}};
    for (const auto &c : casos) {
        objeto(0, 100, 30, 2); // scenery: never touched
        vista_en(3200 - c.pantalla_x);
        EXPECT_EQ(enemivieja(0), 0);
        ASSERT_EQ(spr_cant, c.visible ? 1 : 0) << "screen x " << c.pantalla_x;
        if (c.visible) {
            EXPECT_EQ(sprite_div[0][0], 1);
            EXPECT_EQ(sprite_div[0][1], 50);
            EXPECT_EQ(sprite_div[0][2], c.pantalla_x);
        }
    }
}

TEST_F(Objetos, ColumnZeroIsNeverSeen)
{
    objeto(0, 0, CARRIL2, 6);
    for (int v : {0, 32, 100}) {
        vista_en(v);
        EXPECT_EQ(enemivieja(0), 0);
        EXPECT_EQ(spr_cant, 0);
    }
}

TEST_F(Objetos, CollisionWindowIsScreenX0To79InTheExactLane)
{
    const struct {
        int pantalla_x;
        bool toca;
    } casos[] = {{-1, false}, {0, true}, {40, true}, {79, true}, {80, false}};
    for (const auto &c : casos) {
        objeto(4, 200, CARRIL2, 7);
        vista_en(6400 - c.pantalla_x);
        sprcol = -1;
        EXPECT_EQ(enemivieja(0), c.toca ? 7 : 0) << "screen x " << c.pantalla_x;
        EXPECT_EQ(sprcol, c.toca ? 4 : -1);
    }
    vista_en(6400 - 40);
    y = 120.5f; // between lanes
    EXPECT_EQ(enemivieja(0), 0);
    y = 96.0f; // another lane
    EXPECT_EQ(enemivieja(0), 0);
    x = 300.0f; // the window does not follow the vehicle's x
    y = 120.0f;
    EXPECT_EQ(enemivieja(0), 7);
}

TEST_F(Objetos, TheLaterRecordWinsWhateverItsKind)
{
    objeto(3, 200, CARRIL2, 1);
    objeto(9, 201, CARRIL2, 8);
    objeto(12, 205, 24, 5); // listed, but in lane 0
    vista_en(6400 - 10);
    EXPECT_EQ(enemivieja(0), 8);
    EXPECT_EQ(sprcol, 9);
    ASSERT_EQ(spr_cant, 3);
    EXPECT_EQ(sprite_div[0][2], 10); // table order
    EXPECT_EQ(sprite_div[1][2], 42);
    EXPECT_EQ(sprite_div[2][0], 4);
}

TEST_F(Objetos, ObjectsInLaterPassesComeUpInTheirPass)
{
    objeto(0, 250, CARRIL2, 7); // level x 8000: 50 columns into the second pass
    vista_en(8000 - 40);
    EXPECT_EQ(scr5, 1);
    EXPECT_EQ(enemivieja(0), 7);
}

TEST_F(Objetos, MoreThanThirtyVisibleAreAllListed)
{
    for (int i = 0; i < 40; i++) objeto(i, 210, 24 * (i % 4 + 1), 1 + i % 5);
    vista_en(6600);
    enemivieja(0);
    EXPECT_EQ(spr_cant, 40);
}

} // namespace
