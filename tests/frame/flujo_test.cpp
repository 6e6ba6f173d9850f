#include "frame/flujo.h"
#include "game/juego.h"
#include "menus/menus.h"
#include "allegro_vz.h"
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>

// Stand-ins for the screens: each records its letter (T title, J game, O game over, G victory);
// the title and the game then take the next state the test scripted, or quit.
namespace {
std::string visto;
std::deque<int> siguientes;
std::function<void()> durante_fin;

void pantalla(char letra)
{
    visto += letra;
    vz::cambnib = siguientes.empty() ? 3 : siguientes.front();
    if (!siguientes.empty()) siguientes.pop_front();
}
} // namespace

namespace vz {
void presentacion() { pantalla('T'); }
void game() { pantalla('J'); }
void game_over()
{
    visto += 'O';
    if (durante_fin) durante_fin();
}
void gane() { visto += 'G'; }
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
        durante_fin = nullptr;
        salir = 0;
        clear_keybuf();
    }
    // Runs the loop from the title with the states the screens are to take in turn.
    static void corre(std::deque<int> estados)
    {
        visto.clear();
        siguientes = estados;
        cambnib = 2;
        cambia_funcion();
    }
};

// A won game's victory follows in the same pass, a lost game's game over on the next; a quit ends
// the loop.
TEST_F(Flujo, EachEndOfAGameLeadsToItsScreen)
{
    for (auto [fin, esperado] : {std::pair{5, "TJGT"}, std::pair{4, "TJOT"}, std::pair{3, "TJ"}}) {
        corre({0, fin, 3});
        EXPECT_EQ(visto, esperado);
    }
}

// The close button queues one ESC without touching the key state, and a close during the game over
// is not lost when the state goes back to the title.
TEST_F(Flujo, ACloseDuringTheGameOverEndsTheLoop)
{
    key[KEY_ESC] = 0;
    durante_fin = [] { close_hook(); };
    corre({0, 4});
    EXPECT_EQ(visto, "TJO"); // the title is not shown again
    EXPECT_EQ(salir, 1);
    EXPECT_EQ(key[KEY_ESC], 0);
    ASSERT_TRUE(keypressed());
    EXPECT_EQ(readkey(), 0x3B00);
    EXPECT_FALSE(keypressed());
}

} // namespace
