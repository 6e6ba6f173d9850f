#include "frame/arranque.h"
#include "assets/carga.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include "music/musica.h"
#include "music/mp3.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace vz {

int autodetect_card = GFX_AUTODETECT_WINDOWED;
int info = 0;
int triple_buffer = 0;
int musicmp3 = 0;
FONT *font2 = nullptr;
int bg = 0;

namespace {

const char *const ARCHIVO_FUENTE = "datos/font.dat";
// The build rewrites the system's freepats list in the layout the library reads (full paths,
// instruments numbered from 1, drums as a multipatch); the system list itself loads no patch.
const char *const PATCHES = "datos/patches.cfg";
DATAFILE *fuente = nullptr; // stays loaded until the process ends

[[noreturn]] void aborta(const char *porque)
{
    std::fprintf(stderr, "vorkzel: %s\n", porque);
    std::exit(1);
}

// The software MIDI synthesiser needs a patch set; use ours when nothing else is configured.
void configura_patches()
{
    const char *actual = get_config_string("sound", "patches", nullptr);
    if ((actual == nullptr || *actual == '\0') && access(PATCHES, R_OK) == 0) {
        static char config[600];
        std::snprintf(config, sizeof config, "[sound]\npatches = %s\n", PATCHES);
        override_config_data(config, std::strlen(config));
    }
}

void abre_pantalla()
{
    request_refresh_rate(75);
    set_color_depth(8);
    if (set_gfx_mode(autodetect_card, 320, 240, 0, 0) == 0) return;
    // Modern X servers rarely offer 320 x 240 full screen: a window will do.
    if (autodetect_card != GFX_AUTODETECT_WINDOWED &&
        set_gfx_mode(GFX_AUTODETECT_WINDOWED, 320, 240, 0, 0) == 0)
        return;
    char texto[400];
    std::snprintf(texto, sizeof texto, "cannot open a 320x240 window: %s", allegro_error);
    aborta(texto);
}

void carga_fuente()
{
    fuente = load_datafile(ARCHIVO_FUENTE);
    int objetos = 0;
    while (fuente && fuente[objetos].type != DAT_END) objetos++;
    if (objetos < 2 || fuente[1].type != DAT_FONT)
        aborta("datos/font.dat is missing or holds no font as its second object");
    font2 = font;
    font = static_cast<FONT *>(fuente[1].dat);
}

void pantalla_info()
{
    textprintf_ex(active_page, font2, 10, 10, -1, bg, "VORK-ZEL 1.9 Info");
    textprintf_ex(active_page, font2, 10, 30, -1, bg, "Vsync= %d  Maxfps= %d  Triple Buffer= %d",
                  sync, max_fps, triple_buffer);
    textprintf_ex(active_page, font2, 10, 50, -1, bg, "Nro Niveles = %d", niveles);
    textprintf_ex(active_page, font2, 10, 70, -1, bg, "Musica MP3= %d  Nro Temas= %d", musicmp3,
                  musicas);
    for (int i = 0; i < musicas; i++)
        textprintf_ex(active_page, font2, 10, 90 + 10 * i, -1, bg, "%s", archivm[listamusica[i]]);
}

} // namespace

void lee_opciones(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "-full") == 0) autodetect_card = GFX_AUTODETECT_FULLSCREEN;
        if (std::strcmp(argv[i], "-tbuf") == 0) triple_buffer = 1;
        if (std::strcmp(argv[i], "-info") == 0) info = 1;
    }
}

int arranque(int argc, char **argv)
{
    autodetect_card = GFX_AUTODETECT_WINDOWED;
    info = 0;
    triple_buffer = 0;
    salir = 0;
    cambnib = 2;
    mensaje = 0;
    midiest = 0;
    mp3est = 0;
    mp3 = nullptr;

    if (faltan_datos(stderr) > 0) aborta("data files are missing (listed above)");

    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        std::string porque = "no display to open a window on (is DISPLAY set?)";
        if (allegro_error[0] != 0) porque += std::string(": ") + allegro_error;
        aborta(porque.c_str());
    }
    install_keyboard();
    install_timer();

    lee_opciones(argc, argv);
    abre_pantalla();

    set_close_button_callback(close_hook);
    set_window_title("VORK-ZEL 2003");

    reserve_voices(16, -1);
    configura_patches();
    // No sound device: the game runs silent on the null drivers, which keep every sound call valid.
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        install_sound(DIGI_NONE, MIDI_NONE, nullptr);

    LOCK_FUNCTION(fps_proc);
    LOCK_FUNCTION(mp3actualiza);
    LOCK_FUNCTION(ticks);
    install_int(fps_proc, 1000);
    install_int(mp3actualiza, 250);

    // The X11 driver reports 0: the game is designed for 75 Hz.
    max_fps = get_refresh_rate();
    if (max_fps <= 0) max_fps = 75;
    install_int_ex(ticks, BPS_TO_TIMER(max_fps));

    prepara_paginas();

    scroll = create_bitmap(2 * SCREEN_W, 192);
    proximo_bloque = create_bitmap(32, 192);
    enemi = static_cast<enemigo *>(std::calloc(NUM_ENEMIGOS, sizeof(enemigo)));

    buscaarch();
    carga_fuente();
    CargarBMP();
    carga_sonidos();
    if (datos_fallidos(stderr) > 0) aborta("data files could not be read (listed above)");

    bg = -1;

    buscaarchmp3();
    if (musicas == 0) {
        buscaarchm();
        musicmp3 = 0;
    } else {
        musicmp3 = 1;
    }
    armalistamusica();

    if (info == 1) {
        pantalla_info();
        delay(8.0f);
    }

    cambia_funcion();

    DestruyeBMP();
    DestruyeSonidos();
    if (triple_buffer != 0) {
        destroy_bitmap(page1);
        destroy_bitmap(page2);
        destroy_bitmap(page3);
    }
    destroy_bitmap(pvirtual);
    destroy_bitmap(scroll);
    destroy_bitmap(proximo_bloque);
    std::free(enemi);
    clear_keybuf();
    return 0;
}

} // namespace vz
