#include "pictures.h"
#include "scenery.h"

#include <cmath>

namespace fotos {

namespace {

// Raised letters: a face shaded by `face`, a bevel lit from the top left and a black border.
void bevelled(Canvas &c, const Mask &m, float bevel, Ramp edge, const Shader &face, float outline) {
    const std::vector<float> depth = m.depth();
    const int w = m.width();
    auto d = [&](int x, int y) { return m.at(x, y) ? depth[y * w + x] : 0.f; };
    c.paint(m.ring(outline), BLACK, 0);
    for (int y = 0; y < m.height(); y++)
        for (int x = 0; x < w; x++) {
            if (!m.at(x, y)) continue;
            if (d(x, y) > bevel) {
                c.set(x, y, face(x, y));
                continue;
            }
            const float gx = d(x + 1, y) - d(x - 1, y), gy = d(x, y + 1) - d(x, y - 1);
            const float len = std::sqrt(gx * gx + gy * gy);
            const float facing = len > 0 ? (gx + gy) / (len * 1.4142f) : 0;
            c.set(x, y, Ink{edge, 0.5f + 0.45f * facing});
        }
}

// A halo fading out from a mask over whatever is behind it.
void glow(Canvas &c, const Mask &m, float reach, Ramp r, float strength) {
    const std::vector<float> d = m.distance();
    for (int y = 0; y < c.height(); y++)
        for (int x = 0; x < c.width(); x++) {
            const float k = d[y * c.width() + x];
            if (k <= 0 || k > reach) continue;
            const float t = strength * (1 - k / reach);
            if (t > 0.08f) c.set(x, y, Ink{r, t * t});
        }
}

// A chrome face: sky reflected above the letters' horizon line, ground below it.
Shader chrome(float top, float bottom) {
    return [=](int, int y) {
        const float v = (float(y) + 0.5f - top) / (bottom - top);
        if (v < 0.55f) return Ink{CHROME_UP, 0.2f + 0.8f * v / 0.55f};
        return Ink{CHROME_DOWN, 0.1f + 0.9f * (v - 0.55f) / 0.45f};
    };
}

Mask text_mask(const Canvas &c, const Letters &f, const std::string &s, float cx, float y,
               float cell, float gap, float slant = 0) {
    Mask m = c.blank();
    const float w = f.width(s, cell, gap) + slant * float(f.rows()) * cell;
    f.draw(m, s, std::round(cx - w / 2), y, cell, gap, slant);
    return m;
}

void moon(Canvas &c, float cx, float cy, float r) {
    // Glow on the sky around it first.
    c.shine(c.blank().circle(cx, cy, r * 2.2f),
            [=](int x, int y) {
                const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy);
                return 0.22f * clamp01(1 - (d - r) / (r * 1.2f));
            },
            {STAR, HILL_FAR, HILL_NEAR});
    Mask m = c.blank().circle(cx, cy, r);
    c.paint(m, [=](int x, int y) {
        const float dx = (float(x) + 0.5f - cx) / r, dy = (float(y) + 0.5f - cy) / r;
        const float limb = std::sqrt(clamp01(1 - dx * dx - dy * dy));
        float t = 0.35f + 0.55f * limb - 0.12f * dx;
        // Maria: a few soft dark seas.
        t -= 0.28f * smooth(0.45f, 0.75f, noise(dx * 2.2f + 3, dy * 2.2f + 3, 77));
        return Ink{MOON, t};
    });
}

void road(Canvas &c, int top, int bottom, const std::vector<int> &lines, int seed) {
    // Asphalt with a faint grain; the grain is kept small so that text reads on it.
    Mask asphalt = c.blank().rect(0, float(top), float(c.width()), float(bottom));
    c.paint(asphalt, [=](int x, int y) {
        const float g = noise(float(x) * 0.35f, float(y) * 0.7f, seed) - 0.5f;
        return Ink{ROAD, 0.16f + 0.03f * g + 0.05f * float(y - top) / float(bottom - top)};
    });
    for (int ly : lines)
        for (int x = 0; x < c.width(); x++) {
            if ((x + 6) % 40 >= 22) continue;
            c.set(x, ly, Ink{LINE, 0.75f});
            c.set(x, ly + 1, Ink{LINE, 0.5f});
        }
    // Cracks here and there.
    for (int i = 0; i < 14; i++) {
        float x = hash01(i, 7, seed) * float(c.width());
        float y = float(top) + hash01(i, 8, seed) * float(bottom - top);
        for (int k = 0; k < 12; k++) {
            c.set(int(x), int(y), Ink{ROAD, 0.04f});
            x += 1;
            y += (hash01(i, k, seed + 1) - 0.5f) * 1.6f;
        }
    }
}

void kerb(Canvas &c, int y0, int y1, int phase) {
    Mask m = c.blank().rect(0, float(y0), float(c.width()), float(y1));
    c.paint(m, [=](int x, int y) {
        const bool light = ((x + phase) / 12) % 2 == 0;
        const float v = float(y - y0) / float(y1 - y0);
        return light ? Ink{LINE, 0.75f - 0.4f * v} : Ink{PAINT, 0.45f - 0.3f * v};
    });
}

// Darkens the road under a vehicle or a monster.
void shadow(Canvas &c, float cx, float cy, float rx, float ry, float depth) {
    c.shine(c.blank().ellipse(cx, cy, rx, ry),
            [=](int x, int y) {
                const float dx = (float(x) - cx) / rx, dy = (float(y) - cy) / ry;
                return -depth * clamp01(1.3f - (dx * dx + dy * dy));
            },
            {BLACK});
}

// The headlight's cone: full light on what it hits, a faint glow in the air.
void beam(Canvas &c, Pt from, float spread, float reach, float floor_y) {
    auto strength = [=](int x, int y) {
        const float dx = float(x) - from.x, dy = float(y) - from.y - dx * 0.22f;
        if (dx <= 0) return 0.f;
        const float a = std::fabs(dy) / (dx * spread + 2);
        const float fade = 1 - smooth(floor_y - 16, floor_y, float(y)); // soft edge on the road
        return std::sqrt(clamp01(1 - a) * clamp01(1 - dx / reach) * smooth(0, 14, dx)) * fade;
    };
    const Mask cone = c.blank().rect(from.x, 0, float(c.width()), floor_y);
    c.shine(cone, [=](int x, int y) { return 0.6f * strength(x, y); },
            {SKY, STAR, MOON, HILL_FAR, BLACK, WHITE, EYE, GLOW, PROMPT});
    Mask air = cone;
    for (int y = 0; y < c.height(); y++)
        for (int x = 0; x < c.width(); x++) {
            const Ramp r = c.at(x, y).ramp;
            if (r != SKY && r != HILL_FAR) air.set(x, y, false);
        }
    c.shine(air, [=](int x, int y) { return 0.3f * strength(x, y); });
}

// A broken city skyline between x0 and x1, standing on `base`, with a few lit windows.
void ruins(Canvas &c, float x0, float x1, float base, int seed, Ramp r, float tone) {
    int i = 0;
    for (float x = x0; x < x1; i++) {
        const float w = 10 + 14 * hash01(i, 0, seed);
        const float h = 16 + 30 * hash01(i, 1, seed);
        const float right = h * (0.45f + 0.5f * hash01(i, 2, seed));
        const float notch = x + w * (0.3f + 0.4f * hash01(i, 3, seed));
        Mask b = c.blank().polygon({{x, base},
                                    {x, base - h},
                                    {notch - 2, base - h},
                                    {notch, base - h + 6},
                                    {notch + 2, base - right},
                                    {x + w, base - right},
                                    {x + w, base}});
        c.paint(b, r, tone);
        for (float wy = base - h + 4; wy < base - 4; wy += 5)
            for (float wx = x + 2; wx < x + w - 2; wx += 4) {
                if (!b.at(int(wx), int(wy) - 2)) continue;
                if (hash01(int(wx), int(wy), seed) < 0.1f) {
                    Mask win = c.blank().rect(wx, wy, wx + 2, wy + 2);
                    c.paint(win, HAZARD, 0.25f + 0.5f * hash01(int(wx), int(wy), seed + 1));
                }
            }
        x += w + 1 + 12 * hash01(i, 4, seed);
    }
}

// A leafless tree, grown by splitting branches.
void dead_tree(Mask &m, Pt at, float len, float angle, float width, int depth, int seed) {
    const Pt end{at.x + std::sin(angle) * len, at.y - std::cos(angle) * len};
    m.line(at, end, width);
    if (depth == 0) return;
    for (int k = 0; k < 2; k++) {
        const float turn = (k == 0 ? -1.f : 1.f) * (0.35f + 0.4f * hash01(depth, k, seed));
        dead_tree(m, end, len * (0.62f + 0.15f * hash01(k, depth, seed)), angle + turn,
                  std::max(1.f, width * 0.65f), depth - 1, seed * 3 + k);
    }
}

void flare(Canvas &c, Pt at, int arm) {
    for (int i = -arm; i <= arm; i++) {
        const float t = 1 - float(std::abs(i)) / float(arm);
        c.set(int(at.x) + i, int(at.y), Ink{FIRE, 0.6f + 0.4f * t});
        if (std::abs(i) <= arm / 2) c.set(int(at.x), int(at.y) + i, Ink{FIRE, 0.6f + 0.4f * t});
    }
    c.set(int(at.x), int(at.y), Ink{GLOW, 0});
}

} // namespace

