#include "frame/flujo.h"
#include "game/juego.h"
#include "menus/menus.h"
#include "allegro_vz.h"
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>

// Stand-ins for the screens: each records its letter and sets the state the test scripted for it.
namespace {
std::string visto;
std::deque<int> tras_titulo, tras_juego;
std::function<void()> durante_fin;

void siguiente(std::deque<int> &cola)
{
    if (!cola.empty()) {
        vz::cambnib = cola.front();
        cola.pop_front();
    } else {
        vz::cambnib = 3;
    }
}
} // namespace

namespace vz {
void presentacion()
{
    visto += 'T';
    siguiente(tras_titulo);
}
void game()
{
    visto += 'J';
    siguiente(tras_juego);
}
void game_over()
{
    visto += 'O';
    if (durante_fin) durante_fin();
}
void gane()
{
    visto += 'G';
    if (durante_fin) durante_fin();
}
} // namespace vz

using namespace vz;

namespace {

struct Flujo : ::testing::Test {
    static void SetUpTestSuite()
    {
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        // A keyboard with nothing pressed, so the key buffer works without a display.
        install_keyboard_hooks([] { return 0; }, [] { return 0; });
    }
    void SetUp() override
    {
        visto.clear();
        tras_titulo.clear();
        tras_juego.clear();
        durante_fin = nullptr;
        cambnib = 2;
        salir = 0;
        clear_keybuf();
    }
};

// Letters: T title, J game, O game over, G victory. A won game's victory follows in the same pass,
// a lost game's game over on the next; a quit ends the loop.
TEST_F(Flujo, EachEndOfAGameLeadsToItsScreen)
{
    for (auto [tras_juego_, visto_] : {std::pair{5, "TJGT"}, std::pair{4, "TJOT"}, std::pair{3, "TJ"}}) {
        SetUp();
        tras_titulo = {0, 3};
        tras_juego = {tras_juego_};
        cambia_funcion();
        EXPECT_EQ(visto, visto_);
    }
}

TEST_F(Flujo, CloseDuringEndScreenIsNotLostWhenStateGoesBackToTitle)
{
    tras_titulo = {0};
    tras_juego = {4};
    durante_fin = [] { close_hook(); };
    cambia_funcion();
    EXPECT_EQ(visto, "TJO"); // the title is not shown again
    EXPECT_EQ(cambnib, 2);
    EXPECT_EQ(salir, 1);
}

TEST_F(Flujo, CloseHookSetsQuitAndQueuesOneEscWithoutTouchingKeyState)
{
    key[KEY_ESC] = 0;
    close_hook();
    EXPECT_EQ(cambnib, 3);
    EXPECT_EQ(salir, 1);
    EXPECT_EQ(key[KEY_ESC], 0);
    ASSERT_TRUE(keypressed());
    EXPECT_EQ(readkey(), 0x3B00);
    EXPECT_FALSE(keypressed());
}

} // namespace
