// Drawing one frame from the world state.
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/arranque.h"
#include "frame/utilfun.h"
#include "game/enemigos.h"
#include "game/scroll.h"
#include "mundo_prueba.h"
#include <tuple>

using namespace vz;

namespace {

// Sprite i is painted in colour 1 + i by the test world.
constexpr int color_sprite(int i) { return 1 + i; }

struct Render : prueba::Mundo {
    int en(int xx, int yy) const { return getpixel(pagina, xx, yy); }
    int cuenta(int color) const
    {
        int n = 0;
        for (int yy = 0; yy < 240; yy++)
            for (int xx = 0; xx < 320; xx++) n += en(xx, yy) == color;
        return n;
    }
};

TEST_F(Render, RoadTruckAndPanelAndNothingForSpriteIndexesOutsideTheSheet)
{
    clear_to_color(scroll, 33);
    spr_cant = 2;
    const int lista[2][3] = {{-1, 50, 100}, {29, 50, 200}};
    for (int i = 0; i < 2; i++)
        for (int k = 0; k < 3; k++) sprite_div[i][k] = lista[i][k];
    act_grafica();
    EXPECT_EQ(en(5, 5), 33);
    EXPECT_EQ(en(120, 80), 33);
    EXPECT_EQ(en(220, 80), 33);
    EXPECT_EQ(en(60, 120 + 9 + 18), color_sprite(8 + s)); // truck frame s at (40, y + 9)
    EXPECT_EQ(en(40, 120 + 9 + 18), 33);                   // its transparent border
    EXPECT_EQ(cuenta(color_sprite(8 + s)), 44 * 34);       // drawn exactly once
    EXPECT_EQ(en(2, 235), 90);                             // panel
}

TEST_F(Render, AnObjectInTheTrucksLaneIsCoveredByTheTruckOneLaneLowerCoversIt)
{
    y = 96.0f;
    // Same lane: screen y = y - 28; one lane lower: y - 4. Both overlap the truck at x 60.
    spr_cant = 1;
    sprite_div[0][0] = 0;
    sprite_div[0][1] = 96 - 28;
    sprite_div[0][2] = 50;
    act_grafica();
    EXPECT_EQ(en(60, 96 + 20), color_sprite(8 + s));
    sprite_div[0][1] = 96 - 4;
    act_grafica();
    EXPECT_EQ(en(60, 96 + 20), color_sprite(0));
}

TEST_F(Render, TheTruckGoesBeforeTheFirstObjectThatPassesTheDepthTest)
{
    y = 96.0f; // truck inside x 41..84, y 106..139
    spr_cant = 3;
    // Entry 0 fails the depth test, entry 1 passes (far right), entry 2 fails but comes later.
    const int lista[3][3] = {{1, 50, 45}, {2, 92, 200}, {3, 60, 55}};
    for (int i = 0; i < 3; i++)
        for (int k = 0; k < 3; k++) sprite_div[i][k] = lista[i][k];
    act_grafica();
    EXPECT_EQ(en(47, 110), color_sprite(8 + s)); // the truck covers the earlier entry 0
    EXPECT_EQ(en(70, 115), color_sprite(3));     // and is covered by every later entry
}

TEST_F(Render, FlameFramesFollowTheFireTimerAndTheTruckBlinksLate)
{
    const struct {
        float fuego;
        int llama;
    } casos[] = {{0.5f, 17}, {119.9f, 26}, {120.0f, 17}, {239.9f, 26}, {131.0f, 17}, {132.0f, 18}};
    for (const auto &c : casos) {
        fuego = c.fuego;
        act_grafica();
        EXPECT_EQ(en(45, 120 - 77 + 60), color_sprite(c.llama)) << c.fuego;
        EXPECT_EQ(en(30 + 45 + 40, 120 - 77 + 60), color_sprite(c.llama)) << "second flame";
        EXPECT_EQ(cuenta(color_sprite(8 + s)), 0) << "no truck under the fire";
    }
    fuego = 240.0f;
    for (int t = 0; t < 6; t++) {
        tick = t;
        act_grafica();
        EXPECT_EQ(cuenta(color_sprite(8 + s)) > 0, t % 3 == 0) << "tick " << t;
    }
}

TEST_F(Render, SplashFramesFadeFrom13To16)
{
    const struct {
        float t;
        int spr;
    } casos[] = {{79.9f, 13}, {60.0f, 13}, {59.9f, 14}, {20.0f, 16 - 1}, {19.9f, 16}, {0.5f, 16}};
    for (const auto &c : casos) {
        sanani[2] = {c.t, 10, 100.0f};
        act_grafica();
        EXPECT_EQ(en(100 + 35, 10 + 36), color_sprite(c.spr)) << c.t;
    }
    sanani[2] = {0.0f, 10, 100.0f};
    act_grafica();
    for (int spr = 13; spr <= 16; spr++) EXPECT_EQ(cuenta(color_sprite(spr)), 0);
}

TEST_F(Render, ScoreLineUsesItsFieldWidths)
{
    BITMAP *esperado = create_bitmap(320, 240);
    for (auto [p, v, texto] : {std::tuple{200u, 5, "PUNTOS:  200 VIDAS: 5"},
                               std::tuple{1234567u, 123, "PUNTOS:1234567 VIDAS:123"}}) {
        puntos = p;
        vidas = v;
        act_grafica();
        clear_to_color(esperado, 90);
        textprintf_centre_ex(esperado, font, 160, 206, -1, -1, "%s", texto);
        for (int yy = 192; yy < 240; yy++)
            for (int xx = 0; xx < 320; xx++)
                ASSERT_EQ(en(xx, yy), getpixel(esperado, xx, yy)) << texto << " at " << xx << "," << yy;
    }
    destroy_bitmap(esperado);
}

TEST_F(Render, MessageLineShowsOnlyWhileItsTimerRuns)
{
    clear_to_color(scroll, 33);
    std::snprintf(mensa, sizeof mensa, "Sonando:tema.mid");
    mensaje = 0;
    act_grafica();
    BITMAP *sin = create_bitmap(320, 240);
    blit(pagina, sin, 0, 0, 0, 0, 320, 240);
    mensaje = 2;
    act_grafica();
    int distintos = 0;
    for (int yy = 0; yy < 240; yy++)
        for (int xx = 0; xx < 320; xx++) {
            if (en(xx, yy) == getpixel(sin, xx, yy)) continue;
            distintos++;
            ASSERT_EQ(en(xx, yy), 255);
            ASSERT_TRUE(xx >= 10 && yy >= 10 && yy < 18) << xx << "," << yy;
        }
    EXPECT_GT(distintos, 30);
    destroy_bitmap(sin);
}

} // namespace
