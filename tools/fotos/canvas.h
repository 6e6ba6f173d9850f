// Pictures are painted as tones on named colour ramps and only turned into 8-bit palette
// indexes at the end, with an ordered dither, so that every ramp stays smooth.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fotos {

struct Pt {
    float x = 0, y = 0;
};

// The ramps a picture can paint with; each picture gives the ones it uses their colours.
enum Ramp : std::uint8_t {
    BLACK,
    WHITE,
    EYE,
    GLOW,
    PROMPT,
    SKY,
    STAR,
    MOON,
    HILL_FAR,
    HILL_NEAR,
    ROAD,
    LINE,
    STEEL,
    PAINT,
    GLASS,
    TYRE,
    HAZARD,
    FIRE,
    HALO,
    CHROME_UP,
    CHROME_DOWN,
    GREEN,
    PURPLE,
    GOLD,
    GRID,
    BAR,
    RAMP_COUNT
};

// A set of pixels; shapes are added, cut and grown before being painted.
class Mask {
  public:
    struct Box {
        int x0 = 0, y0 = 0, x1 = -1, y1 = -1; // inclusive; x1 < x0 when empty
        float u(int x) const { return x1 > x0 ? float(x - x0) / float(x1 - x0) : 0.f; }
        float v(int y) const { return y1 > y0 ? float(y - y0) / float(y1 - y0) : 0.f; }
    };

    Mask(int w, int h) : w_(w), h_(h), on_(static_cast<size_t>(w) * h, 0) {}
    int width() const { return w_; }
    int height() const { return h_; }
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_ && on_[y * w_ + x]; }
    void set(int x, int y, bool on = true) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) on_[y * w_ + x] = on;
    }

    // Filled shapes; a pixel belongs to a shape when its centre does.
    Mask &polygon(const std::vector<Pt> &pts);
    Mask &ellipse(float cx, float cy, float rx, float ry);
    Mask &circle(float cx, float cy, float r) { return ellipse(cx, cy, r, r); }
    Mask &rect(float x0, float y0, float x1, float y1);
    Mask &line(Pt a, Pt b, float width);

    Mask &add(const Mask &o);
    Mask &cut(const Mask &o);
    Mask &keep(const Mask &o);
    Mask inverted() const;
    Mask grown(float r) const;
    Mask ring(float r) const { return grown(r).cut(*this); }

    // Distance from each pixel to the nearest pixel of the mask (0 on it).
    std::vector<float> distance() const;
    // Distance from each pixel of the mask to the nearest pixel outside it.
    std::vector<float> depth() const { return inverted().distance(); }

    Box box() const;
    bool empty() const { return box().x1 < box().x0; }

  private:
    int w_, h_;
    std::vector<std::uint8_t> on_;
};

struct Ink {
    Ramp ramp = BLACK;
    float tone = 0; // 0 the ramp's darkest entry, 1 its lightest
};

using Shader = std::function<Ink(int x, int y)>;

class Canvas {
  public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h) {}
    int width() const { return w_; }
    int height() const { return h_; }
    Ink at(int x, int y) const { return inside(x, y) ? px_[y * w_ + x] : Ink{}; }
    void set(int x, int y, Ink ink) {
        if (inside(x, y)) px_[y * w_ + x] = ink;
    }
    Mask blank() const { return Mask(w_, h_); }

    void fill(const Shader &s);
    void paint(const Mask &m, const Shader &s);
    void paint(const Mask &m, Ramp r, float tone);
    // Paints the mask with a black border of the given width around it first.
    void draw(const Mask &m, const Shader &s, float outline = 1);
    // Adds light (or, negative, shade) to the pixels of a mask, keeping their ramps.
    void shine(const Mask &m, const std::function<float(int, int)> &amount,
               std::initializer_list<Ramp> untouched = {});

  private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    int w_, h_;
    std::vector<Ink> px_;
};

struct Rgb {
    int r = 0, g = 0, b = 0; // 8-bit channels
};

// A 256-colour palette laid out as ramps. Index 0 is black; colours are kept to multiples
// of 4 so that the 6-bit VGA palette holds them exactly.
class Palette {
  public:
    Palette();
    // A single colour at a chosen index; call before the ramps.
    void fixed(Ramp r, int index, Rgb c);
    // `count` entries blending evenly through the key colours, placed after the last one.
    void ramp(Ramp r, int count, const std::vector<Rgb> &keys);

    const std::array<Rgb, 256> &colours() const { return colours_; }
    int used() const { return next_; }
    // The ordered-dither pass; throws when the canvas uses a ramp this palette lacks.
    std::vector<std::uint8_t> dither(const Canvas &c) const;

  private:
    std::array<Rgb, 256> colours_{};
    std::array<int, RAMP_COUNT> base_{};
    std::array<int, RAMP_COUNT> count_{};
    int next_ = 1;
};

struct Picture {
    int w = 0, h = 0;
    std::vector<std::uint8_t> px;
    std::array<Rgb, 256> colours{};
};

Picture finish(const Canvas &c, const Palette &p);
// An uncompressed 8-bit Windows BMP with its palette; throws on a write error.
void write_bmp(const std::string &path, const Picture &pic);

// Repeatable pseudo-random values in [0, 1) for a lattice point and a seed.
float hash01(int x, int y, int seed);
// Smooth value noise in [0, 1).
float noise(float x, float y, int seed);

float clamp01(float v);
float smooth(float e0, float e1, float x);

} // namespace fotos
