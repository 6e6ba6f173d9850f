#include "game/efectos.h"
#include "assets/carga.h"
#include "frame/flujo.h"
#include "game/mundo.h"
#include "game/scroll.h"

namespace vz {

namespace {
constexpr float VIDA_SANGRE = 80.0f;  // frames a splash lasts
constexpr float FUEGO_QUIETO = 237.0f; // the level stands still while the fire is at most this
constexpr float FUEGO_FIN = 480.0f;
constexpr float FRAME_CAMION = 10.0f;
constexpr uint32_t PUNTOS_ATROPELLO = 200;
constexpr uint32_t PUNTOS_BOLSA = 50;
} // namespace

void anisangre(int nueva)
{
    if (nueva == 1) {
        enemi[sprcol].tipo = 8;
        puntos += PUNTOS_ATROPELLO;
        play_sample(sample[3], 255, 128, 1000, 0);
        for (auto &sl : sanani) {
            if (sl.tiempo <= 0.0f) {
                sl.tiempo = VIDA_SANGRE;
                sl.py = static_cast<int>(y - 35.0f);
                const int pantalla_x = enemi[sprcol].columna * 32 - vista_x();
                sl.px = static_cast<float>(pantalla_x) - x;
                nscr2 = animcon;
                cammov = 1;
                break;
            }
        }
        return;
    }

    const int antes = sang;
    sang = 0;
    for (auto &sl : sanani) {
        if (sl.tiempo > 0.0f) {
            sl.tiempo -= animcon;
            sl.px -= animcon; // the splash stays on the crawling road
            sang = 1;
        }
    }
    if (antes == 1 && sang == 0) {
        nscr2 = nscro;
        cammov = 2;
    }
}

void anifuego()
{
    if (fuego <= 0.0f) return;
    if (fuego <= FUEGO_QUIETO) nscr2 = 0.0f;
    if (fuego < FUEGO_FIN)
        fuego += animcon;
    else
        fuego = 0.0f;
    // Only the first tick past the standing phase finds the speed still held.
    if (fuego > FUEGO_QUIETO && nscr2 != nscro) {
        if (vidas >= 1)
            vidas--;
        else
            cambnib = 4;
        adjust_sample(sample[1], 255, 128, 1000, 1);
        nscr2 = nscro;
    }
}

void bolsa()
{
    pan = pan == 0 ? 255 : 0;
    play_sample(sample[2], 255, pan, 1000, 0);
    enemi[sprcol].tipo = 0;
    puntos += PUNTOS_BOLSA;
}

void animacion()
{
    if (dela < FRAME_CAMION) {
        dela += animcon;
    } else {
        dela = 0.0f;
        s++;
        if (s > 4) s = 0;
    }
}

} // namespace vz
