// The title, the end of a game and the ranking file, in the real window.
#include "niveles_prueba.h"
#include "pantalla.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace prueba;

namespace {

using Bytes = std::vector<unsigned char>;

void espera(double segundos)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(segundos * 1000)));
}

void pon_registro(Bytes &b, int tabla, int fila, uint32_t puntos, const char *ini, unsigned char reservado)
{
    unsigned char *r = b.data() + 80 * tabla + 8 * fila;
    for (int i = 0; i < 4; i++) r[i] = static_cast<unsigned char>(puntos >> (8 * i));
    for (int i = 0; i < 3; i++) r[4 + i] = static_cast<unsigned char>(ini[i]);
    r[7] = reservado;
}

Bytes lee(const std::string &ruta)
{
    std::ifstream in(ruta, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void escribe(const std::string &ruta, const Bytes &b)
{
    std::ofstream(ruta, std::ios::binary)
        .write(reinterpret_cast<const char *>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Three full tables with a different reserved byte in every record; the hard one has 12000 at
// place 3.
Bytes ranking_de_prueba()
{
    Bytes b(240);
    const uint32_t puntos[10] = {50000, 30000, 12000, 9000, 8000, 7000, 6000, 5000, 4000, 1000};
    const char *ini[10] = {"ANA", "BOB", "CEC", "DAN", "EVA", "FER", "GUS", "HUG", "IVO", "JOE"};
    for (int t = 0; t < 3; t++)
        for (int f = 0; f < 10; f++)
            pon_registro(b, t, f, puntos[f] + 7 * (2 - t), ini[f], static_cast<unsigned char>(0x40 + 10 * t + f));
    return b;
}

// One line per record, "score INI reserved", so that a failure shows which rows differ.
std::string legible(const Bytes &b)
{
    std::string out;
    for (size_t r = 0; r + 8 <= b.size(); r += 8) {
        char linea[64];
        const uint32_t p = b[r] | b[r + 1] << 8 | b[r + 2] << 16 | static_cast<uint32_t>(b[r + 3]) << 24;
        std::snprintf(linea, sizeof linea, "%zu: %u %c%c%c %02x\n", r / 8, p, b[r + 4] ? b[r + 4] : '.',
                      b[r + 5] ? b[r + 5] : '.', b[r + 6] ? b[r + 6] : '.', b[r + 7]);
        out += linea;
    }
    return out + (b.size() % 8 ? "(and a partial record)\n" : "");
}

void teclas(Juego &j, std::initializer_list<const char *> lista)
{
    for (const char *t : lista) {
        j.tecla(t);
        espera(0.25);
    }
}

// "SOY JODIDO" with no objects: nothing run over, four lives kept, so the final score is
// 4 x 3000 = 12000, which ties place 3 of the hard table and therefore goes above it.
TEST(Final, AWonGameEntersTheInitialsAndTheFileHoldsExactlyTheNewTable)
{
    Juego j;
    pon_niveles(j.dir(), {nivel_corto()});
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    const Bytes antes = ranking_de_prueba();
    escribe(ruta, antes);
    j.arranca();
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    ASSERT_TRUE(espera_que(75, [&] { return parecido_a(j.foto(), "gane.bmp") > 0.95; }));
    // The victory picture, then the final score, then the record screen: each a new picture.
    ASSERT_TRUE(espera_que(15, [&] { return parecido_a(j.foto(), "gane.bmp") < 0.5; }));
    espera(0.5);
    const Captura puntaje = j.foto();
    ASSERT_TRUE(espera_que(10, [&] { return j.foto().rgb != puntaje.rgb; }));
    espera(0.3);
    // First initial A -> Z (wraps), Enter; second A -> C; Right; third A -> B; Enter twice.
    teclas(j, {"Down", "Return", "Up", "Up", "Right", "Up", "Return"});

    Bytes esperado = antes;
    // Scores and initials of places 3..9 move down one; place 10 drops; reserved bytes stay.
    for (int f = 9; f > 2; f--) std::copy_n(antes.begin() + 160 + 8 * (f - 1), 7, esperado.begin() + 160 + 8 * f);
    pon_registro(esperado, 2, 2, 12000, "ZCB", antes[160 + 8 * 2 + 7]);
    EXPECT_TRUE(espera_que(10, [&] { return lee(ruta) != antes; })) << "the file was not rewritten";
    EXPECT_EQ(legible(lee(ruta)), legible(esperado));
    // The hard table with the new row highlighted.
    EXPECT_TRUE(espera_que(5, [&] { return muestra_ranking(j.foto(), esperado, 2, 2); }));
    EXPECT_FALSE(std::filesystem::exists(ruta + ".tmp"));
}

// Barrels all along the starting lane: four lives burn away, the game ends before the road does.
TEST(Final, ALostGameLeavesTheRankingUntouchedAndReturnsToTheTitle)
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
    ASSERT_TRUE(hasta_jugar(j, 2)) << j.salida_error();
    // "GAME OVER" in 239 on a screen filled with 255.
    ASSERT_TRUE(espera_que(60, [&] { return parte_con_color(j.foto(), 0, 150, 255) > 0.95; }));
    EXPECT_TRUE(espera_que(20, [&] { return parecido_a(j.foto(), "tavisk.bmp") > 0.95; }));
    EXPECT_EQ(legible(lee(ruta)), legible(antes));
    EXPECT_TRUE(j.vivo());
}

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
    EXPECT_TRUE(espera_que(3, [&] { return muestra_ranking(j.foto(), tablas, 0, -1); }));
    EXPECT_TRUE(espera_que(10, [&] { return muestra_ranking(j.foto(), tablas, 1, -1); }));
    EXPECT_TRUE(espera_que(10, [&] { return muestra_ranking(j.foto(), tablas, 2, -1); }));
}

TEST(Final, EscOnTheTitleEndsTheProgramWithStatusZero)
{
    Juego j;
    j.arranca();
    ASSERT_TRUE(hasta_titulo(j)) << j.salida_error();
    j.pulsa("Escape");
    int estado = -1;
    EXPECT_TRUE(j.espera_fin(10, estado));
    j.suelta("Escape");
    EXPECT_EQ(estado, 0);
}

} // namespace
