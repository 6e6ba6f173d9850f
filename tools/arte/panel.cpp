// The score panel under the road, 320 x 48: a steel dashboard with a dark recessed display where
// the game prints "PUNTOS:%5d VIDAS:%2d" centred at x 160, top at panel row 14 (about 273 x 16).
#include "art.h"
#include "paint.h"

namespace arte {

namespace {

constexpr int kScreenX0 = 16, kScreenX1 = 303; // the display, with its bevel
constexpr int kScreenY0 = 9, kScreenY1 = 35;

void rivet(Image &img, const Palette &pal, int x, int y) {
    img.set(x, y, pal.ramp("steel", 13));
    img.set(x + 1, y, pal.ramp("steel", 9));
    img.set(x, y + 1, pal.ramp("steel", 9));
    img.set(x + 1, y + 1, pal.ramp("steel", 2));
}

void lamp(Image &img, const Palette &pal, int cx, int cy, const char *ramp, int lit) {
    Painter p(img, pal);
    p.paint(circle(cx + 0.5f, cy + 0.5f, 2.6f), p.style(ramp, lit - 5, lit, 2, 1));
    img.set(cx - 1, cy - 1, pal.ramp("grey", 15));
}

} // namespace

Image make_panel(const Palette &pal) {
    Image img(kPanelW, kPanelH);
    // Brushed steel: faint horizontal streaks.
    for (int y = 0; y < kPanelH; ++y)
        for (int x = 0; x < kPanelW; ++x) {
            const float n = value_noise(x * 0.15f, float(y), 1.0f, 77) + 0.3f * hash01(x, y, 78);
            img.set(x, y, pal.ramp("steel", n > 0.95f ? 6 : (n > 0.55f ? 5 : 4)));
        }
    for (int x = 0; x < kPanelW; ++x) {
        img.set(x, 0, pal.ramp("grey", 1));
        img.set(x, 1, pal.ramp("steel", 12));
        img.set(x, 2, pal.ramp("steel", 9));
        img.set(x, kPanelH - 2, pal.ramp("steel", 3));
        img.set(x, kPanelH - 1, pal.ramp("steel", 1));
    }
    for (int y = 1; y < kPanelH - 1; ++y) {
        img.set(0, y, pal.ramp("steel", 10));
        img.set(kPanelW - 1, y, pal.ramp("steel", 2));
    }
    // The recessed display: dark rim on the top and left, lit rim on the bottom and right.
    for (int y = kScreenY0; y <= kScreenY1; ++y)
        for (int x = kScreenX0; x <= kScreenX1; ++x) {
            int c;
            if (y == kScreenY0 || x == kScreenX0)
                c = pal.ramp("steel", 1);
            else if (y == kScreenY1 || x == kScreenX1)
                c = pal.ramp("steel", 10);
            else if (y == kScreenY0 + 1 || x == kScreenX0 + 1)
                c = pal.ramp("grey", 1);
            else
                c = (y % 2) ? pal.ramp("night", 1) : pal.ramp("night", 2); // faint scan lines
            img.set(x, y, c);
        }
    // A soft reflection in the top right corner of the glass.
    for (int i = 0; i < 14; ++i)
        img.set(kScreenX1 - 18 + i, kScreenY0 + 3 + i / 5, pal.ramp("night", 4));
    // Warning lamps at both ends, vents and rivets below.
    lamp(img, pal, 7, 14, "blood", 12);
    lamp(img, pal, 7, 22, "gold", 13);
    lamp(img, pal, 7, 30, "green", 12);
    lamp(img, pal, 311, 14, "blood", 12);
    lamp(img, pal, 311, 22, "gold", 13);
    lamp(img, pal, 311, 30, "green", 12);
    for (int k = 0; k < 12; ++k) {
        const int x = 112 + k * 8;
        for (int y = 39; y <= 43; ++y) {
            img.set(x, y, pal.ramp("steel", 1));
            img.set(x + 1, y, pal.ramp("steel", 1));
            img.set(x + 2, y, pal.ramp("steel", 9));
        }
    }
    for (int x : {4, 40, 76, 240, 276, 314})
        rivet(img, pal, x, 40);
    rivet(img, pal, 4, 4);
    rivet(img, pal, 314, 4);
    return img;
}

} // namespace arte
