// The three pictures as the game sees them: loaded by Allegro, 320 x 240 in 8 bits with
// their own palettes, a readable prompt band on the title, and the same bytes every build.
#include "canvas.h"

#include <allegro.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const NAMES[] = {"tavisk.bmp", "vorkzel.bmp", "gane.bmp"};

fs::path scratch(const std::string &name) {
    const fs::path p =
        fs::temp_directory_path() / ("fotos_test_" + std::to_string(getpid()) + "_" + name);
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

int run_tool(const std::string &letters, const fs::path &out) {
    const std::string cmd =
        std::string("'") + FOTOS_BIN + "' '" + letters + "' '" + out.string() + "' 2>/dev/null";
    return std::system(cmd.c_str());
}

std::vector<char> bytes(const fs::path &p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(f), {});
}

// Luminance on a 0..255 scale of a 6-bit palette entry.
double luma(const RGB &c) {
    return (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) * 255.0 / 63.0;
}

struct Loaded {
    BITMAP *bmp = nullptr;
    PALETTE pal;
};

class Pictures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        set_color_depth(8);
        dir = new fs::path(scratch("a"));
        ASSERT_EQ(run_tool(FOTOS_LETTERS, *dir), 0);
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir);
        delete dir;
    }
    void TearDown() override {
        for (auto &[name, l] : loaded)
            destroy_bitmap(l.bmp);
    }
    const Loaded &load(const std::string &name) {
        Loaded &l = loaded[name];
        if (!l.bmp) l.bmp = load_bitmap((*dir / name).c_str(), l.pal);
        EXPECT_NE(l.bmp, nullptr) << name;
        return l;
    }
    static fs::path *dir;
    std::map<std::string, Loaded> loaded;
};

fs::path *Pictures::dir = nullptr;

TEST_F(Pictures, LoadAsFullScreen8BitPicturesWithTheirOwnRichPalettes) {
    std::vector<std::vector<int>> palettes;
    for (const char *name : NAMES) {
        const Loaded &l = load(name);
        ASSERT_NE(l.bmp, nullptr);
        EXPECT_EQ(l.bmp->w, 320) << name;
        EXPECT_EQ(l.bmp->h, 240) << name;
        EXPECT_EQ(bitmap_color_depth(l.bmp), 8) << name;
        EXPECT_EQ(l.pal[0].r + l.pal[0].g + l.pal[0].b, 0) << name << ": index 0 is black";
        std::map<int, int> uses;
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 320; x++)
                uses[getpixel(l.bmp, x, y)]++;
        int most = 0;
        for (auto [index, n] : uses)
            most = std::max(most, n);
        EXPECT_GE(uses.size(), 96u) << name << ": a picture, not a blank";
        EXPECT_LT(most, 320 * 240 * 2 / 5) << name << ": no colour floods the screen";
        std::vector<int> flat;
        for (int i = 0; i < 256; i++)
            flat.insert(flat.end(), {l.pal[i].r, l.pal[i].g, l.pal[i].b});
        palettes.push_back(flat);
    }
    EXPECT_NE(palettes[0], palettes[1]);
    EXPECT_NE(palettes[1], palettes[2]);
    EXPECT_NE(palettes[0], palettes[2]);
}

TEST_F(Pictures, PaletteBytesConvertExactlyTo6Bits) {
    for (const char *name : NAMES) {
        const std::vector<char> b = bytes(*dir / name);
        ASSERT_EQ(b.size(), 14u + 40u + 1024u + 320u * 240u) << name;
        const Loaded &l = load(name);
        ASSERT_NE(l.bmp, nullptr);
        for (int i = 0; i < 256; i++) {
            const auto *e = reinterpret_cast<const unsigned char *>(&b[54 + 4 * i]);
            // Stored as blue, green, red, zero; every channel a multiple of 4.
            EXPECT_EQ(e[0] % 4 + e[1] % 4 + e[2] % 4 + e[3], 0) << name << " entry " << i;
            EXPECT_EQ(e[2], l.pal[i].r * 4) << name << " entry " << i;
            EXPECT_EQ(e[1], l.pal[i].g * 4) << name << " entry " << i;
            EXPECT_EQ(e[0], l.pal[i].b * 4) << name << " entry " << i;
        }
    }
}

