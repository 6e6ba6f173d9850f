// The font as the game loads it: object 1 of datos/font.dat, a colour font whose glyphs fit the
// game's text layout and survive being drawn in one colour.
#include "arte_test.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class Font : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        arte_test::start_allegro();
        data_ = load_datafile((arte_test::first_run() + "/font.dat").c_str());
        PALETTE pal;
        BITMAP *sheet = load_bitmap((arte_test::first_run() + "/imagen.bmp").c_str(), pal);
        if (sheet) {
            for (int i = 0; i < 256; ++i)
                pal_[i] = pal[i];
            destroy_bitmap(sheet);
        }
    }
    static void TearDownTestSuite() {
        if (data_) unload_datafile(data_);
        data_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(data_, nullptr) << "load_datafile failed";
        ASSERT_NE(data_[0].type, DAT_END);
        ASSERT_NE(data_[1].type, DAT_END) << "the font must be object 1";
        ASSERT_EQ(data_[1].type, DAT_FONT);
        font_ = static_cast<FONT *>(data_[1].dat);
    }

    // The text drawn on a cleared bitmap, as palette indexes.
    std::vector<int> draw(const std::string &s, int colour) {
        BITMAP *b = create_bitmap(16 * 13, 24);
        clear_to_color(b, 0);
        textout_ex(b, font_, s.c_str(), 0, 0, colour, -1);
        std::vector<int> px;
        for (int y = 0; y < b->h; ++y)
            for (int x = 0; x < b->w; ++x)
                px.push_back(getpixel(b, x, y));
        destroy_bitmap(b);
        return px;
    }

    static DATAFILE *data_;
    static PALETTE pal_;
    FONT *font_ = nullptr;
};

DATAFILE *Font::data_ = nullptr;
PALETTE Font::pal_;

TEST_F(Font, FitsTheGameTextLayout) {
    EXPECT_TRUE(is_color_font(font_));
    EXPECT_LE(text_height(font_), 20); // ranking rows are 21 pixels apart
    EXPECT_GE(text_height(font_), 12);
    for (int c = 32; c <= 126; ++c) {
        const std::string s(1, static_cast<char>(c));
        EXPECT_LE(text_length(font_, s.c_str()), 13) << "'" << s << "'"; // initials 13 px apart
        EXPECT_GT(text_length(font_, s.c_str()), 0) << "'" << s << "'";
    }
    for (const char *s :
         {"SELECIONA LA DIFICULTAD", "RANKING - QUIERO JUGAR", "INGRESA TUS INICIALES",
          "RANKING - VOY DE PASEO", "PUNTOS:  200 VIDAS: 5", "TOTAL:     21345"})
        EXPECT_LE(text_length(font_, s), 320) << s;
    // Fixed advance keeps the score columns ("%5d", "%6d") lined up.
    EXPECT_EQ(text_length(font_, "11111"), text_length(font_, "88888"));
}

TEST_F(Font, EveryPrintableGlyphIsDrawnAndDistinct) {
    std::set<std::vector<int>> seen;
    for (int c = 33; c <= 126; ++c) {
        const auto px = draw(std::string(1, static_cast<char>(c)), -1);
        int ink = 0;
        for (int p : px)
            ink += p != 0;
        EXPECT_GT(ink, 3) << "'" << char(c) << "' is blank";
        EXPECT_TRUE(seen.insert(px).second) << "'" << char(c) << "' looks like another glyph";
    }
    int space = 0;
    for (int p : draw(" ", -1))
        space += p != 0;
    EXPECT_EQ(space, 0);
}

TEST_F(Font, OwnColoursAreBrightAndOneColourKeepsTheShapes) {
    const std::string text = "PUNTOS: 0123456789 VIDAS ABCXYZ";
    const auto own = draw(text, -1), single = draw(text, 239);
    ASSERT_EQ(own.size(), single.size());
    for (size_t i = 0; i < own.size(); ++i) {
        // No dark outline pixels: they would thicken the glyphs when drawn in one colour.
        if (own[i]) {
            EXPECT_GT(arte_test::luma(pal_[own[i]]), 120.0) << "dark ink, index " << own[i];
        }
        EXPECT_EQ(own[i] != 0, single[i] != 0);
        if (single[i]) {
            EXPECT_EQ(single[i], 239);
        }
    }
}

TEST_F(Font, HighlightStandsOutFromTheFontsOwnColours) {
    // A new record's row (239) sits among rows in the font's colours, so the two must differ.
    const RGB &hi = pal_[239];
    for (int p : draw("ABCDEFGHIJKLMNOPQRSTUVWXYZ", -1)) {
        if (!p) continue;
        const int dr = pal_[p].r - hi.r, dg = pal_[p].g - hi.g, db = pal_[p].b - hi.b;
        EXPECT_GT(dr * dr + dg * dg + db * db, 24 * 24) << "ink index " << p << " looks like 239";
    }
}

} // namespace
