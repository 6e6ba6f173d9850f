// Cost of one logic tick and one frame drawing, on the shipped data and first level.
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/arranque.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/enemigos.h"
#include "game/juego.h"
#include "game/logica.h"
#include "game/mapa.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace vz;

namespace {

enemigo tabla[NUM_ENEMIGOS];

void prepara()
{
    static bool hecho = false;
    if (hecho) return;
    hecho = true;
    if (chdir(VZ_RUN_DIR) != 0 || install_allegro(SYSTEM_NONE, &errno, atexit) != 0) std::abort();
    set_color_depth(8);
    install_sound(DIGI_NONE, MIDI_NONE, nullptr);
    DATAFILE *d = load_datafile("datos/font.dat");
    if (d == nullptr) std::abort();
    font2 = font;
    font = static_cast<FONT *>(d[1].dat);
    bg = -1;
    CargarBMP();
    carga_sonidos();
    scroll = create_bitmap(640, 192);
    proximo_bloque = create_bitmap(32, 192);
    pvirtual = create_bitmap(320, 240);
    active_page = pvirtual;
    enemi = tabla;
    buscaarch();
    std::snprintf(archivo, sizeof archivo, "levels/%.500s", archive[0]);
    CargaMapa(archivo);
    max_fps = 75;
    animcon = calcula_animcon(75);
    nscr3 = VELOCIDAD_DIFI[1];
    fija_velocidad();
    vidas = 5;
    bvid = 1;
}

// The start of a level, as the frame loops make it.
void empieza_nivel()
{
    CargaMapa(archivo);
    fuego = 0.0f;
    inicio_nivel();
}

void BM_act_logica(benchmark::State &st)
{
    prepara();
    empieza_nivel();
    for (auto _ : st) {
        if (scr5 >= 4 || cambnib != 0) {
            st.PauseTiming();
            empieza_nivel();
            st.ResumeTiming();
        }
        act_logica();
    }
}
BENCHMARK(BM_act_logica);

void BM_act_grafica(benchmark::State &st)
{
    prepara();
    empieza_nivel();
    for (int i = 0; i < 600; i++) act_logica(); // a view with objects on it
    for (auto _ : st) act_grafica();
}
BENCHMARK(BM_act_grafica);

} // namespace

BENCHMARK_MAIN();
