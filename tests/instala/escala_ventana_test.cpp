// The enlarged window: its size on small and large screens, and its picture pixel for pixel.
#include "pantalla.h"
#include <filesystem>
#include <gtest/gtest.h>

using namespace prueba;

namespace {

// The game started with `args` on a `xvfb` screen and no music (so the diagnostics screen lists
// the same lines in every run); its picture once the window shows.
Captura foto_de(const std::vector<std::string> &args, const std::string &xvfb = "640x480x24")
{
    pantalla_xvfb = xvfb;
    Juego j;
    pantalla_xvfb = "640x480x24";
    for (const char *d : {"/mp3", "/midi"}) {
        std::filesystem::remove_all(j.dir() + d);
        std::filesystem::create_directory(j.dir() + d);
    }
    j.arranca(args);
    if (!j.espera_ventana()) return {};
    // Well inside the diagnostics screen's eight seconds, or the opening picture's fade-in.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    return j.foto();
}

} // namespace

TEST(Escala, AtScaleTwoEachPixelOfTheDiagnosticsScreenIsATwoByTwoSquare)
{
    const Captura uno = foto_de({"-info", "-1"});
    const Captura dos = foto_de({"-info", "-2"});
    ASSERT_EQ(uno.w, 320);
    ASSERT_EQ(uno.h, 240);
    ASSERT_EQ(dos.w, 640);
    ASSERT_EQ(dos.h, 480);
    ASSERT_GT(uno.distintos(0, 0, 319, 239, 0), 500) << "no text on the diagnostics screen";
    int distintos = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) distintos += dos.pixel(x, y) != uno.pixel(x / 2, y / 2);
    EXPECT_EQ(distintos, 0);
}

// Screen, and the window expected on it.
class EscalaPorDefecto : public testing::TestWithParam<std::tuple<std::string, int, int>> {};

TEST_P(EscalaPorDefecto, TheWindowIsTheLargestThatFitsTheScreen)
{
    const auto [xvfb, w, h] = GetParam();
    const Captura c = foto_de({}, xvfb);
    EXPECT_EQ(c.w, w);
    EXPECT_EQ(c.h, h);
    EXPECT_GT(c.distintos(0, 0, c.w - 1, c.h - 1, 0), c.w * c.h / 10);
}
INSTANTIATE_TEST_SUITE_P(Pantallas, EscalaPorDefecto,
                         testing::Values(std::make_tuple(std::string("640x480x24"), 320, 240),
                                         std::make_tuple(std::string("1024x768x24"), 640, 480),
                                         std::make_tuple(std::string("1920x1080x24"), 960, 720)));
