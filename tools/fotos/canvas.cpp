#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace fotos {

float clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float smooth(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

float hash01(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                      static_cast<std::uint32_t>(y) * 0xD8163841u ^
                      static_cast<std::uint32_t>(seed) * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return float(h >> 8) / float(1u << 24);
}

float noise(float x, float y, int seed) {
    const int xi = int(std::floor(x)), yi = int(std::floor(y));
    const float fx = x - float(xi), fy = y - float(yi);
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = hash01(xi, yi, seed), b = hash01(xi + 1, yi, seed);
    const float c = hash01(xi, yi + 1, seed), d = hash01(xi + 1, yi + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

// ---- Mask ----

Mask &Mask::polygon(const std::vector<Pt> &pts) {
    if (pts.size() < 3) return *this;
    std::vector<float> xs;
    for (int y = 0; y < h_; y++) {
        const float cy = float(y) + 0.5f;
        xs.clear();
        for (size_t i = 0; i < pts.size(); i++) {
            const Pt a = pts[i], b = pts[(i + 1) % pts.size()];
            if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
                xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const int xa = std::max(0, int(std::ceil(xs[i] - 0.5f)));
            const int xb = std::min(w_ - 1, int(std::ceil(xs[i + 1] - 0.5f)) - 1);
            for (int x = xa; x <= xb; x++)
                on_[y * w_ + x] = 1;
        }
    }
    return *this;
}

Mask &Mask::ellipse(float cx, float cy, float rx, float ry) {
    if (rx <= 0 || ry <= 0) return *this;
    const int y0 = std::max(0, int(cy - ry) - 1), y1 = std::min(h_ - 1, int(cy + ry) + 1);
    const int x0 = std::max(0, int(cx - rx) - 1), x1 = std::min(w_ - 1, int(cx + rx) + 1);
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            const float dx = (float(x) + 0.5f - cx) / rx, dy = (float(y) + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1) on_[y * w_ + x] = 1;
        }
    return *this;
}

Mask &Mask::rect(float x0, float y0, float x1, float y1) {
    return polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

Mask &Mask::line(Pt a, Pt b, float width) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    const float r = width / 2;
    if (len > 0) {
        const float nx = -dy / len * r, ny = dx / len * r;
        polygon({{a.x + nx, a.y + ny},
                 {b.x + nx, b.y + ny},
                 {b.x - nx, b.y - ny},
                 {a.x - nx, a.y - ny}});
    }
    circle(a.x, a.y, r);
    return circle(b.x, b.y, r);
}

Mask &Mask::add(const Mask &o) {
    for (size_t i = 0; i < on_.size(); i++)
        on_[i] |= o.on_[i];
    return *this;
}

Mask &Mask::cut(const Mask &o) {
    for (size_t i = 0; i < on_.size(); i++)
        if (o.on_[i]) on_[i] = 0;
    return *this;
}

Mask &Mask::keep(const Mask &o) {
    for (size_t i = 0; i < on_.size(); i++)
        on_[i] &= o.on_[i];
    return *this;
}

Mask Mask::inverted() const {
    Mask m(w_, h_);
    for (size_t i = 0; i < on_.size(); i++)
        m.on_[i] = !on_[i];
    return m;
}

Mask Mask::grown(float r) const {
    const std::vector<float> d = distance();
    Mask m(w_, h_);
    for (size_t i = 0; i < on_.size(); i++)
        m.on_[i] = d[i] <= r + 0.01f;
    return m;
}

// Two-pass chamfer distance; close enough to Euclidean for bevels, glows and borders.
std::vector<float> Mask::distance() const {
    const float far = 1e9f, diag = 1.41421356f;
    std::vector<float> d(on_.size());
    for (size_t i = 0; i < on_.size(); i++)
        d[i] = on_[i] ? 0 : far;
    auto relax = [&](int x, int y, int nx, int ny, float step) {
        if (nx < 0 || ny < 0 || nx >= w_ || ny >= h_) return;
        float &here = d[y * w_ + x];
        here = std::min(here, d[ny * w_ + nx] + step);
    };
    for (int y = 0; y < h_; y++)
        for (int x = 0; x < w_; x++) {
            relax(x, y, x - 1, y, 1);
            relax(x, y, x, y - 1, 1);
            relax(x, y, x - 1, y - 1, diag);
            relax(x, y, x + 1, y - 1, diag);
        }
    for (int y = h_ - 1; y >= 0; y--)
        for (int x = w_ - 1; x >= 0; x--) {
            relax(x, y, x + 1, y, 1);
            relax(x, y, x, y + 1, 1);
            relax(x, y, x + 1, y + 1, diag);
            relax(x, y, x - 1, y + 1, diag);
        }
    return d;
}

Mask::Box Mask::box() const {
    Box b{w_, h_, -1, -1};
    for (int y = 0; y < h_; y++)
        for (int x = 0; x < w_; x++)
            if (on_[y * w_ + x]) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x);
                b.y1 = std::max(b.y1, y);
            }
    if (b.x1 < 0) return Box{};
    return b;
}

// ---- Canvas ----

void Canvas::fill(const Shader &s) {
    for (int y = 0; y < h_; y++)
        for (int x = 0; x < w_; x++)
            px_[y * w_ + x] = s(x, y);
}

