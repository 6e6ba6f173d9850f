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
    void SetUp() override
    {
        pagina = create_bitmap(320, 240);
        clear_to_color(pagina, 7);
        active_page = pagina;
        bg = -1;
        cambnib = 0;
        guardada = font;
        font = prueba::fuente_color();
    }
    void TearDown() override
    {
        font = guardada;
        destroy_bitmap(pagina);
    }
    FONT *guardada = nullptr;
    int elige(std::initializer_list<int> teclas)
    {
        prueba::guion_teclas(teclas);
        return seleciona_dificultad();
    }
};

TEST_F(Menu, EnterAtOnceChoosesTheMiddleEntry)
{
    EXPECT_EQ(elige({KEY_ENTER}), 1);
    EXPECT_EQ(cambnib, 0);
    EXPECT_EQ(getpixel(pagina, 0, 0), 0); // the page was cleared to colour 0
}

TEST_F(Menu, SelectionWrapsBothWays)
{
    EXPECT_EQ(elige({KEY_UP, KEY_ENTER}), 0);
    EXPECT_EQ(elige({KEY_UP, KEY_UP, KEY_ENTER}), 2);
    EXPECT_EQ(elige({KEY_DOWN, KEY_ENTER}), 2);
    EXPECT_EQ(elige({KEY_DOWN, KEY_DOWN, KEY_ENTER}), 0);
}

TEST_F(Menu, EscKeepsTheSelectionAndQuits)
{
    EXPECT_EQ(elige({KEY_DOWN, KEY_ESC}), 2);
    EXPECT_EQ(cambnib, 3);
    EXPECT_EQ(prueba::teclas_leidas(), 2);
}

TEST_F(Menu, OnlyTheMainEnterConfirms)
{
    EXPECT_EQ(elige({KEY_ENTER_PAD, KEY_SPACE, KEY_UP, KEY_ENTER_PAD, KEY_ENTER}), 0);
    EXPECT_EQ(prueba::teclas_leidas(), 5);
}

TEST_F(Menu, SelectedEntryIsDrawnInTheFontsColoursTheOthersIn255)
{
    elige({KEY_ENTER});
    // Every text pixel of the rows of entries 0 and 2 is 255; entry 1's are not.
    auto colores = [&](int fila) {
        std::set<int> vistos;
        for (int yy = fila; yy < fila + 8; yy++)
            for (int xx = 0; xx < 320; xx++)
                if (getpixel(pagina, xx, yy) != 0) vistos.insert(getpixel(pagina, xx, yy));
        return vistos;
    };
    EXPECT_EQ(colores(80), std::set<int>{255});
    EXPECT_EQ(colores(160), std::set<int>{255});
    EXPECT_EQ(colores(120), (std::set<int>{200, 201}));
}

} // namespace
