// The sprite sheet as the game loads and cuts it: size and depth, the palette colours that the
// texts rely on, sprites that stay inside their cells, tiles that join, and the tile legend.
#include "arte_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace {

using arte_test::luma;

struct Rect {
    int x, y, w, h;
};

// Where the game cuts sprite i from.
Rect sprite_rect(int i) {
    if (i < 8) return {37 * i, 316, 37, 72};
    if (i < 13) return {46 * (i - 8), 388, 46, 36};
    if (i < 17) return {70 * (i - 13), 244, 70, 72};
    if (i < 23) return {50 * (i - 17), 122, 50, 122};
    return {50 * (i - 23), 0, 50, 122};
}

class Sheet : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        arte_test::start_allegro();
        sheet_ = load_bitmap((arte_test::first_run() + "/imagen.bmp").c_str(), pal_);
    }
    static void TearDownTestSuite() {
        if (sheet_) destroy_bitmap(sheet_);
        sheet_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(sheet_, nullptr) << "load_bitmap failed"; }

    static int at(const Rect &r, int x, int y) {
        if (x < 0 || y < 0 || x >= r.w || y >= r.h) return 0;
        return getpixel(sheet_, r.x + x, r.y + y);
    }
    static double lum(const Rect &r, int x, int y) { return luma(pal_[at(r, x, y)]); }
    static int opaque_count(const Rect &r, int y0 = 0, int y1 = -1) {
        int n = 0;
        for (int y = y0; y < (y1 < 0 ? r.h : y1); ++y)
            for (int x = 0; x < r.w; ++x)
                n += at(r, x, y) != 0;
        return n;
    }
    static int lowest_row(const Rect &r) {
        for (int y = r.h - 1; y >= 0; --y)
            for (int x = 0; x < r.w; ++x)
                if (at(r, x, y)) return y;
        return -1;
    }
    static int highest_row(const Rect &r) {
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x)
                if (at(r, x, y)) return y;
        return -1;
    }

    // The outermost column holding any pixel, scanning from the left (dir 1) or right (-1).
    static int first_column(const Rect &r, int dir) {
        for (int i = 0; i < r.w; ++i) {
            const int x = dir > 0 ? i : r.w - 1 - i;
            for (int y = 0; y < r.h; ++y)
                if (at(r, x, y)) return x;
        }
        return -1;
    }
    // Separate vertical runs of opaque pixels in one column.
    static int runs_in(const Rect &r, int x) {
        int runs = 0;
        for (int y = 0; y < r.h; ++y)
            runs += at(r, x, y) && !at(r, x, y - 1);
        return runs;
    }

    static BITMAP *sheet_;
    static PALETTE pal_;
};

BITMAP *Sheet::sheet_ = nullptr;
PALETTE Sheet::pal_;

TEST_F(Sheet, IsAnEightBitPictureOfTheGameSize) {
    EXPECT_EQ(bitmap_color_depth(sheet_), 8);
    EXPECT_EQ(sheet_->w, 320);
    EXPECT_EQ(sheet_->h, 568);
    // Every 8-bit channel of the stored palette converts to Allegro's 6 bits without loss.
    const std::string bytes = arte_test::read_file(arte_test::first_run() + "/imagen.bmp");
    ASSERT_GT(bytes.size(), 54u + 1024u);
    for (size_t i = 54; i < 54 + 1024; ++i)
        if ((i - 54) % 4 != 3) {
            EXPECT_EQ(static_cast<unsigned char>(bytes[i]) % 4, 0u) << i;
        }
}

TEST_F(Sheet, PaletteSuitsTheTexts) {
    EXPECT_EQ(pal_[0].r + pal_[0].g + pal_[0].b, 0) << "index 0 is black";
    const double hi = luma(pal_[239]), dim = luma(pal_[255]);
    EXPECT_GT(hi, 170.0) << "239 highlights text: it must be bright";
    EXPECT_GT(dim, 35.0) << "255 text must still read on black";
    EXPECT_LT(dim, 110.0) << "255 must look dimmer than selected text";
    EXPECT_GT(hi - dim, 100.0) << "239 text on a 255 background needs contrast";
    // Not a grey: the game-over background is a colour.
    EXPECT_GT(std::max({pal_[255].r, pal_[255].g, pal_[255].b}) -
                  std::min({pal_[255].r, pal_[255].g, pal_[255].b}),
              8);
}

