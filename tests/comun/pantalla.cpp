#include "pantalla.h"
#include "allegro_vz.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace prueba {

namespace {

FONT *fuente = nullptr;
PALETTE paleta;
BITMAP *hoja = nullptr; // holds the score panel at y 520

// A black 320 x 240 page in the game's palette, or null when `c` is not the game's picture.
BITMAP *pagina(const Captura &c)
{
    static DATAFILE *datos = nullptr;
    if (hoja == nullptr) {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return nullptr;
        set_color_depth(8);
        datos = load_datafile(VZ_RUN_DIR "/datos/font.dat");
        hoja = load_bitmap(VZ_RUN_DIR "/datos/imagen.bmp", paleta);
        if (datos == nullptr || hoja == nullptr) return nullptr;
        fuente = static_cast<FONT *>(datos[1].dat);
    }
    if (c.w != 320 || c.h != 240) return nullptr;
    BITMAP *b = create_bitmap(320, 240);
    clear_to_color(b, 0);
    return b;
}

// Fraction of rows y0..239 of `c` that show `b` in palette `pal`; `b` is destroyed.
double parecido(const Captura &c, BITMAP *b, const RGB *pal, int y0 = 0)
{
    if (b == nullptr) return 0.0;
    int iguales = 0;
    for (int y = y0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            // The X11 driver scales the 6-bit palette to 8 bits per channel.
            const RGB &p = pal[getpixel(b, x, y)];
            const int esperado[3] = {p.r * 255 / 63, p.g * 255 / 63, p.b * 255 / 63};
            bool igual = true;
            for (int i = 0; i < 3; i++)
                igual = igual && std::abs(c.rgb[3 * (y * 320 + x) + i] - esperado[i]) <= 6;
            iguales += igual;
        }
    destroy_bitmap(b);
    return iguales / (320.0 * (240 - y0));
}

} // namespace

bool muestra_puntos(const Captura &c, uint32_t puntos, int vidas)
{
    BITMAP *b = pagina(c);
    if (b == nullptr) return false;
    blit(hoja, b, 0, 520, 0, 192, 320, 48);
    textprintf_centre_ex(b, fuente, 160, 206, -1, -1, "PUNTOS:%5d VIDAS:%2d",
                         static_cast<int>(puntos), vidas);
    return parecido(c, b, paleta, 192) == 1.0;
}

double parecido_a(const Captura &c, const std::string &nombre)
{
    BITMAP *b = pagina(c);
    if (b == nullptr) return 0.0;
    destroy_bitmap(b);
    PALETTE pal;
    return parecido(c, load_bitmap((VZ_RUN_DIR "/datos/" + nombre).c_str(), pal), pal);
}

bool muestra_textos(const Captura &c, const std::vector<Texto> &lineas)
{
    BITMAP *b = pagina(c);
    if (b == nullptr) return false;
    for (const auto &l : lineas)
        textprintf_centre_ex(b, fuente, 160, l.y, l.color, -1, "%s", l.texto.c_str());
    return parecido(c, b, paleta) == 1.0;
}

bool muestra_ranking(const Captura &c, const std::vector<unsigned char> &ranking, int tabla,
                     int fila)
{
    static const char *const titulos[3] = {"RANKING - VOY DE PASEO", "RANKING - QUIERO JUGAR",
                                           "RANKING - SOY JODIDO"};
    if (ranking.size() < 240) return false;
    std::vector<Texto> lineas = {{5, -1, titulos[tabla]}};
    for (int r = 0; r < 10; r++) {
        const unsigned char *reg = ranking.data() + 80 * tabla + 8 * r;
        const uint32_t p =
            reg[0] | reg[1] << 8 | reg[2] << 16 | static_cast<uint32_t>(reg[3]) << 24;
        // Place in two characters, score in six, then the initials up to the first zero.
        char texto[64];
        std::snprintf(texto, sizeof texto, "%2d %6d %.*s", r + 1, static_cast<int>(p),
                      static_cast<int>(strnlen(reinterpret_cast<const char *>(reg + 4), 3)),
                      reg + 4);
        lineas.push_back({30 + 21 * r, r == fila ? 239 : -1, texto});
    }
    return muestra_textos(c, lineas);
}

bool hasta_titulo(Juego &j)
{
    if (!j.espera_ventana()) return false;
    // The opening picture, once faded in: any key cuts it short.
    if (!espera_que(30, [&] { return parecido_a(j.foto(), "tavisk.bmp") > 0.95; })) return false;
    j.tecla("x");
    return espera_que(30, [&] { return parecido_a(j.foto(), "vorkzel.bmp") > 0.9; });
}

bool hasta_menu(Juego &j)
{
    if (!hasta_titulo(j)) return false;
    // Enter counts when it is held at the end of a title pass; held for longer than the
    // library's key-repeat delay (250 ms) it would also confirm the difficulty menu.
    j.tecla("Return", 150);
    const std::vector<Texto> menu = {{20, -1, "SELECIONA LA DIFICULTAD"},
                                     {80, 255, "VOY DE PASEO"},
                                     {120, -1, "QUIERO JUGAR"},
                                     {160, 255, "SOY JODIDO"}};
    return espera_que(10, [&] { return muestra_textos(j.foto(), menu); });
}

bool hasta_jugar(Juego &j, int dificultad)
{
    if (!hasta_menu(j)) return false;
    if (dificultad != 1) j.tecla(dificultad == 2 ? "Down" : "Up");
    j.tecla("Return");
    // Generous: the first song's instruments load here, slowly on a busy machine.
    return espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 6 - dificultad); });
}

} // namespace prueba
