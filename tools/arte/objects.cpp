// The eight level objects, 37 x 72 each, standing on the cell's bottom rows like the truck's
// wheels on the road: five monsters (they face left, towards the oncoming truck), the burning
// barrel, the money bag and the flattened remains of a monster that was run over.
#include "art.h"
#include "paint.h"

#include <cmath>

namespace arte {

namespace {

// A round eye: white, an iris of `ramp`, a pupil looking left, a glint.
void eye(Image &img, const Palette &pal, float cx, float cy, float r, const char *ramp, int lvl) {
    Painter p(img, pal);
    p.paint(circle(cx, cy, r), p.style("grey", 12, 15, r, 1));
    p.flat(circle(cx - r * 0.35f, cy + 0.2f, r * 0.55f), pal.ramp(ramp, lvl));
    p.flat(circle(cx - r * 0.45f, cy + 0.2f, r * 0.25f), pal.ramp("grey", 1));
    img.set(static_cast<int>(cx - r * 0.1f), static_cast<int>(cy - r * 0.45f),
            pal.ramp("grey", 15));
}

Image zombie(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    const Style skin = p.style("rotten", 4, 12, 3, 0);
    const Style pants = p.style("brown", 2, 7, 3, 0);
    const Style shirt = p.style("steel", 3, 10, 4, 0);
    // Back arm first, then legs, body, front arm, head: later parts are outlined over earlier ones.
    p.paint(capsule(21, 35, 9, 40, 2.6f, 2.2f), skin);
    p.paint(capsule(8, 40, 4, 41, 1.8f), skin);
    p.paint(capsule(20, 50, 25, 67, 3.2f, 2.8f), pants);
    p.paint(capsule(16, 50, 12, 67, 3.2f, 2.8f), pants);
    p.paint(ellipse(11, 68.5f, 4.5f, 2.5f), p.style("grey", 1, 4, 2, 0));
    p.paint(ellipse(25, 68.5f, 4.5f, 2.5f), p.style("grey", 1, 4, 2, 0));
    p.paint(capsule(12, 66, 11, 69, 1.2f), skin); // a bare shin through a torn trouser leg
    Sdf torso = polygon(
        {{11, 32}, {25, 31}, {27, 45}, {25, 52}, {23, 49}, {20, 53}, {17, 49}, {14, 53}, {11, 48}});
    p.paint(torso, shirt);
    p.flat(polygon({{20, 38}, {23, 37}, {22, 43}, {19, 42}}),
           pal.ramp("rotten", 3)); // hole in shirt
    img.set(21, 40, pal.ramp("blood", 5));
    p.paint(capsule(14, 34, 5, 37, 2.8f, 2.3f), shirt); // sleeve
    p.paint(capsule(6, 37, 4.0f, 37, 2.0f), skin);
    p.paint(capsule(3.5f, 35.5f, 2.4f, 34.5f, 0.7f), skin); // fingers
    p.paint(capsule(3.5f, 38.5f, 2.4f, 39.5f, 0.7f), skin);
    // Head, tilted forward, with a lolling jaw.
    p.paint(ellipse(16, 25, 6.5f, 7.5f), skin);
    p.paint(ellipse(14, 31.5f, 4.5f, 2.5f), p.style("rotten", 3, 9, 2, 0));
    for (int x = 11; x <= 17; x += 2)
        img.set(x, 30, pal.ramp("grey", 14)); // teeth
    p.flat(box(11, 31, 17, 31), pal.ramp("blood", 2));
    eye(img, pal, 13, 23.5f, 2.6f, "blood", 9);
    p.flat(circle(19, 23.5f, 1.7f), pal.ramp("rotten", 1)); // empty socket
    img.set(17, 18, pal.ramp("grey", 3));                   // a few hairs
    img.set(19, 17, pal.ramp("grey", 3));
    img.set(20, 18, pal.ramp("grey", 3));
    img.set(18, 28, pal.ramp("rotten", 3)); // stitches
    img.set(19, 27, pal.ramp("rotten", 3));
    return img;
}

Image goblin(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    const Style skin = p.style("green", 3, 13, 3, 0);
    p.paint(capsule(21, 56, 24, 66, 2.6f, 2.2f), skin);
    p.paint(capsule(16, 56, 12, 66, 2.6f, 2.2f), skin);
    p.paint(ellipse(10, 68.5f, 4.5f, 2.5f), skin); // big bare feet
    p.paint(ellipse(25, 68.5f, 4.0f, 2.5f), skin);
    p.paint(ellipse(18, 50, 8, 8), skin); // pot belly
    p.paint(polygon({{9, 50}, {27, 50}, {26, 58}, {22, 56}, {18, 60}, {14, 56}, {10, 58}}),
            p.style("brown", 2, 8, 2, 0)); // loincloth
    p.flat(box(9, 50, 27, 51), pal.ramp("brown", 2));
    // Arm raising a spiked club.
    p.paint(capsule(25, 46, 30, 38, 2.2f), skin);
    p.paint(capsule(30, 38, 26, 22, 1.4f, 3.6f), p.style("brown", 2, 9, 3, 0));
    for (int i = 0; i < 3; ++i) {
        const float y = 24.0f + i * 4.0f;
        p.paint(capsule(29.5f, y, 33, y - 1.5f, 0.6f, 0.2f), p.style("grey", 8, 14, 1, 2));
    }
    p.paint(capsule(12, 45, 7, 51, 2.2f), skin);
    // Head with long ears, a big nose and a grin.
    p.paint(polygon({{12, 36}, {2.5f, 30}, {5.5f, 35}, {11, 41}}), skin);
    p.paint(polygon({{24, 36}, {34, 29}, {31, 35}, {25, 41}}), skin);
    p.paint(ellipse(18, 38, 8, 7), skin);
    p.paint(ellipse(11, 40, 3.5f, 2.5f), p.style("green", 4, 12, 2, 0));
    eye(img, pal, 15, 35.5f, 2.3f, "gold", 11);
    eye(img, pal, 21, 35.5f, 2.3f, "gold", 11);
    p.flat(polygon({{12, 42}, {24, 41}, {22, 45}, {14, 45}}), pal.ramp("blood", 2));
    for (int x = 14; x <= 22; x += 2)
        img.set(x, 42, pal.ramp("grey", 14));
    img.set(17, 44, pal.ramp("grey", 14));
    return img;
}

Image rat(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    const Style fur = p.style("brown", 2, 9, 4, 0);
    const Style pink = p.style("flesh", 5, 12, 2, 0);
    // Tail curling up behind.
    p.paint(capsule(24, 62, 32, 60, 1.6f, 1.3f), pink);
    p.paint(capsule(32, 60, 34, 50, 1.3f, 1.0f), pink);
    p.paint(capsule(34, 50, 30, 45, 1.0f, 0.7f), pink);
    p.paint(ellipse(21, 62, 7, 6), fur); // haunch
    p.paint(ellipse(13, 69, 6, 2.2f), pink);
    p.paint(ellipse(25, 69, 5, 2.2f), pink);
    p.paint(capsule(15, 62, 14, 67, 2.6f, 2.0f), fur);
    p.paint(ellipse(19, 49, 8.5f, 12), fur);                           // body
    p.paint(ellipse(16, 51, 4.5f, 8), p.style("brown", 6, 12, 3, -1)); // lighter belly
    p.paint(capsule(14, 45, 7, 48, 1.8f), fur);                        // forepaws held up
    p.paint(capsule(7, 48, 5, 46, 1.2f), pink);
    p.paint(capsule(19, 45, 11, 50, 1.8f), fur);
    p.paint(capsule(11, 50, 9, 49, 1.2f), pink);
    // Head with a long snout to the left.
    p.paint(ellipse(24, 29, 4, 5), p.style("brown", 2, 9, 3, 0));
    p.flat(ellipse(24, 29.5f, 2, 3), pal.ramp("flesh", 7));
    p.paint(unite(ellipse(19, 35, 7, 6), capsule(18, 35, 6, 38, 5, 2)), fur);
    p.paint(circle(5, 37.5f, 1.8f), p.style("flesh", 3, 9, 1, 0)); // nose
    p.flat(box(8, 40, 10, 43), pal.ramp("grey", 15));              // buck teeth
    img.set(9, 40, pal.ramp("grey", 11));
    img.set(9, 41, pal.ramp("grey", 11));
    img.set(9, 42, pal.ramp("grey", 11));
    img.set(9, 43, pal.ramp("grey", 11));
    p.flat(circle(15, 33.5f, 1.8f), pal.ramp("blood", 10)); // red eye
    img.set(15, 33, pal.ramp("grey", 15));
    for (int i = 0; i < 3; ++i)
        img.set(2 + i, 35 + i * 2, pal.ramp("grey", 10)); // whiskers
    img.set(1, 35, pal.ramp("grey", 10));
    img.set(1, 40, pal.ramp("grey", 10));
    return img;
}

Image slime(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    const Style goo = p.style("teal", 3, 13, 7, 0);
    Sdf body = blend(capsule(18, 30, 18, 60, 8, 11), ellipse(18, 66, 13.5f, 5.0f), 4.0f);
    body = blend(body, circle(18, 24, 7), 3.0f);
    body = unite(body, capsule(8, 44, 5, 50, 2.0f, 1.2f)); // a drip running down
    p.paint(body, goo);
    // Bubbles and a swallowed skull inside.
    p.paint(circle(23, 55, 3.5f), p.style("stone", 9, 14, 3, -1));
    img.set(22, 55, pal.ramp("teal", 2));
    img.set(24, 55, pal.ramp("teal", 2));
    p.paint(circle(13, 58, 1.8f), p.style("teal", 9, 15, 2, 4));
    p.paint(circle(21, 44, 1.3f), p.style("teal", 9, 15, 2, 4));
    p.paint(circle(11, 36, 1.0f), p.style("teal", 9, 15, 2, 4));
    // Three eyes and a drooling mouth.
    eye(img, pal, 13, 26, 3.0f, "blood", 9);
    eye(img, pal, 21, 24, 2.4f, "blood", 9);
    eye(img, pal, 17, 31.5f, 1.8f, "blood", 9);
    p.flat(ellipse(14, 38, 5, 2.2f), pal.ramp("teal", 1));
    img.set(11, 37, pal.ramp("grey", 14));
    img.set(16, 37, pal.ramp("grey", 14));
    return img;
}

Image imp(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    const Style skin = p.style("blood", 4, 12, 3, 1);
    const Style wing = p.style("bruise", 1, 6, 3, 0);
    // Bat wings behind.
    p.paint(polygon({{22, 40}, {33, 26}, {34.5f, 34}, {32, 33}, {31, 40}, {29, 38}, {27, 45}}),
            wing);
    p.paint(polygon({{15, 40}, {5, 28}, {2, 36}, {5, 35}, {6, 41}, {9, 40}, {11, 46}}), wing);
    // Tail with an arrow tip.
    p.paint(capsule(23, 58, 31, 62, 1.2f), skin);
    p.paint(capsule(31, 62, 32.5f, 55, 1.1f), skin);
    p.paint(polygon({{32.5f, 51}, {34.5f, 56}, {30.5f, 56}}), skin);
    p.paint(capsule(20, 56, 23, 66, 2.4f, 1.8f), skin);
    p.paint(capsule(16, 56, 13, 66, 2.4f, 1.8f), skin);
    p.paint(polygon({{8, 70}, {12, 64}, {15, 70}}), p.style("grey", 2, 6, 2, 0)); // hooves
    p.paint(polygon({{21, 70}, {24, 64}, {27, 70}}), p.style("grey", 2, 6, 2, 0));
    p.paint(ellipse(18, 49, 7, 9), skin);
    // Pitchfork held across.
    p.paint(capsule(4.5f, 30, 9, 64, 0.9f), p.style("brown", 3, 9, 1, 0));
    p.paint(unite(capsule(2.6f, 27, 6.6f, 26.3f, 0.8f),
                  unite(capsule(2.6f, 27, 2.6f, 21, 0.6f),
                        unite(capsule(4.6f, 26.6f, 4.6f, 20, 0.6f),
                              capsule(6.6f, 26.3f, 6.6f, 20.5f, 0.6f)))),
            p.style("grey", 7, 14, 1, 1));
    p.paint(capsule(13, 44, 6, 47, 2.0f), skin);
    p.paint(circle(6, 47, 1.9f), skin);
    // Head with horns.
    p.paint(polygon({{12, 30}, {8, 20}, {15, 27}}), p.style("stone", 8, 14, 2, 1));
    p.paint(polygon({{20.5f, 29}, {27, 19.5f}, {25, 29}}), p.style("stone", 8, 14, 2, 1));
    p.paint(ellipse(18, 34, 7, 6.5f), skin);
    p.paint(polygon({{9, 34}, {12, 32}, {13, 37}}), skin); // pointed ear
    eye(img, pal, 15, 33, 2.0f, "gold", 12);
    eye(img, pal, 20, 33, 2.0f, "gold", 12);
    p.flat(polygon({{13, 37}, {22, 37}, {17, 40}}), pal.ramp("blood", 1)); // grin
    img.set(14, 37, pal.ramp("grey", 15));
    img.set(21, 37, pal.ramp("grey", 15));
    return img;
}

// Fire for the barrel: tongues licking up from its lid.
void small_fire(Image &img, const Palette &pal, float cx, float base, float h) {
    Painter p(img, pal);
    const int lv[4] = {5, 8, 11, 14};
    for (int layer = 0; layer < 4; ++layer) {
        const float s = 1.0f - layer * 0.22f;
        Sdf f = blend(ellipse(cx, base - 3 * s, 7 * s, 4 * s),
                      capsule(cx - 1, base - 4, cx - 3 * s, base - h * s, 4 * s, 0.4f), 2.0f);
        f = blend(f, capsule(cx + 3 * s, base - 4, cx + 5 * s, base - h * 0.7f * s, 3 * s, 0.3f),
                  1.5f);
        f = blend(f,
                  capsule(cx - 4 * s, base - 3, cx - 7 * s, base - h * 0.55f * s, 2.5f * s, 0.3f),
                  1.5f);
        p.flat(f, pal.ramp("fire", lv[layer]));
    }
}

Image barrel(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    small_fire(img, pal, 18, 47, 26);
    p.paint(box(7, 46, 29, 70, 3), p.style("blood", 4, 11, 6, 1));
    for (int y : {52, 64}) // hoops
        p.paint(box(6, y, 30, y + 1, 0.5f), p.style("grey", 4, 10, 1, 1));
    p.paint(ellipse(18, 47, 11, 2.2f), p.style("blood", 2, 7, 2, 1)); // lid rim
    // Hazard label: a yellow diamond with a flame mark.
    p.paint(polygon({{18, 53}, {24, 58.5f}, {18, 64}, {12, 58.5f}}), p.style("gold", 9, 13, 2, 2));
    p.flat(polygon({{18, 55.5f}, {20, 59.5f}, {18, 61.5f}, {16, 59.5f}}), pal.ramp("grey", 2));
    // A lick of flame escaping from a dent.
    img.set(30, 58, pal.ramp("fire", 10));
    img.set(31, 57, pal.ramp("fire", 8));
    return img;
}

Image bag(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    const Style sack = p.style("brown", 4, 13, 7, 0);
    p.paint(unite(ellipse(18, 61, 12, 10),
                  polygon({{12, 52}, {24, 52}, {26, 47}, {21, 49}, {18, 45}, {15, 49}, {10, 47}})),
            sack);
    p.paint(box(12, 50, 24, 52, 1), p.style("gold", 4, 10, 1, 1)); // cord
    p.paint(capsule(23, 51, 27, 55, 0.6f), p.style("gold", 4, 10, 1, 1));
    // A gold dollar sign.
    const int g = pal.ramp("gold", 12), gd = pal.ramp("gold", 6);
    const char *sign[] = {"..##..", ".####.", "##.#..", "##.#..", ".####.",
                          "..#.##", "..#.##", ".####.", "..##.."};
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 6; ++c)
            if (sign[r][c] == '#') {
                img.set(15 + c + 1, 57 + r + 1, gd);
                img.set(15 + c, 57 + r, g);
            }
    // Coins spilled at the foot, and the glint.
    p.paint(ellipse(31, 69, 3, 1.5f), p.style("gold", 6, 14, 1.5f, 2));
    p.paint(ellipse(5, 70, 2.5f, 1.2f), p.style("gold", 6, 14, 1.5f, 2));
    const int w = pal.ramp("grey", 15), s = pal.ramp("gold", 14);
    for (int d = -4; d <= 4; ++d) {
        img.set(10 + d, 54, std::abs(d) < 2 ? w : s);
        img.set(10, 54 + d, std::abs(d) < 2 ? w : s);
    }
    img.set(9, 53, s);
    img.set(11, 55, s);
    img.set(11, 53, s);
    img.set(9, 55, s);
    img.set(27, 43, w);
    img.set(26, 43, s);
    img.set(28, 43, s);
    img.set(27, 42, s);
    img.set(27, 44, s);
    return img;
}

// What a run-over monster leaves: a flat heap of goo and bits, tyre prints across it.
Image remains(const Palette &pal) {
    Image img(kObjectW, kObjectH);
    Painter p(img, pal);
    Sdf heap = blend(ellipse(18, 67, 14.5f, 3.8f), ellipse(14, 64.5f, 7, 3), 2.0f);
    heap = unite(heap, circle(3.5f, 69.5f, 1.0f));
    p.paint(heap, p.style("goo", 3, 10, 3, 0));
    p.paint(ellipse(24, 67, 6, 2), p.style("blood", 3, 9, 2, -1));
    p.paint(capsule(6, 66, 12, 64, 1.0f), p.style("stone", 9, 14, 1, 2)); // a bone
    p.paint(circle(5.5f, 66.5f, 1.2f), p.style("stone", 9, 14, 1, 2));
    p.paint(circle(12.5f, 63.5f, 1.2f), p.style("stone", 9, 14, 1, 2));
    eye(img, pal, 20, 64.5f, 1.6f, "blood", 9); // a squashed eyeball
    // Tyre prints: diagonal dark treads across the heap.
    for (int y = 62; y < 72; ++y)
        for (int x = 0; x < kObjectW; ++x)
            if (img.at(x, y) && x > 22 && x < 32 && (x + y) % 3 == 0)
                img.set(x, y, pal.ramp("goo", 1));
    return img;
}

} // namespace

std::vector<Image> make_objects(const Palette &pal) {
    return {zombie(pal), goblin(pal), rat(pal), slime(pal),
            imp(pal),    barrel(pal), bag(pal), remains(pal)};
}

} // namespace arte
