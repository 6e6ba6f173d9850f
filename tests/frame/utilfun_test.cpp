// Waits, the page flip and the timers, against a clock that the tests move themselves.
#include "entorno.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>

using namespace vz;

namespace {

TEST(Esperas, TargetsCutTowardZeroDelayRestoresTheTickAndTheMessageTimerStopsAtZero) {
    for (auto [fps, desde, segundos, fin] :
         {std::tuple{75, 0, 3.0f, 225}, std::tuple{75, 0, 0.2f, 15}, std::tuple{60, 0, 3.0f, 180},
          std::tuple{60, 0, 0.2f, 12}, std::tuple{60, 500, 2.0f, 620}}) {
        max_fps = fps;
        EXPECT_EQ(fin_espera(desde, segundos), fin) << fps << " Hz " << segundos << " s";
    }
    max_fps = 75;
    tick = 1000;
    int pasadas = 0; // of the wait loop, one tick each
    prueba::al_ceder = [&] {
        tick++;
        pasadas++;
    };
    delay(0.0f);
    EXPECT_EQ(pasadas, 0);
    delay(0.2f);
    EXPECT_EQ(pasadas, 15);
    EXPECT_EQ(tick, 1000);
    prueba::al_ceder = nullptr;
    mensaje = 2; // the message timer, once a second
    for (int esperado : {1, 0, 0}) {
        fps_proc();
        EXPECT_EQ(mensaje, esperado);
    }
}

// The three pages of -tbuf without page flipping: cleared before the flip test shows them, then
// each flip copies the drawn page to the screen once per tick. At scale 2 the screen is a picture
// of the game's own, which the flip then shows on the window, each pixel a square, with the
// palette given since: never the new palette over the picture before.
TEST(Volteo, CopyFlipShowsClearedPagesThenOneFramePerTickEnlargedInItsOwnPalette) {
    BITMAP *const guardada = std::exchange(screen, create_bitmap(640, 480));
    clear_to_color(screen, 7);
    escala = 2;
    ASSERT_TRUE(empieza_escala()); // `screen` is the game's picture now, `ventana` the window
    triple_buffer = 1;
    tick = 50;
    prueba::al_ceder = [] {
        if (++tick == 55) mensaje = 0; // the flip test's second is up
    };
    prepara_paginas();
    int sucias = 0;
    for (BITMAP *b : {page1, page2, page3, ventana})
        for (int k = 0; k < b->w * b->h; k++)
            sucias += getpixel(b, k % b->w, k / b->w) != 0;
    EXPECT_EQ(sucias, 0) << "the flip test showed pages not cleared";
    PALETTE antes, roja;
    get_palette(antes);
    for (int i = 0; i < 256; i++)
        roja[i] = {static_cast<unsigned char>(i / 4), 0, 0, 0};
    pon_paleta(roja);
    EXPECT_EQ(std::memcmp(_current_palette, antes, sizeof antes), 0)
        << "the new palette came before its picture";
    clear_to_color(page1, 9);
    circlefill(page1, 300, 100, 40, 4);
    clear_to_color(page3, 1); // shown last: every row differs from the pages at the next repeat
    active_page = page1;
    int indice = 0;
    voltea(indice); // waits for the clock's next tick
    EXPECT_EQ(tick, 56);
    int distintos = 0;
    for (int k = 0; k < 640 * 480; k++)
        distintos += getpixel(ventana, k % 640, k / 640) != getpixel(page1, k % 640 / 2, k / 1280);
    EXPECT_EQ(distintos, 0);
    EXPECT_EQ(std::memcmp(_current_palette, roja, sizeof roja), 0);
    EXPECT_EQ(active_page, page2);
    EXPECT_EQ(actual_page, screen);
    clear_to_color(page2, 4);
    voltea(indice);
    EXPECT_EQ(tick, 57);
    EXPECT_EQ(getpixel(ventana, 639, 479), 4);
    EXPECT_EQ(active_page, page3);
    voltea(indice);
    prueba::al_ceder = nullptr;
    EXPECT_EQ(tick, 58);
    EXPECT_EQ(active_page, page1);
    EXPECT_EQ(indice, 0);
    termina_escala();
    set_palette(antes);
    escala = triple_buffer = 0;
    for (BITMAP *b : {page1, page2, page3, screen})
        destroy_bitmap(b);
    screen = guardada;
    page1 = page2 = page3 = nullptr;
    active_page = actual_page = nullptr;
}

} // namespace
