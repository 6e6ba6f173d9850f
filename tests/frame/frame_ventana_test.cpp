// Start-up and shutdown of the real game in a window under Xvfb.
#include "ventana.h"
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

using namespace prueba;

namespace {

TEST(Arranque, OpensA320x240WindowTitledWithTheGameName)
{
    Juego j;
    j.arranca();
    ASSERT_TRUE(j.espera_ventana()) << j.salida_error();
    const Captura c = j.foto();
    EXPECT_EQ(c.w, 320);
    EXPECT_EQ(c.h, 240);
}

TEST(Arranque, InfoDrawsTheDiagnosticsAndCloseWaitsForTheEightSeconds)
{
    Juego j;
    j.arranca({"-info"});
    ASSERT_TRUE(j.espera_ventana()) << j.salida_error();
    const double abierta = ahora();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const Captura c = j.foto();
    ASSERT_EQ(c.w, 320);
    const unsigned fondo = c.pixel(300, 200);
    // The four fixed lines at y 10, 30, 50 and 70.
    for (int linea : {10, 30, 50, 70})
        EXPECT_GT(c.distintos(10, linea, 200, linea + 7, fondo), 20) << "line at y " << linea;
    EXPECT_EQ(c.distintos(0, 0, 319, 8, fondo), 0) << "nothing above the first line";

    j.cierra_ventana();
    // The wait is not shortened by the close button...
    std::this_thread::sleep_for(std::chrono::milliseconds(4500));
    EXPECT_TRUE(j.vivo()) << "ended before the diagnostics wait ran out";
    // ...and afterwards the program ends without showing the title.
    int estado = -1;
    ASSERT_TRUE(j.espera_fin(15, estado));
    EXPECT_EQ(estado, 0);
    EXPECT_GT(ahora() - abierta, 7.0);
}

TEST(Arranque, NoDisplayEndsWithStatusOneAndAReason)
{
    Juego j;
    j.arranca({}, {{"DISPLAY", ":9999"}});
    int estado = -1;
    ASSERT_TRUE(j.espera_fin(20, estado));
    EXPECT_EQ(estado, 1);
    EXPECT_NE(j.salida_error().find("display"), std::string::npos) << j.salida_error();
}

TEST(Arranque, MissingDataFilesAreAllNamedAndStopStartUp)
{
    Juego j;
    std::filesystem::remove(j.dir() + "/datos/font.dat");
    std::filesystem::remove(j.dir() + "/datos/gold.wav");
    j.arranca();
    int estado = -1;
    ASSERT_TRUE(j.espera_fin(20, estado));
    EXPECT_EQ(estado, 1);
    const std::string err = j.salida_error();
    EXPECT_NE(err.find("datos/font.dat"), std::string::npos) << err;
    EXPECT_NE(err.find("datos/gold.wav"), std::string::npos) << err;
}

TEST(Arranque, AFontFileWithoutAFontIsRefusedByName)
{
    Juego j;
    {
        FILE *f = std::fopen((j.dir() + "/datos/font.dat").c_str(), "wb");
        std::fputs("not a datafile", f);
        std::fclose(f);
    }
    j.arranca();
    int estado = -1;
    ASSERT_TRUE(j.espera_fin(20, estado));
    EXPECT_EQ(estado, 1);
    EXPECT_NE(j.salida_error().find("datos/font.dat"), std::string::npos) << j.salida_error();
}

} // namespace
