// Effects: the twelve-frame fire loop and the four frames of the blood splash.
#include "art.h"
#include "paint.h"

#include <algorithm>
#include <cmath>

namespace arte {

namespace {

constexpr float kPi = 3.14159265f;

// Value noise that repeats every px cells across and py cells down, for a seamless loop.
float loop_noise(float x, float y, float cw, float ch, int seed, int px, int py) {
    const float fx = x / cw, fy = y / ch;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const float tx = fx - ix, ty = fy - iy;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) {
        return hash01(((i % px) + px) % px, ((j % py) + py) % py, seed);
    };
    const float a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const float b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return a + (b - a) * sy;
}

// The truck (46 x 36) sits in rows 86..121 of the flames, whose first copy is drawn at the
// truck's own x (the second one 30 pixels further right). Every truck pixel is marked here, with
// a pixel of margin, and must burn in every frame; column 0 of the truck is empty, as the
// flame's edge columns are.
constexpr int kSolidTop = kFlameH - kTruckH;

Image cover_mask(const Palette &pal) {
    Image mask(kFlameW, kFlameH);
    for (const Image &t : make_truck(pal))
        for (int y = 0; y < kTruckH; ++y)
            for (int x = 0; x < kTruckW; ++x) {
                if (!t.at(x, y)) continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        mask.set(x + dx, kSolidTop + y + dy, 1);
            }
    return mask;
}

Image flame(const Palette &pal, const Image &mask, int frame) {
    Image img(kFlameW, kFlameH);
    const float t = frame / float(kFlames);
    for (int y = 1; y < kFlameH; ++y)
        for (int x = 1; x < kFlameW - 1; ++x) {
            // Tongues sway side to side and the noise rises through the flame, one loop in 12
            // frames.
            const float sway = 3.0f * std::sin(y * 0.09f + 2 * kPi * t) * (1.0f - y / 122.0f);
            const float fx = x + sway;
            // Cells taller than wide stretch the noise into tongues.
            const float n1 = loop_noise(fx, y + 96.0f * t, 7.0f, 24.0f, 5, 8, 4);
            const float n2 = loop_noise(fx, y + 144.0f * t, 4.0f, 12.0f, 9, 13, 12);
            const float n = 0.65f * n1 + 0.35f * n2;
            const float up =
                (kFlameH - 1 - y) / float(kFlameH - 1); // 0 at the bottom, 1 at the top
            const float half = 31.0f * (1.0f - 0.62f * std::sqrt(up));
            const float across = std::abs(fx - 24.5f) / half;
            float heat = (1.1f - up * 1.05f) * (1.0f - across * across) + (n - 0.5f) * 1.0f;
            // Over the truck the fire never lets anything through; above it the cover thins out
            // raggedly instead of ending in a straight line.
            const float cover = std::clamp((y - (kSolidTop - 30.0f)) / 30.0f, 0.0f, 1.0f);
            heat = std::max(heat, cover * cover * (0.5f + 0.7f * (n - 0.5f)));
            if (mask.at(x, y)) heat = std::max(heat, 0.41f + 0.25f * n);
            // Hot core low in the middle.
            heat += 0.25f *
                    std::max(0.0f, 1.0f - std::hypot((x - 24.5f) / 12.0f, (y - 102.0f) / 20.0f));
            int level;
            if (heat > 1.12f)
                level = 15;
            else if (heat > 0.98f)
                level = 13;
            else if (heat > 0.76f)
                level = 11;
            else if (heat > 0.62f)
                level = 9;
            else if (heat > 0.5f)
                level = 7;
            else if (heat > 0.4f)
                level = 5;
            else if (heat > 0.32f)
                level = 3;
            else
                continue;
            img.set(x, y, pal.ramp("fire", level));
        }
    // Sparks above the flame.
    for (int i = 0; i < 6; ++i) {
        const float phase = hash01(i, 0, 17) + t;
        const float life = phase - std::floor(phase);
        const int x =
            8 + static_cast<int>(hash01(i, 1, 17) * 33 + 3.0f * std::sin(life * 6.0f + i));
        const int y = 60 - static_cast<int>(life * 56.0f);
        if (y >= 1 && img.at(x, y) == 0) img.set(x, y, pal.ramp("fire", life < 0.5f ? 13 : 9));
    }
    return img;
}

// One splash frame: a star of green goo with red mixed in, thrown from where the truck meets
// the monster; f = 0 fresh and big .. 3 a small puddle. Droplets fly out and fall back.
Image splash(const Palette &pal, int f) {
    Image img(kSplashW, kSplashH);
    static const float burst[kSplashes] = {15.0f, 13.0f, 10.0f, 7.0f};
    static const float reach[kSplashes] = {32.0f, 30.0f, 20.0f, 0.0f};
    static const float flight[kSplashes] = {34.0f, 37.0f, 34.0f, 30.0f};
    static const float fall[kSplashes] = {0.0f, 5.0f, 14.0f, 19.0f};
    static const float drop_r[kSplashes] = {3.0f, 2.6f, 2.0f, 1.4f};
    const float cx = 46.0f, cy = 52.0f + 3.0f * f;
    Sdf goo = ellipse(cx, cy, burst[f] * 1.25f, burst[f] * 0.8f);
    for (int i = 0; i < 5; ++i) // lumpy outline
        goo = blend(goo,
                    circle(cx + (hash01(i, 7, 3) - 0.5f) * burst[f] * 1.8f,
                           cy + (hash01(i, 8, 3) - 0.6f) * burst[f], burst[f] * 0.45f),
                    2.0f);
    Sdf red = blend(ellipse(cx + 2, cy + 1, burst[f] * 0.55f, burst[f] * 0.35f),
                    circle(cx - burst[f] * 0.4f, cy - 2, burst[f] * 0.25f), 2.0f);
    if (f >= 2) goo = blend(goo, ellipse(cx - 4, 66, 18.0f - 3 * f, 3.0f), 3.0f); // puddle below
    for (int i = 0; i < 11; ++i) {
        // Spikes and droplets along the same rays: up and sideways, never down into the road.
        const float a = kPi * (1.0f + (i + 0.3f + 0.4f * hash01(i, 0, 3)) / 11.0f);
        const float ca = std::cos(a), sa = std::sin(a) * 0.75f; // flatter: it splats on the road
        float len = reach[f] * (0.6f + 0.4f * hash01(i, 1, 3));
        if (ca > 0) len = std::min(len, 17.0f / ca); // less room on the right of the cell
        if (len > 0) {
            goo = blend(goo,
                        capsule(cx, cy, cx + ca * len, cy + sa * len + fall[f] * 0.3f,
                                3.6f - 0.6f * f, 0.9f),
                        1.5f);
        }
        float d = flight[f] * (0.75f + 0.35f * hash01(i, 2, 3));
        if (ca > 0) d = std::min(d, 19.0f / ca);
        const float x = std::clamp(cx + ca * d, 3.0f, kSplashW - 4.0f);
        const float y = std::clamp(cy + sa * d + fall[f] * (0.6f + 0.6f * hash01(i, 4, 3)), 4.0f,
                                   kSplashH - 3.0f);
        const float r = drop_r[f] * (0.6f + 0.6f * hash01(i, 3, 3));
        // Falling drops stretch upwards into tear shapes.
        Sdf drop = capsule(x, y, x - ca * 1.5f, y - 1.0f - fall[f] * 0.15f, r, r * 0.4f);
        if (i % 3 == 0)
            red = unite(red, drop);
        else
            goo = unite(goo, drop);
    }
    Painter p(img, pal);
    // Fresh goo glows, older goo darkens.
    p.paint(goo, p.style("goo", std::max(1, 4 - f), 13 - 2 * f, 3, 0));
    p.paint(red, p.style("blood", std::max(1, 4 - f), 12 - 2 * f, 2, 1));
    // Keep a clear border so nothing is cut at the cell edge.
    for (int x = 0; x < kSplashW; ++x) {
        img.set(x, 0, 0);
        img.set(x, kSplashH - 1, 0);
    }
    for (int y = 0; y < kSplashH; ++y) {
        img.set(0, y, 0);
        img.set(kSplashW - 1, y, 0);
    }
    return img;
}

} // namespace

std::vector<Image> make_flames(const Palette &pal) {
    const Image mask = cover_mask(pal);
    std::vector<Image> v;
    for (int i = 0; i < kFlames; ++i)
        v.push_back(flame(pal, mask, i));
    return v;
}

std::vector<Image> make_splashes(const Palette &pal) {
    std::vector<Image> v;
    for (int i = 0; i < kSplashes; ++i)
        v.push_back(splash(pal, i));
    return v;
}

} // namespace arte
