// The enlarged window, watched screenshot by screenshot, and signals.
#include "pantalla.h"
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace prueba;

// A game won at scale 2. Tiles 0 and 1 in plain colours, laid in columns, make all road rows alike:
// a torn frame has rows from two scroll positions. The final score's palette is set before it is
// drawn: the first screenshot that no longer shows the victory picture must show the score.
TEST(Escala, EveryScreenshotShowsOneWholeFrameInItsOwnColours) {
    Juego j;
    std::filesystem::remove_all(j.dir() + "/midi"); // no song title over the road
    Bytes hoja = lee(j.dir() + "/datos/imagen.bmp");
    for (int k = 0; k < 64 * 24; k++) // 8 bits a pixel, 320 x 568, bottom row first
        hoja[(hoja[10] | hoja[11] << 8) + (143 - k / 64) * 320 + k % 64] = k % 64 < 32 ? 0 : 255;
    escribe(j.dir() + "/datos/imagen.bmp", hoja);
    nivel::Nivel n = nivel_corto();
    for (int k = 0; k < nivel::FILAS * nivel::COLUMNAS; k++)
        n.mapa[k / nivel::COLUMNAS][k % nivel::COLUMNAS] = k % nivel::COLUMNAS % 3 == 0;
    pon_nivel(j.dir(), n);
    j.escala = 2;
    j.arranca({"-2"});
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    // Right of the truck, above the score panel; the first two seconds are the still start.
    auto fila = [](const Captura &c, int y) {
        return Bytes(c.rgb.begin() + 960 * y + 384, c.rgb.begin() + 960 * y + 960);
    };
    int fotos = 0, costuras = 0;
    std::set<Bytes> vistas;
    for (const double fin = ahora() + 8; ahora() < fin; fotos++) {
        const Captura c = j.foto();
        ASSERT_EQ(c.w, 320);
        vistas.insert(fila(c, 0));
        for (int y = 1; y < 192; y++)
            costuras += fila(c, y) != fila(c, y - 1);
    }
    EXPECT_EQ(costuras, 0) << "seams in " << fotos << " screenshots";
    EXPECT_GT(vistas.size(), 20u) << "the road did not scroll";
    Captura c;
    ASSERT_TRUE(espera_que(90, [&] { return parecido_a(c = j.foto(), "gane.bmp") > 0.95; }));
    for (Bytes visto; c.w == 320 && (c.rgb == visto || parecido_a(c, "gane.bmp") > 0.95);)
        visto = c.rgb, c = j.foto(); // a picture already seen is not looked at again
    EXPECT_TRUE(muestra_textos(c, {{30, -1, "TU PUNTAJE FINAL"},
                                   {80, -1, "VIDAS:  4 X 3000"},
                                   {105, -1, "PUNTOS:        0"},
                                   {135, -1, "TOTAL:     12000"}}));
}

// SIGINT, SIGTERM or SIGQUIT at a random moment (start-up, fades, title, play) ends the game by it.
TEST(Escala, ASignalAtAnyMomentEndsTheGameByThatSignal) {
    Juego j;
    std::mt19937 azar(std::random_device{}());
    std::uniform_real_distribution<double> hasta(0.0, 2.5);
    j.escala = 2;
    for (int i = 0; i < 16; i++) {
        j.arranca({"-2"});
        ASSERT_TRUE(i % 2 == 1 ? hasta_jugar(j, 1) : j.espera_ventana());
        espera(hasta(azar));
        if (i % 4 == 2) j.tecla("x"), espera(hasta(azar)); // into the opening picture's fade-out
        const int s = std::array{SIGINT, SIGTERM, SIGQUIT}[i % 3];
        ASSERT_GT(j.pid(), 0) << "round " << i; // kill(-1) would signal every process
        kill(j.pid(), s);
        EXPECT_EQ(j.espera_fin(5), 128 + s) << "round " << i;
    }
}