TEST_F(Sheet, SpritesStayInsideTheirCells) {
    for (int i = 0; i < 29; ++i) {
        const Rect r = sprite_rect(i);
        EXPECT_GT(opaque_count(r), 40) << "sprite " << i << " is empty";
        int edge = 0;
        for (int y = 0; y < r.h; ++y)
            edge += (at(r, 0, y) != 0) + (at(r, r.w - 1, y) != 0);
        for (int x = 0; x < r.w; ++x)
            edge += at(r, x, 0) != 0;
        EXPECT_EQ(edge, 0) << "sprite " << i << " touches its left, right or top edge";
    }
}

TEST_F(Sheet, ObjectsStandWhereTheTruckWheelsRoll) {
    for (int i = 0; i < 7; ++i) {
        const int low = lowest_row(sprite_rect(i));
        EXPECT_GE(low, 66) << "object sprite " << i << " floats above the road";
        EXPECT_LE(highest_row(sprite_rect(i)), 50) << "object sprite " << i << " is too short";
    }
    // The remains (kind 8, the last cell) lie flat and low.
    const Rect remains = sprite_rect(7);
    EXPECT_GE(lowest_row(remains), 66);
    EXPECT_GE(highest_row(remains), 54);
}

TEST_F(Sheet, TruckFacesLeftAndRollsOnItsWheels) {
    std::set<std::vector<int>> distinct;
    for (int f = 0; f < 5; ++f) {
        const Rect r = sprite_rect(8 + f);
        EXPECT_EQ(lowest_row(r), 35) << "frame " << f << ": the wheels rest on the cell bottom";
        // The ram's spikes point left: the first column with metal shows several separate
        // points, while the tail end at the right is one flat wall.
        EXPECT_GE(runs_in(r, first_column(r, 1)), 3) << "frame " << f << ": no spikes at the left";
        EXPECT_LE(runs_in(r, first_column(r, -1)), 2) << "frame " << f << ": spiky at the right";
        std::vector<int> pixels;
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x)
                pixels.push_back(at(r, x, y));
        distinct.insert(pixels);
    }
    EXPECT_EQ(distinct.size(), 5u) << "every frame of the truck should differ";
}

TEST_F(Sheet, TwoFlamesHideTheWholeTruck) {
    // The game draws flames at (x, y - 77) and (x + 30, y - 77) instead of the truck at (x, y + 9).
    for (int k = 0; k < 12; ++k) {
        const Rect flame = sprite_rect(17 + k);
        for (int f = 0; f < 5; ++f) {
            const Rect truck = sprite_rect(8 + f);
            int shown = 0;
            for (int y = 0; y < truck.h; ++y)
                for (int x = 0; x < truck.w; ++x)
                    if (at(truck, x, y) && !at(flame, x, y + 86) && !at(flame, x - 30, y + 86))
                        ++shown;
            EXPECT_EQ(shown, 0) << "flame frame " << k << " leaves truck frame " << f << " visible";
        }
        EXPECT_EQ(lowest_row(flame), 121) << "flame " << k << " must reach the truck's bottom";
        EXPECT_LT(highest_row(flame), 40) << "flame " << k << " should be tall";
    }
}

TEST_F(Sheet, SplashStaysLowAndFades) {
    int previous = 1 << 30;
    for (int i = 13; i <= 16; ++i) {
        const Rect r = sprite_rect(i);
        EXPECT_GT(opaque_count(r, 36), 2 * opaque_count(r, 0, 36)) << "splash " << i << " too high";
        const int n = opaque_count(r);
        EXPECT_LT(n, previous) << "splash " << i << " should be smaller than the one before";
        previous = n;
    }
}

