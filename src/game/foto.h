// A copy of everything the logic tick reads or writes, so that a level can be played forward from
// one moment several times (the level tool's autopilot tries every key at every tick).
// Left out: the pixels of the strip and of the tile column being fed (the logic writes them but
// never reads them back), the draw list (rebuilt before it is read), and the keyboard (input).
// The logic draws no random numbers.
#pragma once
#include "game/mundo.h"
#include <array>

namespace vz {

struct Foto {
    float x, y;
    int pos, mov, cammov;
    int scr1, scr2, scr3, scr4, scr5;
    float sobscro, nscro, nscr2, nscr3;
    unsigned char multi;
    int nivel, niveles;
    int sprcol;
    float fuego;
    std::array<salpicadura, NUM_SANGRE> sanani;
    int sang, s;
    float dela;
    int pan;
    uint32_t puntos;
    int vidas, bvid, difi;
    float animcon;
    int tick, cambnib;
    std::array<enemigo, NUM_ENEMIGOS> enemi;
};

void toma_foto(Foto &f);
void pon_foto(const Foto &f);

} // namespace vz
