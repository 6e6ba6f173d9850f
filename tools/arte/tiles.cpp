// The 40 level tiles. Every tile of one row type shares the same picture along its left and
// right edges (sky gradient, far hills baseline, verge, kerb, asphalt, lane dashes with a
// 32-pixel period), so any two of that type join; two-tile pieces (the house) join only as a pair.
#include "art.h"
#include "paint.h"

#include <algorithm>
#include <cmath>

namespace arte {

namespace {

constexpr float kPi = 3.14159265f;

struct TileKit {
    const Palette &pal;

    int night(int l) const { return pal.ramp("night", l); }
    int grey(int l) const { return pal.ramp("grey", l); }
    int violet(int l) const { return pal.ramp("violet", l); }
    int stone(int l) const { return pal.ramp("stone", l); }
    int brown(int l) const { return pal.ramp("brown", l); }
    int green(int l) const { return pal.ramp("green", l); }

    // The same colour n steps lighter on its own ramp.
    int lighter(int index, int n) const {
        for (const auto &[name, r] : pal.ramps)
            if (index >= r.first && index < r.first + r.count)
                return std::min(index + n, r.first + r.count - 1);
        return index;
    }

    // Night sky by absolute screen row (0..71): deep blue at the top, a glow at the horizon.
    int sky(int x, int y) const {
        const float t = std::clamp(y / 71.0f, 0.0f, 1.0f);
        const float level = 1.0f + 7.0f * std::pow(t, 1.5f);
        return night(static_cast<int>(std::floor(level + bayer(x, y) - 0.5f)));
    }
};

Image sky_tile(const TileKit &k, int map_row, int seed, int stars) {
    Image t(kTileW, kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x)
            t.set(x, y, k.sky(x, map_row * kTileH + y));
    // Stars stay two pixels from the edges so none is cut in half.
    for (int i = 0; i < stars; ++i) {
        const int x = 2 + static_cast<int>(hash01(i, 1, seed) * 28);
        const int y = 1 + static_cast<int>(hash01(i, 2, seed) * 21);
        const float b = hash01(i, 3, seed);
        if (b > 0.85f) { // a bright star with a small cross
            t.set(x, y, k.grey(15));
            t.set(x - 1, y, k.night(11));
            t.set(x + 1, y, k.night(11));
            t.set(x, y - 1, k.night(11));
            t.set(x, y + 1, k.night(11));
        } else {
            t.set(x, y, b > 0.5f ? k.grey(12) : k.night(12));
        }
    }
    return t;
}

Image moon_tile(const TileKit &k) {
    Image t = sky_tile(k, 0, 7, 3);
    const float cx = 16.0f, cy = 12.0f;
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d < 7.5f) {
                // Lit from the lower left, with two darker craters.
                const float shade = ((x + 0.5f - cx) - (y + 0.5f - cy)) / 7.5f;
                int l = shade > 0.55f ? 11 : (shade > -0.2f ? 13 : 14);
                if (std::hypot(x - 13.0f, y - 9.0f) < 2.2f ||
                    std::hypot(x - 18.5f, y - 14.5f) < 1.6f)
                    l -= 2;
                t.set(x, y, k.pal.ramp("gold", l));
            } else if (d < 10.0f && bayer(x, y) < (10.0f - d) / 3.0f) {
                t.set(x, y, k.night(10)); // halo
            }
        }
    return t;
}

// Far hills of the horizon row: the same height at both edges of every horizon tile.
void far_hills(const TileKit &k, Image &t, int seed) {
    for (int x = 0; x < kTileW; ++x) {
        const float w = std::sin(kPi * x / 31.0f);
        const float h = 13.0f - w * (1.0f + 4.0f * value_noise(float(x), 0, 9.0f, seed));
        for (int y = 0; y < kTileH; ++y) {
            if (y < static_cast<int>(h)) continue;
            int c = k.violet(y == static_cast<int>(h) ? 4 : 2);
            if (y >= 19) c = k.violet(1);
            t.set(x, y, c);
        }
    }
}

