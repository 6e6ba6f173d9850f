// Cutting the sprite sheet and loading the data files.
#include "assets/carga.h"
#include "entorno.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vz;
namespace fs = std::filesystem;

namespace {

struct Carga : ::testing::Test {
    fs::path antes, dir;
    BITMAP *hoja = nullptr;
    PALETTE paleta;
    void SetUp() override
    {
        antes = fs::current_path();
        dir = fs::temp_directory_path() / ("vz-carga-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "datos");
        fs::current_path(dir);
        hoja = prueba::hoja_sintetica(320, 568);
        for (int i = 0; i < 256; i++) paleta[i] = {static_cast<unsigned char>(i / 4), 7, 9, 0};
        save_bmp("datos/imagen.bmp", hoja, paleta);
        BITMAP *foto = create_bitmap(320, 240);
        for (const char *f : {"datos/tavisk.bmp", "datos/vorkzel.bmp", "datos/gane.bmp"}) {
            clear_to_color(foto, 50);
            save_bmp(f, foto, paleta);
        }
        destroy_bitmap(foto);
    }
    void TearDown() override
    {
        destroy_bitmap(hoja);
        fs::current_path(antes);
        fs::remove_all(dir);
    }
    // True when `b` is exactly the sheet's rectangle at (sx, sy) of b's size.
    bool igual(BITMAP *b, int sx, int sy) const
    {
        for (int yy = 0; yy < b->h; yy++)
            for (int xx = 0; xx < b->w; xx++)
                if (getpixel(b, xx, yy) != getpixel(hoja, sx + xx, sy + yy)) return false;
        return true;
    }
};

TEST_F(Carga, EveryPieceIsCutFromItsRectangle)
{
    CargarBMP();
    EXPECT_EQ(datos_fallidos(stderr), 0);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 10; c++)
            EXPECT_TRUE(igual(tile[10 * r + c], 32 * c, 424 + 24 * r)) << "tile " << 10 * r + c;
    const struct {
        int i, x, y, w, h;
    } casos[] = {{0, 0, 316, 37, 72},    {7, 259, 316, 37, 72}, {8, 0, 388, 46, 36},
                 {12, 184, 388, 46, 36}, {13, 0, 244, 70, 72},  {16, 210, 244, 70, 72},
                 {17, 0, 122, 50, 122},  {22, 250, 122, 50, 122}, {23, 0, 0, 50, 122},
                 {28, 250, 0, 50, 122}};
    for (const auto &c : casos) {
        ASSERT_EQ(sprite[c.i]->w, c.w) << "sprite " << c.i;
        ASSERT_EQ(sprite[c.i]->h, c.h) << "sprite " << c.i;
        EXPECT_TRUE(igual(sprite[c.i], c.x, c.y)) << "sprite " << c.i;
    }
    EXPECT_TRUE(igual(hud, 0, 520));
    EXPECT_EQ(the_palette[200].r, 50); // the game palette is the sheet's
    EXPECT_EQ(getpixel(imagen2, 10, 10), 50);
    DestruyeBMP();
}

TEST_F(Carga, MissingAndBrokenFilesAreAllReported)
{
    fs::remove("datos/gane.bmp");
    { std::ofstream("datos/tavisk.bmp") << "BM broken"; }
    fs::remove("datos/gold.wav");
    char *texto = nullptr;
    size_t largo = 0;
    FILE *err = open_memstream(&texto, &largo);
    const int faltan = faltan_datos(err);
    std::fflush(err);
    const std::string informe(texto, largo);
    EXPECT_GE(faltan, 3); // the wavs and the font are absent too in this folder
    EXPECT_NE(informe.find("datos/gane.bmp"), std::string::npos);
    EXPECT_NE(informe.find("datos/gold.wav"), std::string::npos);
    EXPECT_EQ(informe.find("datos/tavisk.bmp"), std::string::npos); // present, if broken
    std::fclose(err);
    std::free(texto);

    CargarBMP();
    carga_sonidos();
    texto = nullptr;
    err = open_memstream(&texto, &largo);
    datos_fallidos(err);
    std::fflush(err);
    const std::string fallos(texto, largo);
    EXPECT_NE(fallos.find("datos/tavisk.bmp"), std::string::npos);
    EXPECT_NE(fallos.find("datos/gane.bmp"), std::string::npos);
    EXPECT_NE(fallos.find("datos/explocio.wav"), std::string::npos);
    EXPECT_EQ(fallos.find("datos/imagen.bmp"), std::string::npos);
    std::fclose(err);
    std::free(texto);
    // Stand-ins keep every later use valid; slots 7-9 stay empty.
    ASSERT_NE(imagen1, nullptr);
    EXPECT_EQ(imagen1->w, 320);
    for (int i : {7, 8, 9}) EXPECT_EQ(sample[i], nullptr);
    EXPECT_NE(sample[10], nullptr);
    DestruyeBMP();
    DestruyeSonidos();
}

} // namespace