Picture title_picture(const Letters &f) {
    Palette pal;
    pal.fixed(WHITE, 1, {252, 252, 252});
    pal.fixed(EYE, 2, {252, 36, 24});
    pal.fixed(GLOW, 3, {252, 252, 208});
    pal.fixed(PROMPT, 4, {252, 240, 76}); // the blinking prompt's colour
    pal.ramp(SKY, 30,
             {{4, 4, 24}, {8, 8, 40}, {24, 12, 64}, {56, 20, 88}, {104, 32, 108}, {164, 60, 116}});
    pal.ramp(STAR, 4, {{72, 72, 112}, {252, 252, 252}});
    pal.ramp(MOON, 12, {{72, 64, 100}, {180, 176, 196}, {252, 248, 228}});
    pal.ramp(HILL_FAR, 6, {{28, 16, 56}, {60, 36, 92}});
    pal.ramp(HILL_NEAR, 6, {{8, 6, 20}, {28, 18, 44}});
    pal.ramp(ROAD, 16, {{8, 8, 16}, {28, 28, 40}, {64, 60, 72}, {140, 128, 116}, {236, 220, 176}});
    pal.ramp(LINE, 8, {{40, 40, 52}, {200, 200, 188}, {252, 252, 236}});
    pal.ramp(STEEL, 20,
             {{8, 8, 16}, {48, 52, 68}, {112, 120, 140}, {188, 196, 212}, {252, 252, 252}});
    pal.ramp(PAINT, 16, {{24, 4, 8}, {92, 16, 20}, {172, 40, 32}, {236, 112, 72}});
    pal.ramp(GLASS, 8, {{8, 20, 40}, {40, 96, 140}, {180, 232, 252}});
    pal.ramp(TYRE, 8, {{4, 4, 8}, {40, 40, 48}, {88, 88, 96}});
    pal.ramp(HAZARD, 8, {{60, 40, 0}, {200, 152, 0}, {252, 232, 80}});
    pal.ramp(FIRE, 16, {{64, 0, 0}, {180, 24, 0}, {244, 112, 0}, {252, 200, 40}, {252, 252, 200}});
    pal.ramp(HALO, 12, {{8, 8, 40}, {72, 12, 64}, {180, 40, 24}, {252, 140, 20}});
    pal.ramp(CHROME_UP, 12, {{16, 24, 72}, {64, 112, 188}, {172, 212, 252}, {252, 252, 252}});
    pal.ramp(CHROME_DOWN, 12, {{40, 16, 8}, {128, 60, 16}, {220, 140, 48}, {252, 224, 140}});
    pal.ramp(GREEN, 14, {{4, 16, 4}, {24, 64, 16}, {72, 140, 40}, {180, 232, 100}});
    pal.ramp(PURPLE, 12, {{12, 4, 20}, {56, 20, 76}, {128, 56, 148}, {212, 140, 220}});

    Canvas c(SCREEN_W, SCREEN_H);
    const int horizon = 124;
    sky(c, SKY, 0, horizon, 1.4f);
    stars(c, horizon - 8, 170, 11);
    moon(c, 288, 92, 22);
    Mask far = ridge(c, 108, 16, 70, 5);
    c.paint(far, [](int, int y) { return Ink{HILL_FAR, 0.9f - float(y - 92) / 40.f}; });
    ruins(c, 4, 236, 121, 4, HILL_FAR, 0.35f);
    Mask near = ridge(c, 119, 7, 26, 9);
    for (auto [tx, th] : {std::pair{196.f, 30.f}, {266.f, 22.f}, {34.f, 26.f}})
        dead_tree(near, {tx, 122}, th * 0.45f, 0.1f, 3, 4, int(tx));
    c.paint(near, HILL_NEAR, 0.3f);

    road(c, horizon + 6, 228, {141, 196, 214}, 3);
    kerb(c, horizon, horizon + 6, 0);
    kerb(c, 228, 233, 5);
    c.paint(c.blank().rect(0, 233, 320, 240), HILL_NEAR, 0.2f);

    // The truck in the upper lanes, its ram almost on the first monster.
    const Place at{8, 152, 0.95f};
    shadow(c, 105, 153, 110, 4, 0.12f);
    shadow(c, 250, 151, 22, 3, 0.1f);
    shadow(c, 298, 138, 16, 2, 0.08f);
    // Things on the lower lanes: a splat behind the truck, a bag and a drum ahead.
    remains(c, {46, 217, 1.0f}, GREEN);
    shadow(c, 196, 224, 12, 2, 0.1f);
    money_bag(c, {196, 224, 0.9f});
    shadow(c, 282, 222, 12, 2, 0.1f);
    barrel(c, {282, 222, 0.9f});
    imp(c, {300, 138, 0.72f}, PURPLE);
    zombie(c, {252, 151, 0.92f}, GREEN);
    truck(c, at, Light{});
    const Pt lamp = headlight(at);
    beam(c, lamp, 0.32f, 190, 156);
    flare(c, lamp, 7);

    // The logo: chrome letters in a fiery halo, the year underneath in flames.
    const float cell = 5, top = 7;
    Mask logo = text_mask(c, f, "VORK-ZEL", 160, top, cell, 1, 0.18f);
    glow(c, logo.grown(2), 7, HALO, 1.0f);
    bevelled(c, logo, 1.6f, STEEL, chrome(top, top + cell * float(f.rows())), 2);
    const float ytop = top + cell * float(f.rows()) + 5;
    Mask year = text_mask(c, f, "2003", 258, ytop, 2, 1, 0.18f);
    const float yh = 2 * float(f.rows());
    c.draw(
        year,
        [=](int, int y) {
            return Ink{FIRE, 1.0f - 0.8f * (float(y) - ytop) / yh};
        },
        1);

    return finish(c, pal);
}

