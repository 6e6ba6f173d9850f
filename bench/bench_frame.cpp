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
#include "game/sin_pantalla.h"
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace vz;

namespace {

void prepara()
{
    static bool hecho = false;
    if (hecho) return;
    hecho = true;
    if (chdir(VZ_RUN_DIR) != 0 || !prepara_sin_pantalla()) std::abort();
    DATAFILE *d = load_datafile("datos/font.dat");
    if (d == nullptr) std::abort();
    font = static_cast<FONT *>(d[1].dat);
    buscaarch();
    std::snprintf(archivo, sizeof archivo, "levels/%.500s", archive[0]);
    juego_sin_pantalla(1, 75);
}

// The start of the first level, as a game makes it.
void empieza_nivel()
{
    nivel = 0;
    fuego = 0.0f;
    nivel_sin_pantalla(archivo);
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