void Canvas::paint(const Mask &m, const Shader &s) {
    for (int y = 0; y < h_; y++)
        for (int x = 0; x < w_; x++)
            if (m.at(x, y)) px_[y * w_ + x] = s(x, y);
}

void Canvas::paint(const Mask &m, Ramp r, float tone) {
    paint(m, [=](int, int) { return Ink{r, tone}; });
}

void Canvas::draw(const Mask &m, const Shader &s, float outline) {
    if (outline > 0) paint(m.ring(outline), BLACK, 0);
    paint(m, s);
}

void Canvas::shine(const Mask &m, const std::function<float(int, int)> &amount,
                   std::initializer_list<Ramp> untouched) {
    for (int y = 0; y < h_; y++)
        for (int x = 0; x < w_; x++) {
            if (!m.at(x, y)) continue;
            Ink &ink = px_[y * w_ + x];
            if (std::find(untouched.begin(), untouched.end(), ink.ramp) != untouched.end())
                continue;
            ink.tone = clamp01(ink.tone + amount(x, y));
        }
}

// ---- Palette ----

namespace {

int to_vga(float v) {
    const int q = int(std::lround(v / 4.0f)) * 4;
    return std::clamp(q, 0, 252);
}

const int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

} // namespace

Palette::Palette() {
    count_[BLACK] = 1; // base 0
}

void Palette::fixed(Ramp r, int index, Rgb c) {
    if (index < next_ || index > 255 || count_[r] != 0)
        throw std::logic_error("fixed colour out of order");
    colours_[index] = {to_vga(float(c.r)), to_vga(float(c.g)), to_vga(float(c.b))};
    base_[r] = index;
    count_[r] = 1;
    next_ = std::max(next_, index + 1);
}

void Palette::ramp(Ramp r, int count, const std::vector<Rgb> &keys) {
    if (count < 2 || keys.size() < 2 || next_ + count > 256 || count_[r] != 0)
        throw std::logic_error("palette ramp does not fit");
    base_[r] = next_;
    count_[r] = count;
    for (int i = 0; i < count; i++) {
        const float t = float(i) / float(count - 1) * float(keys.size() - 1);
        const size_t k = std::min(keys.size() - 2, size_t(t));
        const float f = t - float(k);
        const Rgb a = keys[k], b = keys[k + 1];
        colours_[next_ + i] = {to_vga(float(a.r) + float(b.r - a.r) * f),
                               to_vga(float(a.g) + float(b.g - a.g) * f),
                               to_vga(float(a.b) + float(b.b - a.b) * f)};
    }
    next_ += count;
}

std::vector<std::uint8_t> Palette::dither(const Canvas &c) const {
    std::vector<std::uint8_t> out(static_cast<size_t>(c.width()) * c.height());
    for (int y = 0; y < c.height(); y++)
        for (int x = 0; x < c.width(); x++) {
            const Ink ink = c.at(x, y);
            const int n = count_[ink.ramp];
            if (n == 0) throw std::logic_error("picture uses a ramp its palette lacks");
            const float threshold = (float(BAYER[y & 3][x & 3]) + 0.5f) / 16.0f;
            const int step =
                std::clamp(int(clamp01(ink.tone) * float(n - 1) + threshold), 0, n - 1);
            out[y * c.width() + x] = static_cast<std::uint8_t>(base_[ink.ramp] + step);
        }
    return out;
}

Picture finish(const Canvas &c, const Palette &p) {
    return Picture{c.width(), c.height(), p.dither(c), p.colours()};
}

// ---- BMP ----

namespace {

void put16(std::vector<std::uint8_t> &b, int v) {
    b.push_back(std::uint8_t(v & 0xFF));
    b.push_back(std::uint8_t((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t> &b, std::uint32_t v) {
    for (int i = 0; i < 4; i++)
        b.push_back(std::uint8_t((v >> (8 * i)) & 0xFF));
}

} // namespace

void write_bmp(const std::string &path, const Picture &pic) {
    const int stride = (pic.w + 3) & ~3;
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    const std::uint32_t size = offset + std::uint32_t(stride * pic.h);
    std::vector<std::uint8_t> b;
    b.reserve(size);
    b.push_back('B');
    b.push_back('M');
    put32(b, size);
    put32(b, 0);
    put32(b, offset);
    put32(b, 40); // BITMAPINFOHEADER
    put32(b, std::uint32_t(pic.w));
    put32(b, std::uint32_t(pic.h)); // positive: rows stored bottom-up
    put16(b, 1);
    put16(b, 8);
    put32(b, 0); // no compression
    put32(b, std::uint32_t(stride * pic.h));
    put32(b, 2835); // 72 dpi
    put32(b, 2835);
    put32(b, 256);
    put32(b, 0);
    for (const Rgb &c : pic.colours) {
        b.push_back(std::uint8_t(c.b));
        b.push_back(std::uint8_t(c.g));
        b.push_back(std::uint8_t(c.r));
        b.push_back(0);
    }
    for (int y = pic.h - 1; y >= 0; y--) {
        for (int x = 0; x < pic.w; x++)
            b.push_back(pic.px[y * pic.w + x]);
        for (int x = pic.w; x < stride; x++)
            b.push_back(0);
    }
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

} // namespace fotos