Picture studio_picture(const Letters &f) {
    Palette pal;
    pal.fixed(WHITE, 1, {252, 252, 252});
    pal.ramp(SKY, 16, {{0, 0, 0}, {20, 4, 36}, {72, 12, 88}, {148, 36, 120}});
    pal.ramp(STAR, 4, {{40, 40, 72}, {220, 220, 252}});
    pal.ramp(GRID, 16, {{0, 0, 0}, {48, 8, 64}, {160, 40, 200}, {252, 140, 252}});
    pal.ramp(CHROME_UP, 16, {{8, 16, 60}, {48, 96, 180}, {160, 204, 252}, {252, 252, 252}});
    pal.ramp(CHROME_DOWN, 16, {{24, 8, 4}, {104, 44, 12}, {212, 128, 40}, {252, 220, 140}});
    pal.ramp(GOLD, 24,
             {{32, 12, 0}, {120, 64, 4}, {220, 160, 20}, {252, 232, 120}, {252, 252, 236}});
    pal.ramp(STEEL, 12, {{16, 8, 4}, {120, 80, 40}, {252, 240, 200}});
    pal.ramp(FIRE, 16, {{64, 0, 0}, {180, 24, 0}, {244, 112, 0}, {252, 200, 40}, {252, 252, 200}});
    pal.ramp(BAR, 16, {{0, 8, 24}, {8, 60, 120}, {40, 160, 220}, {200, 248, 252}});

    Canvas c(SCREEN_W, SCREEN_H);
    const float horizon = 150;
    sky(c, SKY, 40, int(horizon), 2.2f);
    stars(c, 120, 90, 23);

    // A neon floor running to the horizon.
    Mask floor = c.blank().rect(0, horizon, 320, 240);
    c.paint(floor, [=](int x, int y) {
        // Floor units: across is proportional to x over the height below the horizon, depth
        // to its inverse; distances to the nearest line are brought back to pixels.
        const float dy = float(y) + 0.5f - horizon;
        const float across = (float(x) + 0.5f - 160) * 4.5f / dy;
        const float px_across = std::fabs(across - std::round(across)) * dy / 4.5f;
        const float depth = 600 / dy;
        const float px_depth = std::fabs(depth - std::round(depth / 8) * 8) * dy * dy / 600;
        const float line = std::max(clamp01(1 - px_across / 0.9f), clamp01(1 - px_depth / 0.9f));
        const float near = clamp01(dy / 90);
        return Ink{GRID, 0.06f + 0.1f * near + line * (0.25f + 0.7f * near)};
    });
    c.paint(c.blank().rect(0, horizon, 320, horizon + 1), GRID, 0.95f);

    // The emblem: a chrome ball inside a golden ring.
    const float cx = 160, cy = 62, r = 38;
    auto ring = [&](bool front) {
        Mask m = c.blank().ellipse(cx, cy + 4, 72, 17);
        m.cut(c.blank().ellipse(cx, cy + 4, 60, 11));
        m.keep(front ? c.blank().rect(0, cy + 4, 320, 240) : c.blank().rect(0, 0, 320, cy + 4));
        if (!front) m.cut(c.blank().circle(cx, cy, r));
        c.draw(m, [=](int x, int y) {
            const float u = (float(x) - cx) / 72, v = (float(y) - cy - 4) / 17;
            return Ink{GOLD, (front ? 0.55f : 0.3f) + 0.35f * (1 - std::fabs(u)) - 0.25f * v};
        });
    };
    ring(false);
    Mask ball = c.blank().circle(cx, cy, r);
    c.draw(
        ball,
        [=](int x, int y) {
            const float nx = (float(x) + 0.5f - cx) / r, ny = (float(y) + 0.5f - cy) / r;
            const float nz = std::sqrt(clamp01(1 - nx * nx - ny * ny));
            // Reflected view ray: its height picks sky or ground.
            const float ry = 2 * nz * ny;
            const float glint =
                std::pow(clamp01(1 - std::hypot(nx + 0.38f, ny + 0.42f) * 2.4f), 2.f);
            if (ry < 0.08f && ny < 0.2f)
                return Ink{CHROME_UP, 0.3f + 0.7f * clamp01(1 + ry * 1.2f) + glint};
            return Ink{CHROME_DOWN, 0.25f + 0.7f * clamp01(ry * 1.4f) - 0.45f * (1 - nz)};
        },
        2);
    // The studio's mark cut into the ball: a bold T.
    Mask tee = c.blank()
                   .rect(cx - 17, cy - 22, cx + 17, cy - 12)
                   .add(c.blank().rect(cx - 5, cy - 14, cx + 5, cy + 24));
    bevelled(
        c, tee, 2, STEEL,
        [](int, int y) {
            return Ink{GOLD, 0.95f - float(y - 40) / 100.f};
        },
        1);

    ring(true);
    // Copper bars behind the name.
    for (float by : {118.f, 184.f}) {
        Mask bar = c.blank().rect(0, by - 6, 320, by + 6);
        c.paint(bar, [=](int, int y) {
            return Ink{BAR, 1 - std::fabs(float(y) + 0.5f - by) / 6.5f};
        });
    }

    const float top = 120;
    Mask name = text_mask(c, f, "TAVISK", 160, top, 6, 1);
    glow(c, name.grown(1), 6, GRID, 0.9f);
    bevelled(
        c, name, 2, STEEL,
        [=](int, int y) {
            const float v = (float(y) - top) / 48;
            return Ink{GOLD,
                       v < 0.5f ? 0.55f + 0.45f * v / 0.5f : 0.15f + 0.6f * (v - 0.5f) / 0.5f};
        },
        2);
    Mask soft = text_mask(c, f, "SOFT", 160, 176, 2, 3);
    c.draw(
        soft,
        [](int, int y) {
            return Ink{FIRE, 1.05f - float(y - 176) / 18.f};
        },
        1);
    Mask pres = text_mask(c, f, "PRESENTA", 160, 216, 1, 1);
    c.draw(
        pres,
        [](int, int) {
            return Ink{WHITE, 0};
        },
        1);
    return finish(c, pal);
}

