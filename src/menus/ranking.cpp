#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/mandos.h"
#include "frame/escala.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "menus/clear.h"
#include "menus/guardado.h"
#include "menus/menus.h"
#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <cstdio>

namespace vz {

const char *ruta_ranking = "datos/ranking.dat";

namespace {

constexpr int TAM_REGISTRO = 8;
constexpr int REGISTROS = 10;
constexpr int TAM_TABLA = TAM_REGISTRO * REGISTROS;
const char *const TITULOS[3] = {"RANKING - VOY DE PASEO", "RANKING - QUIERO JUGAR",
                                "RANKING - SOY JODIDO"};

uint32_t puntaje(const unsigned char *r)
{
    return r[0] | r[1] << 8 | r[2] << 16 | static_cast<uint32_t>(r[3]) << 24;
}

void pon_puntaje(unsigned char *r, uint32_t p)
{
    for (int i = 0; i < 4; i++) r[i] = static_cast<unsigned char>(p >> (8 * i));
}

// Score and initials move together; the initials as a string of at most 3 characters, zero-filled.
// The reserved eighth byte never moves.
void copia_registro(unsigned char *destino, const unsigned char *origen)
{
    std::memcpy(destino, origen, 4);
    bool fin = false;
    for (int i = 4; i < 7; i++) {
        fin = fin || origen[i] == 0;
        destino[i] = fin ? 0 : origen[i];
    }
}

} // namespace

int lee_ranking(unsigned char bloque[TAM_RANKING])
{
    std::memset(bloque, 0, TAM_RANKING);
    return static_cast<int>(std::max(0L, lee_archivo(ruta_ranking, bloque, TAM_RANKING)));
}

int posicion_ranking(const unsigned char *bloque, int difi, uint32_t total)
{
    const unsigned char *tabla = bloque + TAM_TABLA * difi;
    int p = 0;
    while (p < REGISTROS && total < puntaje(tabla + TAM_REGISTRO * p)) p++;
    return p;
}

void inserta_ranking(unsigned char *bloque, int difi, int posicion, uint32_t total,
                     const char iniciales[3])
{
    unsigned char *tabla = bloque + TAM_TABLA * difi;
    unsigned char nueva[TAM_TABLA] = {};
    for (int r = 0; r < posicion; r++)
        copia_registro(nueva + TAM_REGISTRO * r, tabla + TAM_REGISTRO * r);
    pon_puntaje(nueva + TAM_REGISTRO * posicion, total);
    std::memcpy(nueva + TAM_REGISTRO * posicion + 4, iniciales, 3);
    for (int r = posicion; r < REGISTROS - 1; r++)
        copia_registro(nueva + TAM_REGISTRO * (r + 1), tabla + TAM_REGISTRO * r);
    for (int r = 0; r < REGISTROS; r++)
        copia_registro(tabla + TAM_REGISTRO * r, nueva + TAM_REGISTRO * r);
}

int guarda_record(int difi, uint32_t total, const char iniciales[3])
{
    // Another copy of the game may have saved since this one read the table for its initials
    // entry: the table is read again under the lock and the record placed on what it holds now.
    const Cerrojo cerrojo = toma_cerrojo(ruta_ranking);
    unsigned char bloque[TAM_RANKING];
    lee_ranking(bloque);
    int posicion = posicion_ranking(bloque, difi, total);
    if (posicion < REGISTROS) {
        inserta_ranking(bloque, difi, posicion, total, iniciales);
        if (!guarda_entero(ruta_ranking, bloque, TAM_RANKING)) posicion = -1;
    }
    suelta_cerrojo(cerrojo);
    return posicion;
}

void texto_fila(char texto[TAM_FILA], int r, const unsigned char *registro)
{
    // The initials are not zero-terminated, and the library's formatter reads a "%.3s" string on
    // to its end whatever the precision: through the reserved byte, the next records and, for the
    // last one, past the table. Cut them here.
    char iniciales[4] = {};
    for (int i = 0; i < 3 && registro[4 + i] != 0; i++)
        iniciales[i] = static_cast<char>(registro[4 + i]);
    std::snprintf(texto, TAM_FILA, "%2d %6d %s", r + 1, static_cast<int>(puntaje(registro)),
                  iniciales);
}

void muestraranking(int tabla, int fila)
{
    if (tabla == 0) fila = 12;
    unsigned char bloque[TAM_RANKING];
    lee_ranking(bloque);
    pon_paleta(the_palette);
    for (int d = 0; d < 3; d++) {
        if (tabla != 0 && tabla != d + 1) continue;
        clear_to_color(active_page, 0);
        textprintf_centre_ex(active_page, font, 160, 5, -1, bg, "%s", TITULOS[d]);
        for (int r = 0; r < REGISTROS; r++) {
            char texto[TAM_FILA];
            texto_fila(texto, r, bloque + TAM_TABLA * d + TAM_REGISTRO * r);
            textprintf_centre_ex(active_page, font, 160, 30 + 21 * r, r == fila ? 239 : -1, bg,
                                 "%s", texto);
        }
        delay2(8.0f);
    }
}

void escriveranking()
{
    unsigned char bloque[TAM_RANKING];
    lee_ranking(bloque);
    const int posicion = posicion_ranking(bloque, difi, puntos);
    char iniciales[3] = {'A', 'A', 'A'};

    if (posicion < REGISTROS) {
        menu::clear(active_page);
        pon_paleta(the_palette);
        textprintf_centre_ex(active_page, font, 160, 10, -1, bg, "NUEVO RECORD");
        textprintf_centre_ex(active_page, font, 160, 70, -1, bg, "PUNTAJE");
        textprintf_centre_ex(active_page, font, 160, 90, -1, bg, "%d", static_cast<int>(puntos));
        textprintf_centre_ex(active_page, font, 160, 140, -1, bg, "INGRESA TUS INICIALES");
        int cursor = 0;
        int tecla;
        do {
            if (cursor < 0) cursor = 0;
            if (cursor > 2) cursor = 2;
            for (int i = 0; i < 3; i++)
                textprintf_ex(active_page, font, 140 + 13 * i, 160, i == cursor ? 239 : -1, 0, "%c",
                              iniciales[i]);
            clear_keybuf();
            presenta();
            tecla = accion_de(readkey() >> 8);
            if (tecla == ARRIBA) iniciales[cursor] = iniciales[cursor] == 'Z' ? 'A' : iniciales[cursor] + 1;
            if (tecla == ABAJO) iniciales[cursor] = iniciales[cursor] == 'A' ? 'Z' : iniciales[cursor] - 1;
            if (tecla == IZQUIERDA) cursor--;
            if (tecla == DERECHA || tecla == CONFIRMA) cursor++;
        } while (!(tecla == CONFIRMA && cursor == 3));
        textprintf_ex(active_page, font, 140, 160, -1, 0, "%c%c%c", iniciales[0], iniciales[1],
                      iniciales[2]);
    }

    delay(3.0f);
    if (posicion == REGISTROS) return;

    const int lugar = guarda_record(difi, puntos, iniciales);
    if (lugar < 0)
        std::fprintf(stderr, "vorkzel: cannot write %s; the new record was not saved\n",
                     ruta_ranking);
    if (lugar == REGISTROS)
        std::fprintf(stderr, "vorkzel: the table filled with higher scores during the initials "
                             "entry; the new record no longer enters it\n");
    // Without the record in the file no row is the player's.
    muestraranking(difi + 1, lugar < REGISTROS ? lugar : -1);
}

} // namespace vz
