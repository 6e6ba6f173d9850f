#include "entorno.h"
#include "frame/flujo.h"
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
        // Every test of the key buffer stands for one tick of time.
        prueba::al_esperar([] { tick++; });
    }
    void TearDown() override { prueba::al_esperar(nullptr); }
};

TEST_F(Esperas, TargetsCutTowardZero)
{
    for (auto [fps, desde, segundos, fin] : {std::tuple{75, 0, 3.0f, 225}, std::tuple{75, 0, 0.2f, 15},
                                             std::tuple{60, 0, 3.0f, 180}, std::tuple{60, 0, 0.2f, 12},
                                             std::tuple{60, 500, 2.0f, 620}}) {
        max_fps = fps;
        EXPECT_EQ(fin_espera(desde, segundos), fin) << fps << " Hz " << segundos << " s";
    }
}

TEST_F(Esperas, DelayRestoresTickAndZeroReturnsAtOnce)
{
    delay(0.0f);
    EXPECT_EQ(tick, 1000);
    // The clock runs exactly as far as the wait needs, so no tick can land after the restore.
    const int pasos = fin_espera(1000, 0.2f) - 1000;
    std::thread reloj([&] {
        for (int i = 0; i < pasos; i++) {
            tick++;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    delay(0.2f);
    reloj.join();
    EXPECT_EQ(tick, 1000);
}

TEST_F(Esperas, Delay2RunsItsTimeWhenOnlyAnEarlierKeyWasPressed)
{
    simulate_keypress(KEY_SPACE << 8);
    int llamadas = 0;
    prueba::al_esperar([&] {
        tick++;
        llamadas++;
    });
    delay2(0.2f);
    EXPECT_EQ(llamadas, 15); // the earlier key was emptied out: the wait ran its 15 ticks
    EXPECT_EQ(tick, 1000);
    EXPECT_FALSE(keypressed());
}

TEST_F(Esperas, Delay2EndsOnAKeyAndLeavesItInTheBuffer)
{
    int llamadas = 0;
    prueba::al_esperar([&] {
        tick++;
        if (++llamadas == 5) simulate_keypress(KEY_ENTER << 8);
    });
    delay2(18.0f);
    EXPECT_EQ(llamadas, 5);
    EXPECT_EQ(tick, 1000);
    ASSERT_TRUE(keypressed());
    EXPECT_EQ(readkey() >> 8, KEY_ENTER);
}

TEST_F(Esperas, Delay2EndsOnQuit)
{
    cambnib = 3;
    int llamadas = 0;
    prueba::al_esperar([&] { llamadas++; });
    delay2(18.0f);
    EXPECT_LE(llamadas, 2); // emptying the buffer asks once, then the loop's first test ends it
    EXPECT_EQ(tick, 1000);
}

TEST(Temporizadores, TheTickCountsAndTheMessageTimerStopsAtZero)
{
    tick = 7;
    ticks();
    EXPECT_EQ(tick, 8);
    mensaje = 3;
    for (int esperado : {2, 1, 0, 0}) {
        fps_proc();
        EXPECT_EQ(mensaje, esperado);
    }
}

} // namespace
