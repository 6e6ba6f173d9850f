#include "game/foto.h"
#include "frame/flujo.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include <algorithm>

namespace vz {

namespace {

// One list of what the logic touches, walked in both directions, so that taking and restoring a
// snapshot can never cover different fields.
template <class Foto_, class Copia, class CopiaTabla> void recorre(Foto_ &f, Copia c, CopiaTabla t)
{
    c(x, f.x);
    c(y, f.y);
    c(pos, f.pos);
    c(mov, f.mov);
    c(cammov, f.cammov);
    c(scr1, f.scr1);
    c(scr2, f.scr2);
    c(scr3, f.scr3);
    c(scr4, f.scr4);
    c(scr5, f.scr5);
    c(sobscro, f.sobscro);
    c(nscro, f.nscro);
    c(nscr2, f.nscr2);
    c(nscr3, f.nscr3);
    c(multi, f.multi);
    c(nivel, f.nivel);
    c(niveles, f.niveles);
    c(sprcol, f.sprcol);
    c(fuego, f.fuego);
    t(sanani, f.sanani);
    c(sang, f.sang);
    c(s, f.s);
    c(dela, f.dela);
    c(pan, f.pan);
    c(puntos, f.puntos);
    c(vidas, f.vidas);
    c(bvid, f.bvid);
    c(difi, f.difi);
    c(animcon, f.animcon);
    c(tick, f.tick);
    c(cambnib, f.cambnib);
    t(enemi, f.enemi);
}

} // namespace

void toma_foto(Foto &f)
{
    recorre(
        f, [](auto &juego, auto &foto) { foto = juego; },
        [](auto &juego, auto &foto) { std::copy_n(juego, foto.size(), foto.begin()); });
}

void pon_foto(const Foto &f)
{
    recorre(
        f, [](auto &juego, const auto &foto) { juego = foto; },
        [](auto &juego, const auto &foto) { std::copy(foto.begin(), foto.end(), juego); });
}

} // namespace vz