TEST_F(Sheet, PanelLeavesADarkCalmPlaceForTheScore) {
    // "PUNTOS:%5d VIDAS:%2d" is 21 cells of 13 pixels centred on x 160, ink in panel rows 15-28.
    const Rect panel{0, 520, 320, 48};
    double sum = 0, sq = 0;
    int n = 0;
    for (int y = 14; y <= 30; ++y)
        for (int x = 160 - 137; x <= 160 + 137; ++x) {
            const double l = lum(panel, x, y);
            sum += l;
            sq += l * l;
            ++n;
        }
    const double mean = sum / n, spread = std::sqrt(sq / n - mean * mean);
    EXPECT_LT(mean, 40.0);
    EXPECT_LT(spread, 10.0);
}

// --- Tiles and their legend. ---

struct TileInfo {
    int index = -1;
    std::string name, type;
    std::set<int> rows;
    std::vector<std::string> left, right, up, down;
};

std::vector<std::string> split(const std::string &s, char sep) {
    std::vector<std::string> out;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, sep))
        out.push_back(part);
    return out;
}

std::vector<TileInfo> read_legend() {
    std::ifstream in(std::string(ARTE_DATA) + "/tiles.txt");
    std::vector<TileInfo> tiles;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        TileInfo t;
        std::string rows, left, right, up, down, extra;
        words >> t.index >> t.name >> rows >> t.type >> left >> right >> up >> down;
        EXPECT_FALSE(words.fail()) << "short legend line: " << line;
        EXPECT_FALSE(words >> extra) << "legend line has extra words: " << line;
        for (const auto &r : split(rows, ','))
            t.rows.insert(std::stoi(r));
        t.left = split(left, ',');
        t.right = split(right, ',');
        t.up = split(up, ',');
        t.down = split(down, ',');
        tiles.push_back(t);
    }
    return tiles;
}

// Does a neighbour list name tile t (by type or by index)?
bool names(const std::vector<std::string> &list, const TileInfo &t) {
    for (const auto &w : list)
        if (w == t.type || w == std::to_string(t.index)) return true;
    return false;
}

// Brightness (0..255) by which a seam may step more than the tile's own texture does.
constexpr double kSeamTolerance = 12.0;

class Tiles : public Sheet {
  protected:
    static Rect tile(int n) { return {32 * (n % 10), 424 + 24 * (n / 10), 32, 24}; }

    // Mean brightness of a block 4 pixels deep from a tile edge and 3 pixels along it (rows
    // across = true, else columns); blocks average out dithering and noise but keep lines,
    // edges and gradients.
    static double band(const Rect &r, int x, int y, bool across) {
        double s = 0;
        for (int i = 0; i < 4; ++i)
            for (int j = -1; j <= 1; ++j) {
                const int along = std::clamp((across ? y : x) + j, 0, (across ? r.h : r.w) - 1);
                s += across ? lum(r, x + i, along) : lum(r, along, y + i);
            }
        return s / 12;
    }

    // How much more the picture steps across a seam than just inside it, at the worst row (or
    // column): a joint that is no more visible than the tiles' own texture scores about 0.
    static double seam_excess(const Rect &a, const Rect &b, bool side_by_side) {
        double worst = -1e9;
        for (int i = 0; i < (side_by_side ? 24 : 32); ++i) {
            double a_in, a_edge, b_edge, b_in;
            if (side_by_side) {
                a_in = band(a, 24, i, true), a_edge = band(a, 28, i, true);
                b_edge = band(b, 0, i, true), b_in = band(b, 4, i, true);
            } else {
                a_in = band(a, i, 16, false), a_edge = band(a, i, 20, false);
                b_edge = band(b, i, 0, false), b_in = band(b, i, 4, false);
            }
            const double inside = std::max(std::abs(a_in - a_edge), std::abs(b_in - b_edge));
            worst = std::max(worst, std::abs(a_edge - b_edge) - inside);
        }
        return worst;
    }
};

