#include "frame/arranque.h"
#include "assets/carga.h"
#include "frame/ajustes.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "frame/lugares.h"
#include "frame/mandos.h"
#include "frame/paginas.h"
#include "frame/senales.h"
#include "frame/sistema.h"
#include "frame/utilfun.h"
#include "game/busca.h"
#include "game/mundo.h"
#include "game/scroll.h"
#include "menus/guardado.h"
#include "menus/menus.h"
#include "music/carpetas.h"
#include "music/musica.h"
#include "music/mp3.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vz {

int autodetect_card = GFX_AUTODETECT_WINDOWED;
int info = 0;
int triple_buffer = 0;
int musicmp3 = 0;
FONT *font2 = nullptr;
int bg = 0;

namespace {

const char *const ARCHIVO_FUENTE = "datos/font.dat";
DATAFILE *fuente = nullptr; // stays loaded until the process ends
const char *const VERSION = "1.0.0";
std::string ranking_jugador; // the player's own ranking file when running from installed data

const char *const AYUDA =
    "Usage: vorkzel [options]\n"
    "\n"
    "Options:\n"
    "  -1 -2 -3 -4  window scale (default: the largest that fits the desktop)\n"
    "  -full        full screen, or a window where that is not available\n"
    "  -window      a window, whatever the settings file says\n"
    "  -tbuf        three display pages shown in turn\n"
    "  -info        a diagnostics screen for eight seconds at start-up\n"
    "  --help       this text\n"
    "  --version    the version\n"
    "  --write-settings  a settings file with every default, if there is none yet\n"
    "\n"
    "Keys:\n"
    "  Enter        start a game (title); confirm (menus)\n"
    "  Space        the ranking tables (title)\n"
    "  Esc          quit (title, difficulty menu, play)\n"
    "  Up, Down     choose a difficulty; change lane; change an initial\n"
    "  Left, Right  move between the initials of a new record\n"
    "  P            pause and resume play\n"
    "\n"
    "A gamepad does the same: stick or d-pad for the arrows, A (the first button) for\n"
    "Enter, Start for P, Back for Esc, Y for Space. Keys, buttons, window and volumes can be\n"
    "changed in ";
const char *const AYUDA_FIN = ";\ncommand-line options win over it.\n";

// The build writes this into build/run/datos and never into the installed tree: a working
// directory holding it is the game's own tree, used in place, scores and all.
const char *const MARCA = "datos/local.txt";

// The shipped table becomes the player's the first time. It is written as a save is, so a copy
// cut short (a full disk) never carries the table's name and is made again at the next start.
// Every save writes a whole table: a shorter one is a copy cut short by an older version.
bool copia_tabla(const std::string &hacia)
{
    const Cerrojo cerrojo = toma_cerrojo(hacia);
    unsigned char tabla[TAM_RANKING];
    bool bien = lee_archivo(hacia, tabla, sizeof tabla) == TAM_RANKING;
    if (!bien) {
        const long n = lee_archivo(ruta_ranking, tabla, sizeof tabla);
        bien = n >= 0 && guarda_entero(hacia, tabla, static_cast<size_t>(n));
    }
    suelta_cerrojo(cerrojo);
    return bien;
}

// Anything else in the working directory, a datos/ of the player's own included, is not the
// game's: it then runs from its installed data, moving there, and keeps the ranking and the
// player's own music in the player's data folder. Installed data that carries the mark is a tree
// of the game's own too (an unpacked zip on Windows, started from another folder).
void elige_datos()
{
    if (existe(MARCA)) return;
    const std::string base = carpeta_instalada();
    if (base.empty() || !existe(base + "/datos") || !entra(base) || existe(MARCA)) return;

    const std::string propia = carpeta_propia();
    if (!crea_carpetas(propia)) return; // scores then go to the shipped file, if it is writable
    carpeta_jugador = propia;
    ranking_jugador = propia + "/ranking.dat";
    if (!copia_tabla(ranking_jugador)) {
        std::fprintf(stderr,
                     "vorkzel: cannot copy the shipped ranking to %s; this time the shipped one is "
                     "used, and the copy is made again at the next start\n",
                     ranking_jugador.c_str());
        return;
    }
    ruta_ranking = ranking_jugador.c_str();
}

// --help, --version and --write-settings answer and end the program before anything starts:
// the process status, or -1 when none of them is there.
int opcion_informativa(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s%s%s", AYUDA, DONDE_AJUSTES, AYUDA_FIN);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("VORK-ZEL 2003 %s\n", VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--write-settings") == 0) return escribe_ajustes();
    }
    return -1;
}

