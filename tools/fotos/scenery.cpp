#include "scenery.h"

#include <cmath>

namespace fotos {

namespace {

const float PI = 3.14159265f;

Mask shape(const Canvas &c, const Place &p, std::initializer_list<Pt> units) {
    std::vector<Pt> pts;
    for (Pt u : units)
        pts.push_back(p(u.x, u.y));
    return c.blank().polygon(pts);
}

Mask disc(const Canvas &c, const Place &p, float u, float v, float r) {
    const Pt q = p(u, v);
    return c.blank().circle(q.x, q.y, p.len(r));
}

Mask bar(const Canvas &c, const Place &p, Pt a, Pt b, float width) {
    return c.blank().line(p(a.x, a.y), p(b.x, b.y), p.len(width));
}

// A painted or armoured panel: lighter at the top with a polished strip below its upper
// edge, darker towards the ground, and warm on its right edge when the sun is up.
Shader panel(Ramp r, const Mask &m, float base, float spread, const Light &l) {
    const Mask::Box b = m.box();
    return [=](int x, int y) {
        const float u = b.u(x), v = b.v(y);
        float t = base + spread * (0.5f - v);
        t += 0.22f * (smooth(0.06f, 0.12f, v) - smooth(0.18f, 0.26f, v));
        t += l.rim * smooth(0.8f, 1.0f, u);
        return Ink{r, t};
    };
}

// Light catching the edges of a mask that face (dx, dy).
void edge_light(Canvas &c, const Mask &m, int dx, int dy, int width, float amount) {
    Mask lit = c.blank();
    for (int y = 0; y < m.height(); y++)
        for (int x = 0; x < m.width(); x++) {
            if (!m.at(x, y)) continue;
            for (int i = 1; i <= width; i++)
                if (!m.at(x + dx * i, y + dy * i)) {
                    lit.set(x, y);
                    break;
                }
        }
    c.shine(lit, [=](int, int) { return amount; });
}

void rivets(Canvas &c, const Place &p, float u0, float u1, float v, float step) {
    Mask dots = c.blank(), shade = c.blank();
    for (float u = u0; u <= u1 + 0.01f; u += step) {
        const Pt q = p(u, v);
        dots.set(int(q.x), int(q.y));
        shade.set(int(q.x) + 1, int(q.y) + 1);
    }
    c.paint(shade, STEEL, 0.1f);
    c.paint(dots, STEEL, 0.95f);
}

void wheel(Canvas &c, const Place &p, float u, float v, float r, const Light &l) {
    const Pt o = p(u, v);
    const float rad = p.len(r);
    Mask m = c.blank().circle(o.x, o.y, rad);
    c.draw(m, [=](int x, int y) {
        const float dx = float(x) + 0.5f - o.x, dy = float(y) + 0.5f - o.y;
        const float d = std::sqrt(dx * dx + dy * dy) / rad;
        const float lit = d > 0 ? -(dx + dy) / (d * rad * 1.4142f) : 0; // light from top-left
        if (d > 0.8f) {
            // Chunky tread blocks round the edge.
            const float a = std::atan2(dy, dx);
            const bool block = std::fmod(a / (2 * PI) * 18 + 18, 1.0f) < 0.55f;
            return Ink{TYRE,
                       (block ? 0.32f : 0.12f) + 0.18f * lit + l.rim * smooth(0.3f, 1, dx / rad)};
        }
        if (d > 0.56f) return Ink{TYRE, 0.42f + 0.22f * lit - 0.25f * (d - 0.56f) * 4};
        if (d > 0.5f) return Ink{TYRE, 0.08f};
        // Dished steel rim with a bright hub and six bolts.
        const float a = std::atan2(dy, dx);
        const float bolt = std::fabs(std::fmod(a / (2 * PI) * 6 + 6.5f, 1.0f) - 0.5f);
        if (d > 0.24f && d < 0.34f && bolt < 0.12f) return Ink{STEEL, 0.15f};
        if (d < 0.16f) return Ink{STEEL, 0.85f + 0.1f * lit};
        return Ink{STEEL, 0.5f + 0.35f * lit * (d < 0.42f ? 1.f : -0.6f)};
    });
}

} // namespace

Pt headlight(const Place &at) {
    return at(173, 48);
}

void truck(Canvas &c, const Place &p, const Light &l) {
    // Exhaust smoke and stack behind everything else.
    Mask smoke = c.blank();
    for (int i = 0; i < 4; i++)
        smoke.add(disc(c, p, 80 - 7.f * float(i), 112 + 9.f * float(i), 4 + 1.6f * float(i)));
    c.paint(smoke.ring(1).cut(smoke), STEEL, 0.05f);
    c.paint(smoke, STEEL, l.rim > 0 ? 0.45f : 0.22f);
    edge_light(c, smoke, 1, -1, 2, 0.12f);
    Mask stack = shape(c, p, {{79, 56}, {86, 56}, {86, 101}, {79, 101}});
    c.draw(stack, [=](int x, int) {
        const Mask::Box b = stack.box();
        return Ink{STEEL, 0.3f + 0.6f * std::sin(b.u(x) * PI * 0.9f)};
    });
    Mask cap = shape(c, p, {{77, 101}, {88, 101}, {88, 105}, {77, 105}});
    c.draw(cap, panel(STEEL, cap, 0.55f, 0.4f, l));

    // Roll cage over the bed, with a lamp on it.
    Mask cage = bar(c, p, {10, 58}, {14, 80}, 3.5f);
    cage.add(bar(c, p, {14, 80}, {70, 80}, 3.5f)).add(bar(c, p, {70, 80}, {76, 58}, 3.5f));
    cage.add(bar(c, p, {40, 80}, {44, 58}, 3));
    c.draw(cage, panel(STEEL, cage, 0.45f, 0.5f, l));
    Mask lamp = shape(c, p, {{24, 81}, {34, 81}, {36, 89}, {22, 89}});
    c.draw(lamp, panel(STEEL, lamp, 0.4f, 0.5f, l));
    c.paint(shape(c, p, {{34, 83}, {36, 83}, {37, 88}, {35, 88}}), GLOW, 0);

    // Chassis rail, then the wheels, then the body with its wheel arches over them.
    Mask frame = shape(c, p, {{12, 14}, {174, 14}, {174, 27}, {12, 27}});
    c.draw(frame, [](int, int) { return Ink{STEEL, 0.12f}; });
    Mask flap = shape(c, p, {{9, 4}, {15, 4}, {15, 26}, {9, 26}});
    c.draw(flap, [](int, int) { return Ink{TYRE, 0.15f}; });
    wheel(c, p, 42, 21, 21, l);
    wheel(c, p, 146, 21, 21, l);

    Mask arches = disc(c, p, 42, 21, 26).add(disc(c, p, 146, 21, 26));
    Mask bed = shape(c, p, {{3, 27}, {3, 58}, {88, 58}, {88, 27}});
    bed.cut(arches);
    c.draw(bed, panel(PAINT, bed, 0.48f, 0.5f, l));
    // Armour plates bolted on the bed side.
    for (float u : {32.f, 58.f})
        c.paint(bar(c, p, {u, 30}, {u, 55}, 1.2f), PAINT, 0.08f);
    rivets(c, p, 7, 84, 54, 6.5f);
    Mask rail = shape(c, p, {{1, 58}, {90, 58}, {90, 63}, {1, 63}});
    c.draw(rail, panel(STEEL, rail, 0.55f, 0.6f, l));

    Mask cab = shape(c, p, {{88, 27}, {88, 92}, {122, 92}, {140, 63}, {140, 27}});
    cab.cut(arches);
    Mask hood = shape(c, p, {{138, 27}, {138, 63}, {172, 57}, {178, 50}, {178, 27}});
    hood.cut(arches);
    Mask body = cab;
    body.add(hood);
    c.paint(body.ring(1), BLACK, 0);
    c.paint(cab, panel(PAINT, cab, 0.5f, 0.45f, l));
    c.paint(hood, panel(PAINT, hood, 0.52f, 0.7f, l));
    c.paint(bar(c, p, {139, 30}, {139, 62}, 1), PAINT, 0.1f);
    // Door seam and handle.
    c.paint(bar(c, p, {93, 30}, {93, 62}, 1), PAINT, 0.12f);
    c.paint(bar(c, p, {130, 30}, {130, 62}, 1), PAINT, 0.12f);
    c.paint(shape(c, p, {{120, 55}, {127, 55}, {127, 57}, {120, 57}}), STEEL, 0.9f);
    // Hood louvres.
    for (int i = 0; i < 3; i++) {
        const float u = 148 + 7.f * float(i);
        c.paint(bar(c, p, {u, 52}, {u + 4, 57}, 1.2f), PAINT, 0.1f);
    }

    // Armoured side window: a slit of glass behind two bars.
    Mask glass = shape(c, p, {{95, 67}, {95, 86}, {119, 86}, {131, 67}});
    const Mask::Box gb = glass.box();
    c.draw(glass, [=](int x, int y) {
        const float u = gb.u(x), v = gb.v(y);
        const float streak = std::fabs(u - v * 0.7f - 0.35f) < 0.09f ? 0.35f : 0.f;
        return Ink{GLASS, 0.25f + 0.45f * (1 - v) + streak + 0.5f * l.rim * u};
    });
    Mask bars = bar(c, p, {104, 66}, {104, 87}, 2.2f).add(bar(c, p, {113, 66}, {113, 87}, 2.2f));
    c.draw(bars, panel(STEEL, bars, 0.5f, 0.4f, l));

    // Roof light bar.
    Mask roof = shape(c, p, {{94, 92}, {120, 92}, {120, 97}, {94, 97}});
    c.draw(roof, panel(STEEL, roof, 0.4f, 0.4f, l));
    for (int i = 0; i < 3; i++) {
        const float u = 97 + 8.f * float(i);
        c.paint(shape(c, p, {{u, 93}, {u + 4, 93}, {u + 4, 96}, {u, 96}}), HAZARD, 0.95f);
    }

    // Armoured skirt between the wheels and behind the rear one.
    Mask skirt = shape(c, p, {{0, 22}, {180, 22}, {180, 31}, {0, 31}});
    skirt.cut(arches);
    c.draw(skirt, panel(STEEL, skirt, 0.4f, 0.6f, l));
    rivets(c, p, 3, 16, 26, 6);
    rivets(c, p, 72, 116, 26, 6);
    rivets(c, p, 174, 178, 26, 6);

    // Lights.
    c.draw(shape(c, p, {{0, 44}, {4, 44}, {4, 53}, {0, 53}}), [](int, int) { return Ink{EYE, 0}; });
    Mask head = shape(c, p, {{170, 44}, {177, 44}, {177, 51}, {170, 51}});
    c.draw(head, [](int, int) { return Ink{GLOW, 0}; });

    // The ram: a braced plough with hazard stripes and three spikes.
    Mask brace = shape(c, p, {{176, 14}, {186, 14}, {186, 50}, {176, 50}});
    c.draw(brace, panel(STEEL, brace, 0.3f, 0.5f, l));
    Mask plate = shape(c, p, {{184, 2}, {197, 8}, {204, 30}, {197, 54}, {184, 60}});
    const Place q = p;
    c.draw(plate, [=](int x, int y) {
        const Pt o = q(184, 2);
        const float k = (float(x) - o.x + (o.y - float(y)) * 0.8f) / q.len(7);
        const bool stripe = std::fmod(k + 100, 2.0f) < 1.0f;
        const Mask::Box b = plate.box();
        const float shade = 0.25f * (0.5f - b.v(y)) + 0.3f * l.rim * b.u(x);
        return stripe ? Ink{HAZARD, 0.7f + shade} : Ink{STEEL, 0.15f + shade};
    });
    Mask spikes = c.blank();
    for (float v : {12.f, 30.f, 48.f}) {
        const float base = 204 - std::fabs(v - 30) * 0.32f;
        spikes.add(shape(c, p, {{base - 3, v - 4.5f}, {base + 13, v}, {base - 3, v + 4.5f}}));
    }
    c.draw(spikes, [=](int, int y) {
        const Mask::Box b = spikes.box();
        const float v = std::fmod(b.v(y) * 3, 1.0f);
        return Ink{STEEL, 0.95f - 0.8f * v + 0.2f * l.rim};
    });

    if (l.rim > 0) {
        edge_light(c, body, 1, 0, 2, l.rim * 0.5f);
        edge_light(c, plate, 1, 0, 2, l.rim * 0.4f);
    } else {
        // Moonlight along the top edges.
        Mask tops = body;
        tops.add(bed).add(rail).add(cage);
        edge_light(c, tops, 0, -1, 1, 0.18f);
    }
}

// Shading for the monsters' flesh: rounded by its own distance from the outline.
static Shader flesh(const Mask &m, Ramp skin, float base) {
    const std::vector<float> depth = m.depth();
    const Mask::Box b = m.box();
    const int w = m.width();
    return [=](int x, int y) {
        const float d = std::min(depth[y * w + x], 6.f) / 6.f;
        return Ink{skin, base + 0.25f * d + 0.15f * (0.5f - b.v(y))};
    };
}

void zombie(Canvas &c, const Place &p, Ramp skin) {
    // Far limbs first, darker.
    Mask back = bar(c, p, {6, 34}, {11, 3}, 10).add(bar(c, p, {10, 56}, {2, 70}, 8));
    back.add(bar(c, p, {2, 70}, {-6, 80}, 7));
    c.draw(back, flesh(back, skin, 0.05f));
    Mask rags = shape(c, p, {{-13, 24}, {15, 24}, {17, 38}, {-15, 38}});
    Mask torso = c.blank();
    {
        const Pt o = p(0, 46);
        torso.ellipse(o.x, o.y, p.len(17), p.len(18));
    }
    torso.add(rags);
    c.draw(torso, flesh(torso, skin, 0.3f));
    // Torn trousers over the hips.
    Mask trousers = shape(
        c, p, {{-14, 22}, {16, 22}, {17, 33}, {11, 30}, {6, 34}, {0, 29}, {-6, 34}, {-15, 31}});
    c.draw(trousers, [=](int, int y) {
        return Ink{PURPLE, 0.25f + 0.2f * (0.5f - trousers.box().v(y))};
    });
    Mask leg = bar(c, p, {-6, 26}, {-10, 3}, 10);
    c.draw(leg, flesh(leg, skin, 0.2f));
    Mask feet = c.blank();
    for (float u : {-14.f, 9.f}) {
        const Pt o = p(u, 3);
        feet.ellipse(o.x, o.y, p.len(8), p.len(3.5f));
    }
    c.draw(feet, flesh(feet, skin, 0.1f));
    // Head pushed forward with a gaping jaw.
    Mask head = c.blank();
    {
        const Pt o = p(-7, 68);
        head.ellipse(o.x, o.y, p.len(12), p.len(11));
    }
    c.draw(head, flesh(head, skin, 0.35f));
    Mask mouth = shape(c, p, {{-19, 64}, {-8, 66}, {-6, 60}, {-17, 56}});
    c.paint(mouth, BLACK, 0);
    Mask teeth = c.blank();
    for (int i = 0; i < 3; i++) {
        const float u = -17 + 3.5f * float(i);
        teeth.add(shape(
            c, p,
            {{u, 65.5f - 0.3f * float(i)}, {u + 2.5f, 65.8f - 0.3f * float(i)}, {u + 1.2f, 62}}));
        teeth.add(shape(
            c, p,
            {{u + 1, 56.5f + 0.4f * float(i)}, {u + 3.5f, 57 + 0.4f * float(i)}, {u + 2.2f, 60}}));
    }
    c.paint(teeth, WHITE, 0);
    Mask brow = bar(c, p, {-17, 73}, {-4, 72}, 2.5f);
    c.paint(brow, skin, 0.1f);
    Mask eyes = disc(c, p, -14, 69, 2.0f).add(disc(c, p, -6, 69, 2.2f));
    c.paint(eyes, EYE, 0);
    // Near arm reaching for the truck, with claws.
    Mask arm = bar(c, p, {-8, 56}, {-22, 58}, 8).add(bar(c, p, {-22, 58}, {-32, 72}, 7));
    c.draw(arm, flesh(arm, skin, 0.25f));
    Mask claws = c.blank();
    for (int i = 0; i < 3; i++) {
        const float a = -0.6f + 0.5f * float(i);
        const Pt o = p(-33, 74);
        const float r = p.len(8);
        claws.line(o, {o.x + std::sin(a) * r * 0.8f - r * 0.4f, o.y - std::cos(a) * r}, p.len(2));
    }
    c.draw(claws, [=](int, int) { return Ink{skin, 0.75f}; });
}

void imp(Canvas &c, const Place &p, Ramp skin) {
    // Bat wings behind the body.
    Mask wings = shape(
        c, p, {{2, 46}, {24, 70}, {36, 60}, {34, 50}, {28, 52}, {26, 44}, {18, 46}, {14, 38}});
    wings.add(shape(c, p, {{-2, 46}, {-6, 72}, {-16, 62}, {-15, 54}, {-10, 55}, {-10, 47}}));
    const Mask::Box wb = wings.box();
    c.draw(wings, [=](int x, int y) {
        return Ink{skin, 0.08f + 0.2f * (1 - wb.v(y)) + 0.05f * std::sin(float(x) * 0.9f)};
    });
    Mask tail = bar(c, p, {6, 22}, {18, 12}, 2.5f).add(bar(c, p, {18, 12}, {26, 18}, 2.5f));
    tail.add(shape(c, p, {{24, 14}, {32, 22}, {24, 24}}));
    c.draw(tail, flesh(tail, skin, 0.15f));
    Mask legs = bar(c, p, {-3, 24}, {-6, 2}, 5).add(bar(c, p, {5, 24}, {6, 2}, 5));
    legs.add(bar(c, p, {-6, 2}, {-12, 1}, 3)).add(bar(c, p, {6, 2}, {0, 1}, 3));
    c.draw(legs, flesh(legs, skin, 0.15f));
    Mask body = c.blank();
    {
        const Pt o = p(0, 34);
        body.ellipse(o.x, o.y, p.len(10), p.len(13));
    }
    c.draw(body, flesh(body, skin, 0.3f));
    Mask head = disc(c, p, -2, 53, 9);
    head.add(shape(c, p, {{-10, 52}, {-16, 47}, {-6, 48}}));
    c.draw(head, flesh(head, skin, 0.35f));
    Mask horns = shape(c, p, {{-8, 58}, {-16, 70}, {-12, 71}, {-3, 61}});
    horns.add(shape(c, p, {{3, 59}, {6, 73}, {9, 71}, {7, 58}}));
    const Mask::Box hb = horns.box();
    c.draw(horns, [=](int, int y) { return Ink{STEEL, 0.9f - 0.7f * hb.v(y)}; });
    Mask grin = bar(c, p, {-12, 49}, {-4, 47}, 1.5f);
    c.paint(grin, BLACK, 0);
    c.paint(disc(c, p, -7, 55, 1.7f).add(disc(c, p, -1, 55, 1.7f)), GLOW, 0);
    Mask arm = bar(c, p, {-4, 40}, {-14, 34}, 4).add(bar(c, p, {-14, 34}, {-20, 42}, 3.5f));
    c.draw(arm, flesh(arm, skin, 0.3f));
    // A pitchfork.
    Mask fork = bar(c, p, {-21, 12}, {-20, 62}, 2).add(bar(c, p, {-25, 60}, {-15, 60}, 2));
    for (float u : {-25.f, -20.f, -15.f})
        fork.add(bar(c, p, {u, 60}, {u, 68}, 1.6f));
    c.draw(fork, [](int, int) { return Ink{STEEL, 0.6f}; });
}

void fallen(Canvas &c, const Place &p, Ramp skin, int kind) {
    // A heap of a body with its legs up and crossed-out eyes.
    Mask m = c.blank();
    {
        const Pt o = p(0, 9);
        m.ellipse(o.x, o.y, p.len(26), p.len(10));
    }
    m.add(disc(c, p, -25, 12, 9));
    m.add(bar(c, p, {10, 14}, {18, 30}, 6)).add(bar(c, p, {18, 30}, {24, 28}, 5));
    m.add(bar(c, p, {16, 12}, {30, 26}, 6));
    if (kind == 1) {
        m.add(shape(c, p, {{-30, 18}, {-36, 32}, {-26, 21}}));
        m.add(shape(c, p, {{-22, 19}, {-18, 34}, {-17, 20}}));
    } else {
        m.add(bar(c, p, {-8, 14}, {-12, 32}, 4)).add(bar(c, p, {-12, 32}, {-18, 36}, 3));
    }
    c.draw(m, flesh(m, skin, 0.1f), 0);
    Mask x = c.blank();
    for (float u : {-29.f, -22.f}) {
        x.add(bar(c, p, {u - 1.5f, 11}, {u + 1.5f, 15}, 1));
        x.add(bar(c, p, {u - 1.5f, 15}, {u + 1.5f, 11}, 1));
    }
    c.paint(x, skin, 0.9f);
}

void barrel(Canvas &c, const Place &p) {
    Mask drum = shape(c, p, {{-9, 0}, {9, 0}, {9, 24}, {-9, 24}});
    const Mask::Box b = drum.box();
    c.draw(drum, [=](int x, int y) {
        // A cylinder lit from the left, with a yellow warning band round the middle.
        const float u = b.u(x), v = b.v(y);
        const float round = std::sin((u * 0.85f + 0.1f) * PI);
        const bool band = v > 0.38f && v < 0.62f;
        return Ink{band ? HAZARD : PAINT, 0.12f + 0.7f * round * (1.1f - u * 0.6f)};
    });
    for (float v : {4.f, 20.f})
        c.paint(bar(c, p, {-9, v}, {9, v}, 1.3f), STEEL, 0.35f);
    // The cap on top.
    c.draw(shape(c, p, {{1, 24}, {6, 24}, {6, 27}, {1, 27}}), [](int, int) {
        return Ink{STEEL, 0.6f};
    });
}

void money_bag(Canvas &c, const Place &p) {
    Mask bag = c.blank();
    {
        const Pt o = p(0, 9);
        bag.ellipse(o.x, o.y, p.len(12), p.len(10));
    }
    bag.add(shape(c, p, {{-4, 15}, {4, 15}, {6, 24}, {-6, 24}}));
    const Mask::Box b = bag.box();
    c.draw(bag, [=](int x, int y) {
        const float u = b.u(x) - 0.35f, v = b.v(y) - 0.45f;
        return Ink{CHROME_DOWN, 0.75f - 0.9f * (u * u + v * v) - 0.2f * b.v(y)};
    });
    c.paint(bar(c, p, {-5, 17}, {5, 17}, 1.6f), PAINT, 0.2f);
    // A coin sign and a glint.
    Mask sign = bar(c, p, {0, 3}, {0, 13}, 1.2f);
    sign.add(bar(c, p, {3, 11}, {-3, 9}, 1.5f)).add(bar(c, p, {-3, 9}, {3, 6}, 1.5f));
    sign.add(bar(c, p, {3, 6}, {-3, 4}, 1.5f));
    c.paint(sign, CHROME_DOWN, 0.15f);
    const Pt g = p(-6, 14);
    for (int i = -3; i <= 3; i++) {
        c.set(int(g.x) + i, int(g.y), Ink{WHITE, 0});
        c.set(int(g.x), int(g.y) + i, Ink{WHITE, 0});
    }
}

void remains(Canvas &c, const Place &p, Ramp skin) {
    // Green and red goo splashed wide round a flattened heap, with a few drops further out.
    Mask green = c.blank(), red = c.blank();
    for (int i = 0; i < 12; i++) {
        const float side = i % 2 ? 1.f : -1.f;
        const Pt o = p(side * (6 + 18 * hash01(i, 0, 9)), 1 + 5 * hash01(i, 2, 9));
        const float rx = p.len(2.5f + 4 * hash01(i, 1, 9)), ry = p.len(1.2f + hash01(i, 3, 9));
        (i % 3 == 0 ? red : green).ellipse(o.x, o.y, rx, ry);
        const Pt drop = p(side * (26 + 8 * hash01(i, 4, 9)), 2 + 6 * hash01(i, 5, 9));
        (i % 3 == 0 ? red : green).circle(drop.x, drop.y, p.len(0.9f));
    }
    Mask goo = green;
    goo.add(red);
    c.paint(goo.ring(1), GREEN, 0.05f);
    c.paint(green, GREEN, 0.65f);
    c.paint(red, EYE, 0);
    Mask heap = c.blank();
    {
        const Pt o = p(0, 3);
        heap.ellipse(o.x, o.y, p.len(11), p.len(3.5f));
    }
    heap.add(bar(c, p, {-8, 4}, {-14, 8}, 2.5f)).add(bar(c, p, {7, 4}, {11, 9}, 2.5f));
    c.draw(heap, flesh(heap, skin, 0.2f));
    // Crossed-out eyes: nothing left to fight.
    Mask x = c.blank();
    for (float u : {-4.f, 2.f}) {
        x.add(bar(c, p, {u - 1.2f, 2.5f}, {u + 1.2f, 5}, 0.8f));
        x.add(bar(c, p, {u - 1.2f, 5}, {u + 1.2f, 2.5f}, 0.8f));
    }
    c.paint(x, WHITE, 0);
}

void sky(Canvas &c, Ramp r, int y0, int y1, float curve) {
    c.fill([=](int, int y) {
        const float t = clamp01(float(y - y0) / float(y1 - y0));
        return Ink{r, std::pow(t, curve)};
    });
}

void stars(Canvas &c, int y_max, int count, int seed) {
    for (int i = 0; i < count; i++) {
        const int x = int(hash01(i, 1, seed) * float(c.width()));
        const int y = int(hash01(i, 2, seed) * float(y_max));
        const float bright = hash01(i, 3, seed);
        // Fewer and dimmer stars near the horizon glow.
        if (hash01(i, 4, seed) < float(y) / float(y_max) * 0.8f) continue;
        c.set(x, y, Ink{STAR, 0.3f + 0.7f * bright});
        if (bright > 0.85f) {
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                c.set(x + dx, y + dy, Ink{STAR, 0.3f});
        }
    }
}

Mask ridge(const Canvas &c, float base, float height, float scale, int seed) {
    std::vector<Pt> pts{{0, float(c.height())}};
    for (int x = 0; x <= c.width(); x++) {
        float n = 0, amp = 1, f = 1;
        for (int o = 0; o < 4; o++) {
            n += amp * (noise(float(x) / scale * f, 0.5f, seed + o) - 0.5f);
            amp *= 0.5f;
            f *= 2.1f;
        }
        pts.push_back({float(x), base - height * n * 1.4f});
    }
    pts.push_back({float(c.width()), float(c.height())});
    return c.blank().polygon(pts);
}

} // namespace fotos
