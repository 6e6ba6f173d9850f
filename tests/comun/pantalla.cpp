#include "pantalla.h"
#include "allegro_vz.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace prueba {

namespace {

DATAFILE *fuente = nullptr;
PALETTE paleta;
BITMAP *panel = nullptr;

unsigned rgb_de(int indice)
{
    // The X11 driver scales the 6-bit palette to 8 bits per channel.
    const RGB &c = paleta[indice];
    auto ocho = [](int v) { return static_cast<unsigned>(v * 255 / 63); };
    return ocho(c.r) << 16 | ocho(c.g) << 8 | ocho(c.b);
}

bool parecido(unsigned a, unsigned b)
{
    for (int s : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> s) & 0xff) - static_cast<int>((b >> s) & 0xff)) > 6)
            return false;
    return true;
}

} // namespace

bool carga_datos_juego()
{
    if (panel != nullptr) return true;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return false;
    set_color_depth(8);
    const std::string run = VZ_RUN_DIR;
    fuente = load_datafile((run + "/datos/font.dat").c_str());
    BITMAP *hoja = load_bitmap((run + "/datos/imagen.bmp").c_str(), paleta);
    if (fuente == nullptr || hoja == nullptr) return false;
    panel = create_bitmap(320, 48);
    blit(hoja, panel, 0, 520, 0, 0, 320, 48);
    destroy_bitmap(hoja);
    return true;
}

bool muestra_puntos(const Captura &c, uint32_t puntos, int vidas)
{
    if (!carga_datos_juego() || c.w != 320 || c.h != 240) return false;
    BITMAP *esperado = create_bitmap(320, 240);
    clear_bitmap(esperado);
    blit(panel, esperado, 0, 0, 0, 192, 320, 48);
    textprintf_centre_ex(esperado, static_cast<FONT *>(fuente[1].dat), 160, 206, -1, -1,
                         "PUNTOS:%5d VIDAS:%2d", static_cast<int>(puntos), vidas);
    int malos = 0;
    for (int y = 192; y < 240; y++)
        for (int x = 0; x < 320; x++) malos += !parecido(c.pixel(x, y), rgb_de(getpixel(esperado, x, y)));
    destroy_bitmap(esperado);
    return malos == 0;
}

bool muestra_textos(const Captura &c, const std::vector<Texto> &lineas)
{
    if (!carga_datos_juego() || c.w != 320 || c.h != 240) return false;
    BITMAP *esperado = create_bitmap(320, 240);
    clear_to_color(esperado, 0);
    for (const auto &l : lineas)
        textprintf_centre_ex(esperado, static_cast<FONT *>(fuente[1].dat), 160, l.y, l.color, -1, "%s", l.texto.c_str());
    int malos = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) malos += !parecido(c.pixel(x, y), rgb_de(getpixel(esperado, x, y)));
    destroy_bitmap(esperado);
    return malos == 0;
}

bool muestra_ranking(const Captura &c, const std::vector<unsigned char> &ranking, int tabla, int fila)
{
    static const char *const titulos[3] = {"RANKING - VOY DE PASEO", "RANKING - QUIERO JUGAR",
                                           "RANKING - SOY JODIDO"};
    if (ranking.size() < 240) return false;
    std::vector<Texto> lineas = {{5, -1, titulos[tabla]}};
    for (int r = 0; r < 10; r++) {
        const unsigned char *reg = ranking.data() + 80 * tabla + 8 * r;
        const uint32_t p = reg[0] | reg[1] << 8 | reg[2] << 16 | static_cast<uint32_t>(reg[3]) << 24;
        // Place in two characters, score in six, then the initials up to the first zero.
        char fila_texto[64];
        std::snprintf(fila_texto, sizeof fila_texto, "%2d %6d %.*s", r + 1, static_cast<int>(p),
                      static_cast<int>(strnlen(reinterpret_cast<const char *>(reg + 4), 3)), reg + 4);
        lineas.push_back({30 + 21 * r, r == fila ? 239 : -1, fila_texto});
    }
    return muestra_textos(c, lineas);
}

double parecido_a(const Captura &c, const std::string &nombre)
{
    if (!carga_datos_juego() || c.w != 320 || c.h != 240) return 0.0;
    PALETTE pal;
    BITMAP *b = load_bitmap((std::string(VZ_RUN_DIR) + "/datos/" + nombre).c_str(), pal);
    if (b == nullptr) return 0.0;
    auto ocho = [](int v) { return static_cast<unsigned>(v * 255 / 63); };
    int iguales = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            const RGB &p = pal[getpixel(b, x, y)];
            iguales += parecido(c.pixel(x, y), ocho(p.r) << 16 | ocho(p.g) << 8 | ocho(p.b));
        }
    destroy_bitmap(b);
    return iguales / (320.0 * 240.0);
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
    j.pulsa("Return");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    j.suelta("Return");
    const std::vector<Texto> menu = {{20, -1, "SELECIONA LA DIFICULTAD"}, {80, 255, "VOY DE PASEO"},
                                     {120, -1, "QUIERO JUGAR"}, {160, 255, "SOY JODIDO"}};
    return espera_que(10, [&] { return muestra_textos(j.foto(), menu); });
}

bool hasta_jugar(Juego &j, int dificultad)
{
    if (!hasta_menu(j)) return false;
    if (dificultad == 2) j.tecla("Down");
    if (dificultad == 0) j.tecla("Up");
    j.tecla("Return");
    // Generous: the first song's instruments load here, slowly on a busy machine.
    return espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 6 - dificultad); });
}

} // namespace prueba
