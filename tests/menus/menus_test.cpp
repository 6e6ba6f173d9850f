// The difficulty menu and the ranking file: where a total goes, how a record moves the rest down,
// and the initials entry.
#include "entorno.h"
#include "frame/arranque.h"
#include "frame/flujo.h"
#include "frame/paginas.h"
#include "frame/utilfun.h"
#include "game/mundo.h"
#include "menus/menus.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

using namespace vz;
namespace fs = std::filesystem;

namespace {

using Bloque = std::vector<unsigned char>;

// A record at p: the score, little-endian, then three initials.
void pon(unsigned char *p, uint32_t pts, const char *iniciales) {
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<unsigned char>(pts >> (8 * i));
    std::copy_n(iniciales, 3, p + 4);
}

// A full file: table d, place r holds score 1000 * (10 - r) + 100 * d, initials "<d><r>Z" and a
// reserved byte that tells where it was.
Bloque ranking_base() {
    Bloque b(TAM_RANKING);
    for (int k = 0; k < 30; k++) {
        const char iniciales[] = {static_cast<char>('A' + k / 10), static_cast<char>('0' + k % 10),
                                  'Z'};
        pon(&b[8 * k], 1000u * (10 - k % 10) + 100u * (k / 10), iniciales);
        b[8 * k + 7] = static_cast<unsigned char>(0xA0 + k);
    }
    return b;
}

// The file with a record of `total` and `iniciales` at place `lugar` of table `difi`: the places
// below move down one (score and initials; reserved bytes stay), place 10 drops.
Bloque con_registro(int difi, int lugar, uint32_t total, const char *iniciales) {
    Bloque b = ranking_base();
    unsigned char *t = &b[80 * difi];
    for (int r = 9; r > lugar; r--)
        std::copy_n(t + 8 * (r - 1), 7, t + 8 * r);
    pon(t + 8 * lugar, total, iniciales);
    return b;
}

Bloque lee() {
    std::ifstream in(ruta_ranking, std::ios::binary);
    return Bloque((std::istreambuf_iterator<char>(in)), {});
}

TEST(Ranking, TiesGoAboveAndTheRestMovesDownKeepingTheReservedBytes) {
    const struct {
        int difi;
        uint32_t total;
        int lugar;
    } casos[] = {{1, 99999, 0}, {1, 7100, 3}, {1, 7099, 4}, {1, 1100, 9},
                 {1, 1099, 10}, {0, 1000, 9}, {2, 0, 10}};
    for (const auto &c : casos) {
        Bloque b = ranking_base();
        EXPECT_EQ(posicion_ranking(b.data(), c.difi, c.total), c.lugar) << c.total;
        if (c.lugar == 10) continue;
        inserta_ranking(b.data(), c.difi, c.lugar, c.total, "QRS");
        EXPECT_EQ(b, con_registro(c.difi, c.lugar, c.total, "QRS")) << c.total;
    }
    Bloque b = ranking_base();
    b[80 + 3] = 0x80; // place 1 of table 1 holds 2^31 + 10100: above any total, unsigned
    EXPECT_EQ(posicion_ranking(b.data(), 1, 2000000000u), 1);
    // Initials move as a string of at most three: what follows a zero is not kept.
    b[80 + 8 * 5 + 5] = 0;
    inserta_ranking(b.data(), 1, 0, 50000, "AAA");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[80 + 8 * 6 + 4]), 3),
              std::string("B\0\0", 3));
}

struct Menus : ::testing::Test {
    fs::path antes = fs::current_path(),
             dir = fs::temp_directory_path() / ("vz-menus-" + std::to_string(getpid()));
    BITMAP *pagina = create_bitmap(320, 240);
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "datos");
        fs::current_path(dir);
        active_page = pagina;
        bg = -1;
        cambnib = salir = 0;
        max_fps = 0; // every wait ends at once
    }
    void TearDown() override {
        prueba::al_esperar(nullptr);
        destroy_bitmap(pagina);
        fs::current_path(antes);
        fs::remove_all(dir);
    }
};

TEST_F(Menus, KeysOrTheCloseButtonMoveTheSelectionWithWrapAndOnlyTheMainEnterOrEscEndIt) {
    // The close button's ESC can land just before the menu empties the key buffer and be emptied
    // too: the menu must end on the quit state itself, without waiting for a key.
    const auto cierra = [] {
        if (cambnib == 3) return;
        close_hook();
        clear_keybuf();
    };
    const struct {
        std::vector<int> teclas;
        int eleccion, cambnib;
        void (*espera)();
    } casos[] = {{{KEY_ENTER}, 1, 0, nullptr},
                 {{KEY_UP, KEY_ENTER}, 0, 0, nullptr},
                 {{KEY_UP, KEY_UP, KEY_ENTER}, 2, 0, nullptr},
                 {{KEY_DOWN, KEY_DOWN, KEY_ENTER}, 0, 0, nullptr},
                 {{KEY_DOWN, KEY_ESC}, 2, 3, nullptr},
                 {{KEY_ENTER_PAD, KEY_SPACE, KEY_UP, KEY_ENTER_PAD, KEY_ENTER}, 0, 0, nullptr},
                 {{}, 1, 3, cierra}};
    for (const auto &c : casos) {
        cambnib = 0;
        prueba::al_esperar(c.espera);
        prueba::guion_teclas({});
        for (int k : c.teclas)
            prueba::guion_teclas_mas(k);
        EXPECT_EQ(seleciona_dificultad(), c.eleccion) << c.teclas.size() << " keys";
        EXPECT_EQ(cambnib, c.cambnib);
        EXPECT_EQ(prueba::teclas_leidas(), static_cast<int>(c.teclas.size()));
    }
}

TEST_F(Menus, EditedInitialsAreWrittenInTheirPlaceAndATotalBelowPlaceTenWritesNothing) {
    const Bloque base = ranking_base();
    std::ofstream(ruta_ranking, std::ios::binary)
        .write(reinterpret_cast<const char *>(base.data()), TAM_RANKING);
    const auto fecha = fs::last_write_time(ruta_ranking);
    difi = 1;
    puntos = 1099;
    prueba::guion_teclas({});
    escriveranking();
    EXPECT_EQ(prueba::teclas_leidas(), 0);
    EXPECT_EQ(lee(), base);
    EXPECT_EQ(fs::last_write_time(ruta_ranking), fecha);

    difi = 2;
    puntos = 8200; // equal to place 3 of table 2
    // B (up), Z (down from A, on the second), then A again (down, up) on the third.
    prueba::guion_teclas({KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_ESC, KEY_ENTER, KEY_DOWN,
                          KEY_UP, KEY_RIGHT, KEY_RIGHT, KEY_ENTER});
    escriveranking();
    EXPECT_EQ(prueba::teclas_leidas(), 11);
    EXPECT_EQ(lee(), con_registro(2, 2, 8200, "BZA"));
}

} // namespace
