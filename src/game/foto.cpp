#include "game/foto.h"
#include "frame/flujo.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include <algorithm>

namespace vz {

void toma_foto(Foto &f)
{
    f.x = x;
    f.y = y;
    f.pos = pos;
    f.mov = mov;
    f.cammov = cammov;
    f.scr1 = scr1;
    f.scr2 = scr2;
    f.scr3 = scr3;
    f.scr4 = scr4;
    f.scr5 = scr5;
    f.sobscro = sobscro;
    f.nscro = nscro;
    f.nscr2 = nscr2;
    f.nscr3 = nscr3;
    f.multi = multi;
    f.nivel = nivel;
    f.niveles = niveles;
    f.sprcol = sprcol;
    f.fuego = fuego;
    std::copy(sanani, sanani + NUM_SANGRE, f.sanani.begin());
    f.sang = sang;
    f.s = s;
    f.dela = dela;
    f.pan = pan;
    f.puntos = puntos;
    f.vidas = vidas;
    f.bvid = bvid;
    f.difi = difi;
    f.animcon = animcon;
    f.tick = tick;
    f.cambnib = cambnib;
    std::copy(enemi, enemi + NUM_ENEMIGOS, f.enemi.begin());
}

void pon_foto(const Foto &f)
{
    x = f.x;
    y = f.y;
    pos = f.pos;
    mov = f.mov;
    cammov = f.cammov;
    scr1 = f.scr1;
    scr2 = f.scr2;
    scr3 = f.scr3;
    scr4 = f.scr4;
    scr5 = f.scr5;
    sobscro = f.sobscro;
    nscro = f.nscro;
    nscr2 = f.nscr2;
    nscr3 = f.nscr3;
    multi = f.multi;
    nivel = f.nivel;
    niveles = f.niveles;
    sprcol = f.sprcol;
    fuego = f.fuego;
    std::copy(f.sanani.begin(), f.sanani.end(), sanani);
    sang = f.sang;
    s = f.s;
    dela = f.dela;
    pan = f.pan;
    puntos = f.puntos;
    vidas = f.vidas;
    bvid = f.bvid;
    difi = f.difi;
    animcon = f.animcon;
    tick = f.tick;
    cambnib = f.cambnib;
    std::copy(f.enemi.begin(), f.enemi.end(), enemi);
}

} // namespace vz
