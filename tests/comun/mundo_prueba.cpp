#include "mundo_prueba.h"
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/arranque.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/juego.h"
#include "game/scroll.h"
#include <cstring>
#include <utility>

using namespace vz;

namespace prueba {

namespace {

// A w x h picture of `color`, inside a border of 0 (transparent) when `borde`.
BITMAP *lleno(int w, int h, int color, bool borde = false)
{
    BITMAP *b = create_bitmap(w, h);
    clear_to_color(b, borde ? 0 : color);
    if (borde) rectfill(b, 1, 1, w - 2, h - 2, color);
    return b;
}

} // namespace

void Mundo::SetUp()
{
    for (int t = 0; t < NUM_TILES; t++) tile[t] = lleno(32, 24, 100 + t);
    const struct {
        int desde, hasta, w, h;
    } grupos[] = {{0, 8, 37, 72}, {8, 13, 46, 36}, {13, 17, 70, 72}, {17, 29, 50, 122}};
    for (const auto &g : grupos)
        for (int i = g.desde; i < g.hasta; i++) sprite[i] = lleno(g.w, g.h, 1 + i, true);
    hud = lleno(320, 48, 90);
    scroll = lleno(640, 192, 0);
    proximo_bloque = lleno(32, 192, 0);
    active_page = pagina = lleno(320, 240, 0);
    for (auto &sm : sample) {
        sm = create_sample(16, 0, 22050, 16);
        std::memset(sm->data, 0, 32);
    }
    font2 = font;
    bg = -1;
    enemi = tabla;
    nivel_vacio();
    std::memset(mensa, 0, sizeof mensa);
    mensaje = 0;
    tick = 0;
    niveles = 3;
    sobscro = 0.0f;
    s = 0;
    pan = 0;
    reinicia_juego(); // the game's own start of a game: no score, no fire, no splash
    nivel = 1;
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    empieza();
}

void Mundo::TearDown()
{
    for (auto &t : tile) destroy_bitmap(std::exchange(t, nullptr));
    for (auto &sp : sprite) destroy_bitmap(std::exchange(sp, nullptr));
    for (auto &sm : sample) destroy_sample(std::exchange(sm, nullptr));
    for (BITMAP **b : {&hud, &scroll, &proximo_bloque, &pagina})
        destroy_bitmap(std::exchange(*b, nullptr));
    active_page = actual_page = nullptr;
}

void Mundo::nivel_vacio()
{
    for (auto &e : tabla) e = {0, 0, 0};
    std::memset(mapa, 0, sizeof mapa);
    multi = 1;
}

void Mundo::objeto(int i, int columna, int posy, int tipo)
{
    tabla[i] = {static_cast<uint16_t>(columna), static_cast<uint8_t>(posy),
                static_cast<uint8_t>(tipo)};
}

void Mundo::vista_en(int v)
{
    const int nivel_x = v + 320;
    scr5 = nivel_x / ANCHO_PASADA;
    scr1 = nivel_x % ANCHO_PASADA;
}

void Mundo::empieza(int fps, int d, int codigo)
{
    max_fps = fps;
    pon_dificultad(d);
    multi = static_cast<unsigned char>(codigo);
    fija_velocidad();
    cammov = 2;
    inicio_nivel();
    spr_cant = 0;
}

} // namespace prueba
