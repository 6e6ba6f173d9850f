// The letter source reader, the letterform pieces and the ramp palette with its dither.
#include "canvas.h"
#include "letters.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace fotos;

namespace {

int count(const Mask &m) {
    int n = 0;
    for (int y = 0; y < m.height(); y++)
        for (int x = 0; x < m.width(); x++)
            n += m.at(x, y);
    return n;
}

Letters one_row(const std::string &cells) {
    Letters f;
    std::string err, src = "rows 1\n";
    for (size_t i = 0; i < cells.size(); i++)
        src += "= " + std::string(1, char('a' + i)) + "\n" + cells.substr(i, 1) + "\n";
    EXPECT_TRUE(f.parse(src, err)) << err;
    return f;
}

} // namespace

TEST(LetterSource, ReadsLettersAndMeasuresText) {
    Letters f;
    std::string err;
    ASSERT_TRUE(f.parse("; two letters\nrows 2\n= A\nr7\nLJ\n\n= -\n...\n###\n", err)) << err;
    EXPECT_EQ(f.rows(), 2);
    EXPECT_TRUE(f.has('A'));
    EXPECT_TRUE(f.has('-'));
    EXPECT_FALSE(f.has('B'));
    // Widths in cells: 2 + gap 1 + 3 + gap 1 + space 3 + gap 1 + 2.
    EXPECT_FLOAT_EQ(f.width("A- A", 4, 1), 13 * 4);
    Mask m(40, 10);
    EXPECT_THROW(f.draw(m, "AB", 0, 0, 2, 1), std::runtime_error);
}

TEST(LetterSource, RefusesMalformedSourcesNamingTheLine) {
    const struct {
        const char *src, *why;
    } bad[] = {
        {"= A\n#\n", "letters come after the rows line"},
        {"rows 2\n= A\n##\n#\n", "line 4: rows of a letter differ in width"},
        {"rows 1\n= A\n#x\n", "line 3: unknown cell 'x'"},
        {"rows 2\n= A\n#\n= B\n#\n#\n", "line 4: letter 'A' needs 2 rows"},
        {"rows 1\n= A\n#\n#\n", "line 4: too many rows"},
        {"rows 1\n= A\n#\n= A\n#\n", "line 4: letter 'A' given twice"},
        {"rows 1\n#\n", "line 2: cells before any '=' line"},
        {"rows 1\n= AB\n#\n", "line 2: a letter is named by one character"},
        {"rows 0\n", "line 1: bad row count"},
        {"rows 2\n= A\n#\n", "letter 'A' needs 2 rows"},
        {"; nothing\nrows 3\n", "no letters"},
    };
    for (const auto &b : bad) {
        Letters f;
        std::string err;
        EXPECT_FALSE(f.parse(b.src, err)) << b.src;
        EXPECT_NE(err.find(b.why), std::string::npos) << "got: " << err << "\nfor: " << b.src;
    }
}

TEST(LetterPieces, MatchingCornersTileTheirCellWithoutGaps) {
    // Each pair cuts one cell along the same diagonal from opposite sides, so together they
    // cover the whole cell and each covers about half of it.
    const int cell = 8;
    for (const char *pair : {"rJ", "7L", "v^"}) {
        const Letters f = one_row(pair);
        Mask a(cell, cell), b(cell, cell), both(cell, cell);
        f.draw(a, "a", 0, 0, cell, 0);
        f.draw(b, "b", 0, 0, cell, 0);
        both.add(a).add(b);
        EXPECT_EQ(count(both), cell * cell) << pair;
        if (pair[0] != 'v') {
            EXPECT_NEAR(count(a), cell * cell / 2, cell) << pair;
            EXPECT_NEAR(count(b), cell * cell / 2, cell) << pair;
        }
    }
    // The corner a piece rounds off is empty, the opposite one solid.
    const Letters f = one_row("r7LJ");
    const int corner[4][2] = {{0, 0}, {cell - 1, 0}, {0, cell - 1}, {cell - 1, cell - 1}};
    for (int i = 0; i < 4; i++) {
        Mask m(cell, cell);
        f.draw(m, std::string(1, char('a' + i)), 0, 0, cell, 0);
        EXPECT_FALSE(m.at(corner[i][0], corner[i][1])) << i;
        EXPECT_TRUE(m.at(corner[3 - i][0], corner[3 - i][1])) << i;
    }
}

TEST(LetterPieces, SlantShiftsUpperRowsRight) {
    const Letters f = one_row("#");
    Mask straight(40, 20), slanted(40, 20);
    f.draw(straight, "a", 0, 0, 10, 0);
    f.draw(slanted, "a", 0, 0, 10, 0, 0.5f);
    EXPECT_EQ(count(straight), count(slanted));
    EXPECT_TRUE(straight.at(0, 0));
    EXPECT_FALSE(slanted.at(0, 0));
    EXPECT_TRUE(slanted.at(5, 0)); // top row moved by half the height
    EXPECT_TRUE(slanted.at(0, 9)); // bottom row stays
}

