// sonda: checks the Windows libraries before the game is built against them.
//
//   sonda.exe [SECONDS]
//
// Starts the library as the game does (keyboard, timer, DirectX sound, an 8-bit window), plays a
// tone, opens an MP3 decoder, prints every key it reads and returns from main after ESC or after
// SECONDS (default 5), leaving the library's shutdown to its exit handler, as the game does.
#include <allegro.h>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mpg123.h>

static std::atomic<int> ticks = 0;
static void cuenta() { ticks++; }
END_OF_FUNCTION(cuenta)

int main(int argc, char **argv)
{
    const int segundos = argc > 1 ? std::atoi(argv[1]) : 5;
    setvbuf(stdout, nullptr, _IONBF, 0);
    install_allegro(SYSTEM_AUTODETECT, &errno, atexit);
    std::printf("keyboard %d\n", install_keyboard());
    std::printf("timer %d\n", install_timer());
    set_color_depth(8);
    const int gfx = set_gfx_mode(GFX_AUTODETECT_WINDOWED, 320, 240, 0, 0);
    std::printf("gfx %d %s\n", gfx, gfx ? allegro_error : gfx_driver->name);
    set_window_title("sonda");
    const int snd = install_sound(DIGI_DIRECTX(0), MIDI_AUTODETECT, "a");
    std::printf("sound %d %s / %s\n", snd, digi_driver->name, snd ? allegro_error : midi_driver->name);

    int err = mpg123_init();
    mpg123_handle *mh = mpg123_new(nullptr, &err);
    std::printf("mpg123 %s\n", mh ? mpg123_current_decoder(mh) : mpg123_plain_strerror(err));
    mpg123_delete(mh);

    // Half a second of 440 Hz, a quarter of full scale.
    SAMPLE *tono = create_sample(16, 0, 22050, 11025);
    for (int i = 0; i < 11025; i++)
        static_cast<unsigned short *>(tono->data)[i] = 32768 + static_cast<int>(8192 * std::sin(i * 2 * 3.14159265 * 440 / 22050));
    play_sample(tono, 255, 128, 1000, 0);

    PALETTE grises;
    for (int c = 0; c < 256; c++) grises[c].r = grises[c].g = grises[c].b = static_cast<unsigned char>(c / 4);
    set_palette(grises);
    for (int y = 0; y < 240; y++) hline(screen, 0, y, 319, y);
    textout_ex(screen, font, "sonda", 8, 8, 255, -1);

    install_int_ex(cuenta, BPS_TO_TIMER(100));
    std::printf("ready\n");
    while (ticks < 100 * segundos) {
        if (keypressed()) {
            const int k = readkey();
            std::printf("key %d %d\n", k >> 8, k & 0xff);
            if (k >> 8 == KEY_ESC) break;
        }
        rest(5);
    }
    std::printf("ticks %d\nend\n", ticks.load());
    destroy_sample(tono);
    return 0;
}
END_OF_MAIN()