Image horizon_base(const TileKit &k, int seed) {
    Image t(kTileW, kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x)
            t.set(x, y, k.sky(x, 2 * kTileH + y));
    far_hills(k, t, seed);
    return t;
}

// Dark pines on a rolling hill line, inside the tile.
Image forest_tile(const TileKit &k, int seed) {
    Image t = horizon_base(k, seed);
    const int hill = k.night(1), pine = k.pal.ramp("green", 0);
    for (int x = 0; x < kTileW; ++x) {
        const float w = std::sin(kPi * x / 31.0f);
        const int top =
            19 - static_cast<int>(w * (4.0f + 3.0f * value_noise(float(x), 5, 7.0f, seed)));
        for (int y = top; y < 19; ++y)
            t.set(x, y, hill);
    }
    for (int i = 0; i < 7; ++i) {
        const int px = 5 + static_cast<int>(hash01(i, 0, seed) * 22);
        const int height = 5 + static_cast<int>(hash01(i, 1, seed) * 7);
        const int base = 17;
        for (int y = 0; y < height; ++y) {
            const int half = (y * 3) / height + (y % 3 == 2 ? 1 : 0);
            for (int dx = -half; dx <= half; ++dx)
                t.set(px + dx, base - height + y, pine);
        }
    }
    return t;
}

// Ruined skyline: blocks with a few lit windows.
Image city_tile(const TileKit &k, int seed) {
    Image t = horizon_base(k, seed);
    int x = 2;
    int i = 0;
    while (x < 29) {
        const int w = 4 + static_cast<int>(hash01(i, 0, seed) * 5);
        const int right = std::min(x + w, 29);
        const int top = 3 + static_cast<int>(hash01(i, 1, seed) * 10);
        const bool broken = hash01(i, 2, seed) > 0.6f;
        for (int yy = top; yy < 19; ++yy)
            for (int xx = x; xx < right; ++xx) {
                // A broken top edge: a jagged diagonal.
                if (broken && yy < top + (xx - x)) continue;
                t.set(xx, yy, k.pal.ramp("steel", (xx == x) ? 3 : 1));
            }
        for (int yy = top + 2; yy < 17; yy += 3)
            for (int xx = x + 1; xx < right - 1; xx += 2)
                if (hash01(xx, yy, seed + 9) > 0.78f && !(broken && yy < top + (xx - x) + 1))
                    t.set(xx, yy, k.pal.ramp("glow", hash01(xx, yy, seed) > 0.9f ? 6 : 4));
        x = right + (hash01(i, 3, seed) > 0.5f ? 1 : 0);
        ++i;
    }
    return t;
}

// Flat-topped mesas; the second variant adds a fallen power pylon.
Image mesa_tile(const TileKit &k, int seed, bool pylon) {
    Image t = horizon_base(k, seed);
    Painter p(t, k.pal);
    p.flat(polygon({{3, 19}, {6, 9}, {14, 8}, {16, 12}, {20, 12}, {22, 19}}),
           k.pal.ramp("rust", 1));
    for (int x = 7; x < 14; ++x)
        t.set(x, 9, k.pal.ramp("rust", 3));
    if (pylon) {
        const int c = k.pal.ramp("steel", 2);
        for (int y = 4; y < 19; ++y) {
            const int half = (y - 4) / 3;
            t.set(25 - half, y, c);
            t.set(25 + half, y, c);
            if (y % 3 == 1)
                for (int dx = -half; dx <= half; ++dx)
                    t.set(25 + dx, y, c);
        }
        for (int dx = -4; dx <= 4; ++dx)
            t.set(25 + dx, 6, c); // cross arm
        t.set(21, 7, c);
        t.set(29, 7, c);
    } else {
        p.flat(polygon({{20, 19}, {23, 13}, {28, 13}, {29, 19}}), k.pal.ramp("rust", 0));
    }
    return t;
}

