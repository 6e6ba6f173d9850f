#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "menus/clear.h"
#include "menus/menus.h"

namespace vz {

namespace {
constexpr int BONO_VIDA = 3000;
}

void game_over()
{
    presenta();
    fade_out(1);
    delay(2.0f);
    clear_to_color(active_page, 255);
    textprintf_centre_ex(active_page, font, 160, 160, 239, bg, "GAME OVER");
    pon_paleta(the_palette);
    play_sample(sample[10], 255, 128, 1000, 0);
    delay(5.0f);
}

void gane()
{
    presenta();
    fade_out(1);
    delay(2.0f);
    blit(imagen3, active_page, 0, 0, 0, 0, 320, 240);
    presenta();
    fade_in(the_palette3, 1);
    delay(8.0f);
    tupuntaje();
}

void tupuntaje()
{
    pon_paleta(the_palette);
    menu::clear(active_page);
    // Signed 32-bit arithmetic that wraps like the score itself.
    const uint32_t bono = static_cast<uint32_t>(vidas) * BONO_VIDA;
    const int total = static_cast<int>(bono + puntos);
    textprintf_centre_ex(active_page, font, 160, 30, -1, bg, "TU PUNTAJE FINAL");
    textprintf_centre_ex(active_page, font, 160, 80, -1, bg, "VIDAS: %2d X 3000", vidas);
    textprintf_centre_ex(active_page, font, 160, 105, -1, bg, "PUNTOS:   %6d",
                         static_cast<int>(puntos));
    textprintf_centre_ex(active_page, font, 160, 135, -1, bg, "TOTAL:    %6d", total);
    puntos += bono;
    delay(5.0f);
    escriveranking();
}

} // namespace vz
