// The settings file: wrong lines, the written defaults, remapped keys, the command line over the
// file, and the effects volume; and the gamepad's presses.
#include "entorno.h"
#include "assets/carga.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "frame/mandos.h"
#include "frame/paginas.h"
#include "menus/menus.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <tuple>

using namespace vz;

namespace {

struct Ajustes : ::testing::Test {
    std::vector<std::string> avisos;
    void lee(const std::string &texto) {
        ajustes = AJUSTES_DEFECTO;
        avisos.clear();
        interpreta_ajustes(texto, "f.cfg", ajustes, avisos);
    }
    void TearDown() override { ajustes = AJUSTES_DEFECTO; }
};

// Every setting not named in `cambios` must keep its default; each message starts as given.
TEST_F(Ajustes, EachWrongLineSaysWhereAndWhyAndLeavesItsDefault) {
    const struct {
        const char *texto;
        std::vector<std::string> avisos;
        std::vector<std::pair<int, int>> cambios;
    } casos[] = {
        {" Key_Down = s # any case\npad_up = 10\nFULLSCREEN = On\npad_horizontal_axes = 3, 4",
         {},
         {{TECLA + ABAJO, KEY_S}, {BOTON + ARRIBA, 10}, {COMPLETA, 1}, {EJES_H, 1 << 3 | 1 << 4}}},
        {"key_up = Nope\nscale = 5\nmusic_volume = -1\nfullscreen = maybe\npad_pause = 32\n"
         "pad_vertical_axes = 1 15",
         {"f.cfg:1: bad value \"Nope\" for key_up (a key name such as Up, W or F1); the default "
          "Up is used",
          "f.cfg:2: bad value \"5\" for scale (1 to 4, or auto); the default auto is used",
          "f.cfg:3: bad value", "f.cfg:4: bad value", "f.cfg:5: bad value", "f.cfg:6: bad value"},
         {}},
        {"foo = 3\neffects_volume 30\neffects_volume = 30\neffects_volume = 40",
         {"f.cfg:1: unknown setting \"foo\"; it is ignored",
          "f.cfg:2: not a \"name = value\" line; it is ignored",
          "f.cfg:4: effects_volume is given again (first on line 3); the default 100 is used"},
         {}},
        {"key_up = Space\nkey_pause = Q\nkey_quit = q\npad_quit = 0",
         {"f.cfg:1: key Space is taken by key_ranking (its default); the default Up is used",
          "f.cfg:3: key Q is taken by key_pause (line 2); the default Esc is used",
          "f.cfg:4: button 0 is taken by pad_confirm (its default); the default 6 is used"},
         {{TECLA + PAUSA, KEY_Q}}},
    };
    for (const auto &c : casos) {
        lee(c.texto);
        Valores esperado = AJUSTES_DEFECTO;
        for (auto [i, v] : c.cambios)
            esperado[i] = v;
        EXPECT_EQ(ajustes, esperado) << c.texto;
        ASSERT_EQ(avisos.size(), c.avisos.size()) << c.texto;
        for (size_t i = 0; i < avisos.size(); i++)
            EXPECT_EQ(avisos[i].rfind(c.avisos[i], 0), 0u) << avisos[i];
    }
}

TEST_F(Ajustes, TheWrittenFileReadsBackAsTheDefaultsAndIsNeverOverwritten) {
    char dir[] = "/tmp/vz-ajustes-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    setenv("XDG_CONFIG_HOME", dir, 1);
    ASSERT_EQ(escribe_ajustes(), 0);
    ajustes.fill(-2); // every setting must come from the file
    lee_ajustes();
    EXPECT_EQ(ajustes, AJUSTES_DEFECTO);
    std::ofstream(ruta_ajustes()) << "scale = 2\n";
    EXPECT_EQ(escribe_ajustes(), 1);
    lee_ajustes();
    EXPECT_EQ(ajustes[ESCALA], 2);
    std::filesystem::remove_all(dir);
}

// The difficulty menu reads keys through the actions: Enter and Esc stop working once moved.
TEST_F(Ajustes, RemappedKeysWorkAndTheOldOnesNoLonger) {
    const struct {
        const char *texto;
        std::initializer_list<int> teclas;
        int sel, cambnib;
    } casos[] = {{"", {KEY_UP, KEY_ENTER}, 0, 0},
                 {"key_up = W\nkey_confirm = Space\nkey_ranking = R",
                  {KEY_UP, KEY_ENTER, KEY_W, KEY_R, KEY_SPACE},
                  0,
                  0},
                 {"key_quit = Q", {KEY_ESC, KEY_DOWN, KEY_Q}, 2, 3}};
    active_page = create_bitmap(320, 240);
    for (const auto &c : casos) {
        lee(c.texto);
        cambnib = 0;
        prueba::guion_teclas(c.teclas);
        prueba::registro.clear();
        EXPECT_EQ(seleciona_dificultad(), c.sel) << c.texto;
        EXPECT_EQ(cambnib, c.cambnib) << c.texto;
        EXPECT_EQ(std::count_if(prueba::registro.begin(), prueba::registro.end(),
                                [](const std::string &l) { return l.rfind("tecla ", 0) == 0; }),
                  static_cast<long>(c.teclas.size()))
            << c.texto;
    }
    destroy_bitmap(active_page);
    lee("key_up = W");
    key[KEY_UP] = 1;
    EXPECT_FALSE(pulsada(ARRIBA));
    key[KEY_W] = 1;
    EXPECT_TRUE(pulsada(ARRIBA));
    key[KEY_UP] = 0;
    key[KEY_W] = 0;
}

// Options are matched exactly; a scale is one digit from 1 to 4 alone, the last one given counts;
// options win over the file. What each case sets: full screen, three pages, diagnostics, scale.
// Without a scale, the window's is the largest that keeps it within 85% of the desktop's height.
TEST_F(Ajustes, OptionsAreMatchedExactlyAndWinOverTheFile) {
    for (auto [alto, e] : {std::pair{564, 1}, {565, 2}, {1080, 3}, {1130, 4}})
        EXPECT_EQ(escala_por_defecto(alto), e) << alto;
    const std::tuple<const char *, const char *, const char *> casos[] = {
        {"", "-full -tbuf -info -3", "1 1 1 3"},
        {"", "-4 -1", "0 0 0 1"},
        {"", "-4", "0 0 0 4"},
        {"", "-FULL -tbuf2 info -5 -0 -12 --2", "0 0 0 0"},
        {"scale = 3\nfullscreen = yes", "", "1 0 0 3"},
        {"scale = 3\nfullscreen = yes", "-2 -window", "0 0 0 2"}};
    for (const auto &[texto, linea, esperado] : casos) {
        lee(texto);
        aplica_ajustes();
        triple_buffer = info = 0;
        std::istringstream in(linea);
        std::vector<std::string> args = {"vorkzel"};
        for (std::string a; in >> a;)
            args.push_back(a);
        std::vector<char *> argv;
        for (auto &a : args)
            argv.push_back(a.data());
        lee_opciones(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(std::to_string(autodetect_card == GFX_AUTODETECT_FULLSCREEN) + " " +
                      std::to_string(triple_buffer) + " " + std::to_string(info) + " " +
                      std::to_string(escala),
                  esperado)
            << texto << " | " << linea;
    }
    escala = 0;
}

// A pad's direction or button going down is one press of its action's key, and held for as long as
// it is; a stick counts past half its travel. The left stick down a quarter, half way, all the
// way; Start pressed with it, then alone, then let go.
TEST(Mando, AHeldPadIsOnePressAndAStickCountsPastHalfItsTravel) {
    num_joysticks = 1;
    joy[0].num_sticks = 1;
    joy[0].stick[0].num_axis = 2;
    joy[0].num_buttons = 8;
    std::string visto;
    for (auto [eje, start] : {std::pair{32, 0}, {64, 0}, {127, 0}, {100, 1}, {0, 1}, {0, 0}}) {
        joy[0].stick[0].axis[1].pos = eje;
        joy[0].button[7].b = start;
        lee_mando();
        visto += std::to_string(pulsada(ABAJO)) + std::to_string(pulsada(PAUSA));
        for (int k; keypressed();)
            visto += (k = readkey() >> 8) == KEY_DOWN ? " Down" : k == KEY_P ? " P" : " ?";
        visto += ",";
    }
    EXPECT_EQ(visto, "00,10 Down,10,11 P,01,00,");
    num_joysticks = 0;
}

// Unsigned samples: each value moves towards the middle of its range.
TEST_F(Ajustes, TheEffectsVolumeScalesTheLoadedSamples) {
    SAMPLE *const antes = sample[0];
    sample[0] = create_sample(8, 0, 22050, 2);
    std::copy_n("\x00\xff", 2, static_cast<char *>(sample[0]->data));
    ajustes[EFECTOS] = 50;
    atenua_efectos();
    EXPECT_EQ(std::string(static_cast<char *>(sample[0]->data), 2), "\x40\xbf");
    destroy_sample(sample[0]);
    sample[0] = antes;
}

} // namespace
