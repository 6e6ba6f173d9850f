// A frame drawn from a fixed world state with the shipped data, against a stored picture.
// After a deliberate change of the art or the renderer, rebuild the picture with
// VZ_NUEVO_GOLDEN=1 and look at it before committing it.
#include "assets/carga.h"
#include "assets/render.h"
#include "frame/arranque.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/enemigos.h"
#include "game/mapa.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace vz;
namespace fs = std::filesystem;

namespace {

const std::string GOLDEN = std::string(VZ_FUENTES_DIR) + "/tests/assets/golden/cuadro.bmp";

TEST(Golden, FrameFromAFixedStateMatchesTheStoredPicture)
{
    const fs::path antes = fs::current_path();
    fs::current_path(VZ_RUN_DIR);
    DATAFILE *fuente = load_datafile("datos/font.dat");
    ASSERT_NE(fuente, nullptr);
    FONT *guardada = font;
    font2 = font;
    font = static_cast<FONT *>(fuente[1].dat);
    bg = -1;
    CargarBMP();
    ASSERT_EQ(datos_fallidos(stderr), 0);
    enemigo tabla[NUM_ENEMIGOS];
    enemi = tabla;
    CargaMapa("levels/01_salida.map");
    fs::current_path(antes);

    // The level start, 1200 more pixels, then a run-over, a splash and a message on screen.
    scroll = create_bitmap(640, 192);
    proximo_bloque = create_bitmap(32, 192);
    clear_bitmap(scroll);
    clear_bitmap(proximo_bloque);
    scr1 = scr2 = scr3 = scr4 = scr5 = 0;
    sobscro = 0.0f;
    scro(352.0f + 1200.0f);
    x = 40.0f;
    y = 96.0f;
    s = 2;
    fuego = 0.0f;
    for (auto &sl : sanani) sl = {0.0f, 0, 0.0f};
    sanani[0] = {45.0f, 61, 30.0f};
    tabla[0] = {50, 48, 2};
    tabla[1] = {54, 72, 7};
    tabla[2] = {47, 96, 6};
    tabla[3] = {44, 24, 8};
    enemivieja(0);
    puntos = 12450;
    vidas = 3;
    mensaje = 2;
    std::snprintf(mensa, sizeof mensa, "Sonando:01_autopista.mid");
    BITMAP *pagina = create_bitmap(320, 240);
    active_page = pagina;
    act_grafica();

    if (std::getenv("VZ_NUEVO_GOLDEN") != nullptr) {
        save_bmp(GOLDEN.c_str(), pagina, the_palette);
    }
    PALETTE pal;
    BITMAP *esperado = load_bitmap(GOLDEN.c_str(), pal);
    ASSERT_NE(esperado, nullptr) << GOLDEN;
    int distintos = 0;
    for (int yy = 0; yy < 240; yy++)
        for (int xx = 0; xx < 320; xx++) distintos += getpixel(pagina, xx, yy) != getpixel(esperado, xx, yy);
    if (distintos > 0) save_bmp((testing::TempDir() + "/cuadro-real.bmp").c_str(), pagina, the_palette);
    EXPECT_EQ(distintos, 0) << "the frame drawn is in " << testing::TempDir() << "/cuadro-real.bmp";

    for (BITMAP *b : {esperado, pagina, scroll, proximo_bloque}) destroy_bitmap(b);
    DestruyeBMP();
    font = guardada;
    unload_datafile(fuente);
}

} // namespace
