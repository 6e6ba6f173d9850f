// Waits, the page flip and the timers, against a clock that the tests move themselves.
#include "entorno.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

using namespace vz;

namespace {

struct Esperas : ::testing::Test {
    void SetUp() override
    {
        max_fps = 75;
        tick = 1000;
        cambnib = 0;
        clear_keybuf();
        prueba::guion_teclas({});
    }
    void TearDown() override { prueba::al_esperar(nullptr); }
};

TEST_F(Esperas, TargetsCutTowardZeroDelayRestoresTheTickAndTheMessageTimerStopsAtZero)
{
    for (auto [fps, desde, segundos, fin] : {std::tuple{75, 0, 3.0f, 225}, std::tuple{75, 0, 0.2f, 15},
                                             std::tuple{60, 0, 3.0f, 180}, std::tuple{60, 0, 0.2f, 12},
                                             std::tuple{60, 500, 2.0f, 620}}) {
        max_fps = fps;
        EXPECT_EQ(fin_espera(desde, segundos), fin) << fps << " Hz " << segundos << " s";
    }
    max_fps = 75;
    delay(0.0f);
    EXPECT_EQ(tick, 1000);
    // The clock runs exactly as far as the wait needs, so no tick can land after the restore; it
    // starts late enough for the wait to have read the tick first.
    std::thread reloj([] {
        for (int i = 0; i < 15; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(i == 0 ? 20 : 1));
            tick++;
        }
    });
    delay(0.2f);
    reloj.join();
    EXPECT_EQ(tick, 1000);
    mensaje = 2; // the message timer, once a second
    for (int esperado : {1, 0, 0}) {
        fps_proc();
        EXPECT_EQ(mensaje, esperado);
    }
}

// Each test of the key buffer stands for one tick. An earlier key is emptied out and the wait runs
// its 15 ticks; a key pressed during the wait ends it and stays in the buffer; a quit ends it too.
TEST_F(Esperas, Delay2EndsOnAKeyPressedDuringItOrOnQuit)
{
    const struct {
        bool antes, sale;
        float segundos;
        int pulsa_en, llamadas; // llamadas: exactly, or at most when quitting
    } casos[] = {{true, false, 0.2f, 0, 15}, {false, false, 18.0f, 5, 5}, {false, true, 18.0f, 0, 2}};
    for (const auto &c : casos) {
        tick = 1000;
        if (c.antes) simulate_keypress(KEY_SPACE << 8);
        cambnib = c.sale ? 3 : 0;
        int llamadas = 0;
        prueba::al_esperar([&] {
            tick++;
            if (++llamadas == c.pulsa_en) simulate_keypress(KEY_ENTER << 8);
        });
        delay2(c.segundos);
        if (c.sale) EXPECT_LE(llamadas, c.llamadas); // emptying the buffer asks once, then the test ends it
        else EXPECT_EQ(llamadas, c.llamadas);
        EXPECT_EQ(tick, 1000);
        prueba::al_esperar(nullptr);
        EXPECT_EQ(keypressed() != 0, c.pulsa_en > 0);
        if (c.pulsa_en) EXPECT_EQ(readkey() >> 8, KEY_ENTER);
    }
}

// Without page flipping each flip copies the drawn page to the screen once per tick.
TEST(Volteo, CopyFlipRotatesThePagesAndShowsOneFramePerTick)
{
    BITMAP *pantalla = create_bitmap(320, 240);
    BITMAP *const guardada = std::exchange(screen, pantalla);
    page1 = create_bitmap(320, 240);
    page2 = create_bitmap(320, 240);
    page3 = create_bitmap(320, 240);
    volteo = 0;
    clear_to_color(page1, 9);
    active_page = page1;
    int indice = 0;
    tick = 50;
    std::thread reloj([] {
        for (int i = 0; i < 2; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            tick++;
        }
    });
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
    reloj.join();
    EXPECT_EQ(active_page, page1);
    EXPECT_EQ(indice, 0);
    screen = guardada;
    for (BITMAP *b : {page1, page2, page3, pantalla}) destroy_bitmap(b);
    page1 = page2 = page3 = nullptr;
    active_page = actual_page = nullptr;
}

} // namespace