// --- Roadside row: a dark field above a verge of earth and gravel that meets the kerb. ---

Image roadside_base(const TileKit &k, int seed) {
    Image t(kTileW, kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            int c;
            if (y < 8) {
                c = (y < 3 || bayer(x, y) > (y - 2) / 6.0f) ? k.violet(1) : k.pal.ramp("green", 1);
            } else if (y < 18) {
                const float n =
                    value_noise(float(x), float(y), 4.0f, 31, 8) + 0.35f * hash01(x, y, seed);
                c = n > 0.95f ? k.brown(4) : (n > 0.6f ? k.brown(3) : k.brown(2));
                if (y == 8) c = k.pal.ramp("green", 2);
            } else {
                const float n = hash01(x, y, seed + 1);
                c = n > 0.8f ? k.stone(6) : (n > 0.35f ? k.stone(4) : k.stone(3));
            }
            t.set(x, y, c);
        }
    // Grass tufts along the top of the verge.
    for (int i = 0; i < 9; ++i) {
        const int x = 1 + static_cast<int>(hash01(i, 5, seed) * 30);
        const int h = 1 + static_cast<int>(hash01(i, 6, seed) * 3);
        for (int y = 0; y < h; ++y)
            t.set(x, 8 - y, k.pal.ramp("green", 3 + y));
        t.set(x - 1, 8, k.pal.ramp("green", 3));
    }
    return t;
}

Image bushes_tile(const TileKit &k) {
    Image t = roadside_base(k, 41);
    Painter p(t, k.pal);
    p.paint(ellipse(9, 10, 7, 5), p.style("green", 2, 7, 4, 0));
    p.paint(ellipse(18, 9, 7.5f, 6), p.style("green", 2, 8, 4, 0));
    p.paint(ellipse(25, 12, 3.5f, 3), p.style("green", 1, 6, 3, 0));
    for (int i = 0; i < 5; ++i) // a few red berries
        t.set(7 + static_cast<int>(hash01(i, 0, 5) * 18), 7 + static_cast<int>(hash01(i, 1, 5) * 6),
              k.pal.ramp("blood", 9));
    return t;
}

Image wall_tile(const TileKit &k) {
    Image t = roadside_base(k, 43);
    // A low brick wall, broken in the middle.
    for (int y = 4; y < 15; ++y)
        for (int x = 4; x < 28; ++x) {
            const int gap_top = 4 + std::abs(x - 16) - 2;
            if (y < gap_top && x > 10 && x < 22) continue;
            const bool mortar = (y % 3 == 0) || ((x + (y / 3) * 3) % 6 == 0);
            t.set(x, y, mortar ? k.stone(3) : k.stone((x + y) % 4 == 0 ? 8 : 7));
        }
    for (int x = 4; x < 28; ++x)
        t.set(x, 15, k.stone(2));
    // Rubble.
    Painter p(t, k.pal);
    p.paint(ellipse(14, 16, 2.5f, 1.5f), p.style("stone", 4, 9, 2, 2));
    p.paint(ellipse(19, 16.5f, 2, 1.5f), p.style("stone", 4, 9, 2, 2));
    return t;
}

Image bones_tile(const TileKit &k) {
    Image t = roadside_base(k, 47);
    Painter p(t, k.pal);
    p.paint(ellipse(6, 14, 4, 2.5f), p.style("stone", 3, 8, 3, 1));
    p.paint(ellipse(26, 13, 3, 2), p.style("stone", 3, 8, 3, 1));
    // A skull and a bone.
    p.paint(unite(circle(16, 11, 3.2f), box(14, 12, 18, 15, 1)), p.style("stone", 8, 15, 3, 2));
    t.set(15, 11, k.grey(1));
    t.set(17, 11, k.grey(1));
    t.set(16, 13, k.grey(2));
    p.paint(capsule(20, 16, 24, 15, 0.8f), p.style("stone", 9, 14, 1, 3));
    return t;
}

