#include "frame/escala.h"
#include "frame/senales.h"
#include <cstdlib>
#include <cstring>

namespace vz {

int escala = 0;
BITMAP *ventana = nullptr;
BITMAP *lienzo = nullptr;

namespace {

BITMAP *grande = nullptr;              // the picture enlarged, copied to the window row by row
unsigned char mostrado[ALTO][ANCHO];   // what the window shows, in game pixels
bool primera = true;                   // the window's first copy covers every row
PALETTE nueva;                         // given to pon_paleta, for the next presenta
bool paleta_pendiente = false;

} // namespace

int escala_por_defecto(int alto_escritorio)
{
    int k = ESCALA_MAX;
    while (k > 1 && ALTO * k * 100 > alto_escritorio * 85) k--;
    return k;
}

int abre_modo(bool completa)
{
    int w = 0, h = 0;
    const bool escritorio = get_desktop_resolution(&w, &h) == 0;
    if (completa) {
        // The X11 driver centres a small mode on a desktop it cannot switch: largest picture first.
        int desde = escala;
        if (desde == 0) {
            desde = ESCALA_MAX;
            while (escritorio && desde > 1 && (ANCHO * desde > w || ALTO * desde > h)) desde--;
        }
        const int hasta = escala > 0 ? escala : 1;
        for (int k = desde; k >= hasta; k--) {
            if (set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, ANCHO * k, ALTO * k, 0, 0) == 0) {
                escala = k;
                return 0;
            }
        }
    }
    if (escala == 0) escala = escritorio ? escala_por_defecto(h) : 1;
    for (; escala >= 1; escala--)
        if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, ANCHO * escala, ALTO * escala, 0, 0) == 0)
            return 0;
    escala = 1;
    return -1;
}

void presenta()
{
    if (lienzo == nullptr || ventana == nullptr) return;
    int y0 = ALTO, y1 = -1;
    for (int y = 0; y < ALTO; y++) {
        if (!primera && std::memcmp(mostrado[y], lienzo->line[y], ANCHO) == 0) continue;
        std::memcpy(mostrado[y], lienzo->line[y], ANCHO);
        if (y < y0) y0 = y;
        y1 = y;
        unsigned char *fila = grande->line[y * escala];
        for (int x = 0; x < ANCHO; x++)
            for (int i = 0; i < escala; i++) fila[x * escala + i] = mostrado[y][x];
        for (int i = 1; i < escala; i++)
            std::memcpy(grande->line[y * escala + i], fila, static_cast<size_t>(ANCHO * escala));
    }
    primera = false;
    if (y1 < 0 && !paleta_pendiente) return;
    if (paleta_pendiente) vsync(); // the retrace wait that set_palette makes
    // Held, the display lock keeps the library from sending the window to the screen between the
    // rows and the palette: they show together.
    acquire_bitmap(ventana);
    if (y1 >= 0)
        blit(grande, ventana, 0, y0 * escala, 0, y0 * escala, ANCHO * escala,
             (y1 - y0 + 1) * escala);
    if (paleta_pendiente) set_palette_range(nueva, 0, PAL_SIZE - 1, FALSE);
    paleta_pendiente = false;
    release_bitmap(ventana);
}

void pon_paleta(const RGB *paleta)
{
    if (lienzo == nullptr) {
        set_palette(paleta);
        return;
    }
    std::memcpy(nueva, paleta, sizeof nueva);
    paleta_pendiente = true;
}

namespace {

// On a signal the library shuts its driver down through `screen` (the driver's exit is given it,
// then it is destroyed), which must be the library's own window again by then. One store: safe
// wherever the main thread was stopped. Stopped inside presenta's copy, the main thread holds the
// display lock, and the library then ends the process without touching the display.
void devuelve_pantalla()
{
    if (ventana != nullptr) screen = ventana;
}

} // namespace

bool empieza_escala()
{
    vigila_senales(devuelve_pantalla);
    if (escala < 2) return true;
    lienzo = create_bitmap(ANCHO, ALTO);
    grande = create_bitmap(ANCHO * escala, ALTO * escala);
    if (lienzo == nullptr || grande == nullptr) return false;
    clear_bitmap(lienzo);
    ventana = screen;
    screen = lienzo;
    std::atexit(termina_escala); // runs before the library's own exit handler
    return true;
}

void termina_escala()
{
    if (ventana == nullptr) return;
    screen = ventana;
    ventana = nullptr;
    destroy_bitmap(lienzo);
    destroy_bitmap(grande);
    lienzo = grande = nullptr;
}

} // namespace vz
