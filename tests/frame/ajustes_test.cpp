// The settings file: wrong lines, the written defaults, remapped keys, the command line over the
// file, and the effects volume.
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

TEST_F(Ajustes, CommandLineOptionsWinOverTheFile) {
    const struct {
        const char *texto;
        std::vector<const char *> args;
        int escala, card;
    } casos[] = {
        {"scale = 3\nfullscreen = yes", {"vorkzel"}, 3, GFX_AUTODETECT_FULLSCREEN},
        {"scale = 3\nfullscreen = yes", {"vorkzel", "-2", "-window"}, 2, GFX_AUTODETECT_WINDOWED},
        {"", {"vorkzel", "-full"}, 0, GFX_AUTODETECT_FULLSCREEN}};
    for (const auto &c : casos) {
        lee(c.texto);
        aplica_ajustes();
        lee_opciones(static_cast<int>(c.args.size()), const_cast<char **>(c.args.data()));
        EXPECT_EQ(escala, c.escala) << c.texto;
        EXPECT_EQ(autodetect_card, c.card) << c.texto;
    }
    escala = 0;
}

// Unsigned samples: each value moves towards the middle of its range.
TEST_F(Ajustes, TheEffectsVolumeScalesTheLoadedSamples) {
    SAMPLE *const antes = sample[0];
    sample[0] = create_sample(8, 0, 22050, 2);
    std::copy_n("\x00\xff", 2, static_cast<char *>(sample[0]->data));
    ajustes[EFECTOS] = 50;
    atenua_efectos();
    EXPECT_EQ(static_cast<unsigned char *>(sample[0]->data)[0], 64);
    EXPECT_EQ(static_cast<unsigned char *>(sample[0]->data)[1], 191);
    destroy_sample(sample[0]);
    sample[0] = antes;
}

} // namespace