Image tree_top_tile(const TileKit &k) {
    Image t = horizon_base(k, 23);
    Painter p(t, k.pal);
    const Style bark = p.style("brown", 1, 5, 3, 0);
    // The trunk runs on into the tile below at the same width and shading.
    Sdf tree = polygon({{13.1f, 25}, {18.9f, 25}, {17.6f, 8}, {14.4f, 8}});
    tree = unite(tree, capsule(15.5f, 12, 7, 4, 1.2f, 0.6f));
    tree = unite(tree, capsule(7, 4, 4, 2, 0.6f, 0.4f));
    tree = unite(tree, capsule(15.5f, 9, 23, 3, 1.1f, 0.6f));
    tree = unite(tree, capsule(23, 3, 27, 4, 0.6f, 0.4f));
    tree = unite(tree, capsule(15.5f, 8, 14, 1, 1.0f, 0.5f));
    tree = unite(tree, capsule(16, 16, 25, 11, 1.0f, 0.5f));
    tree = unite(tree, capsule(15.5f, 17, 8, 13, 0.9f, 0.4f));
    p.paint(tree, bark);
    // A crow on a branch.
    t.set(22, 2, k.grey(1));
    t.set(23, 2, k.grey(1));
    t.set(23, 1, k.grey(1));
    t.set(24, 2, k.pal.ramp("blood", 10));
    return t;
}

Image tree_trunk_tile(const TileKit &k) {
    Image t = roadside_base(k, 53);
    Painter p(t, k.pal);
    Sdf trunk = polygon({{13.1f, -1}, {18.9f, -1}, {19.5f, 12}, {22, 17}, {10, 17}, {12.5f, 12}});
    p.paint(trunk, p.style("brown", 1, 5, 3, 0));
    t.set(15, 5, k.brown(0)); // a knot hole
    t.set(16, 5, k.brown(0));
    t.set(15, 6, k.brown(0));
    p.paint(capsule(9, 17, 5, 18, 0.8f), p.style("brown", 1, 4, 1, 0)); // roots
    p.paint(capsule(22, 17, 26, 18, 0.8f), p.style("brown", 1, 4, 1, 0));
    return t;
}

// The ruined house is 64 pixels wide: the roof over two horizon tiles, the walls over two
// roadside tiles. Draw it whole, then cut.
void house(const TileKit &k, Image &roof_l, Image &roof_r, Image &wall_l, Image &wall_r) {
    // One 64 x 48 picture: the roof's eaves hang two rows into the wall tiles, so the seam
    // between the rows runs through the roof and not along its edge.
    Image h(2 * kTileW, 2 * kTileH);
    h.blit(horizon_base(k, 61), 0, 0);
    h.blit(horizon_base(k, 62), kTileW, 0);
    h.blit(roadside_base(k, 63), 0, kTileH);
    h.blit(roadside_base(k, 64), kTileW, kTileH);
    Painter p(h, k.pal);
    const int w0 = kTileH; // wall tiles start here
    p.paint(box(6, w0 - 2, 57, w0 + 17), p.style("stone", 3, 7, 2, 1));
    for (int y = w0; y < w0 + 17; ++y)
        for (int x = 7; x < 57; ++x)
            if (((y - w0) % 4 == 3 || (x + ((y - w0) / 4) * 4) % 8 == 0) &&
                h.at(x, y) != k.stone(1))
                h.set(x, y, k.stone(3));
    for (int x = 6; x <= 57; ++x) { // shadow under the eaves
        h.set(x, w0 + 2, k.stone(1));
        h.set(x, w0 + 3, k.stone(2));
    }
    // Door, a dark boarded window and a lit one with a cross frame.
    p.paint(box(27, w0 + 5, 34, w0 + 17), p.style("brown", 1, 3, 1, 0));
    p.flat(box(12, w0 + 5, 20, w0 + 11), k.grey(1));
    p.flat(box(41, w0 + 5, 49, w0 + 11), k.pal.ramp("glow", 4));
    for (int y = w0 + 5; y <= w0 + 11; ++y)
        h.set(45, y, k.brown(1));
    for (int x = 41; x <= 49; ++x)
        h.set(x, w0 + 8, k.brown(1));
    for (int x = 12; x <= 20; ++x) {
        h.set(x, w0 + 12, k.stone(8)); // sills
        h.set(x + 29, w0 + 12, k.stone(8));
        h.set(x, w0 + 6 + (x - 12) / 2, k.brown(3));
    }
    // Chimney, then the gable roof with a hole in it.
    p.paint(box(44, 4, 48, 16), p.style("stone", 3, 7, 1.5f, 1));
    Sdf gable = polygon({{3, w0 + 2}, {31.5f, 6}, {32.5f, 6}, {61, w0 + 2}});
    p.paint(gable, p.style("rust", 1, 5, 3, 0));
    for (int y = 8; y < w0 + 2; y += 3) // shingle rows
        for (int x = 0; x < h.w; ++x)
            if (gable(x + 0.5f, y + 0.5f) < -1.0f) h.set(x, y, k.pal.ramp("rust", 1));
    p.flat(polygon({{17, 24}, {22, 16}, {28, 19}, {26, 24}}), k.violet(1));
    for (int x = 19; x < 26; ++x)
        h.set(x, 20 + (x % 2), k.brown(2)); // bare rafters
    roof_l = h.crop(0, 0, kTileW, kTileH);
    roof_r = h.crop(kTileW, 0, kTileW, kTileH);
    wall_l = h.crop(0, kTileH, kTileW, kTileH);
    wall_r = h.crop(kTileW, kTileH, kTileW, kTileH);
}