void abre_pantalla()
{
    request_refresh_rate(75);
    set_color_depth(8);
    // Modern X servers rarely offer these sizes full screen: a window will do.
    if (abre_modo(autodetect_card == GFX_AUTODETECT_FULLSCREEN) == 0) return;
    char texto[400];
    std::snprintf(texto, sizeof texto, "cannot open a 320x240 window: %s", allegro_error);
    aborta(texto);
}

// The library's datafile reader frees twice on some cut files and takes others as whole, so the
// chunk sizes of every top-level object are checked against the file's length first. Our font file
// is stored unpacked ("slh."), which keeps the check a walk over the chunk headers.
bool datafile_entero(const char *ruta)
{
    std::vector<unsigned char> b;
    lee_entero(ruta, b);
    size_t p = 0;
    bool bien = true;
    auto lee = [&]() -> uint32_t {
        if (p + 4 > b.size()) {
            bien = false;
            return 0;
        }
        uint32_t v = 0;
        for (int i = 0; i < 4; i++) v = v << 8 | b[p++];
        return v;
    };
    if (lee() != F_NOPACK_MAGIC || lee() != DAT_MAGIC) return false;
    for (uint32_t n = lee(); bien && n > 0; n--) {
        uint32_t tipo = lee();
        while (bien && tipo == DAT_PROPERTY) {
            lee();
            const uint32_t largo = lee();
            if (largo > b.size() - p) return false;
            p += largo;
            tipo = lee();
        }
        const uint32_t largo = lee();
        lee(); // the unpacked size, the same in an unpacked file
        if (!bien || largo > b.size() - p) return false;
        p += largo;
    }
    return bien && p == b.size();
}

void carga_fuente()
{
    if (!datafile_entero(ARCHIVO_FUENTE)) aborta("datos/font.dat is missing, cut short or damaged");
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

void aborta(const char *porque)
{
    std::fprintf(stderr, "vorkzel: %s\n", porque);
    avisa_jugador(lista_fallidos() + porque);
    std::exit(1);
}

void crea_trabajo()
{
    scroll = create_bitmap(2 * ANCHO, 192);
    proximo_bloque = create_bitmap(32, 192);
    enemi = static_cast<enemigo *>(std::calloc(NUM_ENEMIGOS, sizeof(enemigo)));
    if (scroll == nullptr || proximo_bloque == nullptr || enemi == nullptr)
        aborta("out of memory for the scrolling strip or the object table");
}

void aplica_ajustes()
{
    escala = ajustes[ESCALA];
    autodetect_card = ajustes[COMPLETA] != 0 ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
}

void lee_opciones(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "-full") == 0) autodetect_card = GFX_AUTODETECT_FULLSCREEN;
        if (std::strcmp(argv[i], "-window") == 0) autodetect_card = GFX_AUTODETECT_WINDOWED;
        if (std::strcmp(argv[i], "-tbuf") == 0) triple_buffer = 1;
        if (std::strcmp(argv[i], "-info") == 0) info = 1;
        if (argv[i][0] == '-' && argv[i][1] >= '1' && argv[i][1] <= '0' + ESCALA_MAX &&
            argv[i][2] == '\0')
            escala = argv[i][1] - '0';
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
    escala = 0;

    prepara_consola();
    if (const int estado = opcion_informativa(argc, argv); estado >= 0) return estado;
    lee_ajustes();
    aplica_ajustes();
    elige_datos();
    if (faltan_datos(stderr) > 0) aborta("data files are missing (listed above)");

    anota_senales();
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        std::string porque = SIN_SISTEMA;
        if (allegro_error[0] != 0) porque += std::string(": ") + allegro_error;
        aborta(porque.c_str());
    }
    install_keyboard();
    install_timer();
    instala_mando();

    lee_opciones(argc, argv);
    abre_pantalla();

    set_close_button_callback(close_hook);
    set_window_title("VORK-ZEL 2003");

    reserve_voices(16, -1);
    instala_sonido();
    if (ajustes[MUSICA] != 100) set_volume(-1, vol_musica(255)); // the title's tune

    LOCK_FUNCTION(fps_proc);
    LOCK_FUNCTION(mp3actualiza);
    LOCK_FUNCTION(ticks);
    install_int(fps_proc, 1000);
    install_int(mp3actualiza, 250);

    // The X11 driver reports 0: the game is designed for 75 Hz.
    max_fps = get_refresh_rate();
    if (max_fps <= 0) max_fps = 75;
    install_int_ex(ticks, BPS_TO_TIMER(max_fps));
    if (!empieza_escala()) aborta("out of memory for the enlarged picture");

    prepara_paginas();
    crea_trabajo();

    buscaarch();
    carga_fuente();
    CargarBMP();
    carga_sonidos();
    atenua_efectos();
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
    termina_escala();
    return 0;
}

} // namespace vz
