// Start-up and shutdown of the real game in a window under Xvfb.
#include "ventana.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace prueba;

namespace {

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

// Missing files are all named; a font file that holds no font is refused by name.
TEST(Arranque, MissingOrBrokenDataFilesAreNamedAndStopStartUp)
{
    const std::vector<std::vector<std::string>> casos = {{"font.dat", "gold.wav"}, {"font.dat"}};
    for (size_t i = 0; i < casos.size(); i++) {
        Juego j;
        for (const auto &f : casos[i]) std::filesystem::remove(j.dir() + "/datos/" + f);
        if (i == 1) std::ofstream(j.dir() + "/datos/font.dat") << "not a datafile";
        j.arranca();
        int estado = -1;
        ASSERT_TRUE(j.espera_fin(20, estado));
        EXPECT_EQ(estado, 1);
        for (const auto &f : casos[i])
            EXPECT_NE(j.salida_error().find("datos/" + f), std::string::npos) << j.salida_error();
    }
}

} // namespace