Image lamp_top_tile(const TileKit &k) {
    Image t = horizon_base(k, 71);
    Painter p(t, k.pal);
    const Style pole = p.style("steel", 2, 7, 1.2f, 0);
    p.paint(unite(box(8, 6, 9, 23), capsule(9, 6.5f, 19, 6.5f, 1.0f)), pole);
    p.paint(box(16, 6, 23, 9, 1), p.style("steel", 3, 9, 1.5f, 0));
    // The lit lamp and a faint halo round it.
    for (int y = 8; y < 14; ++y)
        for (int x = 14; x < 26; ++x) {
            const float d = std::hypot((x + 0.5f - 20.0f) / 6.0f, (y + 0.5f - 10.5f) / 3.0f);
            if (d < 1.0f && t.at(x, y) == k.sky(x, 2 * kTileH + y)) t.set(x, y, k.night(9));
        }
    for (int x = 17; x <= 22; ++x)
        t.set(x, 10, k.pal.ramp("glow", 7));
    for (int x = 18; x <= 21; ++x)
        t.set(x, 11, k.pal.ramp("glow", 4));
    return t;
}

Image lamp_post_tile(const TileKit &k) {
    Image t = roadside_base(k, 73);
    // A pool of lamplight on the verge: every colour a step or two up its own ramp.
    for (int y = 6; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            const float d = std::hypot((x + 0.5f - 20.0f) / 11.0f, (y + 0.5f - 14.0f) / 6.0f);
            if (d < 1.0f) t.set(x, y, k.lighter(t.at(x, y), d < 0.6f ? 2 : 1));
        }
    Painter p(t, k.pal);
    p.paint(box(8, -2, 9, 15), p.style("steel", 2, 7, 1.2f, 0));
    p.paint(box(6, 14, 11, 16, 1), p.style("steel", 2, 6, 1.2f, 0));
    return t;
}

