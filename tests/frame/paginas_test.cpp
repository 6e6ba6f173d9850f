#include "frame/paginas.h"
#include "frame/utilfun.h"
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

using namespace vz;

TEST(PruebaVolteo, MoreThanTwentyFlipsOverTheRateMeansUnheldFlips)
{
    for (auto [fps, cuenta, sync] : {std::tuple{75, 95, 0}, std::tuple{75, 96, 1}, std::tuple{60, 80, 0},
                                     std::tuple{60, 81, 1}}) {
        max_fps = fps;
        EXPECT_EQ(sync_de_cuenta(cuenta), sync) << fps << " Hz, " << cuenta << " flips";
    }
}

TEST(PruebaVolteo, CopyFlipRotatesThePagesAndShowsOneFramePerTick)
{
    // Without page flipping each flip copies the drawn page to the screen once per tick.
    BITMAP *pantalla = create_bitmap(320, 240);
    BITMAP *const guardada = screen;
    screen = pantalla;
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
