#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "frame/mandos.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "menus/menus.h"

namespace vz {

namespace {
constexpr int MAX_PASADAS = 500;
constexpr int COLOR_AVISO = 4; // of the title picture's palette
} // namespace

void presentacion()
{
    bool parpadeo = false;
    do {
        play_midi(music2, 0);
        pon_paleta(black_palette);
        blit(imagen1, active_page, 0, 0, 0, 0, 320, 240);
        presenta();
        fade_in(the_palette1, 1);
        pon_paleta(the_palette1);
        delay2(18.0f);
        presenta();
        fade_out(1);
        stop_midi();

        int pasadas = 0;
        blit(imagen2, active_page, 0, 0, 0, 0, 320, 240);
        pon_paleta(the_palette2);
        clear_keybuf();
        if (cambnib != 3) {
            do {
                pasadas++;
                delay2(0.2f);
                blit(imagen2, active_page, 0, 0, 0, 0, 320, 240);
                parpadeo = !parpadeo;
                vsync();
                if (parpadeo)
                    textprintf_centre_ex(active_page, font, 160, 160, COLOR_AVISO, bg,
                                         "APRETA ENTER");
            } while (!(cambnib == 3 || pulsada(SALE) || pasadas > MAX_PASADAS - 1 ||
                       pulsada(CONFIRMA) || pulsada(RANKING)));
        }

        if (pulsada(CONFIRMA))
            cambnib = 0;
        else if (pulsada(SALE))
            cambnib = 3;
        else if (cambnib != 3)
            muestraranking(0, 0);
    } while (!(pulsada(SALE) || pulsada(CONFIRMA) || cambnib == 3));
}

} // namespace vz
