// The settings file: wrong lines, the written defaults, remapped keys and buttons, and the
// command line over the file.
#include "entorno.h"
#include "frame/arranque.h"
#include "frame/escala.h"
#include "frame/flujo.h"
#include "frame/lugares.h"
#include "frame/mandos.h"
#include "frame/paginas.h"
#include "menus/menus.h"
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

TEST_F(Ajustes, AWrongLineSaysWhereAndWhyAndLeavesTheDefault) {
    const struct {
        const char *texto, *aviso; // the one message expected ("" for none)
        int ajuste, valor;
    } casos[] = {
        {" Key_Down = s # lower case, a comment", "", TECLA + ABAJO, KEY_S},
        {"pad_up = 10\nscale=3\nFULLSCREEN = On", "", BOTON + ARRIBA, 10},
        {"pad_horizontal_axes = 3, 4", "", EJES_H, 1 << 3 | 1 << 4},
        {"\n\nkey_up = Nope",
         "f.cfg:3: bad value \"Nope\" for key_up (a key name such as Up, W or "
         "F1); the default Up is used",
         TECLA + ARRIBA, KEY_UP},
        {"scale = 5",
         "f.cfg:1: bad value \"5\" for scale (1 to 4, or auto); the default auto is used", ESCALA,
         0},
        {"music_volume = -1", "bad value", MUSICA, 100},
        {"fullscreen = maybe", "bad value", COMPLETA, 0},
        {"pad_pause = 32", "bad value", BOTON + PAUSA, 7},
        {"pad_vertical_axes = 1 15", "bad value", EJES_V, 1 << 1 | 1 << 7},
        {"foo = 3", "f.cfg:1: unknown setting \"foo\"; it is ignored", EFECTOS, 100},
        {"effects_volume 30", "f.cfg:1: not a \"name = value\" line; it is ignored", EFECTOS, 100},
        {"effects_volume = 30\neffects_volume = 40",
         "f.cfg:2: effects_volume is given again (first on line 1); the default 100 is used",
         EFECTOS, 100},
        {"key_up = P", "f.cfg:1: key P is taken by key_pause (its default); the default Up is used",
         TECLA + ARRIBA, KEY_UP},
        {"key_pause = Q\nkey_quit = q",
         "f.cfg:2: key Q is taken by key_pause (line 1); the default Esc is used", TECLA + SALE,
         KEY_ESC},
        {"pad_quit = 0",
         "f.cfg:1: button 0 is taken by pad_confirm (its default); the default 6 is "
         "used",
         BOTON + SALE, 6},
    };
    for (const auto &c : casos) {
        lee(c.texto);
        EXPECT_EQ(ajustes[c.ajuste], c.valor) << c.texto;
        ASSERT_EQ(avisos.size(), *c.aviso ? 1u : 0u) << c.texto;
        if (*c.aviso) {
            EXPECT_NE(avisos[0].find(c.aviso), std::string::npos) << avisos[0];
        }
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
        EXPECT_EQ(seleciona_dificultad(), c.sel) << c.texto;
        EXPECT_EQ(cambnib, c.cambnib) << c.texto;
        EXPECT_EQ(prueba::teclas_leidas(), static_cast<int>(c.teclas.size())) << c.texto;
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

TEST_F(Ajustes, PadButtonsByTheSettingsAndAxesPastHalfTheirTravel) {
    JOYSTICK_INFO p{};
    p.num_sticks = 4;
    p.num_buttons = 11;
    for (auto &s : p.stick)
        s.num_axis = 2;
    const struct {
        int boton, eje, pos;
        unsigned ignorados, acciones;
    } casos[] = {{7, -1, 0, 0, 1 << PAUSA},
                 {0, -1, 0, 0, 1 << CONFIRMA},
                 {10, -1, 0, 0, 0},
                 {-1, 7, -64, 0, 1 << ARRIBA},
                 {-1, 7, -63, 0, 0},
                 {-1, 1, 127, 0, 1 << ABAJO},
                 {-1, 6, 64, 0, 1 << DERECHA},
                 {-1, 0, -90, 0, 1 << IZQUIERDA},
                 {-1, 2, -127, 0, 0},
                 {-1, 1, -127, 1 << 1, 0}};
    for (const auto &c : casos) {
        if (c.boton >= 0) p.button[c.boton].b = 1;
        if (c.eje >= 0) p.stick[c.eje / 2].axis[c.eje % 2].pos = c.pos;
        EXPECT_EQ(estado_mando(p, c.ignorados), c.acciones) << c.boton << " " << c.eje;
        if (c.boton >= 0) p.button[c.boton].b = 0;
        if (c.eje >= 0) p.stick[c.eje / 2].axis[c.eje % 2].pos = 0;
    }
    lee("pad_up = 10\npad_pause = none");
    p.button[10].b = p.button[7].b = 1;
    EXPECT_EQ(estado_mando(p, 0), 1u << ARRIBA);
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

} // namespace
