#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "frame/mandos.h"
#include "frame/paginas.h"
#include "menus/clear.h"
#include "menus/menus.h"

namespace vz {

namespace {
const char *const ENTRADAS[3] = {"VOY DE PASEO", "QUIERO JUGAR", "SOY JODIDO"};
constexpr int Y_ENTRADA[3] = {80, 120, 160};
constexpr int COLOR_OTRA = 255;
} // namespace

int seleciona_dificultad()
{
    int sel = 1;
    menu::clear(active_page);
    textprintf_centre_ex(active_page, font, 160, 20, -1, bg, "SELECIONA LA DIFICULTAD");
    int tecla = NINGUNA;
    do {
        for (int i = 0; i < 3; i++)
            textprintf_centre_ex(active_page, font, 160, Y_ENTRADA[i], i == sel ? -1 : COLOR_OTRA,
                                 bg, "%s", ENTRADAS[i]);
        clear_keybuf();
        // A close request whose ESC the line above emptied away: no key will come.
        if (cambnib == 3) break;
        presenta();
        tecla = accion_de(readkey() >> 8);
        if (tecla == ARRIBA) sel--;
        if (tecla == ABAJO) sel++;
        if (tecla == SALE) cambnib = 3;
        if (sel > 2) sel = 0;
        if (sel < 0) sel = 2;
    } while (tecla != CONFIRMA && cambnib != 3);
    return sel;
}

} // namespace vz
