// The scroller and its ring strip.
#include "assets/carga.h"
#include "game/juego.h"
#include "game/scroll.h"
#include "mundo_prueba.h"

using namespace vz;

namespace {

struct Scroll : prueba::Mundo {
    void SetUp() override
    {
        Mundo::SetUp();
        // Column c of the map shows tile c % 40 in every row, so a pixel tells its column.
        for (int c = 0; c < 200; c++)
            for (int r = 0; r < 8; r++) mapa[c * 8 + r] = static_cast<unsigned char>(c % 40);
        empieza();
    }
    int en_vista(int j) const { return getpixel(scroll, scr4 + j, 100); }
};

TEST_F(Scroll, LevelStartShowsColumnsOneToTenWholeAfterTheStaleBlock)
{
    EXPECT_EQ(scr1, 352);
    EXPECT_EQ(scr2, 32);
    EXPECT_EQ(scr3, 32);
    EXPECT_EQ(scr4, 32);
    EXPECT_EQ(vista_x(), 32);
    for (int j = 0; j < 320; j++) ASSERT_EQ(en_vista(j), 100 + (32 + j) / 32) << "screen x " << j;
    // The first 32 pixels of a level are whatever the column bitmap held; they scroll out at once.
    scr1 = scr2 = scr3 = scr4 = scr5 = 0;
    clear_to_color(proximo_bloque, 7);
    scro(320.0f);
    for (int j = 0; j < 32; j++) ASSERT_EQ(en_vista(j), 7) << "screen x " << j;
    EXPECT_EQ(en_vista(32), 101);
}

TEST_F(Scroll, FractionsCarryAndTheViewStaysOneStraightCopyAcrossTheWrap)
{
    sobscro = 0.0f;
    scro(0.7f);
    EXPECT_EQ(scr1, 352);
    scro(0.7f);
    EXPECT_EQ(scr1, 353);
    EXPECT_NEAR(sobscro, 0.4f, 1e-6);
    sobscro = 0.999f;
    scro(0.0f);
    EXPECT_EQ(scr1, 353);
    for (int paso : {200, 150, 333, 1, 640, 7}) {
        scro(static_cast<float>(paso));
        const int v = vista_x();
        for (int j = 0; j < 320; j += 3)
            ASSERT_EQ(en_vista(j), 100 + ((v + j) % 6400 / 32) % 40) << "after " << paso << " x " << j;
    }
}

TEST_F(Scroll, AtRingEdgeBothStoresGoToColumn319)
{
    clear_bitmap(scroll);
    clear_to_color(proximo_bloque, 0);
    vline(proximo_bloque, 5, 0, 191, 77);
    scr3 = scr4 = 319;
    scr2 = 5;
    sobscro = 0.0f;
    scro(1.0f);
    EXPECT_EQ(scr4, 0);
    int iguales = 0;
    for (int xx = 0; xx < 640; xx++) iguales += getpixel(scroll, xx, 50) == 77;
    EXPECT_EQ(iguales, 1);
    EXPECT_EQ(getpixel(scroll, 319, 50), 77);
}

TEST_F(Scroll, FourPassesEndTheLevelAndTheLastCallFinishesItsPixels)
{
    sobscro = 0.0f;
    int llamadas = 0;
    for (; llamadas < 10000 && scr5 < 4; llamadas++) scro(5.12f);
    EXPECT_NEAR(llamadas, 5000 - 352 / 5.12, 1);
    EXPECT_EQ(vista_x(), 25600 - 320 + scr1);
    scr5 = 3;
    scr1 = 6398;
    scro(5.0f);
    EXPECT_EQ(scr5, 4);
    EXPECT_EQ(scr1, 3);
    scro(50.0f);
    EXPECT_EQ(scr1, 3);
}

} // namespace
