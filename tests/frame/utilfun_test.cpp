#include "entorno.h"
#include "frame/flujo.h"
#include "frame/utilfun.h"
#include "music/musica.h"
#include "music/mp3.h"
#include <gtest/gtest.h>
#include <thread>

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
    EXPECT_EQ(fin_espera(0, 3.0f), 225);
    EXPECT_EQ(fin_espera(0, 0.2f), 15);
    EXPECT_EQ(fin_espera(0, 8.0f), 600);
    max_fps = 60;
    EXPECT_EQ(fin_espera(0, 3.0f), 180);
    EXPECT_EQ(fin_espera(0, 0.2f), 12);
    EXPECT_EQ(fin_espera(500, 2.0f), 620);
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

TEST(Temporizadores, MessageTimerStopsAtZero)
{
    mensaje = 3;
    fps_proc();
    fps_proc();
    EXPECT_EQ(mensaje, 1);
    fps_proc();
    fps_proc();
    EXPECT_EQ(mensaje, 0);
}

TEST(Temporizadores, TickTimerCountsAndMusicTimerIdlesWithoutASong)
{
    tick = 7;
    ticks();
    EXPECT_EQ(tick, 8);
    midiest = 0;
    mp3est = 0;
    mensaje = 0;
    mp3actualiza(); // nothing playing: no song may start, so no message either
    EXPECT_EQ(mensaje, 0);
    EXPECT_EQ(midiest, 0);
    EXPECT_EQ(mp3est, 0);
}

} // namespace
