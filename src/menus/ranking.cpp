#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "menus/clear.h"
#include "menus/menus.h"
#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

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

mode_t umask_actual()
{
    const mode_t m = umask(0);
    umask(m);
    return m;
}

bool escribe_todo(int fd, const unsigned char *p, int n)
{
    while (n > 0) {
        const ssize_t hecho = write(fd, p, static_cast<size_t>(n));
        if (hecho <= 0) return false;
        p += hecho;
        n -= static_cast<int>(hecho);
    }
    return true;
}

} // namespace

int lee_ranking(unsigned char bloque[TAM_RANKING])
{
    std::memset(bloque, 0, TAM_RANKING);
    FILE *f = std::fopen(ruta_ranking, "rb");
    if (f == nullptr) return 0;
    const int leidos = static_cast<int>(std::fread(bloque, 1, TAM_RANKING, f));
    std::fclose(f);
    return leidos;
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

bool reemplaza_ranking(const char *ruta, const unsigned char bloque[TAM_RANKING])
{
    // The scores are the player's only saved state: the old file stays whole until the new one is.
    // The temporary file has a name of its own beside the file, so that two copies of the game
    // saving at once never write into the same one and the rename stays within one file system.
    std::string temporal = std::string(ruta) + ".XXXXXX";
    const int fd = mkstemp(temporal.data());
    if (fd < 0) return false;
    // The new file keeps the old one's permissions; a first file gets the usual ones.
    struct stat viejo;
    const mode_t modo = stat(ruta, &viejo) == 0 ? viejo.st_mode & 07777 : 0644 & ~umask_actual();
    bool bien = fchmod(fd, modo) == 0;
    for (int r = 0; r < 3 * REGISTROS && bien; r++)
        bien = escribe_todo(fd, bloque + TAM_REGISTRO * r, TAM_REGISTRO);
    bien = bien && fsync(fd) == 0;
    bien = (close(fd) == 0) && bien;
    if (!bien || rename(temporal.c_str(), ruta) != 0) {
        unlink(temporal.c_str());
        return false;
    }
    // Make the rename itself durable.
    const std::string ruta_s(ruta);
    const size_t barra = ruta_s.rfind('/');
    const std::string dir = barra == std::string::npos ? "." : ruta_s.substr(0, barra);
    const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

bool guarda_ranking(const unsigned char bloque[TAM_RANKING])
{
    return reemplaza_ranking(ruta_ranking, bloque);
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
            tecla = readkey() >> 8;
            if (tecla == KEY_UP) iniciales[cursor] = iniciales[cursor] == 'Z' ? 'A' : iniciales[cursor] + 1;
            if (tecla == KEY_DOWN) iniciales[cursor] = iniciales[cursor] == 'A' ? 'Z' : iniciales[cursor] - 1;
            if (tecla == KEY_LEFT) cursor--;
            if (tecla == KEY_RIGHT || tecla == KEY_ENTER) cursor++;
        } while (!(tecla == KEY_ENTER && cursor == 3));
        textprintf_ex(active_page, font, 140, 160, -1, 0, "%c%c%c", iniciales[0], iniciales[1],
                      iniciales[2]);
    }

    delay(3.0f);
    if (posicion == REGISTROS) return;

    inserta_ranking(bloque, difi, posicion, puntos, iniciales);
    if (!guarda_ranking(bloque)) {
        std::fprintf(stderr, "vorkzel: cannot write %s; the new record was not saved\n",
                     ruta_ranking);
        // The table shows the file as it is: the new record is not in it, so no row is the player's.
        muestraranking(difi + 1, -1);
        return;
    }
    muestraranking(difi + 1, posicion);
}

} // namespace vz
