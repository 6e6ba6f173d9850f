#include "assets/carga.h"
#include "assets/cortes.h"
#include "frame/lugares.h"
#include <string>
#include <vector>

namespace vz {

BITMAP *tile[NUM_TILES];
BITMAP *sprite[NUM_SPRITES];
BITMAP *hud = nullptr;
PALETTE the_palette;
BITMAP *imagen1 = nullptr, *imagen2 = nullptr, *imagen3 = nullptr;
PALETTE the_palette1, the_palette2, the_palette3;
SAMPLE *sample[NUM_SAMPLES];
MIDI *music2 = nullptr;
MIDI *music = nullptr;

namespace {

const char *const HOJA = "datos/imagen.bmp";
const char *const FOTOS[3] = {"datos/tavisk.bmp", "datos/vorkzel.bmp", "datos/gane.bmp"};
const char *const SONIDOS[NUM_SAMPLES] = {
    "datos/explocio.wav", "datos/camio1.wav", "datos/bolsa.wav", "datos/grumvel.wav",
    "datos/camio2.wav",   "datos/gold.wav",   "datos/camio3.wav", nullptr,
    nullptr,              nullptr,            "datos/gameover.wav"};
const char *const TEMA_TITULO = "datos/fox.mid";

constexpr int ANCHO_HOJA = 320;
constexpr int ALTO_HOJA = 568;

// A group of same-sized sprites cut side by side from one band of the sheet.
struct grupo {
    int primero, cuantos, w, h, y;
};
constexpr grupo GRUPOS[] = {
    {0, 8, 37, 72, 316},  // objects
    {8, 5, 46, 36, 388},  // vehicle frames
    {13, 4, 70, 72, 244}, // blood splash
    {17, 6, 50, 122, 122}, // flame frames 0-5
    {23, 6, 50, 122, 0},   // flame frames 6-11
};

std::vector<std::string> fallidos; // what went wrong with each file that did not load

// Records why a file did not load: cut short (`cortado` says how), or unreadable.
void falla(const char *nombre, const std::string &cortado)
{
    fallidos.push_back(cortado.empty() ? std::string("cannot read data file: ") + nombre
                                       : std::string(nombre) + " " + cortado);
}

// A picture of at least w x h pixels. One that is cut short, unreadable or too small is refused,
// and a blank stand-in keeps every later blit valid until start-up stops.
BITMAP *carga_bmp(const char *nombre, RGB *paleta, int w, int h)
{
    const std::string cortado = corte(nombre);
    BITMAP *b = cortado.empty() ? load_bitmap(nombre, paleta) : nullptr;
    if (b != nullptr && b->w >= w && b->h >= h) return b;
    if (b == nullptr)
        falla(nombre, cortado);
    else
        fallidos.push_back(std::string(nombre) + " is " + std::to_string(b->w) + " x " +
                           std::to_string(b->h) + " pixels, it must be at least " +
                           std::to_string(w) + " x " + std::to_string(h));
    destroy_bitmap(b);
    b = create_bitmap(w, h);
    clear_bitmap(b);
    return b;
}

BITMAP *corta(BITMAP *hoja, int sx, int sy, int w, int h)
{
    BITMAP *b = create_bitmap(w, h);
    blit(hoja, b, sx, sy, 0, 0, w, h);
    return b;
}

} // namespace

int faltan_datos(FILE *err)
{
    std::vector<const char *> nombres = {"datos/font.dat", HOJA, FOTOS[0], FOTOS[1], FOTOS[2]};
    for (const char *sonido : SONIDOS)
        if (sonido != nullptr) nombres.push_back(sonido);
    fallidos.clear();
    for (const char *nombre : nombres) {
        FILE *f = abre(nombre, "rb");
        if (f != nullptr) {
            std::fclose(f);
            continue;
        }
        fallidos.push_back(std::string("missing data file: ") + nombre);
        std::fprintf(err, "vorkzel: %s\n", fallidos.back().c_str());
    }
    return static_cast<int>(fallidos.size());
}

int datos_fallidos(FILE *err)
{
    for (const auto &que : fallidos) std::fprintf(err, "vorkzel: %s\n", que.c_str());
    return static_cast<int>(fallidos.size());
}

std::string lista_fallidos()
{
    std::string t;
    for (const auto &que : fallidos) t += que + "\n";
    return t;
}

void CargarBMP()
{
    fallidos.clear();
    BITMAP *hoja = carga_bmp(HOJA, the_palette, ANCHO_HOJA, ALTO_HOJA);

    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 10; c++) tile[10 * r + c] = corta(hoja, 32 * c, 424 + 24 * r, 32, 24);
    for (const grupo &g : GRUPOS)
        for (int i = 0; i < g.cuantos; i++) sprite[g.primero + i] = corta(hoja, g.w * i, g.y, g.w, g.h);
    hud = corta(hoja, 0, 520, 320, 48);
    destroy_bitmap(hoja);

    imagen1 = carga_bmp(FOTOS[0], the_palette1, 320, 240);
    imagen2 = carga_bmp(FOTOS[1], the_palette2, 320, 240);
    imagen3 = carga_bmp(FOTOS[2], the_palette3, 320, 240);
}

void carga_sonidos()
{
    for (int i = 0; i < NUM_SAMPLES; i++) {
        if (SONIDOS[i] == nullptr) continue;
        const std::string cortado = corte(SONIDOS[i]);
        sample[i] = cortado.empty() ? load_sample(SONIDOS[i]) : nullptr;
        if (sample[i] == nullptr) {
            falla(SONIDOS[i], cortado);
            sample[i] = create_sample(16, 0, 22050, 1); // silent stand-in
        }
    }
    // The title tune may be missing: the title is then silent.
    music2 = load_midi(TEMA_TITULO);
}

void DestruyeBMP()
{
    for (auto &t : tile) destroy_bitmap(t);
    for (auto &sp : sprite) destroy_bitmap(sp);
    destroy_bitmap(hud);
    destroy_bitmap(imagen1);
    destroy_bitmap(imagen2);
    destroy_bitmap(imagen3);
}

void DestruyeSonidos()
{
    for (int i = 0; i < NUM_SAMPLES; i++)
        if (SONIDOS[i] != nullptr) destroy_sample(sample[i]);
    destroy_midi(music2);
}

} // namespace vz
