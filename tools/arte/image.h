// 8-bit indexed pictures, the game palette and the BMP writer of the art tool.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace arte {

// A picture of palette indexes; reads outside it give 0 and writes are dropped.
struct Image {
    int w = 0;
    int h = 0;
    std::vector<std::uint8_t> px;

    Image() = default;
    Image(int width, int height, std::uint8_t fill = 0)
        : w(width), h(height), px(static_cast<size_t>(width) * height, fill) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    std::uint8_t at(int x, int y) const { return inside(x, y) ? px[y * w + x] : 0; }
    void set(int x, int y, int c) {
        if (inside(x, y)) px[y * w + x] = static_cast<std::uint8_t>(c);
    }
    void fill_rect(int x, int y, int rw, int rh, int c);
    // Copies src with its top-left corner at (dx, dy); masked copies skip index 0.
    void blit(const Image &src, int dx, int dy);
    void blit_masked(const Image &src, int dx, int dy);
    Image mirrored() const;
    Image crop(int x, int y, int cw, int ch) const;
};

struct Rgb {
    int r = 0, g = 0, b = 0; // 8-bit channels, multiples of 4
};

// A run of palette entries from dark to light.
struct Ramp {
    int first = 0;
    int count = 0;
};

struct Palette {
    std::array<Rgb, 256> rgb{};
    std::map<std::string, Ramp> ramps;
    std::map<std::string, int> names;

    // Index of level l (0 = darkest) of a ramp, clamped to the ramp.
    int ramp(const std::string &name, int level) const;
    const Ramp &ramp_of(const std::string &name) const;
    int named(const std::string &name) const;
};

// Reads the palette source: "ramp FIRST COUNT NAME pos:r,g,b ..." and "color INDEX NAME r,g,b".
Palette load_palette(const std::string &path);

void save_bmp(const std::string &path, const Image &img, const Palette &pal);

} // namespace arte
