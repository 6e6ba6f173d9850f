// Draws made-up screens from the built sheet and font the way the game draws them (cut with
// blit, sprites with draw_sprite, the truck mirrored, text in the font's colours or in 239/255),
// and saves them as BMP files for a person to look at:
//   arte_preview DATOS_DIR OUT_PREFIX   ->   OUT_PREFIX-juego.bmp, -fuego.bmp, -menu.bmp, ...
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

BITMAP *tiles[40];
BITMAP *sprites[29];
BITMAP *hud;
PALETTE pal;

BITMAP *cut(BITMAP *sheet, int x, int y, int w, int h) {
    BITMAP *b = create_bitmap(w, h);
    blit(sheet, b, x, y, 0, 0, w, h);
    return b;
}

// A roadside with a bit of each mood, and all road variants.
const int kMap[8][10] = {
    {0, 1, 0, 2, 1, 0, 1, 0, 1, 0},           {3, 4, 3, 3, 4, 3, 4, 3, 3, 4},
    {5, 11, 6, 12, 13, 7, 14, 8, 9, 10},      {16, 19, 15, 20, 21, 17, 22, 24, 18, 23},
    {26, 27, 26, 28, 37, 37, 26, 27, 26, 26}, {29, 31, 30, 32, 38, 38, 33, 29, 30, 34},
    {30, 29, 34, 30, 38, 38, 29, 31, 29, 30}, {35, 36, 35, 35, 39, 39, 35, 36, 35, 35}};

void road(BITMAP *page) {
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 10; ++c)
            blit(tiles[kMap[r][c]], page, 0, 0, 32 * c, 24 * r, 32, 24);
}

void panel(BITMAP *page, int puntos, int vidas) {
    blit(hud, page, 0, 0, 0, 192, 320, 48);
    textprintf_centre_ex(page, font, 160, 206, -1, -1, "PUNTOS:%5d VIDAS:%2d", puntos, vidas);
}

void object(BITMAP *page, int kind, int lane, int x) {
    draw_sprite(page, sprites[kind - 1], x, 72 + 24 * lane - 28);
}

void save(BITMAP *page, const std::string &name) {
    if (save_bitmap(name.c_str(), page, pal) != 0)
        std::fprintf(stderr, "cannot write %s\n", name.c_str());
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: arte_preview DATOS_DIR OUT_PREFIX\n");
        return 2;
    }
    const std::string datos = argv[1], out = argv[2];
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(8);
    BITMAP *sheet = load_bitmap((datos + "/imagen.bmp").c_str(), pal);
    DATAFILE *data = load_datafile((datos + "/font.dat").c_str());
    if (!sheet || !data) {
        std::fprintf(stderr, "cannot load the data from %s\n", datos.c_str());
        return 1;
    }
    FONT *const builtin = font; // the game's message line uses the library's own font
    font = static_cast<FONT *>(data[1].dat);
    for (int i = 0; i < 40; ++i)
        tiles[i] = cut(sheet, 32 * (i % 10), 424 + 24 * (i / 10), 32, 24);
    for (int i = 0; i < 8; ++i)
        sprites[i] = cut(sheet, 37 * i, 316, 37, 72);
    for (int i = 0; i < 5; ++i)
        sprites[8 + i] = cut(sheet, 46 * i, 388, 46, 36);
    for (int i = 0; i < 4; ++i)
        sprites[13 + i] = cut(sheet, 70 * i, 244, 70, 72);
    for (int i = 0; i < 6; ++i)
        sprites[17 + i] = cut(sheet, 50 * i, 122, 50, 122);
    for (int i = 0; i < 6; ++i)
        sprites[23 + i] = cut(sheet, 50 * i, 0, 50, 122);
    hud = cut(sheet, 0, 520, 320, 48);
    BITMAP *page = create_bitmap(320, 240);

    // Play: monsters in the lanes, remains just run over with a fresh splash, the truck in lane 2.
    road(page);
    object(page, 5, 0, 250);
    object(page, 6, 0, 150);
    object(page, 2, 1, 200);
    object(page, 7, 1, 280);
    object(page, 8, 2, 66);
    object(page, 1, 2, 170);
    object(page, 3, 3, 120);
    object(page, 4, 3, 230);
    draw_sprite_h_flip(page, sprites[8], 40, 120 + 9);
    draw_sprite(page, sprites[13], 66 - 40, 120 - 35);
    panel(page, 200, 5);
    textprintf_ex(page, builtin, 10, 10, 255, -1, "%s", "Sonando: carretera.mid");
    save(page, out + "-juego.bmp");

    // The same a moment later: the splash fading, the truck in lane 0 in another frame.
    road(page);
    object(page, 8, 0, 70);
    object(page, 8, 2, 20);
    object(page, 4, 1, 180);
    draw_sprite_h_flip(page, sprites[10], 40, 72 + 9);
    draw_sprite(page, sprites[15], 70 - 40, 72 - 35);
    panel(page, 12400, 3);
    save(page, out + "-carril0.bmp");

    // On fire in lane 3, flame frame 4.
    road(page);
    object(page, 1, 2, 200);
    draw_sprite(page, sprites[17 + 4], 40, 144 - 77);
    draw_sprite(page, sprites[17 + 4], 40 + 30, 144 - 77);
    panel(page, 99999, 0);
    save(page, out + "-fuego.bmp");

    // Difficulty menu: the heading and selection in the font's colours, the others in 255.
    clear_to_color(page, 0);
    textprintf_centre_ex(page, font, 160, 20, -1, -1, "SELECIONA LA DIFICULTAD");
    textprintf_centre_ex(page, font, 160, 80, 255, -1, "VOY DE PASEO");
    textprintf_centre_ex(page, font, 160, 120, -1, -1, "QUIERO JUGAR");
    textprintf_centre_ex(page, font, 160, 160, 255, -1, "SOY JODIDO");
    save(page, out + "-menu.bmp");

    // Game over: 239 text on a 255 background.
    clear_to_color(page, 255);
    textprintf_centre_ex(page, font, 160, 160, 239, -1, "GAME OVER");
    save(page, out + "-gameover.bmp");

    // A ranking table with a new record highlighted, and the initials entry.
    clear_to_color(page, 0);
    textprintf_centre_ex(page, font, 160, 5, -1, -1, "RANKING - QUIERO JUGAR");
    for (int r = 0; r < 10; ++r)
        textprintf_centre_ex(page, font, 160, 30 + 21 * r, r == 3 ? 239 : -1, -1, "%2d %6d %.3s",
                             r + 1, 50000 - 4000 * r, r == 3 ? "VZL" : "ABC");
    save(page, out + "-ranking.bmp");
    clear_to_color(page, 0);
    textprintf_centre_ex(page, font, 160, 10, -1, -1, "NUEVO RECORD");
    textprintf_centre_ex(page, font, 160, 70, -1, -1, "PUNTAJE");
    textprintf_centre_ex(page, font, 160, 90, -1, -1, "%d", 21345);
    textprintf_centre_ex(page, font, 160, 140, -1, -1, "INGRESA TUS INICIALES");
    textprintf_ex(page, font, 140, 160, -1, 0, "%c", 'Q');
    textprintf_ex(page, font, 153, 160, 239, 0, "%c", 'W');
    textprintf_ex(page, font, 166, 160, -1, 0, "%c", 'A');
    textprintf_centre_ex(page, font, 160, 200, -1, -1, "abcdefghijklm 0123456789");
    textprintf_centre_ex(page, font, 160, 218, -1, -1, "nopqrstuvwxyz !?.,:;-+");
    save(page, out + "-record.bmp");
    return 0;
}
END_OF_MAIN()
