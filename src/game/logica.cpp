#include "game/logica.h"
#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "frame/mandos.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/efectos.h"
#include "game/enemigos.h"
#include "game/mundo.h"
#include "game/scroll.h"

namespace vz {

namespace {

constexpr uint32_t PUNTOS_VIDA = 10000;

void pausa()
{
    const int antes = tick;
    textprintf_centre_ex(actual_page, font, 160, 110, -1, bg, "PAUSA");
    presenta();
    while (pulsada(PAUSA)) cede();
    while (!pulsada(PAUSA)) cede();
    while (pulsada(PAUSA)) cede();
    tick = antes; // time spent paused is not game time
}

void cambia_carril()
{
    const float paso = static_cast<float>(cammov) * animcon;
    // Arrival is tested against the lane left (pos), so a reversed change carries on past it.
    if (mov == 1 && y > 72.0f) {
        y -= paso;
        if (pos == 1 && y <= 72.0f) {
            pos = 0;
            mov = 0;
            y = 72.0f;
        } else if (pos == 2 && y <= 96.0f) {
            pos = 1;
            mov = 0;
            y = 96.0f;
        } else if (pos == 3 && y <= 120.0f) {
            pos = 2;
            mov = 0;
            y = 120.0f;
        }
    }
    if (mov == 2 && y < 144.0f) {
        y += paso;
        if (pos == 2 && y >= 144.0f) {
            pos = 3;
            mov = 0;
            y = 144.0f;
        } else if (pos == 1 && y >= 120.0f) {
            pos = 2;
            mov = 0;
            y = 120.0f;
        } else if (pos == 0 && y >= 96.0f) {
            pos = 1;
            mov = 0;
            y = 96.0f;
        }
    }
}

} // namespace

void teclasy()
{
    if (scr5 < PASADAS) {
        if (pulsada(ARRIBA))
            mov = 1;
        else if (pulsada(ABAJO))
            mov = 2;
        if (pulsada(PAUSA)) pausa();
        if (pulsada(SALE)) cambnib = 3;
    } else if (x < 320.0f) {
        x += animcon;
    } else {
        cambnib = nivel == niveles ? 5 : 1;
    }
    cambia_carril();
}

void act_logica()
{
    spr_cant = 0;
    scro(nscr2);
    if (nscr2 == nscro || (tick % 4 == 0 && nscr2 > 0.0f)) teclasy();
    animacion();
    const int r = enemivieja(0);
    if (fuego == 0.0f) {
        if (r >= 1 && r <= 5) {
            anisangre(1);
        } else if (r == 7) {
            bolsa();
        } else if (r == 6) {
            adjust_sample(sample[1], 0, 128, 1000, 1); // the engine goes on, silent
            play_sample(sample[0], 255, 128, 1000, 0);
            enemi[sprcol].tipo = 0;
            fuego = 1.0f;
            nscr2 = 0.0f;
        }
    }
    anisangre(0);
    anifuego();
    if (puntos >= static_cast<uint32_t>(bvid) * PUNTOS_VIDA) {
        bvid++;
        const int voz = play_sample(sample[5], 255, 128, 1000, 0);
        if (voz >= 0) voice_set_priority(voz, 255);
        vidas++;
    }
}

} // namespace vz