Image sign_tile(const TileKit &k) {
    Image t = roadside_base(k, 79);
    Painter p(t, k.pal);
    p.paint(box(15, 10, 16, 17), p.style("steel", 2, 7, 1, 0));
    // A yellow warning diamond with a horned head on it.
    p.paint(polygon({{16, 2.5f}, {23, 9.5f}, {16, 16.5f}, {9, 9.5f}}),
            p.style("gold", 8, 12, 2, 1));
    const int ink = k.grey(1);
    for (int x = 14; x <= 18; ++x)
        for (int y = 7; y <= 11; ++y)
            if (std::hypot(x - 16.0f, y - 9.5f) < 2.2f) t.set(x, y, ink);
    t.set(13, 6, ink);
    t.set(19, 6, ink);
    t.set(14, 7, ink);
    t.set(18, 7, ink);
    t.set(15, 9, k.pal.ramp("blood", 10));
    t.set(17, 9, k.pal.ramp("blood", 10));
    t.set(15, 12, ink);
    t.set(17, 12, ink);
    return t;
}

Image wreck_tile(const TileKit &k) {
    Image t = roadside_base(k, 83);
    Painter p(t, k.pal);
    p.paint(polygon({{4, 16}, {5, 10}, {10, 9}, {13, 4}, {21, 4}, {25, 9}, {28, 10}, {28, 16}}),
            p.style("rust", 2, 8, 2.5f, 0));
    p.flat(polygon({{13, 9}, {14, 6}, {17, 6}, {17, 9}}), k.grey(1));
    p.flat(polygon({{19, 9}, {19, 6}, {21, 6}, {23, 9}}), k.grey(1));
    p.paint(circle(9, 16, 3.2f), p.style("grey", 1, 3, 2, 0));
    p.paint(circle(23, 16, 3.2f), p.style("grey", 1, 3, 2, 0));
    t.set(9, 16, k.grey(4));
    t.set(23, 16, k.grey(4));
    for (int i = 0; i < 6; ++i) // scorch holes
        t.set(5 + static_cast<int>(hash01(i, 0, 83) * 22),
              10 + static_cast<int>(hash01(i, 1, 83) * 4), k.pal.ramp("rust", 0));
    return t;
}

Image graves_tile(const TileKit &k) {
    Image t = roadside_base(k, 89);
    Painter p(t, k.pal);
    const Style st = p.style("stone", 4, 10, 2, 1);
    p.paint(unite(box(4, 8, 11, 15), circle(8, 8.5f, 3.8f)), st);
    p.paint(unite(box(19, 4, 20, 15), box(16, 7, 23, 8)), st);
    p.paint(unite(box(24, 9, 28, 15), circle(26.5f, 9.5f, 2.4f)), p.style("stone", 3, 8, 2, 1));
    for (int y = 10; y <= 13; y += 3)
        for (int x = 6; x <= 9; ++x)
            t.set(x, y, k.stone(3)); // worn lettering
    for (int x = 2; x <= 13; ++x)
        t.set(x, 16, k.brown(1)); // fresh earth
    return t;
}

// --- Road rows. ---

// Road surface: the blotches are the same in every road tile, so they run on across seams;
// only the fine speckle differs from tile to tile.
int asphalt(const TileKit &k, int x, int y, int seed) {
    const float n =
        value_noise(float(x), float(y), 4.0f, 101, 8) * 0.6f + hash01(x, y, seed) * 0.55f;
    if (n > 1.0f) return k.grey(5);
    if (n > 0.72f) return k.grey(4);
    if (n > 0.3f) return k.grey(3);
    return k.grey(2);
}

Image asphalt_tile(const TileKit &k, int seed) {
    Image t(kTileW, kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x)
            t.set(x, y, asphalt(k, x, y, seed));
    return t;
}

// The dash between two lanes: 16 pixels of paint, 16 of gap, the gap across the tile edge.
void lane_dash(const TileKit &k, Image &t) {
    for (int x = 8; x < 24; ++x) {
        t.set(x, 0, k.grey(x == 8 || x == 23 ? 11 : 14));
        t.set(x, 1, k.grey(x == 8 || x == 23 ? 9 : 12));
    }
}

