#include "game/sin_pantalla.h"
#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/juego.h"
#include "game/logica.h"
#include "game/mapa.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include <cerrno>
#include <cstdlib>

namespace vz {

namespace {
enemigo tabla[NUM_ENEMIGOS];
} // namespace

bool prepara_sin_pantalla()
{
    static int hecho = -1;
    if (hecho >= 0) return hecho == 1;
    hecho = install_allegro(SYSTEM_NONE, &errno, atexit) == 0 ? 1 : 0;
    if (hecho == 0) return false;
    set_color_depth(8);
    install_sound(DIGI_NONE, MIDI_NONE, nullptr);
    // The loaders stand in blank pictures and silent sounds for files that are not there, so the
    // game's data is used when the working directory has it and nothing is needed otherwise.
    CargarBMP();
    carga_sonidos();
    scroll = create_bitmap(2 * 320, 192);
    proximo_bloque = create_bitmap(32, 192);
    clear_bitmap(scroll);
    clear_bitmap(proximo_bloque);
    pvirtual = create_bitmap(320, 240);
    clear_bitmap(pvirtual);
    active_page = actual_page = pvirtual;
    enemi = tabla;
    font2 = font;
    bg = -1;
    max_fps = 75;
    return true;
}

void juego_sin_pantalla(int d, int fps)
{
    max_fps = fps;
    reinicia_juego();
    pon_dificultad(d);
}

void nivel_sin_pantalla(const char *ruta)
{
    nivel++;
    CargaMapa(ruta);
    fija_velocidad();
    inicio_nivel();
}

void tick_sin_pantalla()
{
    tick++;
    act_logica();
}

} // namespace vz