TEST_F(Tiles, LegendDescribesEveryTileOnce) {
    const auto legend = read_legend();
    ASSERT_EQ(legend.size(), 40u);
    std::map<std::string, std::set<int>> rows_of_type;
    for (int i = 0; i < 40; ++i) {
        const TileInfo &t = legend[i];
        EXPECT_EQ(t.index, i);
        for (int r : t.rows)
            EXPECT_TRUE(r >= 0 && r <= 7) << t.name;
        if (rows_of_type.count(t.type)) {
            EXPECT_EQ(rows_of_type[t.type], t.rows) << t.name;
        }
        rows_of_type[t.type] = t.rows;
    }
    // Every neighbour named exists, and every tile has somewhere to go on both sides.
    for (const TileInfo &t : legend) {
        for (const auto *list : {&t.left, &t.right, &t.up, &t.down})
            for (const auto &w : *list)
                EXPECT_TRUE(w == "-" || rows_of_type.count(w) ||
                            (std::isdigit(static_cast<unsigned char>(w[0])) && std::stoi(w) < 40))
                    << t.name << " names " << w;
        int l = 0, r = 0;
        for (const TileInfo &u : legend) {
            l += names(t.left, u) && names(u.right, t);
            r += names(t.right, u) && names(u.left, t);
        }
        EXPECT_GT(l, 0) << t.name << " can have nothing on its left";
        EXPECT_GT(r, 0) << t.name << " can have nothing on its right";
    }
    // The four lanes are map rows 4-7 and the roadside rows 0-3.
    for (const TileInfo &t : legend) {
        const bool road = *t.rows.begin() >= 4;
        EXPECT_TRUE(road == (*t.rows.rbegin() >= 4)) << t.name;
    }
}

TEST_F(Tiles, NeighboursOfOneTypeJoinWithoutAJump) {
    const auto legend = read_legend();
    int pairs = 0;
    for (const TileInfo &a : legend)
        for (const TileInfo &b : legend) {
            if (a.type != b.type || !names(a.right, b) || !names(b.left, a)) continue;
            EXPECT_LE(seam_excess(tile(a.index), tile(b.index), true), kSeamTolerance)
                << a.name << " | " << b.name;
            ++pairs;
        }
    EXPECT_GT(pairs, 150);
}

TEST_F(Tiles, SceneryRowsJoinDownToTheKerb) {
    const auto legend = read_legend();
    const std::set<std::string> scenery = {"sky_hi", "sky_lo", "horizon", "roadside"};
    int pairs = 0;
    for (const TileInfo &a : legend)
        for (const TileInfo &b : legend) {
            if (!scenery.count(a.type) || !scenery.count(b.type)) continue;
            if (!names(a.down, b) || !names(b.up, a)) continue;
            EXPECT_LE(seam_excess(tile(a.index), tile(b.index), false), kSeamTolerance)
                << a.name << " over " << b.name;
            ++pairs;
        }
    EXPECT_GT(pairs, 40);
    // Every roadside tile may stand on a kerb, which has a bright top edge for lane 0.
    for (const TileInfo &t : legend) {
        if (t.type == "roadside") {
            EXPECT_TRUE(std::find(t.down.begin(), t.down.end(), "kerb") != t.down.end()) << t.name;
        }
        if (t.type == "kerb") {
            EXPECT_GT(band(tile(t.index), 0, 0, true) - band(tile(t.index), 0, 6, true), 80.0);
        }
    }
}

TEST_F(Tiles, LanesAreMarked) {
    for (const TileInfo &t : read_legend()) {
        if (!t.rows.count(5) && !t.rows.count(6) && !t.rows.count(7)) continue;
        // A dashed line between lanes: bright paint over part of the top two rows, not all of it.
        int paint = 0;
        for (int x = 0; x < 32; ++x)
            paint += lum(tile(t.index), x, 0) > 150;
        EXPECT_GT(paint, 8) << t.name;
        EXPECT_LT(paint, 24) << t.name;
        if (t.rows.count(7)) { // the road's lower edge lies below the wheels of lane 3 (row 20)
            double edge = 0;
            for (int x = 0; x < 32; ++x)
                edge = std::max(edge, lum(tile(t.index), x, 21));
            EXPECT_GT(edge, 150.0) << t.name;
        }
    }
}

} // namespace