TEST_F(Pictures, TitlePromptBandIsCalmAndDarkUnderABrightIndex4) {
    const Loaded &l = load("vorkzel.bmp");
    ASSERT_NE(l.bmp, nullptr);
    const double prompt = luma(l.pal[4]);
    EXPECT_GE(prompt, 200) << "the prompt colour is bright";
    std::set<int> colours;
    double sum = 0, sum2 = 0, darkest_gap = 1e9;
    int n = 0;
    // Where "APRETA ENTER" lands, centred on x 160 from y 160, with some margin.
    for (int y = 158; y <= 182; y++)
        for (int x = 80; x <= 240; x++) {
            const int i = getpixel(l.bmp, x, y);
            const double v = luma(l.pal[i]);
            colours.insert(i);
            sum += v;
            sum2 += v * v;
            darkest_gap = std::min(darkest_gap, prompt - v);
            n++;
        }
    const double mean = sum / n, spread = std::sqrt(sum2 / n - mean * mean);
    EXPECT_GE(darkest_gap, 120) << "every band pixel is far darker than the prompt";
    EXPECT_LE(spread, 10) << "the band has no busy detail";
    EXPECT_LE(colours.size(), 16u) << "the band is a few close shades";
    for (int i : colours)
        EXPECT_NE(i, 4) << "the prompt colour itself is not in the band";
}

TEST_F(Pictures, NightTitleAndDawnVictory) {
    // Average brightness of the sky just above the horizon: dark at night, bright at dawn.
    auto sky = [&](const char *name) {
        const Loaded &l = load(name);
        double sum = 0;
        for (int y = 60; y < 110; y++)
            for (int x = 0; x < 320; x += 2)
                sum += luma(l.pal[getpixel(l.bmp, x, y)]);
        return sum / (50 * 160);
    };
    EXPECT_LT(sky("vorkzel.bmp"), 90);
    EXPECT_GT(sky("gane.bmp"), 130);
}

TEST_F(Pictures, WriterPadsRowsAndStoresThemBottomUp) {
    // An odd width needs padded rows; Allegro must read back every index and colour.
    fotos::Picture pic;
    pic.w = 5;
    pic.h = 3;
    for (int i = 0; i < 15; i++)
        pic.px.push_back(std::uint8_t(i * 17 % 256));
    for (int i = 0; i < 256; i++)
        pic.colours[i] = {i / 4 * 4, 252 - i / 4 * 4, (i * 8) % 256};
    const fs::path p = *dir / "small.bmp";
    fotos::write_bmp(p.string(), pic);
    EXPECT_EQ(fs::file_size(p), 14u + 40u + 1024u + 8u * 3u);
    PALETTE pal;
    BITMAP *b = load_bitmap(p.c_str(), pal);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->w, 5);
    EXPECT_EQ(b->h, 3);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 5; x++)
            EXPECT_EQ(getpixel(b, x, y), pic.px[y * 5 + x]) << x << "," << y;
    for (int i = 0; i < 256; i++) {
        EXPECT_EQ(pal[i].r * 4, pic.colours[i].r) << i;
        EXPECT_EQ(pal[i].g * 4, pic.colours[i].g) << i;
        EXPECT_EQ(pal[i].b * 4, pic.colours[i].b) << i;
    }
    destroy_bitmap(b);
}

TEST(FotosTool, WritesTheSameBytesEveryRun) {
    const fs::path a = scratch("run1"), b = scratch("run2");
    ASSERT_EQ(run_tool(FOTOS_LETTERS, a), 0);
    ASSERT_EQ(run_tool(FOTOS_LETTERS, b), 0);
    for (const char *name : NAMES) {
        const auto x = bytes(a / name), y = bytes(b / name);
        EXPECT_FALSE(x.empty()) << name;
        EXPECT_TRUE(x == y) << name << " differs between two runs";
    }
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(FotosTool, FailsWithoutWritingOnABadLetterSource) {
    const fs::path dir = scratch("bad");
    // The real source with the V taken out: the title and the studio name cannot be set.
    std::ifstream in(FOTOS_LETTERS);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const size_t v = text.find("= V\n");
    ASSERT_NE(v, std::string::npos);
    text.replace(v, 4, "= Q\n");
    const fs::path no_v = dir / "no_v.txt", broken = dir / "broken.txt";
    std::ofstream(no_v) << text;
    std::ofstream(broken) << "rows 8\n= A\n##\n";
    for (const fs::path &src : {no_v, broken, dir / "missing.txt"}) {
        EXPECT_NE(run_tool(src.string(), dir), 0) << src;
        for (const char *name : NAMES)
            EXPECT_FALSE(fs::exists(dir / name)) << src << " " << name;
    }
    fs::remove_all(dir);
}

} // namespace
