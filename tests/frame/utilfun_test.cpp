// Waits, the page flip and the timers, against a clock that the tests move themselves.
#include "entorno.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include <gtest/gtest.h>
#include <sstream>
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

// Without page flipping each flip copies the drawn page to the screen once per tick.
TEST(Volteo, CopyFlipRotatesThePagesAndShowsOneFramePerTick) {
    BITMAP *pantalla = create_bitmap(320, 240);
    BITMAP *const guardada = std::exchange(screen, pantalla);
    for (BITMAP **p : {&page1, &page2, &page3})
        *p = create_bitmap(320, 240);
    volteo = 0;
    clear_to_color(page1, 9);
    active_page = page1;
    int indice = 0;
    tick = 50;
    prueba::al_ceder = [] { tick++; };
    voltea(indice); // first flip of the run: shows at once
    EXPECT_EQ(getpixel(pantalla, 100, 100), 9);
    EXPECT_EQ(active_page, page2);
    EXPECT_EQ(actual_page, pantalla);
    clear_to_color(page2, 4);
    voltea(indice); // waits for the clock's next tick
    EXPECT_EQ(tick, 51);
    EXPECT_EQ(getpixel(pantalla, 100, 100), 4);
    EXPECT_EQ(active_page, page3);
    voltea(indice);
    prueba::al_ceder = nullptr;
    EXPECT_EQ(tick, 52);
    EXPECT_EQ(active_page, page1);
    EXPECT_EQ(indice, 0);
    screen = guardada;
    for (BITMAP *b : {page1, page2, page3, pantalla})
        destroy_bitmap(b);
    page1 = page2 = page3 = nullptr;
    active_page = actual_page = nullptr;
}

// Options are matched exactly; a scale is one digit from 1 to 4 alone, the last one given counts.
// What each line sets: full screen, three pages, diagnostics, scale.
TEST(Opciones, AreMatchedExactly) {
    for (auto [linea, ajustes] : {std::pair{"-full -tbuf -info -3", "1 1 1 3"},
                                  {"-4 -1", "0 0 0 1"},
                                  {"-4", "0 0 0 4"},
                                  {"-FULL -tbuf2 info -5 -0 -12 --2", "0 0 0 0"}}) {
        autodetect_card = GFX_AUTODETECT_WINDOWED;
        triple_buffer = info = escala = 0;
        std::istringstream in(linea);
        std::vector<std::string> args = {"vorkzel"};
        std::vector<char *> argv;
        for (std::string a; in >> a;)
            args.push_back(a);
        for (auto &a : args)
            argv.push_back(a.data());
        lee_opciones(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(std::to_string(autodetect_card == GFX_AUTODETECT_FULLSCREEN) + " " +
                      std::to_string(triple_buffer) + " " + std::to_string(info) + " " +
                      std::to_string(escala),
                  ajustes)
            << linea;
    }
}

} // namespace
