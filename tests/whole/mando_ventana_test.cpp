// A whole game won by gamepad, and the same game by keyboard (with one memory page and with three
// flipped pages): menu, lanes, pause, initials and quit, ending in the same ranking file. The pad
// is a FIFO that a preloaded library hands the game in place of /dev/input/js0.
#include "pantalla.h"
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace prueba;

namespace {

// A key on an Xbox-style pad: a button, or an axis pushed to a value. Up and down on the d-pad,
// left on the d-pad, right on the stick.
const struct {
    const char *tecla;
    uint8_t tipo, numero;
    int16_t valor;
} PAD[] = {{"Up", JS_EVENT_AXIS, 7, -32767},   {"Down", JS_EVENT_AXIS, 7, 32767},
           {"Left", JS_EVENT_AXIS, 6, -32767}, {"Right", JS_EVENT_AXIS, 0, 32767},
           {"Return", JS_EVENT_BUTTON, 0, 1},  {"p", JS_EVENT_BUTTON, 7, 1},
           {"Escape", JS_EVENT_BUTTON, 6, 1}};

using Modo = std::pair<bool, std::vector<std::string>>; // by pad; options

class PorMando : public ::testing::TestWithParam<Modo> {
  protected:
    Juego j;
    int fifo = -1;
    void TearDown() override { close(fifo); }
    void evento(uint8_t tipo, uint8_t numero, int16_t valor) {
        const js_event ev{0, valor, tipo, numero};
        ASSERT_EQ(write(fifo, &ev, sizeof ev), static_cast<ssize_t>(sizeof ev));
    }
    // Held for `ms`, on the keyboard or on the pad; on the pad from the moment the game has read
    // it, as the library keeps only a pad's last state.
    void pulsa(const std::string &tecla, int ms = 80) {
        if (!GetParam().first) return j.tecla(tecla, ms);
        const auto &e = *std::find_if(std::begin(PAD), std::end(PAD),
                                      [&](const auto &p) { return tecla == p.tecla; });
        evento(e.tipo, e.numero, e.valor);
        espera_que(5, [&] {
            int n = 1;
            return ioctl(fifo, FIONREAD, &n) == 0 && n == 0;
        });
        espera(ms / 1000.0);
        evento(e.tipo, e.numero, 0);
    }
    bool hasta_titulo() {
        if (!espera_que(30, [&] { return parecido_a(j.foto(), "tavisk.bmp") > 0.95; }))
            return false;
        pulsa("Down"); // any key cuts the opening picture short
        return espera_que(30, [&] { return parecido_a(j.foto(), "vorkzel.bmp") > 0.9; });
    }
};

TEST_P(PorMando, AWholeGameEndsInTheSameRankingFile) {
    // Thirty bags in the top lane, then, after a gap of four seconds, twenty-one in the bottom
    // one. Held, up and down take the truck to those lanes whatever the machine's load.
    nivel::Nivel n = nivel_corto();
    for (int col = 200; col < 800; col += 10)
        if (col < 500 || col >= 590) n.objetos.push_back({col, col < 500 ? 24 : 96, 7});
    pon_nivel(j.dir(), n);
    const std::string ruta = j.dir() + "/datos/ranking.dat";
    Bytes ranking(240);
    for (int f = 0; f < 30; f++)
        pon_registro(ranking, f / 10, f % 10, f % 10 < 3 ? 50000 - 20000 * (f % 10) : 0, "ABC", f);
    escribe(ruta, ranking);
    std::map<std::string, std::string> entorno;
    if (GetParam().first) {
        const std::string camino = j.dir() + "/pad";
        ASSERT_EQ(mkfifo(camino.c_str(), 0600), 0);
        fifo = open(camino.c_str(), O_RDWR); // never blocks, and the game never reads an end
        entorno = {{"LD_PRELOAD", VZ_MANDO_FALSO}, {"VZ_MANDO", camino}};
        // The stick held down at start-up, as a trigger rests at one end: never read, or the
        // truck would not stay in the top lane.
        evento(JS_EVENT_AXIS, 1, 32767);
    }
    j.arranca(GetParam().second, entorno);
    ASSERT_TRUE(j.espera_ventana() && hasta_titulo());
    pulsa("Return", 150);
    auto menu = [&](int sel) {
        return muestra_textos(j.foto(), {{20, -1, "SELECIONA LA DIFICULTAD"},
                                         {80, sel == 0 ? -1 : 255, "VOY DE PASEO"},
                                         {120, sel == 1 ? -1 : 255, "QUIERO JUGAR"},
                                         {160, sel == 2 ? -1 : 255, "SOY JODIDO"}});
    };
    ASSERT_TRUE(espera_que(10, [&] { return menu(1); }));
    // Held past the keyboard's repeat delay, a pad direction still counts once.
    pulsa("Down", GetParam().first ? 700 : 80);
    ASSERT_TRUE(espera_que(3, [&] { return menu(2); }));
    pulsa("Return");
    ASSERT_TRUE(espera_que(30, [&] { return muestra_puntos(j.foto(), 0, 4); }));
    const Captura quieta = j.foto(); // the level's opening sound plays before the road moves
    ASSERT_TRUE(espera_que(30, [&] { return j.foto().rgb != quieta.rgb; }));
    for (const char *t : {"Up", "p"}) {
        pulsa(t, 1000);
        espera(0.3);
    }
    const Captura pausa = j.foto();
    espera(1.0);
    EXPECT_EQ(j.foto().rgb, pausa.rgb) << "the road moved during the pause";
    pulsa("p", 300);
    EXPECT_TRUE(espera_que(2, [&] { return j.foto().rgb != pausa.rgb; })) << "still paused";
    ASSERT_TRUE(espera_que(60, [&] { return muestra_puntos(j.foto(), 1500, 4); }))
        << "the bags of the top lane were not all collected";
    pulsa("Down", 1000);
    const std::vector<Texto> puntaje = {{30, -1, "TU PUNTAJE FINAL"},
                                        {80, -1, "VIDAS:  4 X 3000"},
                                        {105, -1, "PUNTOS:     2550"},
                                        {135, -1, "TOTAL:     14550"}};
    ASSERT_TRUE(espera_que(90, [&] { return muestra_textos(j.foto(), puntaje); }))
        << "the bags of the bottom lane were not all collected";
    ASSERT_TRUE(espera_que(10, [&] { return !muestra_textos(j.foto(), puntaje); }));
    espera(0.3);
    for (const char *t : {"Down", "Return", "Up", "Up", "Right", "Left", "Right", "Up", "Return"}) {
        pulsa(t);
        espera(0.25);
    }
    // Place 3 of the hard table moves down one, its reserved byte stays; nothing else changes.
    Bytes esperado = ranking;
    std::copy_n(ranking.begin() + 176, 7, esperado.begin() + 184);
    pon_registro(esperado, 2, 2, 14550, "ZCB", 22);
    EXPECT_TRUE(espera_que(10, [&] { return lee(ruta) == esperado; }));
    ASSERT_TRUE(hasta_titulo());
    pulsa("Escape", 1000);
    EXPECT_EQ(j.espera_fin(10), 0);
}

INSTANTIATE_TEST_SUITE_P(Todos, PorMando,
                         ::testing::Values(Modo{true, {}}, Modo{false, {}}, Modo{false, {"-tbuf"}}),
                         [](const auto &i) {
                             return i.param.first            ? "Gamepad"
                                    : i.param.second.empty() ? "Keyboard"
                                                             : "KeyboardThreePages";
                         });

} // namespace