Picture victory_picture(const Letters &) {
    Palette pal;
    pal.fixed(WHITE, 1, {252, 252, 252});
    pal.fixed(EYE, 2, {252, 36, 24});
    pal.fixed(GLOW, 3, {252, 252, 220});
    pal.ramp(SKY, 32,
             {{20, 12, 52},
              {64, 24, 96},
              {148, 48, 108},
              {228, 96, 80},
              {252, 160, 72},
              {252, 220, 128},
              {252, 248, 200}});
    pal.ramp(FIRE, 12, {{252, 160, 40}, {252, 220, 96}, {252, 252, 220}});
    pal.ramp(HILL_FAR, 8, {{96, 40, 92}, {156, 72, 108}});
    pal.ramp(HILL_NEAR, 8, {{24, 10, 32}, {64, 28, 60}});
    pal.ramp(PURPLE, 10, {{12, 4, 20}, {44, 16, 48}, {120, 48, 88}});
    pal.ramp(GREEN, 8, {{16, 32, 8}, {72, 120, 32}, {180, 220, 80}});
    pal.ramp(ROAD, 16, {{12, 8, 20}, {40, 28, 44}, {88, 64, 76}, {176, 124, 104}, {248, 200, 150}});
    pal.ramp(LINE, 8, {{60, 48, 60}, {232, 216, 196}, {252, 248, 232}});
    pal.ramp(STEEL, 20,
             {{12, 8, 20}, {56, 44, 68}, {128, 112, 128}, {216, 184, 168}, {252, 244, 220}});
    pal.ramp(PAINT, 16, {{28, 4, 12}, {100, 16, 24}, {184, 48, 36}, {252, 140, 80}});
    pal.ramp(GLASS, 8, {{20, 16, 48}, {120, 88, 140}, {252, 220, 180}});
    pal.ramp(TYRE, 8, {{6, 4, 10}, {44, 36, 48}, {100, 84, 88}});
    pal.ramp(HAZARD, 8, {{60, 40, 0}, {200, 152, 0}, {252, 232, 80}});

    Canvas c(SCREEN_W, SCREEN_H);
    const int horizon = 150;
    sky(c, SKY, 0, horizon, 0.85f);
    // Sun rays fanning out over the sky.
    const float sx = 244, sy = 136, sr = 24;
    c.shine(c.blank().rect(0, 0, 320, float(horizon)), [=](int x, int y) {
        const float a = std::atan2(float(y) - sy, float(x) - sx);
        const float d = std::hypot(float(x) - sx, float(y) - sy);
        const float ray = std::sin(a * 14) > 0.3f ? 0.07f : 0.f;
        return ray * clamp01(1 - d / 260) + 0.3f * clamp01(1 - (d - sr) / 70);
    });
    // Streaks of cloud lit from below.
    for (int i = 0; i < 6; i++) {
        const float cy = 30 + 16.f * float(i) + 6 * hash01(i, 0, 41);
        const float cxp = 40 + 240 * hash01(i, 1, 41);
        const float rx = 40 + 50 * hash01(i, 2, 41), ry = 2.5f + 2 * hash01(i, 3, 41);
        Mask cloud = c.blank()
                         .ellipse(cxp, cy, rx, ry)
                         .add(c.blank().ellipse(cxp + rx * 0.3f, cy - ry * 0.8f, rx * 0.5f, ry));
        c.shine(cloud, [=](int, int y) { return float(y) > cy + ry * 0.3f ? 0.12f : -0.12f; });
    }
    Mask sun = c.blank().circle(sx, sy, sr);
    c.paint(sun, [=](int x, int y) {
        const float d = std::hypot(float(x) + 0.5f - sx, float(y) + 0.5f - sy) / sr;
        return Ink{FIRE, 1.0f - 0.6f * d * d};
    });
    Mask far = ridge(c, 136, 14, 80, 31);
    c.paint(far, [](int, int y) { return Ink{HILL_FAR, 0.95f - float(y - 120) / 40.f}; });
    Mask near = ridge(c, 146, 6, 30, 37);
    c.paint(near, HILL_NEAR, 0.35f);

    // What is left of the last monsters, heaped on the hillside behind the truck.
    fallen(c, {42, 148, 1.0f}, PURPLE, 1);
    fallen(c, {100, 151, 0.7f}, PURPLE, 0);
    // Birds waking up.
    for (auto [bx, by] : {std::pair{150.f, 58.f}, {166.f, 52.f}, {178.f, 64.f}}) {
        Mask bird = c.blank()
                        .line({bx - 4, by - 2}, {bx, by}, 1)
                        .add(c.blank().line({bx, by}, {bx + 4, by - 2}, 1));
        c.paint(bird, HILL_NEAR, 0.2f);
    }

    road(c, horizon + 5, 228, {176, 204}, 8);
    kerb(c, horizon, horizon + 5, 3);
    kerb(c, 228, 233, 0);
    c.paint(c.blank().rect(0, 233, 320, 240), HILL_NEAR, 0.3f);
    // Low sun from the right: the road glows towards it.
    c.shine(c.blank().rect(0, float(horizon + 5), 320, 228), [=](int x, int y) {
        return 0.25f * clamp01(float(x) / 320) * clamp01(1 - float(y - horizon) / 90);
    });
    // Splats where the last monsters were run over.
    remains(c, {30, 216, 1.0f}, GREEN);
    remains(c, {66, 188, 0.8f}, PURPLE);

    const Place at{116, 207, 0.86f};
    // Long shadow stretching back, away from the sun.
    c.shine(c.blank().polygon({{20, 203}, {300, 203}, {300, 212}, {10, 212}}),
            [](int, int) { return -0.2f; }, {BLACK, GREEN, EYE});
    truck(c, at, Light{0.35f});
    return finish(c, pal);
}

} // namespace fotos
