// The end of a game, the final score and the ranking file, in the real window.
#include "niveles_prueba.h"
#include "pantalla.h"
#include <filesystem>
#include <gtest/gtest.h>

using namespace prueba;

namespace {

// "SOY JODIDO" with no objects: nothing run over, four lives kept, so the final score is
// 4 x 3000 = 12000, which ties place 3 of the hard table and therefore goes above it. With three
// flipped pages (-tbuf) the game must end in the very same file.
class Ganada : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(Ganada, TheFinalScoreThenTheInitialsAndTheFileHoldsExactlyTheNewTable)
{
    Juego j;
    pon_niveles(j.dir(), {nivel_corto()});
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    const Bytes antes = ranking_de_prueba();
    escribe(ruta, antes);
    j.arranca(GetParam());
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    ASSERT_TRUE(espera_que(75, [&] { return parecido_a(j.foto(), "gane.bmp") > 0.95; }));
    const std::vector<Texto> puntaje = {{30, -1, "TU PUNTAJE FINAL"},
                                        {80, -1, "VIDAS:  4 X 3000"},
                                        {105, -1, "PUNTOS:        0"},
                                        {135, -1, "TOTAL:     12000"}};
    ASSERT_TRUE(espera_que(15, [&] { return muestra_textos(j.foto(), puntaje); })) << "the final score";
    // The record screen follows after five seconds.
    ASSERT_TRUE(espera_que(10, [&] { return !muestra_textos(j.foto(), puntaje); }));
    espera(0.3);
    // First initial A -> Z (wraps), Enter; second A -> C; Right; third A -> B; Enter.
    for (const char *t : {"Down", "Return", "Up", "Up", "Right", "Up", "Return"}) {
        j.tecla(t);
        espera(0.25);
    }

    Bytes esperado = antes;
    // Scores and initials of places 3..9 move down one; place 10 drops; reserved bytes stay.
    for (int f = 9; f > 2; f--) std::copy_n(antes.begin() + 160 + 8 * (f - 1), 7, esperado.begin() + 160 + 8 * f);
    pon_registro(esperado, 2, 2, 12000, "ZCB", antes[160 + 8 * 2 + 7]);
    EXPECT_TRUE(espera_que(10, [&] { return lee(ruta) != antes; })) << "the file was not rewritten";
    EXPECT_EQ(legible(lee(ruta)), legible(esperado));
    EXPECT_TRUE(espera_que(5, [&] { return muestra_ranking(j.foto(), esperado, 2, 2); }));
    EXPECT_FALSE(std::filesystem::exists(ruta + ".tmp"));
}

INSTANTIATE_TEST_SUITE_P(Modos, Ganada, ::testing::Values(std::vector<std::string>{},
                                                          std::vector<std::string>{"-tbuf"}),
                         [](const auto &i) { return i.param.empty() ? "MemoryPage" : "ThreePages"; });

// Barrels all along the starting lane: four lives burn away, the game ends before the road does.
// The close button during the level's banner does not stop the game: it is played and lost, and
// then the program ends without the game-over screen or the title.
TEST(Final, CloseDuringTheBannerPlaysTheGameOutThenEndsAndALostGameSavesNothing)
{
    Juego j;
    nivel::Nivel n = nivel_corto();
    for (int col = 60; col < 790; col += 8) n.objetos.push_back({col, 72, 6});
    pon_niveles(j.dir(), {n});
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    // The hard table is half empty, so a saved score of any size would have entered it.
    Bytes antes = ranking_de_prueba();
    for (int f = 5; f < 10; f++) pon_registro(antes, 2, f, 0, "\0\0\0", static_cast<unsigned char>(0x80 + f));
    escribe(ruta, antes);
    j.arranca();
    ASSERT_TRUE(hasta_menu(j)) << j.salida_error();
    j.tecla("Down");
    j.tecla("Return");
    ASSERT_TRUE(espera_que(3, [&] { return muestra_textos(j.foto(), {{110, -1, "SIGUIENTE NIVEL: 1"}}); }));
    j.cierra_ventana();
    EXPECT_TRUE(espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 4); })) << "the level was not played";
    int estado = -1;
    EXPECT_TRUE(j.espera_fin(75, estado));
    EXPECT_EQ(estado, 0);
    EXPECT_EQ(legible(lee(ruta)), legible(antes));
}

// Rows in place, score and initials: place 10 of the easy table is "10      5 OK".
TEST(Final, SpaceOnTheTitleShowsTheThreeTablesInTurn)
{
    Juego j;
    const Bytes tablas = ranking_de_prueba();
    escribe(j.dir() + "/datos/ranking.dat", tablas);
    j.arranca();
    ASSERT_TRUE(hasta_titulo(j)) << j.salida_error();
    j.pulsa("space");
    espera(0.15);
    j.suelta("space");
    for (int t = 0; t < 3; t++)
        EXPECT_TRUE(espera_que(t == 0 ? 3 : 10, [&] { return muestra_ranking(j.foto(), tablas, t, -1); })) << t;
}

} // namespace