void kerb(const TileKit &k, Image &t) {
    for (int x = 0; x < kTileW; ++x) {
        const bool joint = x % 16 == 7;
        t.set(x, 0, joint ? k.stone(7) : k.stone(13));
        t.set(x, 1, joint ? k.stone(6) : k.stone(11));
        for (int y = 2; y < 5; ++y)
            t.set(x, y, joint ? k.stone(3) : k.stone(7 - (y - 2)));
        t.set(x, 5, k.grey(1));
        t.set(x, 6, k.grey(2));
    }
}

void shoulder(const TileKit &k, Image &t, int seed) {
    for (int x = 0; x < kTileW; ++x) {
        t.set(x, 21, k.grey(13)); // solid edge line
        t.set(x, 22, hash01(x, 22, seed) > 0.5f ? k.stone(6) : k.stone(5));
        t.set(x, 23, hash01(x, 23, seed) > 0.5f ? k.stone(4) : k.stone(3));
    }
}

void crack(const TileKit &k, Image &t, int seed, int x0, int y0, int len) {
    int x = x0, y = y0;
    for (int i = 0; i < len; ++i) {
        t.set(x, y, k.grey(1));
        if (t.at(x, y + 1) != k.grey(1)) t.set(x + 1, y + 1, k.grey(5));
        const float r = hash01(i, 0, seed);
        x += 1;
        if (r < 0.3f)
            --y;
        else if (r > 0.7f)
            ++y;
        if (hash01(i, 1, seed) > 0.85f) { // a short branch
            t.set(x, y + 1, k.grey(1));
            t.set(x + 1, y + 2, k.grey(1));
        }
    }
}

Image patch_tile(const TileKit &k) {
    Image t = asphalt_tile(k, 107);
    for (int y = 7; y < 19; ++y)
        for (int x = 6; x < 25; ++x) {
            const bool edge = y == 7 || y == 18 || x == 6 || x == 24;
            t.set(x, y, edge ? k.grey(1) : (hash01(x, y, 108) > 0.8f ? k.grey(3) : k.grey(2)));
        }
    lane_dash(k, t);
    return t;
}

Image manhole_tile(const TileKit &k) {
    Image t = asphalt_tile(k, 109);
    Painter p(t, k.pal);
    p.paint(ellipse(16, 13, 9, 5), p.style("steel", 2, 6, 2, 0));
    for (int y = 9; y < 18; ++y)
        for (int x = 8; x < 25; ++x)
            if (ellipse(16, 13, 7.5f, 3.6f)(x + 0.5f, y + 0.5f) < 0 && ((x + y) % 3 == 0))
                t.set(x, y, k.pal.ramp("steel", 1));
    lane_dash(k, t);
    return t;
}

Image stain_tile(const TileKit &k) {
    Image t = asphalt_tile(k, 113);
    Painter p(t, k.pal);
    Sdf blot = blend(ellipse(14, 13, 8, 4), ellipse(21, 15, 5, 3), 2.0f);
    blot = unite(blot, circle(6, 17, 1.3f));
    blot = unite(blot, circle(26, 10, 1.0f));
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            const float d = blot(x + 0.5f, y + 0.5f);
            if (d < 0)
                t.set(x, y,
                      d < -2.0f && hash01(x, y, 114) > 0.3f ? k.pal.ramp("blood", 2)
                                                            : k.pal.ramp("blood", 1));
        }
    lane_dash(k, t);
    return t;
}

Image bridge_top_tile(const TileKit &k) {
    Image t = asphalt_tile(k, 131);
    for (int x = 0; x < kTileW; ++x) {
        // Steel guard rail on posts every 16 pixels.
        const bool post = x % 16 == 7 || x % 16 == 8;
        t.set(x, 0, k.pal.ramp("steel", 12));
        t.set(x, 1, k.pal.ramp("steel", 10));
        t.set(x, 2, k.pal.ramp("steel", 8));
        t.set(x, 3, k.pal.ramp("steel", 5));
        t.set(x, 4, post ? k.pal.ramp("steel", 4) : k.grey(1));
        t.set(x, 5, post ? k.pal.ramp("steel", 3) : k.grey(1));
        t.set(x, 6, k.grey(2));
        if (x % 16 == 12) t.set(x, 2, k.pal.ramp("steel", 14)); // bolt
    }
    for (int x = 0; x < kTileW; ++x)
        if (x % 16 == 15)
            for (int y = 7; y < kTileH; ++y)
                t.set(x, y, k.grey(1)); // slab joints
    return t;
}

