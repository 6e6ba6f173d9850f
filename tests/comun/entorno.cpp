#include "entorno.h"
#include <gtest/gtest.h>

namespace prueba {

namespace {

std::deque<int> guion;
std::function<void()> espera;
int leidas = 0;

// Scripted keys are only handed out by readkey(): clear_keybuf() drains whatever keypressed()
// reports, and the code under test empties the buffer before every read.
int hook_keypressed()
{
    if (espera) espera();
    return 0;
}

int hook_readkey()
{
    if (guion.empty()) {
        ADD_FAILURE() << "readkey() called with no scripted key left";
        return KEY_ENTER << 8; // end any menu instead of hanging the test
    }
    const int k = guion.front();
    guion.pop_front();
    leidas++;
    return k << 8;
}

class EntornoAllegro : public ::testing::Environment {
  public:
    void SetUp() override
    {
        // No display and no timer thread: tests drive `tick` themselves.
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        set_color_depth(8);
        install_keyboard_hooks(hook_keypressed, hook_readkey);
        // Silent drivers, so that samples can be played and adjusted.
        ASSERT_EQ(install_sound(DIGI_NONE, MIDI_NONE, nullptr), 0);
    }
};

const auto *registro = ::testing::AddGlobalTestEnvironment(new EntornoAllegro);

} // namespace

FONT *fuente_color()
{
    static FONT *hecha = nullptr;
    if (hecha != nullptr) return hecha;
    // The grid that grab_font_from_bitmap reads: boxes of 8 x 8 on colour 255, space to tilde.
    BITMAP *rejilla = create_bitmap(1 + 16 * 9, 1 + 6 * 9);
    clear_to_color(rejilla, 255);
    for (int c = 32; c < 127; c++) {
        const int bx = 1 + (c - 32) % 16 * 9, by = 1 + (c - 32) / 16 * 9;
        rectfill(rejilla, bx, by, bx + 7, by + 7, 0);
        textprintf_ex(rejilla, font, bx, by, 200, -1, "%c", c);
        // Two colours per glyph, or the library takes it for a one-colour font.
        for (int yy = by; yy < by + 4; yy++)
            for (int xx = bx; xx < bx + 8; xx++)
                if (getpixel(rejilla, xx, yy) == 200) putpixel(rejilla, xx, yy, 201);
    }
    hecha = grab_font_from_bitmap(rejilla);
    destroy_bitmap(rejilla);
    return hecha;
}

void guion_teclas(std::initializer_list<int> scancodes)
{
    guion.assign(scancodes.begin(), scancodes.end());
    leidas = 0;
}

void guion_teclas_mas(int scancode) { guion.push_back(scancode); }

void al_esperar(std::function<void()> f) { espera = std::move(f); }

int teclas_leidas() { return leidas; }

} // namespace prueba