TEST(RampPalette, RampsAreExactIn6BitsAndEndOnTheirKeys) {
    Palette p;
    p.fixed(PROMPT, 4, {250, 241, 77});
    p.ramp(SKY, 10, {{3, 9, 30}, {201, 130, 255}});
    p.ramp(ROAD, 5, {{0, 0, 0}, {100, 100, 100}, {0, 0, 0}});
    EXPECT_EQ(p.used(), 20);
    const auto &c = p.colours();
    for (int i = 0; i < 256; i++)
        for (int v : {c[i].r, c[i].g, c[i].b}) {
            EXPECT_EQ(v % 4, 0) << i;
            EXPECT_LE(v, 252) << i;
        }
    EXPECT_EQ(c[0].r + c[0].g + c[0].b, 0);
    EXPECT_EQ(c[4].r, 252);
    EXPECT_EQ(c[4].b, 76);
    EXPECT_EQ(c[5].b, 32);   // first sky entry on its first key, rounded
    EXPECT_EQ(c[14].r, 200); // last one on its last key
    EXPECT_EQ(c[17].g, 100); // the middle key of the road ramp is met exactly
    for (int i = 6; i < 15; i++)
        EXPECT_GE(c[i].r, c[i - 1].r);
    EXPECT_THROW(p.fixed(WHITE, 3, {1, 1, 1}), std::logic_error); // indexes already handed out
    EXPECT_THROW(p.ramp(SKY, 4, {{0, 0, 0}, {4, 4, 4}}), std::logic_error);
    EXPECT_THROW(p.ramp(STEEL, 240, {{0, 0, 0}, {4, 4, 4}}), std::logic_error);
}

TEST(RampPalette, DitherAveragesToTheToneAndStaysInItsRamp) {
    Palette p;
    p.ramp(SKY, 9, {{0, 0, 0}, {252, 252, 252}});
    for (float tone : {0.f, 0.1f, 0.33f, 0.5f, 0.77f, 1.f}) {
        Canvas c(8, 8);
        c.fill([=](int, int) { return Ink{SKY, tone}; });
        const auto px = p.dither(c);
        double sum = 0;
        for (auto i : px) {
            ASSERT_GE(i, 1);
            ASSERT_LE(i, 9);
            sum += i - 1;
        }
        // The 4x4 ordered dither reproduces the tone to within one sixteenth of a step.
        EXPECT_NEAR(sum / double(px.size()), tone * 8, 1.0 / 16 + 1e-6) << tone;
    }
    Canvas other(2, 2);
    other.fill([](int, int) { return Ink{GOLD, 0.5f}; });
    EXPECT_THROW(p.dither(other), std::logic_error);
}

TEST(Shapes, NeighbouringPolygonsShareNoPixelAndLeaveNoGap) {
    // Pixels belong to a shape when their centres do, so shapes that meet along an edge,
    // even a slanted one, split the pixels there between them.
    Mask left(20, 20), right(20, 20), all(20, 20);
    left.polygon({{2.3f, 1}, {11.6f, 1}, {7.2f, 17.5f}, {2.3f, 17.5f}});
    right.polygon({{11.6f, 1}, {17.8f, 1}, {17.8f, 17.5f}, {7.2f, 17.5f}});
    all.polygon({{2.3f, 1}, {17.8f, 1}, {17.8f, 17.5f}, {2.3f, 17.5f}});
    Mask overlap = left;
    overlap.keep(right);
    EXPECT_EQ(count(overlap), 0);
    EXPECT_EQ(count(left) + count(right), count(all));
    EXPECT_EQ(count(Mask(10, 10).rect(1, 2, 5, 5)), 12);
    const Mask::Box b = Mask(10, 10).rect(1, 2, 5, 5).box();
    EXPECT_EQ(b.x0, 1);
    EXPECT_EQ(b.y0, 2);
    EXPECT_EQ(b.x1, 4);
    EXPECT_EQ(b.y1, 4);
    EXPECT_TRUE(Mask(4, 4).empty());
}

TEST(Shapes, DistancesGrowAndRingFollowTheEuclideanOnes) {
    Mask dot(41, 41);
    dot.set(20, 20);
    const std::vector<float> d = dot.distance();
    for (auto [x, y] : {std::pair{30, 20}, {20, 5}, {28, 26}, {35, 31}, {0, 0}}) {
        const float real = std::hypot(float(x - 20), float(y - 20));
        EXPECT_NEAR(d[y * 41 + x], real, real * 0.09f) << x << "," << y;
    }
    // A disc grown by 3 is about the disc of radius r + 3; its ring is what was added.
    Mask disc(41, 41);
    disc.circle(20.5f, 20.5f, 8);
    const Mask grown = disc.grown(3), ring = disc.ring(3);
    EXPECT_NEAR(count(grown), 3.14159 * 11 * 11, 20);
    EXPECT_EQ(count(ring), count(grown) - count(disc));
    const std::vector<float> depth = disc.depth();
    EXPECT_NEAR(depth[20 * 41 + 20], 8, 1);
    EXPECT_EQ(depth[0], 0);
}

TEST(Shapes, ShineKeepsRampsClampsAndSparesTheListedOnes) {
    Canvas c(3, 1);
    c.set(0, 0, Ink{SKY, 0.5f});
    c.set(1, 0, Ink{ROAD, 0.9f});
    c.set(2, 0, Ink{STAR, 0.5f});
    Mask all(3, 1);
    all.rect(0, 0, 3, 1);
    c.shine(all, [](int, int) { return 0.3f; }, {STAR});
    EXPECT_EQ(c.at(0, 0).ramp, SKY);
    EXPECT_FLOAT_EQ(c.at(0, 0).tone, 0.8f);
    EXPECT_FLOAT_EQ(c.at(1, 0).tone, 1.0f);
    EXPECT_FLOAT_EQ(c.at(2, 0).tone, 0.5f);
}