Image bridge_deck_tile(const TileKit &k) {
    Image t = asphalt_tile(k, 137);
    for (int y = 2; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x)
            if (x % 16 == 15) t.set(x, y, k.grey(1));
    lane_dash(k, t);
    return t;
}

Image bridge_bottom_tile(const TileKit &k) {
    Image t = asphalt_tile(k, 139);
    for (int y = 2; y < 20; ++y)
        for (int x = 0; x < kTileW; ++x)
            if (x % 16 == 15) t.set(x, y, k.grey(1));
    lane_dash(k, t);
    for (int x = 0; x < kTileW; ++x) {
        t.set(x, 20, k.grey(1));
        t.set(x, 21, k.pal.ramp("steel", 13));
        t.set(x, 22, k.pal.ramp("steel", x % 8 == 3 ? 13 : 7));
        t.set(x, 23, k.pal.ramp("steel", 4));
    }
    return t;
}

} // namespace

std::vector<Image> make_tiles(const Palette &pal) {
    const TileKit k{pal};
    std::vector<Image> t(kTiles);
    t[0] = sky_tile(k, 0, 1, 6);
    t[1] = sky_tile(k, 0, 2, 9);
    t[2] = moon_tile(k);
    t[3] = sky_tile(k, 1, 3, 4);
    t[4] = sky_tile(k, 1, 4, 6);
    t[5] = forest_tile(k, 5);
    t[6] = forest_tile(k, 6);
    t[7] = city_tile(k, 7);
    t[8] = city_tile(k, 8);
    t[9] = mesa_tile(k, 9, false);
    t[10] = mesa_tile(k, 10, true);
    t[11] = tree_top_tile(k);
    house(k, t[12], t[13], t[20], t[21]);
    t[14] = lamp_top_tile(k);
    t[15] = roadside_base(k, 15);
    t[16] = bushes_tile(k);
    t[17] = wall_tile(k);
    t[18] = bones_tile(k);
    t[19] = tree_trunk_tile(k);
    t[22] = lamp_post_tile(k);
    t[23] = sign_tile(k);
    t[24] = wreck_tile(k);
    t[25] = graves_tile(k);
    t[26] = asphalt_tile(k, 26);
    kerb(k, t[26]);
    t[27] = asphalt_tile(k, 27);
    kerb(k, t[27]);
    crack(k, t[27], 27, 4, 14, 22);
    t[28] = asphalt_tile(k, 28);
    kerb(k, t[28]);
    for (int x = 12; x < 20; ++x) // storm drain grate in the kerb face
        for (int y = 2; y < 5; ++y)
            t[28].set(x, y, x % 2 ? k.grey(1) : k.grey(6));
    t[29] = asphalt_tile(k, 29);
    lane_dash(k, t[29]);
    t[30] = asphalt_tile(k, 30);
    lane_dash(k, t[30]);
    t[31] = asphalt_tile(k, 31);
    crack(k, t[31], 31, 2, 9, 28);
    lane_dash(k, t[31]);
    t[32] = patch_tile(k);
    t[33] = manhole_tile(k);
    t[34] = stain_tile(k);
    t[35] = asphalt_tile(k, 35);
    lane_dash(k, t[35]);
    shoulder(k, t[35], 35);
    t[36] = asphalt_tile(k, 36);
    lane_dash(k, t[36]);
    crack(k, t[36], 36, 6, 12, 18);
    shoulder(k, t[36], 36);
    t[37] = bridge_top_tile(k);
    t[38] = bridge_deck_tile(k);
    t[39] = bridge_bottom_tile(k);
    return t;
}

} // namespace arte
