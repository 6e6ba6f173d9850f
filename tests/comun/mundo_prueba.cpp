#include "mundo_prueba.h"
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/juego.h"
#include "game/scroll.h"
#include "game/sin_pantalla.h"
#include "menus/menus.h"
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vz;

namespace prueba {

namespace {
const std::string ranking = ::testing::TempDir() + "vz-ranking-" + std::to_string(getpid());
}

void Mundo::SetUp() {
    static const bool hecho = [] {
        const auto antes = std::filesystem::current_path();
        std::filesystem::current_path(VZ_RUN_DIR);
        const bool bien = prepara_sin_pantalla();
        static const DATAFILE *fuente = load_datafile("datos/font.dat");
        std::filesystem::current_path(antes);
        if (!bien || fuente == nullptr || datos_fallidos(stderr) > 0) return false;
        font = static_cast<FONT *>(fuente[1].dat);
        screen = create_bitmap(320, 240);
        return true;
    }();
    ASSERT_TRUE(hecho) << "the staged data in " VZ_RUN_DIR;
    const auto b = ranking_base();
    std::ofstream(ranking, std::ios::binary).write(reinterpret_cast<const char *>(b.data()), 240);
    ruta_ranking = ranking.c_str();
    active_page = actual_page = screen;
    clear_bitmap(screen);
    set_palette(the_palette);
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
    cambnib = 0;
    std::fill(key, key + KEY_MAX, 0);
    empieza();
}

void Mundo::TearDown() {
    std::remove(ranking.c_str());
}

void Mundo::nivel_vacio() {
    for (int i = 0; i < NUM_ENEMIGOS; i++)
        enemi[i] = {0, 0, 0};
    for (int c = 0; c < 200; c++)
        for (int r = 0; r < 8; r++)
            mapa[c * 8 + r] =
                static_cast<unsigned char>(r < 3 ? 10 * r + c % 10 : 30 + (c + r) % 10);
    multi = 1;
}

void Mundo::objeto(int i, int columna, int posy, int tipo) {
    enemi[i] = {static_cast<uint16_t>(columna), static_cast<uint8_t>(posy),
                static_cast<uint8_t>(tipo)};
}

void Mundo::vista_en(int v) {
    const int nivel_x = v + 320;
    scr5 = nivel_x / ANCHO_PASADA;
    scr1 = nivel_x % ANCHO_PASADA;
}

void Mundo::empieza(int fps, int d, int codigo) {
    max_fps = fps;
    pon_dificultad(d);
    multi = static_cast<unsigned char>(codigo);
    fija_velocidad();
    cammov = 2;
    inicio_nivel();
    spr_cant = 0;
}

} // namespace prueba
