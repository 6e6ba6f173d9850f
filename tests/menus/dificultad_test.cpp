// The difficulty menu.
#include "entorno.h"
#include "frame/arranque.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "menus/menus.h"
#include <gtest/gtest.h>
#include <set>

using namespace vz;

namespace {

struct Menu : ::testing::Test {
    BITMAP *pagina = nullptr;
    FONT *guardada = nullptr;
    void SetUp() override
    {
        pagina = create_bitmap(320, 240);
        clear_to_color(pagina, 7);
        active_page = pagina;
        bg = -1;
        cambnib = 0;
        salir = 0;
        guardada = font;
        font = prueba::fuente_color();
    }
    void TearDown() override
    {
        prueba::al_esperar(nullptr);
        font = guardada;
        active_page = nullptr;
        destroy_bitmap(pagina);
        cambnib = 0;
        salir = 0;
    }
};

TEST_F(Menu, KeysMoveTheSelectionWithWrapAndOnlyTheMainEnterOrEscEndIt)
{
    const struct {
        std::vector<int> teclas;
        int eleccion, cambnib;
    } casos[] = {{{KEY_ENTER}, 1, 0},
                 {{KEY_UP, KEY_ENTER}, 0, 0},
                 {{KEY_UP, KEY_UP, KEY_ENTER}, 2, 0},
                 {{KEY_DOWN, KEY_DOWN, KEY_ENTER}, 0, 0},
                 {{KEY_DOWN, KEY_ESC}, 2, 3},
                 {{KEY_ENTER_PAD, KEY_SPACE, KEY_UP, KEY_ENTER_PAD, KEY_ENTER}, 0, 0}};
    for (const auto &c : casos) {
        cambnib = 0;
        prueba::guion_teclas({});
        for (int k : c.teclas) prueba::guion_teclas_mas(k);
        EXPECT_EQ(seleciona_dificultad(), c.eleccion) << c.teclas.size() << " keys";
        EXPECT_EQ(cambnib, c.cambnib);
        EXPECT_EQ(prueba::teclas_leidas(), static_cast<int>(c.teclas.size()));
    }
}

TEST_F(Menu, SelectedEntryIsDrawnInTheFontsColoursTheOthersIn255OnAClearedPage)
{
    prueba::guion_teclas({KEY_ENTER});
    seleciona_dificultad();
    auto colores = [&](int fila) {
        std::set<int> vistos;
        for (int yy = fila; yy < fila + 8; yy++)
            for (int xx = 0; xx < 320; xx++) vistos.insert(getpixel(pagina, xx, yy));
        return vistos;
    };
    EXPECT_EQ(colores(80), (std::set<int>{0, 255}));
    EXPECT_EQ(colores(160), (std::set<int>{0, 255}));
    EXPECT_EQ(colores(120), (std::set<int>{0, 200, 201}));
}

// The close button's ESC can land just before the menu empties the key buffer: the menu must
// end on the quit state itself, without waiting for a key that will never come.
TEST_F(Menu, TheCloseButtonEndsTheMenuEvenWhenItsKeyIsEmptiedAway)
{
    prueba::guion_teclas({});
    // The close request arrives while the menu empties the buffer, and its ESC is emptied too.
    prueba::al_esperar([] {
        if (cambnib == 3) return;
        close_hook();
        clear_keybuf();
    });
    EXPECT_EQ(seleciona_dificultad(), 1);
    EXPECT_EQ(cambnib, 3);
    EXPECT_EQ(prueba::teclas_leidas(), 0);
}

} // namespace
