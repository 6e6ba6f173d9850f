#include "game/juego.h"
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/ajustes.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/enemigos.h"
#include "game/logica.h"
#include "game/mapa.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include "menus/menus.h"
#include "music/musica.h"
#include "music/mp3.h"
#include <cstring>

namespace vz {

namespace {

constexpr int LIMITE_SALTOS = 30;

void clear(BITMAP *bmp) { clear_bitmap(bmp); }


void empieza_juego_sonido()
{
    play_sample(sample[4], 255, 128, 1000, 0);
    delay(2.0f);
    set_volume(-1, vol_musica(180));
    if (musicmp3 != 0)
        playmp3();
    else
        playmidimusic();
    ajusta_mp3(255);
    play_sample(sample[1], 255, 128, 1000, -1);
}

void fin_nivel()
{
    ajusta_mp3(100);
    set_volume(-1, vol_musica(100));
    stop_sample(sample[1]);
    if (cambnib == 1) {
        play_sample(sample[6], 255, 128, 1000, 0);
        delay(3.0f);
    }
}

} // namespace

void inicio_nivel()
{
    dela = 10.0f;
    scr5 = scr4 = scr3 = scr2 = scr1 = 0;
    y = 120.0f;
    x = 40.0f;
    pos = 2;
    mov = 0;
    cambnib = 0;
    nscr2 = nscro;
    scro(352.0f);
    enemivieja(0);
}

float calcula_animcon(int fps)
{
    return static_cast<float>((1.0 / fps) / 0.013333333333333334);
}

void fija_velocidad()
{
    // Unknown codes play at the base speed, so the level still moves.
    switch (multi) {
    case 2:
        nscro = nscr3 * 1.5f;
        break;
    case 3:
        nscro = nscr3 + nscr3;
        break;
    default:
        nscro = nscr3;
        break;
    }
    nscro = nscro * animcon;
}

void reinicia_juego()
{
    sang = 0;
    fuego = 0.0f;
    puntos = 0;
    nivel = 0;
    bvid = 1;
    animcon = 1.0f;
    difi = 1;
    cammov = 2;
    for (auto &sl : sanani) sl.tiempo = 0.0f;
}

void pon_dificultad(int d)
{
    difi = d;
    vidas = VIDAS_DIFI[difi];
    nscr3 = VELOCIDAD_DIFI[difi];
    animcon = calcula_animcon(max_fps);
}

void game()
{
    reinicia_juego();
    pon_paleta(the_palette);
    pon_dificultad(seleciona_dificultad());

    // Without level files there is nothing to play: say so and go back to the title.
    if (cambnib != 3 && niveles == 0) {
        clear(active_page);
        textprintf_centre_ex(active_page, font, 160, 110, -1, bg, "NO HAY NIVELES");
        delay(3.0f);
        cambnib = 2;
    }

    while (cambnib != 3 && cambnib != 2) {
        nivel++;
        clear(active_page);
        textprintf_centre_ex(active_page, font, 160, 110, -1, bg, "SIGUIENTE NIVEL: %d", nivel);
        delay(3.0f);
        std::strcpy(archivo, "levels/");
        std::strcat(archivo, archive[nivel - 1]);
        CargaMapa(archivo);
        fija_velocidad();
        if (triple_buffer == 1)
            game_main_loop();
        else
            game_main_loop2();
        if (cambnib != 1) break;
    }

    stopmp3();
    stopmidi();
    set_volume(-1, vol_musica(255));
}

void game_main_loop()
{
    inicio_nivel();
    act_grafica();
    empieza_juego_sonido();
    int indice = 0;
    active_page = page1;
    while (cambnib == 0) {
        act_logica();
        act_grafica();
        voltea(indice);
    }
    fin_nivel();
    active_page = actual_page;
}

void game_main_loop2()
{
    active_page = pvirtual;
    actual_page = screen;
    inicio_nivel();
    act_grafica();
    blit(pvirtual, screen, 0, 0, 0, 0, 320, 240);
    presenta();
    empieza_juego_sonido();
    int reloj = tick;
    int saltos = 0;
    while (cambnib == 0) {
        if (reloj <= tick) {
            act_logica();
            reloj++;
        }
        if (reloj < tick && saltos <= LIMITE_SALTOS) {
            saltos++;
            continue;
        }
        act_grafica();
        blit(pvirtual, screen, 0, 0, 0, 0, 320, 240);
        presenta();
        if (saltos > LIMITE_SALTOS) reloj = tick;
        saltos = 0;
        // Up to date: the same frame would only be drawn again, so let the next tick come.
        while (cambnib == 0 && reloj > tick) cede();
    }
    fin_nivel();
    active_page = screen;
}

} // namespace vz
