// The level tool: text to .map and back, and its refusals.
#include "formato.h"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace nivel;

namespace {

std::string mapa_texto(char relleno, int columnas = COLUMNAS)
{
    std::string fila(static_cast<size_t>(columnas), relleno), t;
    for (int r = 0; r < FILAS; r++) t += fila + "\n";
    return t;
}

const std::string CABECERA = "velocidad 2\ntile . 0\ntile = 33  # road\nmapa\n";

TEST(TextoNivel, CompilesTheDocumentedLayout)
{
    // Two blocks of 100 columns; the second block's row 5 is road.
    std::string bloque2 = mapa_texto('.', 100);
    bloque2.replace(5 * 101, 100, std::string(100, '='));
    const std::string texto = CABECERA + mapa_texto('.', 100) + "\n" + bloque2 +
                              "objetos\n250 1 bolsa\n  # a comment\n12 y=30 restos\nvacio\n799 3 6\n";
    Nivel n;
    std::string err;
    ASSERT_TRUE(lee_texto(texto, "x.txt", n, err)) << err;
    const auto b = a_binario(n);
    ASSERT_EQ(b.size(), 2801u);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1 + 5 * 200 + 100], 33); // row 5, column 100
    EXPECT_EQ(b[1 + 5 * 200 + 99], 0);
    const unsigned char bolsa[4] = {0xFA, 0x00, 48, 7};
    EXPECT_TRUE(std::equal(bolsa, bolsa + 4, b.begin() + 1601));
    EXPECT_EQ(b[1601 + 4 + 2], 30); // raw posy
    EXPECT_EQ(b[1601 + 4 + 3], 8);
    EXPECT_EQ(b[1601 + 8 + 3], 0); // the empty record keeps its place
    EXPECT_EQ(b[1601 + 12], 799 & 0xFF);
    EXPECT_EQ(b[1601 + 13], 799 >> 8);
    EXPECT_EQ(b[1601 + 14], 96);
}

TEST(TextoNivel, AnyMapTurnsIntoTextThatCompilesBackToTheSameBytes)
{
    std::mt19937 azar(7);
    std::vector<uint8_t> b(TAM, 0);
    b[0] = 3;
    for (int i = 1; i <= 1600; i++) b[i] = static_cast<uint8_t>(azar() % 40);
    for (int i = 0; i < 120; i++) { // objects in lanes, scenery, gaps of empty records
        uint8_t *p = b.data() + 1601 + 4 * (i * 2);
        const int col = static_cast<int>(azar() % 801);
        p[0] = static_cast<uint8_t>(col);
        p[1] = static_cast<uint8_t>(col >> 8);
        p[2] = static_cast<uint8_t>(i % 3 == 0 ? azar() % 256 : 24 * (1 + azar() % 4));
        p[3] = static_cast<uint8_t>(azar() % 9);
    }
    Nivel n, vuelta;
    std::string err;
    ASSERT_TRUE(de_binario(b, n, err)) << err;
    ASSERT_TRUE(lee_texto(escribe_texto(n), "roundtrip", vuelta, err)) << err;
    EXPECT_EQ(a_binario(vuelta), b);
}

TEST(TextoNivel, RefusalsNameTheFileAndLine)
{
    const struct {
        std::string texto, linea, que;
    } casos[] = {
        {"velocidad 4\n", ":1:", "speed"},
        {"velocidad 1\ntile a 40\n", ":2:", "0..39"},
        {"velocidad 1\ntile a 1\ntile a 2\n", ":3:", "twice"},
        {CABECERA + mapa_texto('.') + "objetos\n801 1 bolsa\n", ":14:", "column"},
        {CABECERA + mapa_texto('.') + "objetos\n5 4 bolsa\n", ":14:", "lane"},
        {CABECERA + mapa_texto('.') + "objetos\n5 y=256 bolsa\n", ":14:", "y must"},
        {CABECERA + mapa_texto('.') + "objetos\n5 1 9\n", ":14:", "kind"},
        {CABECERA + mapa_texto('.') + "objetos\n5 1 dragon\n", ":14:", "kind"},
        {CABECERA + "...x\n", ":5:", "legend"},
        {CABECERA + mapa_texto('.', 199), ":13:", "199 columns"},
        {CABECERA + "..\n...\n", ":6:", "differ"},
        {"tile a 1\nmapa\n" + mapa_texto('a'), ":11:", "velocidad"},
    };
    for (const auto &c : casos) {
        Nivel n;
        std::string err;
        EXPECT_FALSE(lee_texto(c.texto, "lvl.txt", n, err)) << c.texto;
        EXPECT_NE(err.find("lvl.txt" + c.linea), std::string::npos) << err;
        EXPECT_NE(err.find(c.que), std::string::npos) << err;
    }
}

TEST(TextoNivel, MoreThanThreeHundredObjectsAreRefused)
{
    std::string t = CABECERA + mapa_texto('.') + "objetos\n";
    for (int i = 0; i < 301; i++) t += "10 1 bolsa\n";
    Nivel n;
    std::string err;
    EXPECT_FALSE(lee_texto(t, "f", n, err));
    EXPECT_NE(err.find("300"), std::string::npos);
}

TEST(Visibles, CountsTheMostObjectsOnScreenAtOnce)
{
    Nivel n;
    // Ten objects 11 columns apart (352 px): at most... the view spans 353 px (-35..317).
    for (int i = 0; i < 10; i++) n.objetos.push_back({100 + 11 * i, 48, 1});
    EXPECT_EQ(max_visibles(n), 2);
    n.objetos.push_back({101, 48, 0}); // empty records do not count
    EXPECT_EQ(max_visibles(n), 2);
    for (int i = 0; i < 5; i++) n.objetos.push_back({400, 24 * (i % 4 + 1), 7});
    EXPECT_EQ(max_visibles(n), 5);
}

TEST(Herramienta, CompilesAndDecompilesFilesWithExitStatus)
{
    const std::string dir = ::testing::TempDir();
    const std::string txt = dir + "/t.txt", map = dir + "/t.map", malo = dir + "/m.txt";
    std::ofstream(txt) << CABECERA << mapa_texto('=') << "objetos\n40 2 bicho3\n";
    std::ofstream(malo) << "velocidad 9\n";
    const std::string bin = NIVEL_BIN;
    EXPECT_EQ(std::system((bin + " compila " + txt + " " + map).c_str()), 0);
    std::ifstream in(map, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 2801u);
    EXPECT_EQ(bytes[1601], 40);
    EXPECT_EQ(std::system((bin + " texto " + map + " " + dir + "/back.txt").c_str()), 0);
    std::ifstream back(dir + "/back.txt");
    const std::string texto((std::istreambuf_iterator<char>(back)), {});
    EXPECT_NE(texto.find("40 2 bicho3"), std::string::npos) << texto;
    EXPECT_NE(std::system((bin + " compila " + malo + " " + dir + "/x.map 2>/dev/null").c_str()), 0);
}

} // namespace
