#include "assets/render.h"
#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include <cstring>

namespace vz {

char mensa[512];
std::mutex candado_mensa;

namespace {

constexpr int SPR_CAMION = 8;
constexpr int SPR_SANGRE = 16; // drawn as 16 - t / 20: 13 fresh .. 16 fading
constexpr int SPR_LLAMA = 17;

void dibuja_camion()
{
    draw_sprite_h_flip(active_page, sprite[SPR_CAMION + s], static_cast<int>(x),
                       static_cast<int>(y + 9.0f));
}

void dibuja_llamas(int cuadro)
{
    BITMAP *llama = sprite[SPR_LLAMA + cuadro];
    draw_sprite(active_page, llama, static_cast<int>(x), static_cast<int>(y - 77.0f));
    draw_sprite(active_page, llama, static_cast<int>(x + 30.0f), static_cast<int>(y - 77.0f));
}

} // namespace

void dibucamfuesan()
{
    const float f = fuego;
    const int n = static_cast<int>(f);
    if (f <= 0.0f)
        dibuja_camion();
    else if (f < 120.0f)
        dibuja_llamas(n / 12);
    else if (f < 240.0f)
        dibuja_llamas((n - 120) / 12);
    else if (tick % 3 == 0)
        dibuja_camion();

    for (const auto &sl : sanani) {
        if (sl.tiempo > 0.0f)
            draw_sprite(active_page, sprite[SPR_SANGRE - static_cast<int>(sl.tiempo) / 20],
                        static_cast<int>(sl.px), sl.py);
    }
}

void act_grafica()
{
    acquire_bitmap(active_page);
    blit(scroll, active_page, scr4, 0, 0, 0, 320, 192);

    bool camion = false;
    for (int i = 0; i < spr_cant; i++) {
        const int *e = sprite_div[i];
        if (!camion && y < static_cast<float>(e[1] + 28)) {
            dibucamfuesan();
            camion = true;
        }
        // Indexes outside the sheet name no picture: nothing is drawn for them.
        if (e[0] >= 0 && e[0] < NUM_SPRITES) draw_sprite(active_page, sprite[e[0]], e[2], e[1]);
    }
    if (!camion) dibucamfuesan();

    blit(hud, active_page, 0, 0, 0, 192, 320, 48);
    if (mensaje != 0) {
        // The music timer may announce the next song at any moment: draw a whole copy.
        char linea[sizeof mensa];
        {
            std::lock_guard<std::mutex> cerrojo(candado_mensa);
            std::memcpy(linea, mensa, sizeof linea);
        }
        linea[sizeof linea - 1] = 0;
        textprintf_ex(active_page, font2, 10, 10, 255, bg, "%s", linea);
    }
    textprintf_centre_ex(active_page, font, 160, 206, -1, bg, "PUNTOS:%5d VIDAS:%2d", static_cast<int>(puntos),
                         vidas);
    release_bitmap(active_page);
}

} // namespace vz
