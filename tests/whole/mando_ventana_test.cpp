// One whole game played by gamepad and the same game by keyboard: menu, lanes, pause, initials
// and quit, ending in the same ranking file. The pad is a FIFO that a preloaded library hands the
// game in place of /dev/input/js0.
#include "pantalla.h"
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/joystick.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace prueba;

namespace {

// What a keyboard key is on an Xbox-style pad: a button, or an axis pushed to one end.
struct EnPad {
    const char *tecla;
    int boton, eje, valor;
};
// Up on the d-pad, down on the stick, left on the d-pad, right on the stick.
const EnPad PAD[] = {{"Up", -1, 7, -32767},   {"Down", -1, 1, 32767}, {"Left", -1, 6, -32767},
                     {"Right", -1, 0, 32767}, {"Return", 0, 0, 0},    {"p", 7, 0, 0},
                     {"Escape", 6, 0, 0}};

class PorMando : public ::testing::TestWithParam<bool> {
  protected:
    Juego j;
    int fifo = -1;
    void evento(const EnPad &e, int valor) {
        js_event ev{0, static_cast<int16_t>(e.boton >= 0 ? valor != 0 : valor),
                    static_cast<uint8_t>(e.boton >= 0 ? JS_EVENT_BUTTON : JS_EVENT_AXIS),
                    static_cast<uint8_t>(e.boton >= 0 ? e.boton : e.eje)};
        ASSERT_EQ(write(fifo, &ev, sizeof ev), static_cast<ssize_t>(sizeof ev));
    }
    // Held for `ms`, on the keyboard or on the pad.
    void pulsa(const std::string &tecla, int ms = 80) {
        if (!GetParam()) return j.tecla(tecla, ms);
        const EnPad &e = *std::find_if(std::begin(PAD), std::end(PAD),
                                       [&](const EnPad &p) { return tecla == p.tecla; });
        evento(e, e.boton >= 0 ? 1 : e.valor);
        espera(ms / 1000.0);
        evento(e, 0);
    }
    void TearDown() override {
        if (fifo >= 0) close(fifo);
    }
};

TEST_P(PorMando, AWholeGameEndsInTheSameRankingFile) {
    // Bags all along lane 1 from column 250: collected only if up, down, up leave the truck there.
    nivel::Nivel n = nivel_corto();
    for (int col = 250; col < 800; col += 10)
        n.objetos.push_back({col, 48, 7});
    pon_nivel(j.dir(), n);
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    Bytes ranking(240);
    for (int f = 0; f < 3; f++)
        pon_registro(ranking, 2, f, 50000 - 20000 * f, "ABC", 0x30 + f);
    escribe(ruta, ranking);
    std::map<std::string, std::string> entorno;
    if (GetParam()) {
        const std::string camino = j.dir() + "/pad";
        ASSERT_EQ(mkfifo(camino.c_str(), 0600), 0);
        fifo = open(camino.c_str(), O_RDWR); // never blocks, and the game never reads an end
        entorno = {{"LD_PRELOAD", VZ_MANDO_FALSO}, {"VZ_MANDO", camino}};
    }
    j.arranca({}, entorno);

    ASSERT_TRUE(j.espera_ventana());
    ASSERT_TRUE(espera_que(30, [&] { return parecido_a(j.foto(), "tavisk.bmp") > 0.95; }));
    pulsa("Down"); // any key cuts the opening picture short
    ASSERT_TRUE(espera_que(30, [&] { return parecido_a(j.foto(), "vorkzel.bmp") > 0.9; }));
    pulsa("Return", 150);
    auto menu = [&](int sel) {
        return muestra_textos(j.foto(), {{20, -1, "SELECIONA LA DIFICULTAD"},
                                         {80, sel == 0 ? -1 : 255, "VOY DE PASEO"},
                                         {120, sel == 1 ? -1 : 255, "QUIERO JUGAR"},
                                         {160, sel == 2 ? -1 : 255, "SOY JODIDO"}});
    };
    ASSERT_TRUE(espera_que(10, [&] { return menu(1); }));
    // Held past the keyboard's repeat delay, a pad direction still counts once.
    pulsa("Down", GetParam() ? 700 : 80);
    ASSERT_TRUE(espera_que(3, [&] { return menu(2); }));
    pulsa("Return");
    ASSERT_TRUE(espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 4); }));
    espera(2.5); // the level's opening sound plays before the road moves
    for (const char *t : {"Up", "Down", "Up"}) {
        espera(0.5);
        pulsa(t);
    }
    espera(0.5);
    pulsa("p");
    espera(0.3);
    const Captura pausa = j.foto();
    espera(1.0);
    EXPECT_EQ(j.foto().rgb, pausa.rgb) << "the road moved during the pause";
    pulsa("p");
    EXPECT_TRUE(espera_que(2, [&] { return j.foto().rgb != pausa.rgb; })) << "still paused";

    const std::vector<Texto> puntaje = {{30, -1, "TU PUNTAJE FINAL"},
                                        {80, -1, "VIDAS:  4 X 3000"},
                                        {105, -1, "PUNTOS:     2750"},
                                        {135, -1, "TOTAL:     14750"}};
    ASSERT_TRUE(espera_que(90, [&] { return muestra_textos(j.foto(), puntaje); }))
        << "not every bag of lane 1 was collected";
    ASSERT_TRUE(espera_que(10, [&] { return !muestra_textos(j.foto(), puntaje); }));
    espera(0.3);
    for (const char *t : {"Down", "Return", "Up", "Up", "Right", "Left", "Right", "Up", "Return"}) {
        pulsa(t);
        espera(0.25);
    }
    Bytes esperado = ranking;
    std::copy_n(ranking.begin() + 176, 7, esperado.begin() + 184); // place 3 moves down
    pon_registro(esperado, 2, 2, 14750, "ZCB", 0x32);
    EXPECT_TRUE(espera_que(10, [&] { return lee(ruta) == esperado; }));
    EXPECT_TRUE(espera_que(5, [&] { return muestra_ranking(j.foto(), esperado, 2, 2); }));

    ASSERT_TRUE(espera_que(60, [&] { return parecido_a(j.foto(), "tavisk.bmp") > 0.95; }));
    pulsa("Down");
    ASSERT_TRUE(espera_que(30, [&] { return parecido_a(j.foto(), "vorkzel.bmp") > 0.9; }));
    pulsa("Escape", 1000);
    EXPECT_EQ(j.espera_fin(10), 0);
}

INSTANTIATE_TEST_SUITE_P(Ambos, PorMando, ::testing::Bool(),
                         [](const auto &i) { return i.param ? "Gamepad" : "Keyboard"; });

} // namespace
